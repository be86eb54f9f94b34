#include "kit/Source.h"

#include "kit/Polish.h"
#include "scenario/Cp1250.h"
#include "scenario/StepTypes.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <deque>
#include <limits>
#include <map>
#include <optional>

namespace kit {

namespace {

using scenario::StepRecord;

constexpr std::string_view Blanks = " \t\r";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(Blanks) - first + 1);
}

// The first word of `s` and what follows it, trimmed.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view s) {
    const auto end = s.find_first_of(Blanks);
    if (end == std::string_view::npos) {
        return {s, {}};
    }
    return {s.substr(0, end), Trim(s.substr(end))};
}

template <class T> std::optional<T> ToNumber(std::string_view s) {
    T value{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
        return std::nullopt;
    }
    return value;
}

bool IsDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

struct Target {
    std::int32_t number = 0;
    std::string label; // resolved at the end when not empty
    int line = 0;
};

struct PendingStep {
    StepRecord record;
    int line = 0;
    std::int64_t number = 0;
    bool hasTyp = false;
    int opisLine = 0;
    int obrazLine = 0;
    int dzwiekLine = 0;
    std::array<int, 4> choiceLine{};
    std::array<Target, 4> targets;
    StepOutline outline;
};

class Parser {
  public:
    explicit Parser(const std::string& fileName, const StepPlace* place = nullptr,
                    OutlineTexts texts = OutlineTexts::Kept)
        : fileName_(fileName), place_(place), texts_(texts) {}

