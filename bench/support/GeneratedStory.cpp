#include "bench/support/GeneratedStory.h"

#include "scenario/Records.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

namespace bench {

namespace {

constexpr std::array<std::string_view, 16> Words{
    "mgła",   "ścieżka",  "żółw",   "młyn", "źródło",  "leśny", "gałąź", "świt",
    "kładka", "wędrówka", "chatka", "dąb",  "ognisko", "sowa",  "łąka",  "strumień",
};

std::size_t Characters(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return n;
}

// Words from `seed` on, single spaces between them, cut to exactly `length` characters that neither start
// nor end with a space.
std::string Text(std::size_t seed, std::size_t length) {
    std::string text;
    for (std::size_t w = seed; Characters(text) < length; ++w) {
        if (!text.empty()) {
            text += ' ';
        }
        text += Words[w % Words.size()];
    }
    std::size_t cut = 0;
    for (std::size_t n = 0; n < length; ++n) {
        do {
            ++cut;
        } while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80);
    }
    text.resize(cut);
    if (text.back() == ' ') {
        text.back() = 'a';
    }
    return text;
}

// The description's lines, broken at spaces before 96 characters.
std::vector<std::string> Wrapped(const std::string& text) {
    std::vector<std::string> lines{std::string()};
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        end = end == std::string::npos ? text.size() : end;
        const std::string word = text.substr(at, end - at);
        if (!lines.back().empty() && Characters(lines.back()) + 1 + Characters(word) > 95) {
            lines.emplace_back();
        }
        lines.back() += (lines.back().empty() ? "" : " ") + word;
        at = end + 1;
    }
    return lines;
}

std::string MediaName(const char* prefix, std::size_t step, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%010zu%s", prefix, step, extension); // 6 + 10 + 4 characters
    return name;
}

} // namespace

std::string GeneratedStory(std::size_t steps) {
    namespace krok = scenario::krok;
    std::string out =
        "# A generated story of " + std::to_string(steps) + " steps.\nscenariusz Wygenerowana\n";
    for (std::size_t i = 1; i <= steps; ++i) {
        if (i % 100 == 1) {
            out += "\n# Rozdział " + std::to_string(i / 100 + 1) + "\n";
        }
        out += "\nkrok " + std::to_string(i);
        if (i % 10 == 0) {
            out += " @s" + std::to_string(i);
        }
        out += " " + Text(i, krok::Nazwa.max) + "\n";
        out += "typ Normalny\n";
        out += "obraz " + MediaName("obraz-", i, ".bmp") + "\n";
        out += "dzwiek " + MediaName("dzwiek", i, ".wav") + "\n";
        for (const std::string& line : Wrapped(Text(i * 3, krok::Opis.max))) {
            out += "opis " + line + "\n";
        }
        const std::size_t labelled = i / 10 * 10;
        const std::array<std::string, 4> targets{
            std::to_string(i % steps + 1), std::to_string(i > 3 ? i - 3 : 1),
            std::to_string(i * 7 % steps + 1), labelled > 0 ? "@s" + std::to_string(labelled) : "1"};
        for (std::size_t k = 0; k < 4; ++k) {
            out += "wybor " + std::to_string(k + 1) + " " + Text(i + k * 5, krok::Wybor1.max) + " -> " +
                   targets[k] + "\n";
        }
    }
    return out;
}

} // namespace bench
