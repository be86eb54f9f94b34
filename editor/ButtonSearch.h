#pragma once
// The buttons open on each step of the story being edited, found by the toolkit's walk over every way of
// playing it (kit::StoryGraph, the search `check` makes): what the preview shows, and play from a step
// starts with, on a step whose type carries the buttons over. The walk is fed the steps as the document
// outlines them (their numbers, types and targets, labels resolved as build resolves them), not a build:
// it needs nothing else, and so answers within milliseconds on a story of 10,000 steps. Its answers are
// kept until the story changes.

#include "editor/core/StoryDocument.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace editor {

class ButtonSearch {
  public:
    // The story changed: the next question walks it again.
    void Changed() { walked_ = false; }
    // The most buttons open on record `number` over every way of playing the story; nullopt when nothing
    // reaches it, or when the steps are not numbered as a scenario can hold them.
    std::optional<int> MostOpen(const StoryDocument& document, std::int64_t number);

  private:
    void Walk(const StoryDocument& document);

    bool walked_ = false;
    std::vector<std::int8_t> open_; // per record, -1 where nothing reaches it
};

} // namespace editor