    ParseResult Parse(std::string_view text) {
        // Editors on some systems start UTF-8 files with a byte order mark.
        const bool top = place_ == nullptr || place_->firstLine == 1;
        std::size_t at = top && text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
        if (place_ != nullptr) {
            line_ = place_->firstLine - 1;
        }
        while (at <= text.size() && !Full()) {
            const std::size_t end = std::min(text.find('\n', at), text.size());
            ++line_;
            lineBroken_ = false;
            ParseLine(Trim(text.substr(at, end - at)));
            if (lineBroken_ && !steps_.empty()) {
                steps_.back().outline.whole = false;
            }
            at = end + 1;
        }
        Finish();
        result_.outline.reserve(steps_.size());
        for (PendingStep& step : steps_) {
            result_.outline.push_back(std::move(step.outline));
        }
        // The checks of the whole source come last; reported, as compilers do, in line order.
        std::stable_sort(result_.errors.begin(), result_.errors.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return std::move(result_);
    }

    bool OneStep() const { return !notOneStep_; }

  private:
    bool Full() const { return result_.errors.size() >= MaxErrors; }

    void Error(int line, const std::string& message) {
        if (!Full()) {
            result_.errors.push_back(SourceFinding(fileName_, line, message));
        }
    }
    // A statement that cannot be read for its form: the step's outline misses what its line says.
    void Error(const std::string& message) {
        lineBroken_ = true;
        Error(line_, message);
    }

    // Code page 1250 bytes of a TEXT as the source writes it; nullopt after reporting a mistake. A quoted
    // text must be the whole of `s` unless `rest` takes what follows its closing quote. `utf8` gets the
    // text as written, quotes and escapes undone, also when code page 1250 cannot hold it.
    std::optional<std::string> Text(std::string_view s, const std::string& what, std::string* utf8,
                                    std::string_view* rest = nullptr) {
        if (s.empty() || s.front() != '"') {
            utf8->assign(s);
            return Encode(s, what);
        }
        utf8->clear();
        std::string bytes;
        bool encodable = true;
        std::string pending; // UTF-8 not yet encoded
        const auto flush = [&] {
            *utf8 += pending;
            if (encodable) {
                const auto encoded = Encode(pending, what, bytes.size());
                encodable = encoded.has_value();
                bytes += encoded.value_or("");
            }
            pending.clear();
        };
        for (std::size_t i = 1; i < s.size(); ++i) {
            const char c = s[i];
            if (c == '"') {
                flush();
                const std::string_view after = Trim(s.substr(i + 1));
                if (rest != nullptr) {
                    *rest = after;
                } else if (!after.empty()) {
                    Error(what + ": po cudzysłowie zamykającym tekst jest jeszcze „" + std::string(after) +
                          "”");
                    return std::nullopt;
                }
                return encodable ? std::optional(bytes) : std::nullopt;
            }
            if (c != '\\') {
                pending += c;
                continue;
            }
            if (i + 1 < s.size() && (s[i + 1] == '"' || s[i + 1] == '\\')) {
                pending += s[++i];
            } else if (i + 3 < s.size() && s[i + 1] == 'x' && HexDigit(s[i + 2]) >= 0 &&
                       HexDigit(s[i + 3]) >= 0) {
                flush();
                const char byte = static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
                bytes += byte;
                *utf8 += scenario::Cp1250ToUtf8(std::string_view(&byte, 1));
                i += 3;
            } else {
                Error(what + ": nieznana sekwencja ze znakiem \\ (są \\\", \\\\ i \\xHH)");
                return std::nullopt;
            }
        }
        Error(what + ": brak cudzysłowu zamykającego tekst");
        return std::nullopt;
    }

    std::optional<std::string> Encode(std::string_view utf8, const std::string& what,
                                      std::size_t before = 0) {
        try {
            return scenario::Utf8ToCp1250(utf8);
        } catch (const scenario::Cp1250Error& e) {
            Error(line_, Cp1250Message(what, e, before));
            return std::nullopt;
        }
    }

    void CheckLength(int line, const std::string& what, const std::string& bytes, std::size_t max) {
        if (bytes.size() > max) {
            Error(line, what + " ma " + Chars(static_cast<long long>(bytes.size())) + ", o " +
                            std::to_string(bytes.size() - max) + " za dużo (pole mieści " +
                            std::to_string(max) + ")");
        }
    }

    // A field's line in the outline is its first; a second one, taken only after the first one's text
    // failed, leaves the outline unsure of the field.
    void MarkOutlineLine(int& line) {
        if (line == 0) {
            line = line_;
        } else {
            lineBroken_ = true;
        }
    }

    PendingStep* Current(std::string_view keyword) {
        if (steps_.empty()) {
            Error("„" + std::string(keyword) + "” należy do kroku; zacznij krok wierszem „krok”");
            return nullptr;
        }
        return &steps_.back();
    }

    void ParseLine(std::string_view line) {
        if (line.empty() || line.front() == '#') {
            return;
        }
        const auto [keyword, rest] = SplitWord(line);
        if (place_ != nullptr && (keyword == "scenariusz" || (keyword == "krok") != steps_.empty())) {
            notOneStep_ = true;
        }
        if (keyword == "scenariusz") {
            ParseName(rest);
        } else if (keyword == "krok") {
            ParseKrok(rest);
        } else if (keyword == "typ") {
            ParseTyp(rest);
        } else if (keyword == "obraz" || keyword == "dzwiek") {
            ParseMedia(keyword, rest);
        } else if (keyword == "opis") {
            ParseOpis(rest);
        } else if (keyword == "wybor") {
            ParseWybor(rest);
        } else {
            Error("nieznane słowo „" + std::string(keyword) +
                  "” (są: scenariusz, krok, typ, obraz, dzwiek, opis, wybor)");
        }
    }

    void ParseName(std::string_view rest) {
        if (nameLine_ != 0) {
            Error("nazwa scenariusza jest już w wierszu " + std::to_string(nameLine_));
        } else if (!IsScenarioName(rest)) {
            Error("nazwa scenariusza „" + std::string(rest) +
                  "” musi być niepusta i bez „/” i „.” (plik NAZWA.Kro paruje się z NAZWA.lis)");
        } else {
            nameLine_ = line_;
            result_.story.scenarioName = std::string(rest);
        }
    }

    void ParseKrok(std::string_view rest) {
        PendingStep step;
        step.line = line_;
        step.number =
            steps_.empty() ? (place_ != nullptr ? place_->previousNumber : 0) + 1 : steps_.back().number + 1;
        std::string_view remaining = rest;
        auto [word, after] = SplitWord(remaining);
        if (IsDigits(word)) {
            const auto n = ToNumber<std::int64_t>(word);
            if (!n || *n > std::numeric_limits<std::int32_t>::max()) {
                Error("numer kroku " + std::string(word) + " jest większy niż 2147483647");
                return;
            }
            step.number = *n;
            step.outline.numberWritten = true;
            remaining = after;
            std::tie(word, after) = SplitWord(remaining);
        }
        if (word.starts_with('@')) {
            const std::string label(word.substr(1));
            step.outline.label = label;
            if (label.empty()) {
                Error("pusta etykieta „@”");
            } else if (const auto [it, fresh] = labels_.emplace(label, step.line); !fresh) {
                Error(line_, "etykieta @" + label + " jest już w wierszu " + std::to_string(it->second));
            } else {
                stepLabels_.emplace(label, steps_.size());
            }
            remaining = after;
        }
        const std::string_view name = remaining;
        if (auto bytes = Text(name, "nazwa kroku", &step.outline.name)) {
            CheckLength(line_, "nazwa kroku", *bytes, scenario::krok::Nazwa.max);
            step.record.Nazwa = std::move(*bytes);
        }
        step.outline.line = line_;
        step.outline.number = step.number;
        StepRead();
        steps_.push_back(std::move(step));
    }

    void ParseTyp(std::string_view rest) {
        PendingStep* step = Current("typ");
        if (step == nullptr) {
            return;
        }
        if (step->hasTyp) {
            Error("krok ma już typ");
            return;
        }
        MarkOutlineLine(step->outline.typLine);
        std::optional<long long> typ;
        for (int t = 1; t <= 5; ++t) {
            if (rest == scenario::TypeName(static_cast<std::uint8_t>(t))) {
                typ = t;
            }
        }
        if (!typ && IsDigits(rest)) {
            typ = ToNumber<long long>(rest).value_or(std::numeric_limits<long long>::max());
        }
        if (!typ) {
            Error(
                "typ to liczba od 0 do 255 albo nazwa (Normalny, Koniec, Wybory1, Wybory2, Wybory3), nie „" +
                std::string(rest) + "”");
            return;
        }
        if (*typ > 255) {
            Error("typ " + std::string(rest) + " jest poza zakresem 0–255" +
                  (*typ < std::numeric_limits<long long>::max()
                       ? " (o " + std::to_string(*typ - 255) + " za dużo)"
                       : std::string()));
            return;
        }
        step->record.Typ = static_cast<std::uint8_t>(*typ);
        step->hasTyp = true;
        step->outline.typ = static_cast<int>(*typ);
    }

    void ParseMedia(std::string_view keyword, std::string_view rest) {
        PendingStep* step = Current(keyword);
        if (step == nullptr) {
            return;
        }
        const bool picture = keyword == "obraz";
        int& line = picture ? step->obrazLine : step->dzwiekLine;
        const std::string what = picture ? "nazwa obrazu" : "nazwa dźwięku";
        if (line != 0) {
            Error(std::string("krok ma już ") + (picture ? "obraz" : "dźwięk") + " (wiersz " +
                  std::to_string(line) + ")");
            return;
        }
        MarkOutlineLine(picture ? step->outline.obrazLine : step->outline.dzwiekLine);
        if (auto bytes = Text(rest, what, picture ? &step->outline.picture : &step->outline.sound)) {
            CheckLength(line_, what, *bytes, scenario::krok::Bmp.max);
            (picture ? step->record.Bmp : step->record.Wav) = std::move(*bytes);
            line = line_;
        }
    }

    void ParseOpis(std::string_view rest) {
        PendingStep* step = Current("opis");
        if (step == nullptr) {
            return;
        }
        StepOutline& outline = step->outline;
        std::optional<std::string> bytes;
        if (outline.opisLines.empty()) {
            bytes = Text(rest, "opis", &outline.opis);
        } else {
            std::string utf8;
            bytes = Text(rest, "opis", &utf8);
            outline.opis += ' ';
            outline.opis += utf8;
        }
        outline.opisLines.push_back(line_);
        if (!bytes) {
            return;
        }
        if (step->opisLine == 0) {
            step->opisLine = line_;
            step->record.Opis = std::move(*bytes);
        } else {
            step->record.Opis += ' ';
            step->record.Opis += *bytes;
        }
    }

    void ParseWybor(std::string_view rest) {
        PendingStep* step = Current("wybor");
        if (step == nullptr) {
            return;
        }
        const auto [word, after] = SplitWord(rest);
        const auto k = ToNumber<long long>(word);
        if (!k) {
            Error("oczekiwano „wybor K TEKST -> CEL”, gdzie K to numer od 1 do 4");
            return;
        }
        if (*k < 1 || *k > 4) {
            Error("numer wyboru " + std::string(word) + " jest poza zakresem 1–4");
            return;
        }
        const std::size_t i = static_cast<std::size_t>(*k - 1);
        const std::string what = "wybór " + std::to_string(*k);
        if (step->choiceLine[i] != 0) {
            Error(what + " jest już w wierszu " + std::to_string(step->choiceLine[i]));
            return;
        }
        MarkOutlineLine(step->outline.choiceLines[i]);
        std::string* utf8 = &step->outline.choice[i];
        std::optional<std::string> bytes;
        std::string_view target;
        if (after.starts_with('"')) {
            std::string_view tail;
            bytes = Text(after, what, utf8, &tail);
            if (lineBroken_) {
                return;
            }
            if (!tail.starts_with("->")) {
                Error(what + ": po tekście brak „-> CEL”");
                return;
            }
            target = Trim(tail.substr(2));
        } else {
            const auto arrow = after.rfind("->");
            if (arrow == std::string_view::npos) {
                Error(what + ": brak „-> CEL” (numer rekordu albo @etykieta)");
                return;
            }
            bytes = Text(Trim(after.substr(0, arrow)), what, utf8);
            target = Trim(after.substr(arrow + 2));
        }
        if (bytes) {
            CheckLength(line_, what, *bytes, scenario::krok::Wybor1.max);
        }
        Target t;
        t.line = line_;
        if (target.starts_with('@') && target.size() > 1 &&
            target.find_first_of(Blanks) == std::string_view::npos) {
            t.label = std::string(target.substr(1));
        } else if (const auto n = ToNumber<std::int64_t>(target)) {
            if (*n < std::numeric_limits<std::int32_t>::min() ||
                *n > std::numeric_limits<std::int32_t>::max()) {
                Error(what + ": cel " + std::string(target) + " jest poza zakresem liczb 32-bitowych");
                return;
            }
            t.number = static_cast<std::int32_t>(*n);
        } else {
            Error(what + ": cel to numer rekordu albo @etykieta, nie „" + std::string(target) + "”");
            return;
        }
        step->outline.targets[i] = WrittenTarget{t.number, t.label};
        if (!bytes) {
            return;
        }
        step->record.Wybor[i] = std::move(*bytes);
        step->targets[i] = t;
        step->choiceLine[i] = line_;
    }

    // The step read last is whole. Its description, put together line by line, gives back the room it grew
    // into; its outline drops its texts when they are not wanted. A big story's texts are otherwise kept
    // twice over while it is parsed.
    void StepRead() {
        if (steps_.empty()) {
            return;
        }
        PendingStep& step = steps_.back();
        step.record.Opis.shrink_to_fit();
        step.outline.opis.shrink_to_fit();
        if (texts_ == OutlineTexts::Dropped) {
            StepOutline& outline = step.outline;
            outline.name = outline.picture = outline.sound = outline.opis = std::string();
            outline.choice = {};
        }
    }

    void Finish() {
        StepRead();
        if (Full()) {
            return;
        }
        if (steps_.empty()) {
            Error(line_, "źródło nie ma ani jednego kroku");
            return;
        }
        // Record numbers: each once, and together 0 (which may be left out) to the highest, without a gap.
        std::map<std::int64_t, std::size_t> byNumber;
        for (std::size_t s = 0; s < steps_.size(); ++s) {
            PendingStep& step = steps_[s];
            if (const auto [it, fresh] = byNumber.emplace(step.number, s); !fresh) {
                Error(step.line, "krok " + std::to_string(step.number) + " jest już w wierszu " +
                                     std::to_string(steps_[it->second].line));
            }
            if (!step.hasTyp) {
                Error(step.line, "krok " + std::to_string(step.number) + " nie ma typu (wiersz „typ”)");
            }
            CheckLength(step.opisLine, "opis", step.record.Opis, scenario::krok::Opis.max);
        }
        // A step read on its own keeps the number it has among the others.
        std::int64_t expected =
            byNumber.begin()->first == 0 || place_ != nullptr ? byNumber.begin()->first : 1;
        for (const auto& [number, s] : byNumber) {
            if (number != expected) {
                Error(steps_[s].line, "brakuje kroku " + std::to_string(expected) +
                                          (number - expected > 1 ? "–" + std::to_string(number - 1) : "") +
                                          ": kroki idą bez przerw od 0 albo 1, a ten ma numer " +
                                          std::to_string(number));
                return;
            }
            ++expected;
        }
        // records[0] is record 0 of a whole source, and the step's own record for a step read on its own.
        const std::int64_t first = place_ != nullptr ? byNumber.begin()->first : 0;
        auto& story = result_.story;
        story.records.resize(static_cast<std::size_t>(expected - first));
        story.lines.resize(story.records.size());
        for (PendingStep& step : steps_) {
            for (std::size_t i = 0; i < 4; ++i) {
                const Target& t = step.targets[i];
                step.record.Krok_Wybrany[i] = t.number;
                if (t.label.empty()) {
                    continue;
                }
                if (const auto number = LabelNumber(t.label)) {
                    step.record.Krok_Wybrany[i] = static_cast<std::int32_t>(*number);
                } else {
                    Error(t.line, "wybór " + std::to_string(i + 1) + ": nie ma etykiety @" + t.label);
                }
            }
            story.records[static_cast<std::size_t>(step.number - first)] = std::move(step.record);
            story.lines[static_cast<std::size_t>(step.number - first)] = step.line;
        }
    }

    // The record a label names: among the steps read, or for a step read on its own, among the story's.
    std::optional<std::int64_t> LabelNumber(const std::string& label) const {
        if (place_ != nullptr) {
            const auto found = place_->labels->find(label);
            return found == place_->labels->end() ? std::nullopt : std::optional(found->second);
        }
        const auto found = stepLabels_.find(label);
        return found == stepLabels_.end() ? std::nullopt : std::optional(steps_[found->second].number);
    }

    const std::string& fileName_;
    const StepPlace* place_;
    OutlineTexts texts_;
    bool notOneStep_ = false; // read as one step, the lines hold something else
    int line_ = 0;
    bool lineBroken_ = false; // the line has a mistake of form
    int nameLine_ = 0;
    std::deque<PendingStep> steps_;                 // grows without moving the steps read so far
    std::map<std::string, int> labels_;             // label -> line
    std::map<std::string, std::size_t> stepLabels_; // label -> index in steps_
    ParseResult result_;
};

} // namespace

bool IsScenarioName(std::string_view name) {
    return !name.empty() && name.find_first_of("/.") == std::string_view::npos &&
           name.find_first_of(Blanks) == std::string_view::npos;
}

ParseResult ParseStory(std::string_view text, const std::string& fileName, OutlineTexts texts) {
    return Parser(fileName, nullptr, texts).Parse(text);
}

std::optional<ParseResult> ParseStep(std::string_view text, const std::string& fileName,
                                     const StepPlace& place) {
    Parser parser(fileName, &place);
    ParseResult result = parser.Parse(text);
    if (!parser.OneStep() || result.outline.size() != 1) {
        return std::nullopt;
    }
    return result;
}

std::string Cp1250Message(const std::string& what, const scenario::Cp1250Error& error, std::size_t before) {
    const std::string at = std::to_string(before + error.position() + 1);
    if (error.character() == 0xFFFD) {
        return what + ": znak " + at + " nie jest poprawnym UTF-8";
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(error.character()));
    return what + ": znak " + at + " (" + code + ") jest spoza strony kodowej 1250";
}

} // namespace kit
