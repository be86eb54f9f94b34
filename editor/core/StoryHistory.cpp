#include "editor/core/StoryHistory.h"

#include <stdexcept>

namespace editor {

void HistoryEntry::Append(std::vector<Patch> later) {
    for (Patch& patch : later) {
        if (!patches.empty()) {
            Patch& last = patches.back();
            if (last.first == patch.first && last.inserted == patch.removed) {
                last.inserted = std::move(patch.inserted);
                continue;
            }
        }
        patches.push_back(std::move(patch));
    }
}

HistoryEntry* StoryHistory::Mergeable() {
    return mergeable_ && position_ > 0 && position_ == entries_.size() ? &entries_.back() : nullptr;
}

void StoryHistory::Push(HistoryEntry entry) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position_), entries_.end());
    entry.serial = ++serial_;
    entries_.push_back(std::move(entry));
    if (entries_.size() > Limit) {
        forgotten_ = entries_.front().serial;
        entries_.pop_front();
    }
    position_ = entries_.size();
    mergeable_ = true;
}

const HistoryEntry& StoryHistory::Undo() {
    if (!CanUndo()) {
        throw std::logic_error("nie ma czego cofnąć");
    }
    mergeable_ = false;
    return entries_[--position_];
}

const HistoryEntry& StoryHistory::Redo() {
    if (!CanRedo()) {
        throw std::logic_error("nie ma czego ponowić");
    }
    mergeable_ = false;
    return entries_[position_++];
}

} // namespace editor
