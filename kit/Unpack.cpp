#include "kit/Unpack.h"

#include "scenario/Cp1250.h"
#include "scenario/StepRecord.h"
#include "scenario/StepTypes.h"

#include <cstdio>
#include <optional>
#include <utility>

namespace kit {

namespace {

// Description lines are wrapped near this many characters, only at single spaces.
constexpr std::size_t WrapAt = 90;

constexpr const char* FieldNames[] = {"nazwa",   "wybór 1", "wybór 2", "wybór 3",
                                      "wybór 4", "opis",    "obraz",   "dźwięk"};

// The code point starting at `s[i]` and its length in bytes; a byte that starts no UTF-8 sequence stands
// for itself (the parser reports it).
std::pair<char32_t, std::size_t> CodePoint(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (length == 1 || i + length > s.size()) {
        return {lead, 1};
    }
    char32_t c = lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return {lead, 1};
        }
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    return {c, length};
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

bool NeedsQuotes(std::string_view s, TextUse use) {
    if (s.empty() || s.front() == ' ' || s.back() == ' ' || s.front() == '"') {
        return true;
    }
    // A step's name after "krok" must not pass for its number or its label.
    if (use == TextUse::Name && (s.front() == '@' || (s.front() >= '0' && s.front() <= '9'))) {
        return true;
    }
    for (std::size_t i = 0; i < s.size();) {
        const auto [c, length] = CodePoint(s, i);
        if (IsControl(c)) {
            return true;
        }
        i += length;
    }
    // A choice's text ends where its last "->" starts; a quoted one cannot be cut.
    return use == TextUse::Choice && s.find("->") != std::string_view::npos;
}

// The code page 1250 byte of a control character, for its \xHH escape; none for U+0080, which the code
// page lacks.
std::optional<unsigned char> ControlByte(char32_t c) {
    if (c < 0x80) {
        return static_cast<unsigned char>(c);
    }
    for (std::size_t b = 0; b < scenario::Cp1250High.size(); ++b) {
        if (scenario::Cp1250High[b] == c) {
            return static_cast<unsigned char>(0x80 + b);
        }
    }
    return std::nullopt;
}

} // namespace

std::string SourceText(std::string_view cp1250, TextUse use) {
    return SourceTextUtf8(scenario::Cp1250ToUtf8(cp1250), use);
}

std::string SourceTextUtf8(std::string_view utf8, TextUse use) {
    if (!NeedsQuotes(utf8, use)) {
        return std::string(utf8);
    }
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto [c, length] = CodePoint(utf8, i);
        const auto byte = IsControl(c) ? ControlByte(c) : std::nullopt;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (byte) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", *byte);
            out += escape;
        } else {
            out += utf8.substr(i, length);
        }
        i += length;
    }
    return out + "\"";
}

std::vector<std::string> DescriptionTexts(std::string_view utf8, std::size_t width) {
    std::vector<std::string> texts;
    while (!utf8.empty()) {
        // The last single space within `width` characters, else the first one after them.
        std::size_t cut = std::string_view::npos;
        std::size_t column = 0;
        std::size_t i = 0;
        for (; i < utf8.size() && (column <= width || cut == std::string_view::npos); ++column) {
            if (i > 0 && utf8[i] == ' ' && utf8[i - 1] != ' ' && i + 1 < utf8.size() && utf8[i + 1] != ' ') {
                cut = i;
            }
            i += CodePoint(utf8, i).second;
        }
        if (i == utf8.size() && column <= width) {
            cut = std::string_view::npos; // the rest fits
        }
        if (cut == std::string_view::npos) {
            texts.push_back(SourceTextUtf8(utf8));
            break;
        }
        texts.push_back(SourceTextUtf8(utf8.substr(0, cut)));
        utf8 = utf8.substr(cut + 1);
    }
    return texts;
}

void Unpack(ScenarioInput& input, const std::string& scenarioName, std::ostream& out) {
    out << "# " << scenarioName << ": unpacked by przygoda-kit from " << input.Name() << "\n";
    out << "# Bytes the player never reads are not kept. See docs/authoring.md.\n";
    if (input.KroTailBytes() > 0) {
        out << "# The step file ends in " << input.KroTailBytes()
            << " bytes of an incomplete record, which the player never reads: left out.\n";
    }
    if (input.LisRecords() > input.KroRecords()) {
        out << "# The type list has " << input.LisRecords() - input.KroRecords()
            << " records more than the step file, which the player never reads: left out.\n";
    }
    out << "\nscenariusz " << scenarioName << "\n";
    input.ForEach([&](std::int64_t record, KrokSpan krok, std::optional<std::uint8_t> typ) {
        const scenario::StepRecord step = scenario::DecodeStep(krok, typ.value_or(0));
        out << "\n";
        for (std::size_t i = 0; i < scenario::TextFields.size(); ++i) {
            const auto field = scenario::TextFields[i];
            if (krok[field.offset] > field.max) {
                out << "# " << FieldNames[i] << ": the file gives a length of " << int{krok[field.offset]}
                    << ", clamped to " << field.max << " as the player shows it\n";
            }
        }
        out << "krok " << record;
        if (!step.Nazwa.empty()) {
            out << " " << SourceText(step.Nazwa, TextUse::Name);
        }
        out << "\n";
        if (!typ) {
            out << "# The type list has no record " << record << ": written as type 0\n";
        }
        const std::string_view name = scenario::TypeName(step.Typ);
        out << "typ " << (name.empty() ? std::to_string(step.Typ) : std::string(name)) << "\n";
        if (!step.Bmp.empty()) {
            out << "obraz " << SourceText(step.Bmp) << "\n";
        }
        if (!step.Wav.empty()) {
            out << "dzwiek " << SourceText(step.Wav) << "\n";
        }
        for (const std::string& text : DescriptionTexts(scenario::Cp1250ToUtf8(step.Opis), WrapAt)) {
            out << "opis " << text << "\n";
        }
        for (std::size_t k = 0; k < 4; ++k) {
            if (step.Wybor[k].empty() && step.Krok_Wybrany[k] == 0) {
                continue;
            }
            out << "wybor " << k + 1 << " " << SourceText(step.Wybor[k], TextUse::Choice) << " -> "
                << step.Krok_Wybrany[k] << "\n";
        }
    });
}

} // namespace kit
