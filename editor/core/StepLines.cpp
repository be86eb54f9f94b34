#include "editor/core/StepLines.h"

#include "kit/Unpack.h"
#include "scenario/StepTypes.h"

#include <algorithm>

namespace editor {

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";
constexpr std::string_view Blanks = " \t\r";

ChoiceTarget FromWritten(const kit::WrittenTarget& written) {
    if (written.label.empty()) {
        return {ChoiceTarget::Kind::Number, written.number, {}};
    }
    return {ChoiceTarget::Kind::Label, 0, written.label};
}

std::string TargetText(const ChoiceTarget& target) {
    return target.kind == ChoiceTarget::Kind::Label ? "@" + target.label : std::to_string(target.number);
}

} // namespace

StepData FromOutline(kit::StepOutline&& o, std::size_t firstLine) {
    StepData s;
    StepView& v = s.view;
    v.number = o.number;
    v.label = std::move(o.label);
    v.name = std::move(o.name);
    v.typ = o.typ;
    v.picture = std::move(o.picture);
    v.sound = std::move(o.sound);
    v.opis = std::move(o.opis);
    s.numberWritten = o.numberWritten;
    s.lines.reserve(4 + o.opisLines.size() + 4);
    const auto add = [&](Field field, int line) {
        if (line != 0) {
            s.lines.push_back({field, static_cast<std::uint32_t>(line - o.line)});
        }
    };
    add(Field::Krok, o.line);
    add(Field::Typ, o.typLine);
    add(Field::Obraz, o.obrazLine);
    add(Field::Dzwiek, o.dzwiekLine);
    for (const int line : o.opisLines) {
        add(Field::Opis, line);
    }
    for (int k = 0; k < 4; ++k) {
        v.choice[k] = std::move(o.choice[k]);
        if (o.targets[k]) {
            v.target[k] = FromWritten(*o.targets[k]);
        }
        add(WyborField(k + 1), o.choiceLines[k]);
    }
    std::sort(s.lines.begin(), s.lines.end(), [](FieldLine a, FieldLine b) { return a.offset < b.offset; });
    v.firstLine = firstLine + static_cast<std::size_t>(o.line) - 1;
    v.endLine = v.firstLine + s.lines.back().offset + 1;
    return s;
}

std::string KrokLine(std::string_view indent, const StepView& step, bool numberWritten) {
    std::string line(indent);
    line += "krok";
    // Appended piece by piece: GCC 12 takes " " + text for an overlapping copy (its bug 105329).
    if (numberWritten) {
        line += ' ';
        line += std::to_string(step.number);
    }
    if (!step.label.empty()) {
        line += " @";
        line += step.label;
    }
    if (!step.name.empty()) {
        line += ' ';
        line += kit::SourceTextUtf8(step.name, kit::TextUse::Name);
    }
    return line;
}

std::string TypLine(std::string_view indent, int typ, bool asNumber) {
    const std::string_view name = scenario::TypeName(static_cast<std::uint8_t>(typ));
    return std::string(indent) + "typ " +
           (asNumber || name.empty() ? std::to_string(typ) : std::string(name));
}

std::string MediaLine(std::string_view indent, Field field, std::string_view utf8) {
    return std::string(indent) + (field == Field::Obraz ? "obraz " : "dzwiek ") + kit::SourceTextUtf8(utf8);
}

std::vector<std::string> OpisLines(std::string_view indent, std::string_view utf8) {
    std::vector<std::string> lines = kit::DescriptionTexts(utf8, OpisWidth);
    for (std::string& line : lines) {
        line.insert(0, std::string(indent) + "opis ");
    }
    return lines;
}

std::string WyborLine(std::string_view indent, int k, std::string_view utf8, const ChoiceTarget& target) {
    return std::string(indent) + "wybor " + std::to_string(k) + " " +
           kit::SourceTextUtf8(utf8, kit::TextUse::Choice) + " -> " + TargetText(target);
}

std::vector<std::string> NewStepLines(const StepView& step, bool numberWritten, bool typAsNumber) {
    std::vector<std::string> lines{KrokLine("", step, numberWritten)};
    if (step.typ) {
        lines.push_back(TypLine("", *step.typ, typAsNumber));
    }
    if (!step.picture.empty()) {
        lines.push_back(MediaLine("", Field::Obraz, step.picture));
    }
    if (!step.sound.empty()) {
        lines.push_back(MediaLine("", Field::Dzwiek, step.sound));
    }
    for (std::string& line : OpisLines("", step.opis)) {
        lines.push_back(std::move(line));
    }
    for (int k = 1; k <= 4; ++k) {
        if (const auto& target = step.target[k - 1]) {
            lines.push_back(WyborLine("", k, step.choice[k - 1], *target));
        }
    }
    return lines;
}

std::string_view IndentOf(std::string_view line) {
    const std::size_t bom = line.starts_with(Bom) ? Bom.size() : 0;
    const std::size_t end = line.find_first_not_of(" \t", bom);
    return line.substr(0, end == std::string_view::npos ? line.size() : end);
}

std::string_view StatementRest(std::string_view line) {
    line.remove_prefix(IndentOf(line).size());
    const std::size_t space = line.find_first_of(Blanks);
    if (space == std::string_view::npos) {
        return {};
    }
    line.remove_prefix(space);
    const std::size_t first = line.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(Blanks) - first + 1);
}

bool IsBlank(std::string_view line) {
    if (line.starts_with(Bom)) {
        line.remove_prefix(Bom.size());
    }
    return line.find_first_not_of(Blanks) == std::string_view::npos;
}

bool IsComment(std::string_view line) {
    line.remove_prefix(IndentOf(line).size());
    return line.starts_with('#');
}

} // namespace editor
