// The editor's window driven through its real widgets, offscreen: the form and the source follow each
// other, the problems follow typing, saving, building, closing and a draft brought back after a crash.
#include "editor/EditorWindow.h"
#include "tests/support/FakeQuestions.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"
#include "tests/support/TempDir.h"
#include "tests/support/Waits.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <memory>

namespace {

using Answer = editor::IQuestions::Answer;

constexpr const char* Story = "# Las\n"
                              "krok 1 Start\n"
                              "typ 1\n"
                              "opis Stoisz w lesie.\n"
                              "wybor 1 Idź -> 2\n"
                              "\n"
                              "krok 2 Koniec\n"
                              "typ Koniec\n"
                              "opis Koniec drogi.\n";

std::string Read(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

class EditorWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = QString::fromStdString(dir_.path().string());
        story_ = folder_ + "/las.txt";
        fixtures::WriteBytes(dir_.path() / "las.txt", std::string(Story));
        Make();
    }

    void Make() {
        window_ = std::make_unique<editor::EditorWindow>(player_, messages_, questions_);
        window_->show();
    }

    // The window as a crash leaves it: gone without closing, its journal left on the disk.
    void Crash() {
        window_->FlushJournal();
        window_.reset();
    }

    QString SourceLine(int line) const {
        return window_->Source()->document()->findBlockByNumber(line).text();
    }

    QAction* Action(const QString& text) const {
        for (QAction* action : window_->findChildren<QAction*>()) {
            if (action->text().remove(u'&').startsWith(text)) {
                return action;
            }
        }
        return nullptr;
    }

    fixtures::TempDir dir_;
    QString folder_;
    QString story_;
    fixtures::RecordingMediaPlayer player_;
    fixtures::RecordingMessages messages_;
    fixtures::FakeQuestions questions_;
    std::unique_ptr<editor::EditorWindow> window_;
};

TEST_F(EditorWindowTest, TheFormAndTheSourceFollowEachOtherAndUndoTakesBothBack) {
    ASSERT_TRUE(window_->Open(story_));
    editor::StepForm* form = window_->Form();
    ASSERT_EQ(form->Current(), 0u);

    form->Nazwa->selectAll();
    QTest::keyClicks(form->Nazwa, "Polana");
    EXPECT_EQ(SourceLine(1), "krok 1 Polana");
    EXPECT_EQ(SourceLine(0), "# Las") << "a comment stays";

    QTextCursor cursor(window_->Source()->document()->findBlockByNumber(3));
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(" Cicho.");
    EXPECT_EQ(form->Opis->toPlainText(), "Stoisz w lesie. Cicho.");

    Action("Cofnij")->trigger();
    EXPECT_EQ(form->Opis->toPlainText(), "Stoisz w lesie.");
    for (int i = 0; i < 8 && window_->Document().CanUndo(); ++i) {
        Action("Cofnij")->trigger();
    }
    EXPECT_EQ(window_->Document().Bytes(), Story);
    EXPECT_EQ(form->Nazwa->text(), "Start");
}

TEST_F(EditorWindowTest, ProblemsFollowTypingAndLeadToTheirField) {
    ASSERT_TRUE(window_->Open(story_));
    editor::ProblemsPanel* problems = window_->Problems();
    ASSERT_TRUE(fixtures::WaitUntil([&] { return problems->Summary() == "Brak problemów"; }));

    editor::StepForm* form = window_->Form();
    QTest::keyClicks(form->Wybor[1], "Wracaj");
    ASSERT_TRUE(fixtures::WaitUntil([&] { return problems->Count() == 1; }));
    EXPECT_EQ(
        problems->Text(0).toStdString(),
        "las.Kro:1 (Start): ostrzeżenie: wybór 2 ma tekst, ale przycisk 2 nigdy nie jest tu włączony (typ 1)")
        << "the toolkit's own words";

    window_->SelectStep(1);
    emit problems->activated(problems->model()->index(0, 0));
    EXPECT_EQ(form->Current(), 0u);
    EXPECT_EQ(window_->focusWidget(), form->Wybor[1]);
}

