// The check that follows the document on its own thread: an out-of-date check is given up, and the last
// report is always of the newest text.
#include "editor/core/BackgroundCheck.h"
#include "editor/core/SourceBytes.h"
#include "editor/core/StoryText.h"
#include "kit/SourceCheck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// Every step's choice fills its field: a finding for each, so the story has many.
std::string Story(int steps) {
    std::string text = "scenariusz Sprawdzana\n";
    for (int n = 1; n <= steps; ++n) {
        text += "krok " + std::to_string(n) + " Sala\ntyp 1\nopis Sala " + std::to_string(n) + ".\n" +
                "wybor 1 " + std::string(45, 'a') + " -> " + std::to_string(n % steps + 1) + "\n";
    }
    return text;
}

TEST(BackgroundCheck, ACheckNoLongerWantedIsGivenUp) {
    const std::string story = Story(300);
    const editor::CheckReport whole = editor::CheckText(story, "/nowhere/las.txt", nullptr);
    ASSERT_GT(whole.Size(), 300u);
    int asked = 0;
    EXPECT_THROW(editor::CheckText(story, "/nowhere/las.txt", nullptr, [&] { return ++asked > 1; }),
                 editor::CheckCancelled);
    EXPECT_EQ(editor::CheckText(story, "/nowhere/las.txt", nullptr, [] { return false; }).Size(),
              whole.Size());
}

void ExpectSameReport(const editor::CheckReport& got, const editor::CheckReport& expected) {
    ASSERT_EQ(got.Size(), expected.Size());
    for (std::size_t i = 0; i < expected.Size(); ++i) {
        EXPECT_EQ(got.Text(i), expected.Text(i));
    }
    EXPECT_EQ(got.errors, expected.errors);
    EXPECT_EQ(got.warnings, expected.warnings);
    EXPECT_EQ(got.marks.byRecord, expected.marks.byRecord);
}

// Edits as the thread follows them, each checked from what the last check kept: the report and the step
// marks are those of a whole check of the text, whether one step or the whole text was read again.
TEST(BackgroundCheck, AnEditedStepIsReportedAsTheWholeTextWouldBe) {
    const std::string story = Story(30);
    editor::StoryText text(story);
    editor::SourceBytes checked(story);
    kit::SourceCheck kept;
    ExpectSameReport(editor::CheckEdited(kept, checked, "/nowhere/las.txt", nullptr),
                     editor::CheckText(story, "/nowhere/las.txt", nullptr));
    const auto line = [](std::size_t step, std::size_t field) { return 1 + step * 4 + field; };
    const std::vector<std::pair<std::size_t, std::string>> edits{
        {line(4, 3), "wybor 1 krotszy -> 6"},                      // one warning fewer
        {line(4, 3), "wybor 1 " + std::string(46, 'a') + " -> 6"}, // too long: the mistake alone
        {line(4, 3), "wybor 1 " + std::string(45, 'b') + " -> 6"}, // put right
        {line(9, 2), "opis Inna sala."},                           // another step
        {line(9, 3), "wybor 1 dalej -> 1"},                        // a target: the ways walked again
        {line(9, 0), "krok 10 @sala Sala"},                        // a label: the whole story
    };
    for (const auto& [at, replacement] : edits) {
        const editor::Patch patch{at, {text.Line(at)}, {replacement}};
        text.Apply(patch);
        checked.Apply(patch);
        kept.Edited(patch.first, patch.removed.size(), patch.inserted.size());
        bool whole = false;
        const editor::CheckReport report =
            editor::CheckEdited(kept, checked, "/nowhere/las.txt", nullptr, {}, &whole);
        EXPECT_EQ(whole, replacement.starts_with("krok")) << replacement;
        ExpectSameReport(report, editor::CheckText(text.Bytes(), "/nowhere/las.txt", nullptr));
    }
}

TEST(BackgroundCheck, TheLastReportIsOfTheNewestText) {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<editor::CheckReport> reports;
    editor::BackgroundCheck check([&](editor::CheckReport report) {
        const std::lock_guard lock(mutex);
        reports.push_back(std::move(report));
        arrived.notify_all();
    });
    const std::string story = Story(400);
    editor::StoryText text(story);
    check.Reset(story, "/nowhere/las.txt");
    // Each edit shortens one choice, so that it no longer fills its field.
    for (std::size_t step = 0; step < 40; ++step) {
        const std::size_t line = 1 + step * 4 + 3;
        editor::Patch patch{line, {text.Line(line)}, {"wybor 1 krotki -> 1"}};
        text.Apply(patch);
        check.Apply(patch);
    }
    std::unique_lock lock(mutex);
    ASSERT_TRUE(arrived.wait_for(lock, std::chrono::minutes(2), [&] {
        return !reports.empty() && reports.back().generation == check.Generation();
    }));
    const editor::CheckReport expected = editor::CheckText(text.Bytes(), "/nowhere/las.txt", nullptr);
    ASSERT_EQ(reports.back().Size(), expected.Size());
    for (std::size_t i = 0; i < expected.Size(); ++i) {
        EXPECT_EQ(reports.back().Text(i), expected.Text(i));
    }
}

} // namespace
