#pragma once
// The command line of przygoda-kit: build, unpack, check and map, with --help and --version.
// Exit status: 0 done (check: no errors), 1 the input has errors, 2 the tool could not do its job
// (a usage mistake, a file it cannot read or write, an output that exists without --force).

#include <ostream>
#include <string>
#include <vector>

namespace kit {

inline constexpr int ExitOk = 0;
inline constexpr int ExitErrors = 1;
inline constexpr int ExitTrouble = 2;

int RunKit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kit
