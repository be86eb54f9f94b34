// The source kept byte for byte: lines split at '\n' only, joined back as they came.
#include "editor/core/StoryDocument.h"

#include <gtest/gtest.h>

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

} // namespace
