#pragma once
// The one undo history of a story document: every change as the patches it applied, whatever view made it.

#include "editor/core/Patch.h"
#include "editor/core/StepLines.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace editor {

struct HistoryEntry {
    std::string name; // for the menu
    std::vector<Patch> patches;
    // Typing merges a change into the newest entry while it has the same key: the field for form edits,
    // "the source" for source view edits.
    std::optional<std::pair<std::size_t, Field>> typing;
    bool sourceTyping = false;
    std::uint64_t serial = 0;

    // Adds a later change of the same entry, folding a patch that rewrites what the last one inserted.
    void Append(std::vector<Patch> later);
};

class StoryHistory {
  public:
    static constexpr std::size_t Limit = 10000; // entries kept; older ones are forgotten

    // The newest entry while typing may still merge into it.
    HistoryEntry* Mergeable();
    void StopMerging() { mergeable_ = false; }
    void Push(HistoryEntry entry);

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < entries_.size(); }
    const HistoryEntry* NextUndo() const { return CanUndo() ? &entries_[position_ - 1] : nullptr; }
    const HistoryEntry* NextRedo() const { return CanRedo() ? &entries_[position_] : nullptr; }
    const HistoryEntry& Undo();
    const HistoryEntry& Redo();

    // Names the state the text is in: equal states are equal texts.
    std::uint64_t State() const { return position_ > 0 ? entries_[position_ - 1].serial : forgotten_; }

  private:
    std::deque<HistoryEntry> entries_;
    std::size_t position_ = 0; // entries applied
    std::uint64_t serial_ = 0;
    std::uint64_t forgotten_ = 0; // the state before the oldest entry kept
    bool mergeable_ = false;
};

} // namespace editor
