#pragma once
// The story being edited: its source kept as the author wrote it (comments, blank lines, the order of
// lines and labels stay; saving an unchanged story gives back its bytes), the steps as the toolkit's
// parser outlines them, and one undo history for the changes of every view. Every change is a list of
// patches; after each, the steps it touched are read again (StoryOutline), never the whole source unless a
// part no longer reads as steps.

#include "editor/core/Patch.h"
#include "editor/core/StepLines.h"
#include "editor/core/StepView.h"
#include "editor/core/StoryHistory.h"
#include "editor/core/StoryOutline.h"
#include "editor/core/StoryText.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

class StoryDocument {
  public:
    explicit StoryDocument(std::string bytes = {});
    // Another story in the same document: its text, a history begun afresh, saved as it stands. The
    // listeners are told through TextReset.
    void Reset(std::string bytes);
    const StoryText& Text() const { return text_; }
    std::string Bytes() const { return text_.Bytes(); }
    // The name the source's mistakes are reported under ("FILE:LINE: message").
    void SetFileName(std::string name);

    // The steps in source order, as of the last good reading of the source: while a source view edit
    // leaves a statement the parser cannot read (an unknown word, a broken quote), that step keeps its last
    // good state and refuses form edits, and structural commands wait (StepsCurrent() is false). Mistakes
    // of value (a character outside code page 1250, a text too long, an unknown label, numbering) leave
    // the steps current: a text is never thrown away.
    std::size_t StepCount() const { return Steps().size(); }
    const StepView& Step(std::size_t index) const { return Steps().at(index).view; }
    bool StepsCurrent() const { return outline_.Current(); }
    std::optional<std::size_t> IndexOfNumber(std::int64_t number) const;
    // The step a source line belongs to, the comment lines right above its "krok" included.
    std::optional<std::size_t> IndexAtLine(std::size_t line) const;
    // The parser's mistakes in the current text, "FILE:LINE: message" (empty: good); read when asked.
    const std::vector<kit::Finding>& SourceErrors() const;

    // Form edits on step `index`; each rewrites only the lines of the field it changes (Opis: all of the
    // step's "opis" lines, rewritten wrapped), adds the line if the field has none, and is one undo step.
    // Successive SetOpis/SetName/SetChoiceText on the same field of the same step merge into one undo
    // step (typing), until another command intervenes. An empty picture, sound or description removes
    // its line; so does a choice left with no text and target 0; the value the step has already changes
    // nothing. std::out_of_range for a wrong index, std::invalid_argument for a value the source cannot
    // say, std::logic_error for a step whose lines do not read now.
    void SetName(std::size_t index, std::string_view utf8);
    void SetTyp(std::size_t index, int typ); // 0-255
    void SetPicture(std::size_t index, std::string_view utf8);
    void SetSound(std::size_t index, std::string_view utf8);
    void SetOpis(std::size_t index, std::string_view utf8);
    void SetChoiceText(std::size_t index, int k, std::string_view utf8); // k = 1..4
    void SetChoiceTarget(std::size_t index, int k, const ChoiceTarget& target);

    // Structural commands: targets by number that name a step whose number changes are rewritten; labels
    // need nothing. Each is one undo step, whole; std::logic_error while !StepsCurrent(). A new step is an
    // ending ("typ Koniec") until it gets choices; a step is removed or moved with the comment lines right
    // above its "krok".
    std::size_t AddStep(std::string_view name);                                 // the next record number
    std::size_t AddLinkedStep(std::size_t index, int k, std::string_view name); // new step + choice k -> it
    std::size_t DuplicateStep(std::size_t index);                               // appended copy, no label
    std::vector<std::size_t> StepsLeadingTo(std::size_t index) const;           // to name before deleting
    // The steps numbered after it move down one number; targets naming the deleted step (by number or by
    // its label) become 0.
    void DeleteStep(std::size_t index);
    // Moves the step `delta` places in the source; the numbers stay with the places (a swap with the
    // neighbour swaps their numbers too).
    void MoveStep(std::size_t index, int delta);
    // Gives the step `number`; the step that had it takes the step's old number.
    void RenumberStep(std::size_t index, std::int64_t number);
    // A source view edit: lines [first, first + count) replaced by `lines`; one undo step (typing on the
    // same lines merges).
    void ReplaceLines(std::size_t first, std::size_t count, std::vector<std::string> lines);

    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    void Undo();
    void Redo();
    std::string UndoText() const; // the command's Polish name for the menu, empty for none
    std::string RedoText() const;
    static constexpr std::size_t HistoryLimit = StoryHistory::Limit;

