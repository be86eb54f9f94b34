// One undo history for every view: typing merges, any other command closes the step, at least 10,000
// steps back, and Modified() follows the undo position.
#include "EditorTesting.h"

namespace {

using editor::StoryDocument;
using editor_testing::Story;
using editor_testing::Sub;

TEST(History, TypingInAFieldIsOneUndoStepUntilAnotherCommand) {
    StoryDocument document(Story);
    for (const char* typed : {"B", "Ba", "Bab"}) {
        document.SetOpis(0, typed);
    }
    document.SetName(0, "Ś");
    document.SetName(0, "Świt");
    document.SetOpis(0, "Babcia");
    EXPECT_EQ(document.UndoText(), "Zmiana opisu");
    document.Undo();
    EXPECT_EQ(document.Step(0).opis, "Bab");
    EXPECT_EQ(document.UndoText(), "Zmiana nazwy");
    document.Undo();
    EXPECT_EQ(document.Step(0).name, "Poranek");
    document.Undo();
    EXPECT_EQ(document.Bytes(), Story);
    EXPECT_FALSE(document.CanUndo());
    EXPECT_EQ(document.RedoText(), "Zmiana opisu");
}

TEST(History, TypingOnTheSameSourceLineMerges) {
    StoryDocument document(Story);
    document.ReplaceLines(5, 1, {"opis Babcia prosi o kosz."});
    document.ReplaceLines(5, 1, {"opis Babcia prosi o ko."});
    document.ReplaceLines(6, 1, {"wybor 1 Idź -> @skraj"});
    document.Undo();
    EXPECT_EQ(document.Step(0).opis, "Babcia prosi o ko.");
    document.Undo();
    EXPECT_EQ(document.Bytes(), Story);
}

TEST(History, DeletingAStepWithItsLinksComesBackWithOneUndo) {
    StoryDocument document(Story);
    editor_testing::Replay replay(document);
    document.AddListener(&replay);
    document.DeleteStep(2);
    document.DeleteStep(0);
    document.Undo();
    document.Undo();
    EXPECT_EQ(document.Bytes(), Story);
    EXPECT_EQ(replay.text.Bytes(), Story);
    editor_testing::ExpectStepsAsRead(document);
    document.Redo();
    document.Redo();
    EXPECT_EQ(replay.text.Bytes(), document.Bytes());
    editor_testing::ExpectStepsAsRead(document);
}

TEST(History, KeepsTenThousandStepsBack) {
    StoryDocument document("krok 1 A\ntyp 1\n");
    for (int i = 1; i <= 10001; ++i) {
        document.SetTyp(0, i % 2 == 0 ? 1 : 0);
    }
    int undone = 0;
    while (document.CanUndo()) {
        document.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 10000);
    EXPECT_EQ(StoryDocument::HistoryLimit, 10000u);
    EXPECT_EQ(document.Bytes(), "krok 1 A\ntyp 0\n"); // after the first change, which is forgotten
    EXPECT_TRUE(document.Modified());
}

TEST(History, ModifiedFollowsTheUndoPosition) {
    StoryDocument document(Story);
    document.SetOpis(0, "A");
    document.MarkSaved();
    EXPECT_FALSE(document.Modified());
    document.SetOpis(0, "AB"); // typing after saving starts a new undo step
    EXPECT_TRUE(document.Modified());
    document.Undo();
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(document.Step(0).opis, "A");
    document.Undo();
    EXPECT_TRUE(document.Modified());
    document.SetTyp(0, 2); // the saved state is out of reach now
    document.Undo();
    EXPECT_TRUE(document.Modified());
}

} // namespace
