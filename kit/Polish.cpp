#include "kit/Polish.h"

namespace kit {

std::string Count(long long n, const char* one, const char* few, const char* many) {
    const long long tens = n % 100;
    const long long units = n % 10;
    const char* form = many;
    if (n == 1) {
        form = one;
    } else if (units >= 2 && units <= 4 && (tens < 12 || tens > 14)) {
        form = few;
    }
    return std::to_string(n) + " " + form;
}

} // namespace kit
