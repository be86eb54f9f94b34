// Every command of the document on a small story: the whole text it leaves (comments and untouched lines
// byte for byte), its steps as a fresh reading gives them, the listeners' copy of the text, and its undo
// and redo, which give back the exact bytes before and after.
#include "EditorTesting.h"

#include <functional>

namespace {

using editor::ChoiceTarget;
using editor::StoryDocument;
using editor_testing::Story;
using editor_testing::Sub;

constexpr const char* Bom = "\xEF\xBB\xBF";
const std::string Long =
    "Stoisz na skraju ciemnego lasu, a mgła przelewa się między pniami jak mleko w dzbanku. "
    "Ścieżka skręca w lewo, a w prawo biegnie wartki strumień pełen srebrnych ryb.";

struct EditCase {
    std::string name;
    std::string before;
    std::function<void(StoryDocument&)> command;
    std::string after;
};

void PrintTo(const EditCase& c, std::ostream* out) {
    *out << c.name;
}

const std::vector<EditCase>& Cases() {
    static const std::vector<EditCase> cases{
        {"NameKeepsNumberAndLabel", Story, [](auto& d) { d.SetName(1, "Skraj lasu"); },
         Sub(Story, "krok 2 @skraj Skraj\n", "krok 2 @skraj Skraj lasu\n")},
        {"NameStartingWithADigitIsQuoted", Story, [](auto& d) { d.SetName(2, "7 mil"); },
         Sub(Story, "krok Chatka\n", "krok \"7 mil\"\n")},
        {"TypWrittenAsANumberStaysANumber", Story, [](auto& d) { d.SetTyp(1, 5); },
         Sub(Story, "typ 4\n", "typ 5\n")},
        {"TypWrittenAsANameStaysAName", Story, [](auto& d) { d.SetTyp(0, 4); },
         Sub(Story, "typ Wybory1\n", "typ Wybory2\n")},
        {"NewPictureLineAfterTyp", Story, [](auto& d) { d.SetPicture(0, "dom.bmp"); },
         Sub(Story, "typ Wybory1\n", "typ Wybory1\nobraz dom.bmp\n")},
        {"EmptyPictureRemovesItsLine", Story, [](auto& d) { d.SetPicture(1, ""); },
         Sub(Story, "obraz las.bmp\n", "")},
        {"NewSoundLineAfterPicture", Story, [](auto& d) { d.SetSound(1, "wiatr.wav"); },
         Sub(Story, "obraz las.bmp\n", "obraz las.bmp\ndzwiek wiatr.wav\n")},
        {"DescriptionRewrittenWrapped", Story, [](auto& d) { d.SetOpis(1, Long); },
         Sub(Story, "opis Stoisz na skraju.\nopis Ścieżka skręca.\n",
             "opis Stoisz na skraju ciemnego lasu, a mgła przelewa się między pniami jak mleko w dzbanku. "
             "Ścieżka\n"
             "opis skręca w lewo, a w prawo biegnie wartki strumień pełen srebrnych ryb.\n")},
        {"DescriptionPieceQuotedWhereItMustBe", Story, [](auto& d) { d.SetOpis(2, " Koniec  drogi."); },
         Sub(Story, "opis Koniec.\n", "opis \" Koniec  drogi.\"\n")},
        {"TextOutsideTheCodePageWrittenAsTyped", Story, [](auto& d) { d.SetOpis(3, "Strzałka → tu"); },
         Sub(Story, "typ 1\n", "typ 1\nopis Strzałka → tu\n")},
        {"EmptyDescriptionRemovesAllItsLines", Story, [](auto& d) { d.SetOpis(1, ""); },
         Sub(Story, "opis Stoisz na skraju.\nopis Ścieżka skręca.\n", "")},
        {"ChoiceTextWithAnArrowIsQuoted", Story, [](auto& d) { d.SetChoiceText(1, 2, "Wzdłuż -> wody"); },
         Sub(Story, "wybor 2 Strumień -> 4\n", "wybor 2 \"Wzdłuż -> wody\" -> 4\n")},
        {"NewChoiceLineAfterDescription", Story, [](auto& d) { d.SetChoiceText(2, 1, "Wróć"); },
         Sub(Story, "opis Koniec.\n", "opis Koniec.\nwybor 1 Wróć -> 0\n")},
        {"TargetByNumber", Story,
         [](auto& d) {
             d.SetChoiceTarget(0, 1, {ChoiceTarget::Kind::Number, 4, {}});
         },
         Sub(Story, "-> @skraj\n", "-> 4\n")},
        {"TargetByLabel", Story,
         [](auto& d) {
             d.SetChoiceTarget(3, 1, {ChoiceTarget::Kind::Label, 0, "skraj"});
         },
         Sub(Story, "wybor 1 Do chatki -> 3\n", "wybor 1 Do chatki -> @skraj\n")},
        {"EmptyChoiceTextKeepsItsTarget", Story, [](auto& d) { d.SetChoiceText(3, 1, ""); },
         Sub(Story, "wybor 1 Do chatki -> 3\n", "wybor 1 \"\" -> 3\n")},
        {"AddedStepFollowsTheNumberingOfTheLast", Story, [](auto& d) { d.AddStep("Nowy"); },
         Story + "\nkrok Nowy\ntyp Koniec\n"},
        {"LinkedStepAddedWithItsChoice", Story, [](auto& d) { d.AddLinkedStep(2, 1, "Dalej"); },
         Sub(Story, "opis Koniec.\n", "opis Koniec.\nwybor 1 \"\" -> 5\n") + "\nkrok Dalej\ntyp Koniec\n"},
        {"DuplicateDropsTheLabel", Story, [](auto& d) { d.DuplicateStep(1); },
         Story + "\nkrok Skraj\ntyp Wybory2\nobraz las.bmp\nopis Stoisz na skraju. Ścieżka skręca.\n"
                 "wybor 1 Ścieżką -> 3\nwybor 2 Strumień -> 4\n"},
        {"DeleteTakesItsCommentAndZeroesTargetsNamingIt", Story, [](auto& d) { d.DeleteStep(1); },
         R"(# Las: próba.
scenariusz Las

krok 1 Poranek
typ Wybory1
opis Babcia prosi o koszyk.
wybor 1 Wyrusz -> 0

krok Chatka
typ Koniec
opis Koniec.

krok Strumień
typ 1
wybor 1 Do chatki -> 2
)"},
        {"DeleteMovesTheLaterNumbersDown", Story, [](auto& d) { d.DeleteStep(0); },
         R"(# Las: próba.
scenariusz Las

# Skraj lasu.
krok 1 @skraj Skraj
typ 4
obraz las.bmp
opis Stoisz na skraju.
opis Ścieżka skręca.
wybor 1 Ścieżką -> 2
wybor 2 Strumień -> 3

krok Chatka
typ Koniec
opis Koniec.

krok Strumień
typ 1
wybor 1 Do chatki -> 2
)"},
        {"MoveDownSwapsTheNumbersOfTheTwo", Story, [](auto& d) { d.MoveStep(2, 1); },
         Sub(Sub(Story, "wybor 1 Ścieżką -> 3\nwybor 2 Strumień -> 4\n",
                 "wybor 1 Ścieżką -> 4\nwybor 2 Strumień -> 3\n"),
             "krok Chatka\ntyp Koniec\nopis Koniec.\n\nkrok Strumień\ntyp 1\nwybor 1 Do chatki -> 3\n",
             "krok Strumień\ntyp 1\nwybor 1 Do chatki -> 4\n\nkrok Chatka\ntyp Koniec\nopis Koniec.\n")},
        {"MoveUpTakesTheCommentAlong", Story, [](auto& d) { d.MoveStep(1, -1); },
         R"(# Las: próba.
scenariusz Las

# Skraj lasu.
krok 1 @skraj Skraj
typ 4
obraz las.bmp
opis Stoisz na skraju.
opis Ścieżka skręca.
wybor 1 Ścieżką -> 3
wybor 2 Strumień -> 4

krok 2 Poranek
typ Wybory1
opis Babcia prosi o koszyk.
wybor 1 Wyrusz -> @skraj

krok Chatka
typ Koniec
opis Koniec.

krok Strumień
typ 1
wybor 1 Do chatki -> 3
)"},
        {"RenumberSwapsAndWritesTheNumbersThatNoLongerFollow", Story, [](auto& d) { d.RenumberStep(0, 3); },
         R"(# Las: próba.
scenariusz Las

krok 3 Poranek
typ Wybory1
opis Babcia prosi o koszyk.
wybor 1 Wyrusz -> @skraj

# Skraj lasu.
krok 2 @skraj Skraj
typ 4
obraz las.bmp
opis Stoisz na skraju.
opis Ścieżka skręca.
wybor 1 Ścieżką -> 1
wybor 2 Strumień -> 4

krok 1 Chatka
typ Koniec
opis Koniec.

krok 4 Strumień
typ 1
wybor 1 Do chatki -> 1
)"},
        {"SourceLineEdited", Story, [](auto& d) { d.ReplaceLines(12, 1, {"opis Stoisz tu."}); },
         Sub(Story, "opis Stoisz na skraju.\n", "opis Stoisz tu.\n")},
        {"SourceLinesMakeANewStep", Story,
         [](auto& d) {
             d.ReplaceLines(21, 0, {"krok Sad", "typ 2", ""});
         },
         Sub(Story, "opis Koniec.\n\n", "opis Koniec.\n\nkrok Sad\ntyp 2\n\n")},
        {"SourceLinesRemoveAStep", Story, [](auto& d) { d.ReplaceLines(17, 3, {"# bez kroku"}); },
         Sub(Story, "krok Chatka\ntyp Koniec\nopis Koniec.\n", "# bez kroku\n")},
        {"LineEndsKeptInCrLf", "krok 1 A\r\ntyp 1\r\nopis x\r\nwybor 1 B -> 1\r\n",
         [](auto& d) { d.SetOpis(0, Long); },
         "krok 1 A\r\ntyp 1\r\nopis Stoisz na skraju ciemnego lasu, a mgła przelewa się między pniami jak "
         "mleko w "
         "dzbanku. Ścieżka\r\nopis skręca w lewo, a w prawo biegnie wartki strumień pełen srebrnych "
         "ryb.\r\nwybor 1 B "
         "-> 1\r\n"},
        {"MissingFinalNewlineStaysMissing", "krok 1 A\ntyp 1", [](auto& d) { d.AddStep("B"); },
         "krok 1 A\ntyp 1\n\nkrok 2 B\ntyp 2"},
        {"MissingFinalNewlineInCrLf", "krok 1 A\r\ntyp 1", [](auto& d) { d.SetOpis(0, "x"); },
         "krok 1 A\r\ntyp 1\r\nopis x"},
        {"ByteOrderMarkStaysWhenTheFirstStepGoes", std::string(Bom) + "krok 1 A\ntyp 1\n\nkrok 2 B\ntyp 2\n",
         [](auto& d) { d.DeleteStep(0); }, std::string(Bom) + "krok 1 B\ntyp 2\n"},
        {"ByteOrderMarkStaysOnARenamedStep", std::string(Bom) + "krok 1 A\ntyp 1\n",
         [](auto& d) { d.SetName(0, "Z"); }, std::string(Bom) + "krok 1 Z\ntyp 1\n"},
        {"FirstStepOfAnEmptyStory", "", [](auto& d) { d.AddStep("Początek"); },
         "krok 1 Początek\ntyp Koniec\n"},
        {"IndentationKept", "krok 1 A\n  typ 1\n  opis x\n", [](auto& d) { d.SetSound(0, "s.wav"); },
         "krok 1 A\n  typ 1\n  dzwiek s.wav\n  opis x\n"},
    };
    return cases;
}

class Edit : public testing::TestWithParam<EditCase> {};

TEST_P(Edit, RewritesOnlyItsLines) {
    StoryDocument document(GetParam().before);
    editor_testing::Replay replay(document);
    document.AddListener(&replay);
    GetParam().command(document);
    EXPECT_EQ(document.Bytes(), GetParam().after);
    EXPECT_EQ(replay.text.Bytes(), GetParam().after);
    EXPECT_TRUE(document.StepsCurrent());
    editor_testing::ExpectStepsAsRead(document);
    EXPECT_TRUE(document.Modified());
}

TEST_P(Edit, UndoAndRedoGiveBackTheBytes) {
    StoryDocument document(GetParam().before);
    editor_testing::Replay replay(document);
    document.AddListener(&replay);
    GetParam().command(document);
    ASSERT_TRUE(document.CanUndo());
    document.Undo();
    EXPECT_EQ(document.Bytes(), GetParam().before);
    EXPECT_EQ(replay.text.Bytes(), GetParam().before);
    editor_testing::ExpectStepsAsRead(document);
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(document.Modified());
    document.Redo();
    EXPECT_EQ(document.Bytes(), GetParam().after);
    EXPECT_EQ(replay.text.Bytes(), GetParam().after);
    editor_testing::ExpectStepsAsRead(document);
    EXPECT_FALSE(document.CanRedo());
}

INSTANTIATE_TEST_SUITE_P(Commands, Edit, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<EditCase>& info) { return info.param.name; });

