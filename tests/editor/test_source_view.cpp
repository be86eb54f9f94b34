// Source view edits: the steps follow what the lines say; while a step's lines do not read, the form keeps
// its last good state and refuses to edit it, and the parser's mistakes are reported.
#include "EditorTesting.h"

namespace {

using editor::StoryDocument;
using editor_testing::Story;

TEST(SourceView, AStepBeingTypedKeepsItsLastGoodState) {
    StoryDocument document(Story);
    document.ReplaceLines(13, 1, {"opis \"Ścieżka skręca."}); // the closing quote not typed yet
    EXPECT_FALSE(document.StepsCurrent());
    EXPECT_EQ(document.Step(1).opis, "Stoisz na skraju. Ścieżka skręca.");
    ASSERT_EQ(document.SourceErrors().size(), 1u);
    EXPECT_EQ(document.SourceErrors()[0].line, 14);
    EXPECT_EQ(document.SourceErrors()[0].message, "opis: brak cudzysłowu zamykającego tekst");
    EXPECT_THROW(document.SetOpis(1, "x"), std::logic_error);
    EXPECT_THROW(document.AddStep("x"), std::logic_error);
    document.SetOpis(3, "Szum."); // another step reads: its lines are where they were
    document.ReplaceLines(13, 1, {"opis \"Ścieżka skręca.\""});
    EXPECT_TRUE(document.StepsCurrent());
    EXPECT_EQ(document.Step(1).opis, "Stoisz na skraju. Ścieżka skręca.");
    EXPECT_EQ(document.Step(3).opis, "Szum.");
    EXPECT_TRUE(document.SourceErrors().empty());
    editor_testing::ExpectStepsAsRead(document);
}

TEST(SourceView, AMistakeOfValueLeavesTheStepsCurrent) {
    StoryDocument document(Story);
    document.SetFileName("las.txt");
    document.SetOpis(2, std::string(251, 'o'));
    document.SetChoiceText(3, 1, "Strzałka →");
    EXPECT_TRUE(document.StepsCurrent());
    EXPECT_EQ(document.Step(3).choice[0], "Strzałka →");
    std::vector<std::string> errors;
    for (const kit::Finding& error : document.SourceErrors()) {
        errors.push_back(error.file + ":" + std::to_string(error.line) + ": " + error.message);
    }
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "las.txt:20: opis ma 251 znaków, o 1 za dużo (pole mieści 250)",
                          "las.txt:24: wybór 1: znak 10 (U+2192) jest spoza strony kodowej 1250"}));
    document.DeleteStep(0); // a structural command reads them back as typed
    EXPECT_EQ(document.Step(2).choice[0], "Strzałka →");
}

TEST(SourceView, ANewStepThatDoesNotReadShowsWhatItCan) {
    StoryDocument document(Story);
    document.ReplaceLines(16, 0, {"", "krok 9 Kopia", "typ x"});
    EXPECT_FALSE(document.StepsCurrent());
    ASSERT_EQ(document.StepCount(), 5u);
    EXPECT_EQ(document.Step(2).name, "Kopia");
    EXPECT_THROW(document.SetName(2, "y"), std::logic_error);
    EXPECT_THROW(document.DeleteStep(0), std::logic_error);
    document.SetName(0, "Świt"); // the other steps read
    document.ReplaceLines(18, 1, {"typ 2"});
    EXPECT_TRUE(document.StepsCurrent());
    editor_testing::ExpectStepsAsRead(document);
}

TEST(SourceView, TooManyMistakesToReadKeepEveryStepAsItWas) {
    StoryDocument document(Story);
    document.ReplaceLines(10, 0, std::vector<std::string>(60, "???"));
    EXPECT_FALSE(document.StepsCurrent());
    EXPECT_EQ(document.StepCount(), 4u);
    EXPECT_EQ(document.Step(1).typ, 4);
    EXPECT_THROW(document.SetName(0, "x"), std::logic_error);
    document.Undo();
    EXPECT_TRUE(document.StepsCurrent());
    EXPECT_EQ(document.Bytes(), Story);
    editor_testing::ExpectStepsAsRead(document);
}

TEST(SourceView, TellsWhichStepChanged) {
    StoryDocument document(Story);
    editor_testing::Replay replay(document);
    document.AddListener(&replay);
    document.ReplaceLines(12, 1, {"opis Stoisz."});
    EXPECT_EQ(document.ChangedStep(), 1u);
    document.SetName(3, "Bród");
    EXPECT_EQ(document.ChangedStep(), 3u);
    document.ReplaceLines(16, 1, {"krok Sad", "typ 2", ""});
    EXPECT_EQ(document.ChangedStep(), std::nullopt);
    EXPECT_EQ(document.Step(3).number, 4);
    EXPECT_EQ(document.Step(4).number, 5);
    EXPECT_EQ(replay.changes, 3);
}

} // namespace
