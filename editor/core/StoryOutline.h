#pragma once
// The steps of a story source, kept in step with its text: after each patch the steps it touched are read
// again by the toolkit's parser, from the "krok" line of the first to that of the next untouched one (a
// part of the source parses as the whole does, but for numbers without a written one, which are counted
// again at the end). A step whose lines no longer read for their form (being typed in the source view)
// keeps its last good state and is marked stale until it reads again; steps that came or went in the
// change show what reads of them, stale where that is not all.

#include "editor/core/Patch.h"
#include "editor/core/StepLines.h"
#include "editor/core/StoryText.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace editor {

class StoryOutline {
  public:
    void SetFileName(std::string name) {
        fileName_ = std::move(name);
        errors_.reset(); // they name the file
    }
    const std::string& FileName() const { return fileName_; }

    // Reads the whole text; the mistakes come as a by-product. When parsing stops short (too many
    // mistakes), the steps stay as they were, all stale, but for a first reading, which shows what it can.
    void ReadAll(const StoryText& text);
    // After `patch` was applied to `text`: the steps whose lines it moved are read now, those it changed in
    // place are marked for Finish().
    void Track(const Patch& patch, const StoryText& text);
    // Reads the marked steps and counts the numbers again. Returns the one step that reads differently
    // (or the one read again, when none does), nullopt when more may.
    std::optional<std::size_t> Finish(const StoryText& text);

    const std::vector<StepData>& Steps() const { return steps_; }
    // All steps read from the current text; else the form waits (a step or the whole text is stale).
    bool Current() const { return !allStale_ && staleSteps_ == 0; }
    bool StepCurrent(std::size_t index) const { return !allStale_ && !steps_.at(index).stale; }
    // The parser's mistakes when the last change read the whole text; nullopt after a partial reading.
    const std::optional<std::vector<kit::Finding>>& Errors() const { return errors_; }
    // Changes whenever a step's number or the count of steps may have changed.
    std::uint64_t Numbering() const { return numbering_; }

  private:
    bool Reread(std::size_t first, std::size_t end, std::ptrdiff_t delta, bool fromTop,
                const StoryText& text);
    void Shift(std::size_t from, std::ptrdiff_t delta);
    void CountNumbers();

    std::string fileName_ = "źródło";
    std::vector<StepData> steps_;
    std::vector<char> marked_; // per step: changed in place, to be read by Finish()
    bool topMarked_ = false;   // the lines before the first step changed in place
    bool anyMarked_ = false;
    bool renumber_ = false; // a step's number changed, or steps came or went: count them again
    bool failed_ = false;   // a part did not read as steps: Finish() reads everything
    bool allStale_ = false;
    std::size_t staleSteps_ = 0;
    bool read_ = false;
    std::size_t reread_ = 0;  // steps read since the last Finish()
    std::size_t changed_ = 0; // of them, the ones that read differently (2 for "more than one")
    std::optional<std::size_t> lastChanged_, lastReread_;
    std::uint64_t numbering_ = 0;
    std::optional<std::vector<kit::Finding>> errors_;
};

} // namespace editor
