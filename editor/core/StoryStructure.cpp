// The structural commands of a story document: adding, duplicating, deleting, moving and renumbering
// steps. Each rewrites the lines it must (the "krok" lines whose numbers change, the targets naming a
// number that changes) and is one undo step; the outline reads again the steps its patches touch.
#include "editor/core/StoryDocument.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace editor {

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

bool StartsWithDigit(std::string_view s) {
    return !s.empty() && s.front() >= '0' && s.front() <= '9';
}

std::string WithoutBom(std::string line) {
    if (line.starts_with(Bom)) {
        line.erase(0, Bom.size());
    }
    return line;
}

} // namespace

// Lines to rewrite in place, by line, without their line end.
struct StoryDocument::Rewrites {
    std::map<std::size_t, std::string> lines;
};

std::int64_t StoryDocument::NextNumber() const {
    std::int64_t next = 1;
    for (const StepData& step : Steps()) {
        next = std::max(next, step.view.number + 1);
    }
    return next;
}

// A new "typ" line is written as the story's first one is: a number or a name.
bool StoryDocument::TypAsNumber() const {
    for (const StepData& step : Steps()) {
        for (const FieldLine& line : step.lines) {
            if (line.field == Field::Typ) {
                return StartsWithDigit(StatementRest(text_.Line(step.view.firstLine + line.offset)));
            }
        }
    }
    return false;
}

// Where a step's lines start when it is removed or moved: the comment lines right above its "krok" go
// with it.
std::size_t StoryDocument::BlockStart(std::size_t index) const {
    const std::size_t lower = index > 0 ? Steps()[index - 1].view.endLine : 0;
    std::size_t first = Steps()[index].view.firstLine;
    while (first > lower && IsComment(text_.Line(first - 1))) {
        --first;
    }
    return first;
}

// The patch that adds a step after the last line, a blank line between it and what stands before.
Patch StoryDocument::AppendStep(const StepView& step, bool numberWritten) const {
    std::vector<std::string> lines = NewStepLines(step, numberWritten, TypAsNumber());
    const std::size_t total = text_.LineCount();
    const std::size_t at = text_.Line(total - 1).empty() ? total - 1 : total; // before a final newline
    if (at > 0 && !IsBlank(text_.Line(at - 1))) {
        lines.insert(lines.begin(), std::string());
    }
    return MakePatch(at, 0, std::move(lines));
}

// The rewrites that give the steps, in source order `order`, the numbers `numbers` maps their old ones
// to (the others keep theirs): a "krok" line gets the number written where its number changes or no
// longer follows from the step before. Targets naming a mapped number follow it; targets naming
// `deadLabel` become 0.
void StoryDocument::Renumber(Rewrites& rewrites, const std::vector<std::size_t>& order,
                             const std::map<std::int64_t, std::int64_t>& numbers,
                             const std::string& deadLabel) const {
    const auto mapped = [&](std::int64_t n) {
        const auto found = numbers.find(n);
        return found != numbers.end() ? found->second : n;
    };
    std::optional<std::int64_t> previous;
    for (const std::size_t index : order) {
        const StepData& step = Steps()[index];
        const std::int64_t wanted = mapped(step.view.number);
        const std::int64_t implied = step.numberWritten ? step.view.number : previous.value_or(0) + 1;
        if (implied != wanted) {
            StepView view = step.view;
            view.number = wanted;
            const std::string& line = text_.Line(view.firstLine);
            rewrites.lines[view.firstLine] = KrokLine(IndentOf(line), view, true);
        }
        previous = wanted;
    }
    for (const StepData& step : Steps()) {
        for (int k = 1; k <= 4; ++k) {
            const auto& target = step.view.target[k - 1];
            if (!target) {
                continue;
            }
            ChoiceTarget now = *target;
            if (now.kind == ChoiceTarget::Kind::Number) {
                now.number = mapped(now.number);
            } else if (!deadLabel.empty() && now.label == deadLabel) {
                now = ChoiceTarget{};
            }
            if (now == *target) {
                continue;
            }
            for (const FieldLine& line : step.lines) {
                if (line.field == WyborField(k)) {
                    const std::size_t at = step.view.firstLine + line.offset;
                    rewrites.lines[at] = WyborLine(IndentOf(text_.Line(at)), k, step.view.choice[k - 1], now);
                }
            }
        }
    }
}

