#include "editor/core/StoryDocument.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace editor {

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

void CheckChoice(int k) {
    if (k < 1 || k > 4) {
        throw std::out_of_range("wybór " + std::to_string(k) + " jest poza zakresem 1–4");
    }
}

// A target the source can say: a 32-bit record number, or a label without blanks.
void CheckTarget(const ChoiceTarget& target) {
    if (target.kind == ChoiceTarget::Kind::Label) {
        if (target.label.empty() || target.label.find_first_of(" \t\r\n") != std::string::npos) {
            throw std::invalid_argument("etykieta celu musi być niepusta i bez odstępów, nie „" +
                                        target.label + "”");
        }
    } else if (target.number < std::numeric_limits<std::int32_t>::min() ||
               target.number > std::numeric_limits<std::int32_t>::max()) {
        throw std::invalid_argument("cel " + std::to_string(target.number) +
                                    " jest poza zakresem liczb 32-bitowych");
    }
}

bool StartsWithDigit(std::string_view s) {
    return !s.empty() && s.front() >= '0' && s.front() <= '9';
}

} // namespace

StoryDocument::StoryDocument(std::string bytes) : text_(bytes) {
    if (text_.LineCount() > 1 && text_.Line(0).ends_with('\r')) {
        eol_ = "\r";
    }
    outline_.ReadAll(text_);
    errors_ = outline_.Errors();
}

void StoryDocument::SetFileName(std::string name) {
    outline_.SetFileName(std::move(name));
    errors_.reset();
}

void StoryDocument::Reset(std::string bytes) {
    const std::string fileName = outline_.FileName();
    StoryDocument fresh(std::move(bytes));
    fresh.SetFileName(fileName);
    text_ = std::move(fresh.text_);
    eol_ = std::move(fresh.eol_);
    outline_ = std::move(fresh.outline_);
    errors_ = std::move(fresh.errors_);
    byNumber_.clear();
    byNumberOf_ = ~std::uint64_t{0};
    history_ = StoryHistory();
    savedState_ = history_.State();
    changedStep_.reset();
    for (Listener* listener : listeners_) {
        listener->TextReset();
    }
}

void StoryDocument::AddListener(Listener* listener) {
    listeners_.push_back(listener);
}

void StoryDocument::RemoveListener(Listener* listener) {
    std::erase(listeners_, listener);
}

// ---- Text and listeners ----

void StoryDocument::Apply(const Patch& patch) {
    text_.Apply(patch);
    for (Listener* listener : listeners_) {
        listener->PatchApplied(patch);
    }
    outline_.Track(patch, text_);
}

void StoryDocument::Settle() {
    changedStep_ = outline_.Finish(text_);
    errors_ = outline_.Errors();
    for (Listener* listener : listeners_) {
        listener->StepsChanged();
    }
}

// The patch that puts `bare` (lines without their line end) in place of lines [first, first + count).
// The lines take the line end of the lines they replace; the text keeps its byte order mark, its missing
// final newline and at least one line.
Patch StoryDocument::MakePatch(std::size_t first, std::size_t count, std::vector<std::string> bare) const {
    const std::size_t total = text_.LineCount();
    const auto& lines = text_.Lines();
    const bool atEnd = first + count == total; // the last line has no line end after it
    const std::string eol =
        count > 0 && !atEnd ? (lines[first + count - 1].ends_with('\r') ? "\r" : "") : eol_;
    Patch p{first,
            {lines.begin() + static_cast<std::ptrdiff_t>(first),
             lines.begin() + static_cast<std::ptrdiff_t>(first + count)},
            std::move(bare)};
    for (std::string& line : p.inserted) {
        line += eol;
    }
    if (atEnd && !eol_.empty() && first > 0 && (count == 0) != p.inserted.empty()) {
        // The line before gains a line end (lines follow it now) or loses it (it becomes the last).
        const std::string& before = lines[first - 1];
        --p.first;
        p.removed.insert(p.removed.begin(), before);
        p.inserted.insert(p.inserted.begin(), count == 0
                                                  ? before + eol_
                                                  : before.substr(0, before.size() - before.ends_with('\r')));
    }
    if (atEnd && !p.inserted.empty() && !eol.empty() && p.inserted.back().ends_with('\r')) {
        p.inserted.back().pop_back();
    }
    if (p.first == 0 && !p.removed.empty() && p.removed.front().starts_with(Bom)) {
        if (p.inserted.empty() && p.removed.size() < total) {
            p.removed.push_back(lines[p.removed.size()]);
            p.inserted.push_back(p.removed.back());
        }
        if (p.inserted.empty()) {
            p.inserted.emplace_back();
        }
        if (!p.inserted.front().starts_with(Bom)) {
            p.inserted.front().insert(0, Bom);
        }
    }
    if (p.removed.size() == total && p.inserted.empty()) {
        p.inserted.emplace_back();
    }
    return p;
}

