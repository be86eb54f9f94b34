// Finding steps ignores letter case and Polish diacritics.
#include "editor/core/StepFilter.h"

#include <gtest/gtest.h>

namespace {

TEST(StepFilter, FoldsCaseAndPolishLetters) {
    const struct {
        std::string text, folded;
    } cases[] = {
        {"żółw", "zolw"},           {"ŻÓŁW", "zolw"},     {"Żółw", "zolw"},   {"ąćęłńóśźż", "acelnoszz"},
        {"ĄĆĘŁŃÓŚŹŻ", "acelnoszz"}, {"Mgła 2", "mgla 2"}, {"è → ü", "è → ü"}, // others stay as they are
    };
    for (const auto& c : cases) {
        EXPECT_EQ(editor::FoldForSearch(c.text), c.folded) << c.text;
    }
}

TEST(StepFilter, MatchesNumberLabelAndEveryText) {
    editor::StepView step;
    step.number = 12;
    step.label = "Skraj";
    step.name = "Skraj lasu";
    step.opis = "Żółw śpi.";
    step.choice[3] = "Idź ŁĄKĄ";
    for (const char* query : {"", "12", "@skraj", "LASU", "zolw spi", "laka"}) {
        EXPECT_TRUE(editor::StepMatches(step, editor::FoldForSearch(query))) << query;
    }
    for (const char* query : {"1", "@las", "sowa"}) {
        EXPECT_FALSE(editor::StepMatches(step, editor::FoldForSearch(query))) << query;
    }
}

} // namespace
