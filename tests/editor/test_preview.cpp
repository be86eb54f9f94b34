// The editor's preview and play from a step, offscreen: the buttons the preview opens on each kind of step,
// the preview following an edit, and a game played from a middle step to its ending, after which the
// editor selects the step last shown.
#include "editor/EditorWindow.h"
#include "tests/support/FakeQuestions.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"
#include "tests/support/TempDir.h"
#include "tests/support/Waits.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

using Buttons = std::array<bool, 4>;

// Step 2 (type 4) and the hub, step 3 (type 5), both lead to step 4, which carries the buttons over
// (type 7): the most open there is 3. Nothing reaches step 6, of type 9. Step 5 is the ending.
constexpr const char* Story = "krok 1 Start\n"
                              "typ 1\n"
                              "opis Na rozstaju.\n"
                              "wybor 1 Lewo -> 2\n"
                              "wybor 2 Prawo -> 3\n"
                              "krok 2 Lewo\n"
                              "typ 4\n"
                              "opis Ścieżka w lewo.\n"
                              "wybor 1 Dalej -> 4\n"
                              "wybor 2 Wróć -> 1\n"
                              "krok 3 Prawo\n"
                              "typ 5\n"
                              "opis Ścieżka w prawo.\n"
                              "wybor 1 Dalej -> 4\n"
                              "wybor 2 Wróć -> 1\n"
                              "wybor 3 Stój -> 3\n"
                              "krok 4 Most\n"
                              "typ 7\n"
                              "opis Most nad rzeką.\n"
                              "wybor 1 Przejdź -> 5\n"
                              "wybor 2 Wróć -> 1\n"
                              "wybor 3 Skocz -> 5\n"
                              "wybor 4 Czekaj -> 4\n"
                              "krok 5 Brzeg\n"
                              "typ Koniec\n"
                              "opis Drugi brzeg.\n"
                              "krok 6 Nikt\n"
                              "typ 9\n"
                              "opis Tu nikt nie dochodzi.\n";

class PreviewTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = QString::fromStdString(dir_.path().string());
        fixtures::WriteBytes(dir_.path() / "most.txt", std::string(Story));
        window_ = std::make_unique<editor::EditorWindow>(player_, messages_, questions_);
        window_->show();
        ASSERT_TRUE(window_->Open(folder_ + "/most.txt"));
    }

    game::TFoRpgGra& Preview() const { return window_->Preview()->Game()->Window(); }
    static Buttons Enabled(const game::TFoRpgGra& game) {
        return {game.BuWybor1->isEnabled(), game.BuWybor2->isEnabled(), game.BuWybor3->isEnabled(),
                game.BuWybor4->isEnabled()};
    }

    fixtures::TempDir dir_;
    QString folder_;
    fixtures::RecordingMediaPlayer player_;
    fixtures::RecordingMessages messages_;
    fixtures::FakeQuestions questions_;
    std::unique_ptr<editor::EditorWindow> window_;
};

struct OpenCase {
    const char* name;
    std::size_t index;
    Buttons buttons;
};

void PrintTo(const OpenCase& c, std::ostream* out) {
    *out << c.name;
}

class PreviewOpens : public PreviewTest, public testing::WithParamInterface<OpenCase> {};

TEST_P(PreviewOpens, TheButtonsPlayLeavesOpenThere) {
    const OpenCase c = GetParam();
    window_->SelectStep(c.index);
    EXPECT_EQ(Preview().MeOpis->toPlainText().toStdString(), window_->Document().Step(c.index).opis);
    // A type that carries the buttons over waits for the walk over the story.
    EXPECT_TRUE(fixtures::WaitUntil([&] { return Enabled(Preview()) == c.buttons; }))
        << Enabled(Preview())[0] << Enabled(Preview())[1] << Enabled(Preview())[2] << Enabled(Preview())[3];
}

INSTANTIATE_TEST_SUITE_P(Steps, PreviewOpens,
                         testing::Values(OpenCase{"FirstStepAsPlayStarts", 0, {true, false, false, false}},
                                         OpenCase{"TypeFour", 1, {true, true, false, false}},
                                         OpenCase{"CarriedOverTheMostFound", 3, {true, true, true, false}},
                                         OpenCase{"Ending", 4, {false, false, false, false}},
                                         OpenCase{
                                             "CarriedOverReachedByNothing", 5, {true, true, true, true}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreviewTest, FollowsAnEditAndNamesAMissingPicture) {
    window_->SelectStep(1);
    editor::StepForm* form = window_->Form();
    const int drawn = window_->Preview()->Drawn();
    QTest::keyClicks(form->Wybor[0], " szybko");
    EXPECT_GT(window_->Preview()->Drawn(), drawn);
    EXPECT_EQ(Preview().LaWybor1->VisibleText(), "Dalej szybko");
    window_->Document().SetPicture(1, "brak.bmp");
    EXPECT_TRUE(window_->Preview()->Problems()->text().contains("brak.bmp"))
        << window_->Preview()->Problems()->text().toStdString();
    EXPECT_TRUE(messages_.log.isEmpty()) << "no box from the preview";
}

TEST_F(PreviewTest, PlayFromAMiddleStepToTheEndingSelectsTheStepLastShown) {
    const QStringList before = QDir(folder_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    window_->SelectStep(1);
    window_->PlayFromHere();
    game::TFoRpgGra* game = window_->Play()->Window();
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(game->isVisible()) << messages_.log.join('\n').toStdString();
    EXPECT_EQ(game->MeOpis->toPlainText(), "Ścieżka w lewo.");
    EXPECT_EQ(Enabled(*game), (Buttons{true, true, false, false}));

    // The preview waits meanwhile: a change of selection does not redraw it.
    const int drawn = window_->Preview()->Drawn();
    window_->SelectStep(2);
    EXPECT_EQ(window_->Preview()->Drawn(), drawn);

    QTest::mouseClick(game->BuWybor1, Qt::LeftButton);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Most nad rzeką.");
    EXPECT_EQ(Enabled(*game), (Buttons{true, true, false, false})) << "type 7 keeps the buttons";
    QTest::mouseClick(game->BuWybor1, Qt::LeftButton);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Drugi brzeg.");
    EXPECT_EQ(messages_.messages, QStringList{"To juz koniec gry"});

    QTest::mouseClick(game->BuWyjscie, Qt::LeftButton);
    EXPECT_FALSE(game->isVisible());
    EXPECT_EQ(window_->SelectedStep(), 4u);
    EXPECT_GT(window_->Preview()->Drawn(), drawn);
    EXPECT_EQ(Preview().MeOpis->toPlainText(), "Drugi brzeg.");
    EXPECT_EQ(QDir(folder_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before)
        << "nothing written beside the story";
}

TEST_F(PreviewTest, PlayFromTheStartAndAStoryWithMistakesIsNotPlayed) {
    window_->SelectStep(3);
    window_->PlayFromStart();
    game::TFoRpgGra* game = window_->Play()->Window();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Na rozstaju.");
    EXPECT_EQ(Enabled(*game), (Buttons{true, false, false, false}));
    game->close();
    EXPECT_EQ(window_->SelectedStep(), 0u);

    window_->Document().SetChoiceTarget(0, 1,
                                        editor::ChoiceTarget{editor::ChoiceTarget::Kind::Label, 0, "nic"});
    window_->PlayFromStart();
    EXPECT_FALSE(game->isVisible());
    ASSERT_EQ(messages_.errors.size(), 1);
    EXPECT_TRUE(messages_.errors[0].startsWith("Historia ma błędy (1)")) << messages_.errors[0].toStdString();
}

} // namespace
