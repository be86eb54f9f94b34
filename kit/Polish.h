#pragma once
// Polish number agreement for the tool's messages.

#include <string>

namespace kit {

// "1 znak", "3 znaki", "5 znaków": `n` followed by the form of the noun that agrees with it.
std::string Count(long long n, const char* one, const char* few, const char* many);

inline std::string Chars(long long n) {
    return Count(n, "znak", "znaki", "znaków");
}

} // namespace kit