void StoryDocument::RequireCurrent() const {
    if (!StepsCurrent()) {
        throw std::logic_error("źródło ma błąd, którego nie da się odczytać; popraw je w widoku źródła");
    }
}

// A new step's number is written unless it follows from the last step, which does not write its own.
bool StoryDocument::NewNumberWritten(std::int64_t number) const {
    return Steps().empty() || Steps().back().numberWritten || Steps().back().view.number + 1 != number;
}

// Applies the rewrites outside lines [skipFirst, skipEnd); they change no line's place.
std::vector<Patch> StoryDocument::ApplyRewrites(Rewrites& rewrites, std::size_t skipFirst,
                                                std::size_t skipEnd) {
    std::vector<Patch> patches;
    for (auto& [line, bare] : rewrites.lines) {
        if (line < skipFirst || line >= skipEnd) {
            patches.push_back(MakePatch(line, 1, {std::move(bare)}));
            Apply(patches.back());
        }
    }
    return patches;
}

void StoryDocument::FinishStructure(const char* name, std::vector<Patch> patches) {
    HistoryEntry entry;
    entry.name = name;
    entry.patches = std::move(patches);
    Record(std::move(entry));
    Settle();
}

std::size_t StoryDocument::AddStep(std::string_view name) {
    RequireCurrent();
    StepView view;
    view.number = NextNumber();
    view.name = name;
    view.typ = 2; // an ending, until it gets choices
    Patch patch = AppendStep(view, NewNumberWritten(view.number));
    Apply(patch);
    FinishStructure("Dodanie kroku", {std::move(patch)});
    return Steps().size() - 1;
}

std::size_t StoryDocument::AddLinkedStep(std::size_t index, int k, std::string_view name) {
    RequireCurrent();
    Editable(index);
    if (k < 1 || k > 4) {
        throw std::out_of_range("wybór " + std::to_string(k) + " jest poza zakresem 1–4");
    }
    StepView view;
    view.number = NextNumber();
    view.name = name;
    view.typ = 2;
    std::vector<Patch> patches{AppendStep(view, NewNumberWritten(view.number))};
    Apply(patches.back());
    // The new step lies after every other: the choice's step is where it was.
    const StepData& from = Steps()[index];
    const ChoiceTarget target{ChoiceTarget::Kind::Number, view.number, {}};
    const std::vector<std::string> bare{
        WyborLine(FieldIndent(from, WyborField(k)), k, from.view.choice[k - 1], target)};
    for (Patch& patch : ApplyEdits(FieldEdits(from, WyborField(k), bare))) {
        patches.push_back(std::move(patch));
    }
    FinishStructure("Dodanie kroku z wyboru", std::move(patches));
    return Steps().size() - 1;
}

std::size_t StoryDocument::DuplicateStep(std::size_t index) {
    RequireCurrent();
    StepView view = Editable(index).view;
    view.label.clear();
    view.number = NextNumber();
    Patch patch = AppendStep(view, NewNumberWritten(view.number));
    Apply(patch);
    FinishStructure("Powielenie kroku", {std::move(patch)});
    return Steps().size() - 1;
}

std::vector<std::size_t> StoryDocument::StepsLeadingTo(std::size_t index) const {
    const StepView& to = Steps().at(index).view;
    std::vector<std::size_t> from;
    for (std::size_t i = 0; i < Steps().size(); ++i) {
        const auto& targets = Steps()[i].view.target;
        if (std::any_of(targets.begin(), targets.end(), [&](const auto& t) {
                return t &&
                       (t->kind == ChoiceTarget::Kind::Number ? t->number == to.number
                                                              : !to.label.empty() && t->label == to.label);
            })) {
            from.push_back(i);
        }
    }
    return from;
}