// ---- Queries ----

std::optional<std::size_t> StoryDocument::IndexOfNumber(std::int64_t number) const {
    if (byNumberOf_ != outline_.Numbering()) {
        byNumber_.clear();
        for (std::size_t i = 0; i < Steps().size(); ++i) {
            byNumber_.emplace_back(Steps()[i].view.number, i);
        }
        std::stable_sort(byNumber_.begin(), byNumber_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        byNumberOf_ = outline_.Numbering();
    }
    const auto found = std::lower_bound(byNumber_.begin(), byNumber_.end(), number,
                                        [](const auto& entry, std::int64_t n) { return entry.first < n; });
    if (found == byNumber_.end() || found->first != number) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::size_t> StoryDocument::IndexAtLine(std::size_t line) const {
    if (line >= text_.LineCount()) {
        return std::nullopt;
    }
    const auto after =
        std::upper_bound(Steps().begin(), Steps().end(), line,
                         [](std::size_t l, const StepData& s) { return l < s.view.firstLine; });
    // The comment lines right above a step's "krok" go with it.
    std::size_t next = static_cast<std::size_t>(after - Steps().begin());
    if (after != Steps().end() && (after == Steps().begin() || line >= std::prev(after)->view.endLine)) {
        std::size_t at = line;
        while (at < after->view.firstLine && IsComment(text_.Line(at))) {
            ++at;
        }
        next += at == after->view.firstLine;
    }
    if (next == 0) {
        return std::nullopt;
    }
    return next - 1;
}

const std::vector<kit::Finding>& StoryDocument::SourceErrors() const {
    if (!errors_) {
        errors_ = kit::ParseStory(text_.Bytes(), outline_.FileName()).errors;
    }
    return *errors_;
}

// ---- Form edits ----

const StepData& StoryDocument::Editable(std::size_t index) const {
    if (index >= Steps().size()) {
        throw std::out_of_range("nie ma kroku o indeksie " + std::to_string(index));
    }
    if (!outline_.StepCurrent(index)) {
        throw std::logic_error("krok " + std::to_string(Steps()[index].view.number) +
                               " ma w źródle błąd, którego nie da się odczytać; popraw go w widoku źródła");
    }
    return Steps()[index];
}

std::vector<std::size_t> StoryDocument::LinesOf(const StepData& step, Field field) const {
    std::vector<std::size_t> lines;
    for (const FieldLine& line : step.lines) {
        if (line.field == field) {
            lines.push_back(step.view.firstLine + line.offset);
        }
    }
    return lines;
}

// The indentation a field's line takes: that of its line now, else that of the step's first line after
// "krok", else that of "krok" itself.
std::string StoryDocument::FieldIndent(const StepData& step, Field field) const {
    const std::vector<std::size_t> old = LinesOf(step, field);
    if (!old.empty()) {
        return std::string(IndentOf(text_.Line(old.front())));
    }
    std::string_view indent =
        IndentOf(text_.Line(step.view.firstLine + (step.lines.size() > 1 ? step.lines[1].offset : 0)));
    if (indent.starts_with(Bom)) {
        indent.remove_prefix(Bom.size());
    }
    return std::string(indent);
}

// The line replacements that give `field` the lines `bare`: its further lines removed (from the last up,
// so that the ones above stay where they are), then its first run of lines replaced; or the new lines put
// after the fields written before it.
std::vector<StoryDocument::LineEdit> StoryDocument::FieldEdits(const StepData& step, Field field,
                                                               const std::vector<std::string>& bare) const {
    const std::vector<std::size_t> old = LinesOf(step, field);
    if (old.empty()) {
        if (bare.empty()) {
            return {};
        }
        std::uint32_t last = 0;
        for (const FieldLine& line : step.lines) {
            if (line.field < field) {
                last = std::max(last, line.offset);
            }
        }
        return {{step.view.firstLine + last + 1, 0, bare}};
    }
    std::size_t run = 1;
    while (run < old.size() && old[run] == old[0] + run) {
        ++run;
    }
    std::vector<LineEdit> edits;
    for (std::size_t i = old.size(); i-- > run;) {
        edits.push_back({old[i], 1, {}});
    }
    edits.push_back({old[0], run, bare});
    return edits;
}

// Applies the edits in order, each made against the text the ones before it left; none when they would
// change nothing.
std::vector<Patch> StoryDocument::ApplyEdits(const std::vector<LineEdit>& edits) {
    std::vector<Patch> patches;
    for (const LineEdit& edit : edits) {
        Patch patch = MakePatch(edit.first, edit.count, edit.bare);
        if (edits.size() == 1 && patch.removed == patch.inserted) {
            break;
        }
        Apply(patch);
        patches.push_back(std::move(patch));
    }
    return patches;
}

void StoryDocument::EditField(std::size_t index, Field field, const std::string& name, bool typing,
                              const std::vector<std::string>& bare) {
    std::vector<Patch> patches = ApplyEdits(FieldEdits(Steps()[index], field, bare));
    if (patches.empty()) {
        return;
    }
    HistoryEntry entry;
    entry.name = name;
    entry.patches = std::move(patches);
    if (typing) {
        entry.typing = std::pair(index, field);
    }
    Record(std::move(entry));
    Settle();
}

// One undo step, or typing merged into the last: the same field again, or the same source lines again.
void StoryDocument::Record(HistoryEntry entry) {
    if (HistoryEntry* last = history_.Mergeable()) {
        const bool sameField = entry.typing && last->typing == entry.typing;
        const bool sameLines = entry.sourceTyping && last->sourceTyping &&
                               last->patches.back().first == entry.patches.front().first &&
                               last->patches.back().inserted == entry.patches.front().removed;
        if (sameField || sameLines) {
            last->Append(std::move(entry.patches));
            return;
        }
    }
    history_.Push(std::move(entry));
}

void StoryDocument::SetName(std::size_t index, std::string_view utf8) {
    const StepData& step = Editable(index);
    if (step.view.name == utf8) {
        return;
    }
    StepView view = step.view;
    view.name = utf8;
    EditField(index, Field::Krok, "Zmiana nazwy", true,
              {KrokLine(IndentOf(text_.Line(view.firstLine)), view, step.numberWritten)});
}

void StoryDocument::SetTyp(std::size_t index, int typ) {
    const StepData& step = Editable(index);
    if (typ < 0 || typ > 255) {
        throw std::invalid_argument("typ to liczba od 0 do 255, nie " + std::to_string(typ));
    }
    if (step.view.typ == typ) {
        return;
    }
    // A type written as a number stays a number; a new line follows the story's first one.
    const std::vector<std::size_t> old = LinesOf(step, Field::Typ);
    const bool asNumber = old.empty() ? TypAsNumber() : StartsWithDigit(StatementRest(text_.Line(old[0])));
    EditField(index, Field::Typ, "Zmiana typu", false,
              {TypLine(FieldIndent(step, Field::Typ), typ, asNumber)});
}

void StoryDocument::SetPicture(std::size_t index, std::string_view utf8) {
    const StepData& step = Editable(index);
    if (step.view.picture == utf8) {
        return;
    }
    std::vector<std::string> bare;
    if (!utf8.empty()) {
        bare.push_back(MediaLine(FieldIndent(step, Field::Obraz), Field::Obraz, utf8));
    }
    EditField(index, Field::Obraz, "Zmiana obrazu", false, bare);
}

void StoryDocument::SetSound(std::size_t index, std::string_view utf8) {
    const StepData& step = Editable(index);
    if (step.view.sound == utf8) {
        return;
    }
    std::vector<std::string> bare;
    if (!utf8.empty()) {
        bare.push_back(MediaLine(FieldIndent(step, Field::Dzwiek), Field::Dzwiek, utf8));
    }
    EditField(index, Field::Dzwiek, "Zmiana dźwięku", false, bare);
}

void StoryDocument::SetOpis(std::size_t index, std::string_view utf8) {
    const StepData& step = Editable(index);
    if (step.view.opis == utf8) {
        return; // the author's own line breaks stay
    }
    EditField(index, Field::Opis, "Zmiana opisu", true, OpisLines(FieldIndent(step, Field::Opis), utf8));
}

// A choice's line holds its text and its target; a choice with neither has no line.
void StoryDocument::EditChoice(std::size_t index, int k, std::string_view utf8, const ChoiceTarget& target,
                               const std::string& name, bool typing) {
    const StepData& step = Steps()[index];
    std::vector<std::string> bare;
    if (!utf8.empty() || target != ChoiceTarget{}) {
        bare.push_back(WyborLine(FieldIndent(step, WyborField(k)), k, utf8, target));
    }
    EditField(index, WyborField(k), name, typing, bare);
}

void StoryDocument::SetChoiceText(std::size_t index, int k, std::string_view utf8) {
    CheckChoice(k);
    const StepView& view = Editable(index).view;
    if (view.choice[k - 1] == utf8) {
        return;
    }
    EditChoice(index, k, utf8, view.target[k - 1].value_or(ChoiceTarget{}),
               "Zmiana tekstu wyboru " + std::to_string(k), true);
}

void StoryDocument::SetChoiceTarget(std::size_t index, int k, const ChoiceTarget& target) {
    CheckChoice(k);
    CheckTarget(target);
    const StepView& view = Editable(index).view;
    if (view.target[k - 1] == target) {
        return;
    }
    EditChoice(index, k, std::string(view.choice[k - 1]), target, "Zmiana celu wyboru " + std::to_string(k),
               false);
}

// ---- Source view edits ----

void StoryDocument::ReplaceLines(std::size_t first, std::size_t count, std::vector<std::string> lines) {
    if (first > text_.LineCount() || count > text_.LineCount() - first) {
        throw std::out_of_range("źródło nie ma wierszy " + std::to_string(first + 1) + "–" +
                                std::to_string(first + count));
    }
    const auto& text = text_.Lines();
    Patch patch{first,
                {text.begin() + static_cast<std::ptrdiff_t>(first),
                 text.begin() + static_cast<std::ptrdiff_t>(first + count)},
                std::move(lines)};
    if (patch.removed == patch.inserted) {
        return;
    }
    Apply(patch);
    HistoryEntry entry;
    entry.name = "Edycja źródła";
    entry.patches.push_back(std::move(patch));
    entry.sourceTyping = true;
    Record(std::move(entry));
    Settle();
}

// ---- History ----

void StoryDocument::Undo() {
    const HistoryEntry& entry = history_.Undo();
    for (auto p = entry.patches.rbegin(); p != entry.patches.rend(); ++p) {
        Apply(p->Inverse());
    }
    Settle();
}

void StoryDocument::Redo() {
    for (const Patch& patch : history_.Redo().patches) {
        Apply(patch);
    }
    Settle();
}

std::string StoryDocument::UndoText() const {
    const HistoryEntry* entry = history_.NextUndo();
    return entry != nullptr ? entry->name : std::string();
}

std::string StoryDocument::RedoText() const {
    const HistoryEntry* entry = history_.NextRedo();
    return entry != nullptr ? entry->name : std::string();
}

void StoryDocument::MarkSaved() {
    savedState_ = history_.State();
    history_.StopMerging();
}

} // namespace editor