TEST(Edit, ChangesNothingWhenTheValueIsTheSame) {
    StoryDocument document(Story);
    document.SetOpis(1, "Stoisz na skraju. Ścieżka skręca.");
    document.SetPicture(0, "");
    document.SetTyp(1, 4);
    EXPECT_FALSE(document.CanUndo());
}

TEST(Edit, RefusesWhatTheSourceCannotSay) {
    StoryDocument document(Story);
    EXPECT_THROW(document.SetTyp(0, 256), std::invalid_argument);
    EXPECT_THROW(document.SetChoiceTarget(0, 1, {ChoiceTarget::Kind::Label, 0, "dwa słowa"}),
                 std::invalid_argument);
    EXPECT_THROW(document.SetChoiceText(0, 5, "x"), std::out_of_range);
    EXPECT_THROW(document.SetName(4, "x"), std::out_of_range);
    EXPECT_THROW(document.RenumberStep(0, -1), std::invalid_argument);
    EXPECT_EQ(document.Bytes(), Story);
}

TEST(Edit, NamesTheStepsLeadingToAStep) {
    const StoryDocument document(Story);
    EXPECT_EQ(document.StepsLeadingTo(1), (std::vector<std::size_t>{0}));    // by its label
    EXPECT_EQ(document.StepsLeadingTo(2), (std::vector<std::size_t>{1, 3})); // by its number
    EXPECT_EQ(document.IndexOfNumber(4), 3u);
    EXPECT_EQ(document.IndexAtLine(8), 1u); // the comment above "krok 2"
    EXPECT_EQ(document.IndexAtLine(1), std::nullopt);
}

} // namespace

// A description is written wrapped and quoted piece by piece so that reading it back gives what was typed.
TEST(Edit, DescriptionsReadBackAsTyped) {
    std::string words;
    for (int i = 0; i < 30; ++i) {
        words += (i % 7 == 0 ? "\"cytat\" " : "słowo ") + std::string(i % 5 == 0 ? " " : "");
    }
    for (const std::string& typed :
         {std::string("  z odstępem"), std::string("na końcu  "), std::string("a  b"),
          std::string("\"cudzysłów\" na początku"), std::string("tab\tu i \\ tu"),
          std::string("wiersz\nniżej"), std::string(120, 'x') + " krótki", words}) {
        StoryDocument document(Story);
        document.SetOpis(1, typed);
        EXPECT_EQ(document.Step(1).opis, typed);
        EXPECT_EQ(StoryDocument(document.Bytes()).Step(1).opis, typed) << document.Bytes();
        EXPECT_TRUE(StoryDocument(document.Bytes()).SourceErrors().empty()) << typed;
    }
}
