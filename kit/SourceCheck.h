#pragma once
// `check` of a story source while it is being edited. It keeps what the last check of a source without
// mistakes read (a few dozen bytes a step) and follows the edits by their lines. When every edit since then
// stayed inside one step (not record 0) and left its number and label as they were, no other step's record
// changed: only that step is read again, the story's ways are walked again if its type or targets changed,
// and the findings are reported from what was kept. Anything else is checked whole. Either way the findings
// are those CheckStorySource reports for the text.

#include "kit/Check.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kit {

class SourceCheck {
  public:
    SourceCheck();
    ~SourceCheck();
    SourceCheck(SourceCheck&&) noexcept;
    SourceCheck& operator=(SourceCheck&&) noexcept;

    // The check of the whole source, as CheckStorySource, kept for the edits that follow.
    CheckSummary Whole(std::string_view text, const std::string& storyPath, MediaProbe* media,
                       FindingSink& sink);

    // The lines [first, first + removed) of the source, counted from 0, were replaced by `inserted` lines.
    void Edited(std::size_t first, std::size_t removed, std::size_t inserted);

    // The lines [first, end) of the source as it is now that hold the one step every edit since the last
    // check stayed in; nullopt when the source is to be checked whole.
    struct Lines {
        std::size_t first = 0;
        std::size_t end = 0;
    };
    std::optional<Lines> EditedStep() const;

    // The check of the source after the edits, given the text of EditedStep's lines joined with '\n', and
    // the same `media` the whole check was given. nullopt, with nothing reported, when the edits changed
    // more than that step's own findings: the source is then to be checked whole.
    std::optional<CheckSummary> Step(std::string_view stepText, MediaProbe* media, FindingSink& sink);

    // The graph of the story last checked; null when its source had mistakes or nothing was checked.
    const StoryGraph* Graph() const;
    StoryGraph TakeGraph();

  private:
    struct Kept;
    std::unique_ptr<Kept> kept_;
    bool mistakes_ = false; // the last check found mistakes in the source
};

} // namespace kit
