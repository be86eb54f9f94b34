// The source kept byte for byte: lines split at '\n' only, joined back as they came.
#include "editor/core/SourceBytes.h"
#include "editor/core/StoryDocument.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(StoryText, GivesBackEveryByte) {
    for (const std::string bytes : {"", "\n", "krok 1", "krok 1\n", "krok 1\r\ntyp 1\r\n", "krok 1\r\ntyp 1",
                                    "\xEF\xBB\xBFkrok 1\ntyp 1\n", "a\n\n\nb", "\r", "\r\n\r\n"}) {
        EXPECT_EQ(editor::StoryText(bytes).Bytes(), bytes);
        EXPECT_EQ(editor::StoryDocument(bytes).Bytes(), bytes);
    }
    const editor::StoryText text("a\r\nb\n");
    EXPECT_EQ(text.Lines(), (std::vector<std::string>{"a\r", "b", ""}));
}

TEST(StoryText, RefusesAPatchThatDoesNotMatch) {
    editor::StoryText text("a\nb\nc");
    EXPECT_THROW(text.Apply({1, {"x"}, {"y"}}), std::out_of_range);
    EXPECT_THROW(text.Apply({2, {"c", "d"}, {}}), std::out_of_range);
    EXPECT_THROW(text.Apply({0, {"a", "b", "c"}, {}}), std::out_of_range);
    EXPECT_EQ(text.Bytes(), "a\nb\nc");
    text.Apply({1, {"b"}, {"b1", "b2"}});
    text.Apply({0, {"a"}, {}});
    EXPECT_EQ(text.Bytes(), "b1\nb2\nc");
}

// The check thread's one-string text follows the same patches to the same bytes and lines: random patches
// at the top, the middle and the end, growing, shrinking and emptying lines, from texts with and without a
// final line break.
TEST(SourceBytes, FollowsPatchesAsTheLinesDo) {
    std::mt19937 random(1250);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
    for (const std::string start : {"", "\n", "krok 1\ntyp 1\n", "a\r\nb\r\nc", "\n\n\n"}) {
        editor::StoryText lines(start);
        editor::SourceBytes bytes(start);
        for (int step = 0; step < 400; ++step) {
            const std::size_t first = pick(lines.LineCount());
            const std::size_t removed = pick(std::min<std::size_t>(3, lines.LineCount() - first));
            editor::Patch patch{first, {}, {}};
            for (std::size_t i = 0; i < removed; ++i) {
                patch.removed.push_back(lines.Line(first + i));
            }
            for (std::size_t i = pick(3); i > 0; --i) {
                patch.inserted.push_back(std::string(pick(4), "ab\r "[pick(3)]));
            }
            if (lines.LineCount() - removed + patch.inserted.size() == 0) {
                EXPECT_THROW(bytes.Apply(patch), std::out_of_range);
                continue;
            }
            lines.Apply(patch);
            bytes.Apply(patch);
            ASSERT_EQ(bytes.Bytes(), lines.Bytes()) << "after " << step << " patches from \"" << start << '"';
            ASSERT_EQ(bytes.LineCount(), lines.LineCount());
            const std::size_t from = pick(lines.LineCount());
            const std::size_t to = from + pick(lines.LineCount() - from);
            EXPECT_EQ(bytes.Lines(from, to), lines.Join(from, to));
        }
    }
    editor::SourceBytes text("a\nb\nc");
    EXPECT_THROW(text.Apply({1, {"x"}, {"y"}}), std::out_of_range);
    EXPECT_THROW(text.Apply({2, {"c", "d"}, {}}), std::out_of_range);
    EXPECT_EQ(text.Bytes(), "a\nb\nc");
}

} // namespace
