// Edits a fuzzed story source line by line and checks it with the check kept between edits: whichever way
// it takes, its findings (texts, order) and summary must be those of a fresh check of the edited text, and
// it keeps a graph exactly when the text has no mistakes.
//
// Input: one byte giving the number of edits (1-4); four bytes an edit: its first line (taken modulo the
// line count + 1), the lines it removes (0-3), the lines it inserts (0-3), and flags (bit 0: check after
// this edit as well as after the last); then the story, then a NUL byte, then the inserted lines, one a
// line, used in order and again from the first when they run out.
#include "kit/Check.h"
#include "kit/Source.h"
#include "kit/SourceCheck.h"
#include "tests/support/SourceLines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t MaxInput = 8192; // a few dozen steps: each run stays well under a millisecond
constexpr std::size_t EditBytes = 4;

struct Texts : kit::FindingSink {
    std::vector<std::string> texts;
    void Report(const kit::Finding& f) override { texts.push_back(kit::FindingText(f)); }
};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The kept check of the lines as they are now, against a fresh one.
void CheckNow(kit::SourceCheck& check, const std::vector<std::string>& lines) {
    const std::string text = fixtures::JoinLines(lines);
    Texts kept;
    std::optional<kit::CheckSummary> summary;
    if (const auto step = check.EditedStep()) {
        Require(step->first <= step->end && step->end <= lines.size());
        summary = check.Step(fixtures::JoinLines(lines, step->first, step->end), nullptr, kept);
        Require(summary.has_value() || kept.texts.empty());
    }
    if (!summary) {
        summary = check.Whole(text, "story.txt", nullptr, kept);
    }
    Texts fresh;
    const kit::CheckSummary expected = kit::CheckStorySource(text, "story.txt", nullptr, fresh);
    Require(kept.texts == fresh.texts);
    Require(summary->errors == expected.errors && summary->warnings == expected.warnings);
    Require((check.Graph() != nullptr) == kit::ParseStory(text, "story.txt").errors.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > MaxInput) {
        return 0;
    }
    const std::size_t edits = 1 + data[0] % 4;
    if (size < 1 + edits * EditBytes) {
        return 0;
    }
    const std::uint8_t* script = data + 1;
    const std::string_view rest(reinterpret_cast<const char*>(script + edits * EditBytes),
                                size - 1 - edits * EditBytes);
    const std::size_t nul = std::min(rest.find('\0'), rest.size());
    std::vector<std::string> lines = fixtures::SplitLines(rest.substr(0, nul));
    const std::vector<std::string> replacements =
        nul < rest.size() ? fixtures::SplitLines(rest.substr(nul + 1)) : std::vector<std::string>{""};

    kit::SourceCheck check;
    Texts ignored;
    check.Whole(rest.substr(0, nul), "story.txt", nullptr, ignored);
    std::size_t next = 0;
    for (std::size_t e = 0; e < edits; ++e) {
        const std::uint8_t* edit = script + e * EditBytes;
        const std::size_t first = edit[0] % (lines.size() + 1);
        const std::size_t removed = std::min<std::size_t>(edit[1] % 4, lines.size() - first);
        const std::size_t inserted = edit[2] % 4;
        if (removed == lines.size() && inserted == 0) {
            continue; // a text always has a line, if an empty one
        }
        const auto at = lines.begin() + static_cast<std::ptrdiff_t>(first);
        lines.erase(at, at + static_cast<std::ptrdiff_t>(removed));
        for (std::size_t i = 0; i < inserted; ++i) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(first + i),
                         replacements[next++ % replacements.size()]);
        }
        check.Edited(first, removed, inserted);
        if ((edit[3] & 1) != 0 || e + 1 == edits) {
            CheckNow(check, lines);
        }
    }
    return 0;
}
