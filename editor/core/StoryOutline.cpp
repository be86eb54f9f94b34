#include "editor/core/StoryOutline.h"

#include "kit/Source.h"

#include <algorithm>

namespace editor {

namespace {

bool Whole(const kit::ParseResult& result) {
    return std::all_of(result.outline.begin(), result.outline.end(), [](const auto& o) { return o.whole; });
}

bool SameStep(const StepData& a, const StepData& b) {
    return a.view == b.view && a.numberWritten == b.numberWritten;
}

} // namespace

void StoryOutline::ReadAll(const StoryText& text) {
    kit::ParseResult result = kit::ParseStory(text.Bytes(), fileName_);
    // Parsing stops after so many mistakes: the steps after them are missing.
    const bool complete = result.errors.size() < kit::MaxErrors;
    errors_ = std::move(result.errors);
    if (complete || !read_) {
        steps_.clear();
        steps_.reserve(result.outline.size());
        for (kit::StepOutline& outline : result.outline) {
            const bool whole = outline.whole;
            steps_.push_back(FromOutline(std::move(outline), 0));
            steps_.back().stale = !whole;
        }
    } else {
        // The steps stay as they were; their lines follow the source as far as its outline goes.
        for (std::size_t i = 0; i < std::min(steps_.size(), result.outline.size()); ++i) {
            StepView& view = steps_[i].view;
            const std::size_t first = static_cast<std::size_t>(result.outline[i].line) - 1;
            view.endLine = first + (view.endLine - view.firstLine);
            view.firstLine = first;
        }
    }
    staleSteps_ = static_cast<std::size_t>(
        std::count_if(steps_.begin(), steps_.end(), [](const StepData& step) { return step.stale; }));
    read_ = true;
    allStale_ = !complete;
    marked_.assign(steps_.size(), 0);
    topMarked_ = anyMarked_ = failed_ = renumber_ = false;
    reread_ = changed_ = 0;
    lastChanged_.reset();
    lastReread_.reset();
    ++numbering_;
}

void StoryOutline::Track(const Patch& patch, const StoryText& text) {
    if (failed_ || allStale_) {
        failed_ = true;
        return;
    }
    const std::size_t removed = patch.removed.size();
    const auto before = [&](std::size_t line) {
        return static_cast<std::size_t>(
            std::lower_bound(steps_.begin(), steps_.end(), line,
                             [](const StepData& s, std::size_t l) { return s.view.firstLine < l; }) -
            steps_.begin());
    };
    // Steps [after, end) have their "krok" line among the removed lines; the one before them holds the
    // first line changed (or the lines before the first step do).
    const std::size_t after = before(patch.first);
    const std::size_t end = before(patch.first + removed);
    const bool fromTop = after == 0;
    const std::size_t first = fromTop ? 0 : after - 1;
    if (removed == patch.inserted.size()) {
        topMarked_ = topMarked_ || fromTop;
        anyMarked_ = true;
        std::fill(marked_.begin() + static_cast<std::ptrdiff_t>(first),
                  marked_.begin() + static_cast<std::ptrdiff_t>(end), 1);
        return;
    }
    const std::ptrdiff_t delta =
        static_cast<std::ptrdiff_t>(patch.inserted.size()) - static_cast<std::ptrdiff_t>(removed);
    if (!Reread(first, end, delta, fromTop, text)) {
        failed_ = true;
    }
}

std::optional<std::size_t> StoryOutline::Finish(const StoryText& text) {
    if (failed_) {
        ReadAll(text);
        return std::nullopt;
    }
    if (topMarked_ && steps_.empty()) {
        if (!Reread(0, 0, 0, true, text)) {
            ReadAll(text);
            return std::nullopt;
        }
    } else if (topMarked_) {
        marked_[0] = 1; // read from the top
    }
    // Runs of marked steps, the last first, so that the indices before a run stay.
    for (std::size_t end = anyMarked_ ? steps_.size() : 0; end > 0;) {
        if (!marked_[end - 1]) {
            --end;
            continue;
        }
        std::size_t first = end;
        while (first > 0 && marked_[first - 1]) {
            --first;
        }
        if (!Reread(first, end, 0, topMarked_ && first == 0, text)) {
            ReadAll(text);
            return std::nullopt;
        }
        end = first;
    }
    topMarked_ = anyMarked_ = false;
    if (renumber_) {
        CountNumbers();
    }
    if (reread_ > 0) {
        errors_.reset();
    }
    renumber_ = false;
    const std::optional<std::size_t> answer = changed_ == 1   ? lastChanged_
                                              : changed_ == 0 ? lastReread_
                                                              : std::nullopt;
    reread_ = changed_ = 0;
    lastChanged_.reset();
    lastReread_.reset();
    return answer;
}

// Steps [first, end) become what lines [their first "krok" line (or the top), the next step's "krok"
// line after a change of `delta` lines) hold now.
bool StoryOutline::Reread(std::size_t first, std::size_t end, std::ptrdiff_t delta, bool fromTop,
                          const StoryText& text) {
    const std::size_t start = fromTop ? 0 : steps_[first].view.firstLine;
    const std::size_t stop =
        end < steps_.size()
            ? static_cast<std::size_t>(static_cast<std::ptrdiff_t>(steps_[end].view.firstLine) + delta)
            : text.LineCount();
    kit::ParseResult result = kit::ParseStory(text.Join(start, stop), fileName_);
    if (result.errors.size() >= kit::MaxErrors ||
        (!fromTop && (result.outline.empty() || result.outline[0].line != 1))) {
        return false;
    }
    std::vector<StepData> fresh;
    fresh.reserve(result.outline.size());
    if (!Whole(result) && !fromTop && end - first == 1 && result.outline.size() == 1) {
        // Being typed: the step keeps its last good state until it reads again.
        fresh.push_back(steps_[first]);
        fresh.back().view.endLine = stop;
        fresh.back().stale = true;
    } else {
        // Steps that came or went have no last good state: each shows what reads of it.
        for (kit::StepOutline& outline : result.outline) {
            const bool whole = outline.whole;
            fresh.push_back(FromOutline(std::move(outline), start));
            fresh.back().stale = !whole;
        }
    }
    // A part of the source counts from 1: the steps without a written number follow the step before.
    std::int64_t previous = first > 0 ? steps_[first - 1].view.number : 0;
    for (StepData& step : fresh) {
        if (!step.numberWritten && !step.stale) {
            step.view.number = previous + 1;
        }
        previous = step.view.number;
    }
    for (std::size_t i = first; i < end; ++i) {
        staleSteps_ -= steps_[i].stale;
    }
    for (const StepData& step : fresh) {
        staleSteps_ += step.stale;
    }
    if (fresh.size() != end - first) {
        changed_ += 2; // the steps after these are other steps now
        ++numbering_;
        renumber_ = true;
    } else {
        for (std::size_t i = 0; i < fresh.size(); ++i) {
            if (!SameStep(fresh[i], steps_[first + i])) {
                ++changed_;
                lastChanged_ = first + i;
                if (fresh[i].view.number != steps_[first + i].view.number) {
                    ++numbering_;
                    renumber_ = true; // the steps after it may follow it
                }
            }
        }
    }
    const std::size_t count = fresh.size();
    reread_ += count;
    if (count > 0) {
        lastReread_ = first;
    }
    if (count == end - first) {
        std::move(fresh.begin(), fresh.end(), steps_.begin() + static_cast<std::ptrdiff_t>(first));
    } else {
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(first),
                     steps_.begin() + static_cast<std::ptrdiff_t>(end));
        steps_.insert(steps_.begin() + static_cast<std::ptrdiff_t>(first),
                      std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
        marked_.erase(marked_.begin() + static_cast<std::ptrdiff_t>(first),
                      marked_.begin() + static_cast<std::ptrdiff_t>(end));
        marked_.insert(marked_.begin() + static_cast<std::ptrdiff_t>(first), count, 0);
    }
    std::fill(marked_.begin() + static_cast<std::ptrdiff_t>(first),
              marked_.begin() + static_cast<std::ptrdiff_t>(first + count), 0);
    Shift(first + count, delta);
    return true;
}

void StoryOutline::Shift(std::size_t from, std::ptrdiff_t delta) {
    if (delta == 0) {
        return;
    }
    for (std::size_t i = from; i < steps_.size(); ++i) {
        StepView& view = steps_[i].view;
        view.firstLine = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(view.firstLine) + delta);
        view.endLine = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(view.endLine) + delta);
    }
}

// A step without a written number follows the step before (the first is record 1), as the parser counts.
void StoryOutline::CountNumbers() {
    std::int64_t previous = 0;
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        StepData& step = steps_[i];
        if (!step.numberWritten && step.view.number != previous + 1) {
            step.view.number = previous + 1;
            changed_ += 2;
            ++numbering_;
        }
        previous = step.view.number;
    }
}

} // namespace editor