TEST_F(EditorWindowTest, SavingWritesTheSourceWholeAndBuildingAsksBeforeReplacing) {
    ASSERT_TRUE(window_->Open(story_));
    QTest::keyClicks(window_->Form()->Nazwa, "!");
    questions_.savePath = folder_ + "/nowa.txt";
    ASSERT_TRUE(window_->SaveAs());
    EXPECT_EQ(Read(folder_ + "/nowa.txt"), window_->Document().Bytes());
    EXPECT_EQ(Read(story_), Story) << "the file it came from stays";
    EXPECT_FALSE(window_->Document().Modified());

    ASSERT_TRUE(window_->Build());
    const std::string kro = Read(folder_ + "/nowa.Kro");
    EXPECT_EQ(kro.size(), 3u * 516u) << "records 0 to 2";
    EXPECT_TRUE(QFile::exists(folder_ + "/nowa.lis"));
    EXPECT_EQ(window_->Problems()->Summary(), "Brak problemów") << "the built files checked at once";

    QTest::keyClicks(window_->Form()->Nazwa, "?");
    questions_.answers = {Answer::No};
    window_->Build();
    ASSERT_EQ(questions_.asked.size(), 1);
    EXPECT_TRUE(questions_.asked.back().contains("nowa.Kro"));
    EXPECT_EQ(Read(folder_ + "/nowa.Kro"), kro) << "kept when the author says no";
}

TEST_F(EditorWindowTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheStory) {
    ASSERT_TRUE(window_->Open(story_));
    QTest::keyClicks(window_->Form()->Nazwa, "x");
    questions_.answers = {Answer::Cancel};
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(questions_.asked.size(), 1);
    EXPECT_TRUE(window_->isVisible());
    questions_.answers = {Answer::No};
    EXPECT_TRUE(window_->close());
}

TEST_F(EditorWindowTest, ADraftLeftByACrashIsOfferedBackAndComesBackWhole) {
    ASSERT_TRUE(window_->Open(story_));
    QTest::keyClicks(window_->Form()->Opis, " Wieje.");
    window_->Form()->Wybor[0]->selectAll();
    QTest::keyClicks(window_->Form()->Wybor[0], "Biegnij");
    const std::string draft = window_->Document().Bytes();
    Crash();
    EXPECT_EQ(Read(story_), Story) << "the story file is never written by the journal";

    Make();
    questions_.answers = {Answer::Yes};
    ASSERT_TRUE(window_->Open(story_));
    ASSERT_EQ(questions_.asked.size(), 1);
    EXPECT_EQ(window_->Document().Bytes(), draft);
    EXPECT_TRUE(window_->Document().Modified());
    window_->Document().Undo();
    EXPECT_EQ(window_->Document().Bytes(), Story) << "the draft is one change from the file";
}

} // namespace

namespace {

// The colours of a source line: none until the highlighter has seen the line in view.
QList<QTextLayout::FormatRange> Colours(editor::EditorWindow& window, int line) {
    const QTextBlock block = window.Source()->document()->findBlockByNumber(line);
    return block.layout() == nullptr ? QList<QTextLayout::FormatRange>{} : block.layout()->formats();
}

TEST_F(EditorWindowTest, TheSourceIsColouredWhereItIsSeenAndAgainWhereItChanges) {
    std::string story;
    for (int n = 1; n <= 400; ++n) {
        story += "krok " + std::to_string(n) + " Sala\ntyp 1\nopis Sala.\nwybor 1 Dalej -> " +
                 std::to_string(n % 400 + 1) + "\n";
    }
    fixtures::WriteBytes(dir_.path() / "duza.txt", story);
    ASSERT_TRUE(window_->Open(folder_ + "/duza.txt"));
    QCoreApplication::processEvents();

    ASSERT_TRUE(fixtures::WaitUntil([&] { return !Colours(*window_, 0).isEmpty(); })) << "the first line";
    EXPECT_TRUE(Colours(*window_, 0)[0].format.fontWeight() == QFont::Bold) << "krok";
    const int far = 1401; // "typ 1" of step 351
    EXPECT_TRUE(Colours(*window_, far).isEmpty()) << "a line never in view is left as it is";

    window_->Source()->GoToLine(far);
    ASSERT_TRUE(fixtures::WaitUntil([&] { return !Colours(*window_, far).isEmpty(); }))
        << "brought into view";

    QTest::keyClick(window_->Source(), Qt::Key_Home);
    QTest::keyClicks(window_->Source(), "# ");
    ASSERT_TRUE(fixtures::WaitUntil([&] {
        const auto colours = Colours(*window_, far);
        return colours.size() == 1 && colours[0].format.fontItalic() && colours[0].length == 7;
    })) << "the line made a comment is coloured as one";
}

} // namespace