    // Every applied patch (edits, undo, redo) is told to the listeners in order: the source view, the
    // journal. `StepsChanged` tells the form/list to refresh: ChangedStep() is then the one step that
    // changed, nullopt when any may have.
    struct Listener {
        virtual ~Listener() = default;
        virtual void PatchApplied(const Patch& patch) = 0;
        virtual void StepsChanged() {}
        virtual void TextReset() {}
    };
    void AddListener(Listener* listener);
    void RemoveListener(Listener* listener);
    std::optional<std::size_t> ChangedStep() const { return changedStep_; }

    bool Modified() const { return history_.State() != savedState_; }
    void MarkSaved();

  private:
    struct LineEdit {
        std::size_t first, count;
        std::vector<std::string> bare; // without line ends
    };
    struct Rewrites;

    // Every change of the text: applied, told to the listeners, followed by the outline.
    void Apply(const Patch& patch);
    Patch MakePatch(std::size_t first, std::size_t count, std::vector<std::string> bare) const;
    void Settle(); // after a command: the outline finished, the listeners told the steps changed

    // Form edits.
    const StepData& Editable(std::size_t index) const;
    std::vector<std::size_t> LinesOf(const StepData& step, Field field) const;
    std::string FieldIndent(const StepData& step, Field field) const;
    std::vector<LineEdit> FieldEdits(const StepData& step, Field field,
                                     const std::vector<std::string>& bare) const;
    std::vector<Patch> ApplyEdits(const std::vector<LineEdit>& edits);
    void EditField(std::size_t index, Field field, const std::string& name, bool typing,
                   const std::vector<std::string>& bare);
    void EditChoice(std::size_t index, int k, std::string_view utf8, const ChoiceTarget& target,
                    const std::string& name, bool typing);
    void Record(HistoryEntry entry);

    // Structural commands.
    void RequireCurrent() const;
    std::int64_t NextNumber() const;
    bool NewNumberWritten(std::int64_t number) const;
    bool TypAsNumber() const;
    std::size_t BlockStart(std::size_t index) const;
    Patch AppendStep(const StepView& step, bool numberWritten) const;
    void Renumber(Rewrites& rewrites, const std::vector<std::size_t>& order,
                  const std::map<std::int64_t, std::int64_t>& numbers,
                  const std::string& deadLabel = {}) const;
    std::vector<Patch> ApplyRewrites(Rewrites& rewrites, std::size_t skipFirst = 0, std::size_t skipEnd = 0);
    void FinishStructure(const char* name, std::vector<Patch> patches);
    const std::vector<StepData>& Steps() const { return outline_.Steps(); }

    StoryText text_;
    std::string eol_; // "\r" in a source whose lines end in CR LF
    StoryOutline outline_;
    mutable std::optional<std::vector<kit::Finding>> errors_;
    mutable std::vector<std::pair<std::int64_t, std::size_t>> byNumber_; // sorted
    mutable std::uint64_t byNumberOf_ = ~std::uint64_t{0};               // the numbering it was built for
    StoryHistory history_;
    std::uint64_t savedState_ = 0;
    std::vector<Listener*> listeners_;
    std::optional<std::size_t> changedStep_;
};

} // namespace editor
