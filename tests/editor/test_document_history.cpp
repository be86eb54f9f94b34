// One undo history for every view: typing merges, any other command closes the step, at least 10,000
// steps back, and Modified() follows the undo position.
#include "EditorTesting.h"

#include <random>

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

// Any mix of commands from every view: the steps always read as the text says, the listeners' copy
// follows, and undoing everything gives back the first bytes.
TEST(History, RandomCommandsKeepTheStepsAsTheTextReads) {
    StoryDocument document(Story);
    editor_testing::Replay replay(document);
    document.AddListener(&replay);
    std::mt19937 random(20261208);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const std::vector<std::string> lines{"opis Nowy opis.", "",      "# uwaga",    "wybor 3 Trzeci -> 1",
                                         "krok Wstawiony",  "typ 2", "obraz x.bmp"};
    for (int i = 0; i < 400; ++i) {
        const std::size_t step = pick(std::max<std::size_t>(document.StepCount(), 1));
        const int k = static_cast<int>(pick(4)) + 1;
        try {
            switch (!document.StepsCurrent() && pick(2) == 0 ? 9 : pick(12)) { // undo most mistakes
            case 0:
                document.SetOpis(step, std::string(pick(300), 'o') + " ą " + std::to_string(i));
                break;
            case 1:
                document.SetName(step, "Krok " + std::to_string(i));
                break;
            case 2:
                document.SetChoiceText(step, k, pick(3) == 0 ? "" : "Wybór " + std::to_string(i));
                break;
            case 3:
                document.SetChoiceTarget(
                    step, k, {editor::ChoiceTarget::Kind::Number, static_cast<std::int64_t>(pick(6)), {}});
                break;
            case 4:
                document.AddLinkedStep(step, k, "Nowy");
                break;
            case 5:
                if (document.StepCount() > 2)
                    document.DeleteStep(step);
                break;
            case 6:
                document.MoveStep(step, pick(2) == 0 ? -1 : 2);
                break;
            case 7:
                document.RenumberStep(step, static_cast<std::int64_t>(pick(document.StepCount() + 1)));
                break;
            case 8:
                document.ReplaceLines(pick(document.Text().LineCount()), pick(2),
                                      {pick(10) == 0 ? "opis \"niedomknięty" : lines[pick(lines.size())]});
                break;
            case 9:
                if (document.CanUndo())
                    document.Undo();
                break;
            case 10:
                if (document.CanRedo())
                    document.Redo();
                break;
            default:
                document.SetPicture(step, pick(2) == 0 ? "" : "p" + std::to_string(i) + ".bmp");
                break;
            }
        } catch (const std::logic_error&) {
            if (document.StepsCurrent()) {
                throw; // only a step or a source that does not read now makes a command wait
            }
        }
        ASSERT_EQ(replay.text.Bytes(), document.Bytes()) << "after command " << i;
        if (document.StepsCurrent()) {
            editor_testing::ExpectStepsAsRead(document);
        }
        if (testing::Test::HasFailure()) {
            FAIL() << "after command " << i << ":\n" << document.Bytes();
        }
    }
    while (document.CanUndo()) {
        document.Undo();
    }
    EXPECT_EQ(document.Bytes(), Story);
    editor_testing::ExpectStepsAsRead(document);
}
