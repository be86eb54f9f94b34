// Opens a fuzzed step file and type list and follows every choice target of every step reached.
#include "scenario/IoError.h"
#include "scenario/StepReader.h"
#include "tests/support/Files.h"
#include "tests/support/TempDir.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const fixtures::TempDir& Folder() {
    // tmpfs when there is one: every input is written to two files.
    static const fixtures::TempDir dir(::access("/dev/shm", W_OK) == 0
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path());
    return dir;
}

} // namespace

// Input: two bytes giving the step file's length (in units of 4 bytes), then the step file, then the type
// list.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t split = std::min<std::size_t>(size - 2, (std::size_t{data[0]} << 8 | data[1]) * 4);
    const std::string kro = (Folder() / "f.Kro").string();
    fixtures::WriteBytes(kro, data + 2, split);
    fixtures::WriteBytes(Folder() / "f.lis", data + 2 + split, size - 2 - split);

    scenario::AktKrok = std::make_unique<scenario::TKrok>();
    try {
        scenario::OpenScenario(kro);
    } catch (const scenario::InOutError&) {
        try {
            scenario::CloseScenario();
        } catch (const scenario::InOutError&) {
        }
        return 0;
    }
    std::set<std::int32_t> seen;
    std::vector<std::int32_t> queue{1};
    while (!queue.empty() && seen.size() < 64) {
        const std::int32_t at = queue.back();
        queue.pop_back();
        if (!seen.insert(at).second) {
            continue;
        }
        scenario::NrKroku = at;
        try {
            scenario::GoToStep();
        } catch (const scenario::InOutError&) {
            continue;
        }
        const scenario::TKrok& k = *scenario::AktKrok;
        for (std::int32_t t : {k.Krok_Wybrany1, k.Krok_Wybrany2, k.Krok_Wybrany3, k.Krok_Wybrany4}) {
            queue.push_back(t);
        }
    }
    scenario::CloseScenario();
    return 0;
}
