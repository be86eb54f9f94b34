#include "kit/Unpack.h"

#include "scenario/Cp1250.h"
#include "scenario/StepRecord.h"
#include "scenario/StepTypes.h"

#include <cstdio>

namespace kit {

namespace {

// Description lines are wrapped near this many characters, only at single spaces.
constexpr std::size_t WrapAt = 90;

constexpr const char* FieldNames[] = {"nazwa",   "wybór 1", "wybór 2", "wybór 3",
                                      "wybór 4", "opis",    "obraz",   "dźwięk"};

bool NeedsQuotes(std::string_view s, TextUse use) {
    if (s.empty() || s.front() == ' ' || s.back() == ' ' || s.front() == '"') {
        return true;
    }
    // A step's name after "krok" must not pass for its number or its label.
    if (use == TextUse::Name && (s.front() == '@' || (s.front() >= '0' && s.front() <= '9'))) {
        return true;
    }
    for (const char c : s) {
        const char16_t u = scenario::Cp1250ToUnicode(static_cast<unsigned char>(c));
        if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            return true;
        }
    }
    // A choice's text ends where its last "->" starts; a quoted one cannot be cut.
    return use == TextUse::Choice && s.find("->") != std::string_view::npos;
}

// Wrapping points keep a description's single spaces exact: each continuation line adds back one space.
std::vector<std::string_view> WrapDescription(std::string_view s) {
    std::vector<std::string_view> lines;
    while (s.size() > WrapAt) {
        std::size_t cut = std::string_view::npos;
        for (std::size_t i = WrapAt; i > 0 && cut == std::string_view::npos; --i) {
            if (s[i] == ' ' && s[i - 1] != ' ' && i + 1 < s.size() && s[i + 1] != ' ' && s[i + 1] != '"') {
                cut = i;
            }
        }
        if (cut == std::string_view::npos) {
            break;
        }
        lines.push_back(s.substr(0, cut));
        s = s.substr(cut + 1);
    }
    lines.push_back(s);
    return lines;
}

} // namespace

std::string SourceText(std::string_view cp1250, TextUse use) {
    if (!NeedsQuotes(cp1250, use)) {
        return scenario::Cp1250ToUtf8(cp1250);
    }
    std::string out = "\"";
    std::size_t plain = 0; // start of the characters not yet copied
    const auto copyPlain = [&](std::size_t end) {
        out += scenario::Cp1250ToUtf8(cp1250.substr(plain, end - plain));
        plain = end + 1;
    };
    for (std::size_t i = 0; i < cp1250.size(); ++i) {
        const char c = cp1250[i];
        const char16_t u = scenario::Cp1250ToUnicode(static_cast<unsigned char>(c));
        if (c == '"' || c == '\\') {
            copyPlain(i);
            out += '\\';
            out += c;
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            copyPlain(i);
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
            out += escape;
        }
    }
    copyPlain(cp1250.size());
    return out + "\"";
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
        if (!step.Opis.empty()) {
            if (NeedsQuotes(step.Opis, TextUse::Plain)) {
                out << "opis " << SourceText(step.Opis) << "\n";
            } else {
                for (const std::string_view line : WrapDescription(step.Opis)) {
                    out << "opis " << scenario::Cp1250ToUtf8(line) << "\n";
                }
            }
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