void StoryDocument::DeleteStep(std::size_t index) {
    RequireCurrent();
    const StepView gone = Editable(index).view;
    std::map<std::int64_t, std::int64_t> numbers{{gone.number, 0}};
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < Steps().size(); ++i) {
        if (i == index) {
            continue;
        }
        order.push_back(i);
        // Record 0 may be left out: without it the others keep their numbers.
        if (gone.number != 0 && Steps()[i].view.number > gone.number) {
            numbers[Steps()[i].view.number] = Steps()[i].view.number - 1;
        }
    }
    Rewrites rewrites;
    Renumber(rewrites, order, numbers, gone.label);

    // The step's lines, with one blank line of the two around them so that blank lines do not pile up;
    // the text keeps its final newline, or its lack of one.
    std::size_t first = BlockStart(index);
    std::size_t end = gone.endLine;
    const std::size_t total = text_.LineCount();
    const bool last = end == total || (end + 1 == total && text_.Line(end).empty());
    if (last && first > 0 && IsBlank(text_.Line(first - 1))) {
        --first;
    } else if (!last && IsBlank(text_.Line(end)) && (first == 0 || IsBlank(text_.Line(first - 1)))) {
        ++end;
    }
    std::vector<Patch> patches = ApplyRewrites(rewrites, first, end);
    patches.push_back(MakePatch(first, end - first, {}));
    Apply(patches.back());
    FinishStructure("Usunięcie kroku", std::move(patches));
}

void StoryDocument::MoveStep(std::size_t index, int delta) {
    RequireCurrent();
    Editable(index);
    const auto count = static_cast<std::int64_t>(Steps().size());
    const auto to = static_cast<std::size_t>(
        std::clamp<std::int64_t>(static_cast<std::int64_t>(index) + delta, 0, count - 1));
    if (to == index) {
        return;
    }
    std::vector<std::size_t> order(Steps().size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    order.erase(order.begin() + static_cast<std::ptrdiff_t>(index));
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(to), index);
    const std::size_t lo = std::min(index, to);
    const std::size_t hi = std::max(index, to);
    // The numbers stay with the places.
    std::map<std::int64_t, std::int64_t> numbers;
    for (std::size_t place = lo; place <= hi; ++place) {
        numbers[Steps()[order[place]].view.number] = Steps()[place].view.number;
    }
    Rewrites rewrites;
    Renumber(rewrites, order, numbers);

    // The steps' lines change places; the lines between them stay where they are.
    const std::size_t first = BlockStart(lo);
    const std::size_t end = Steps()[hi].view.endLine;
    const auto lineAt = [&](std::size_t line) {
        const auto found = rewrites.lines.find(line);
        std::string text = found == rewrites.lines.end()
                               ? text_.Line(line)
                               : found->second + (text_.Line(line).ends_with('\r') ? "\r" : "");
        return WithoutBom(std::move(text));
    };
    std::vector<std::string> region;
    for (std::size_t place = lo; place <= hi; ++place) {
        const std::size_t step = order[place];
        for (std::size_t line = BlockStart(step); line < Steps()[step].view.endLine; ++line) {
            region.push_back(lineAt(line));
        }
        for (std::size_t line = Steps()[place].view.endLine; place < hi && line < BlockStart(place + 1);
             ++line) {
            region.push_back(lineAt(line));
        }
    }
    if (end == text_.LineCount() && !eol_.empty()) {
        // The last line, which has no line end, may have moved up, and another one become the last.
        for (std::string& line : region) {
            if (!line.ends_with('\r')) {
                line += '\r';
            }
        }
        region.back().pop_back();
    }
    const auto& lines = text_.Lines();
    Patch patch{first,
                {lines.begin() + static_cast<std::ptrdiff_t>(first),
                 lines.begin() + static_cast<std::ptrdiff_t>(end)},
                std::move(region)};
    if (patch.removed.front().starts_with(Bom)) {
        patch.inserted.front().insert(0, Bom);
    }
    std::vector<Patch> patches = ApplyRewrites(rewrites, first, end);
    Apply(patch);
    patches.push_back(std::move(patch));
    FinishStructure("Przesunięcie kroku", std::move(patches));
}

void StoryDocument::RenumberStep(std::size_t index, std::int64_t number) {
    RequireCurrent();
    const StepView& view = Editable(index).view;
    if (number < 0 || number > std::numeric_limits<std::int32_t>::max()) {
        throw std::invalid_argument("numer kroku to liczba od 0 do 2147483647, nie " +
                                    std::to_string(number));
    }
    if (number == view.number) {
        return;
    }
    std::map<std::int64_t, std::int64_t> numbers{{view.number, number}};
    if (IndexOfNumber(number)) {
        numbers[number] = view.number;
    }
    std::vector<std::size_t> order(Steps().size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    Rewrites rewrites;
    Renumber(rewrites, order, numbers);
    FinishStructure("Zmiana numeru kroku", ApplyRewrites(rewrites));
}

} // namespace editor
