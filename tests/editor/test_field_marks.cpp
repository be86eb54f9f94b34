// The spell check and the code-page marks on the editor's form, with Debian's Polish dictionary: words
// with diacritics known or not, suggestions and the story's own dictionary in the context menu, the
// characters code page 1250 lacks marked in the toolkit's words, and the typography commands.
#include "editor/EditorWindow.h"
#include "editor/Typography.h"
#include "tests/support/FakeQuestions.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"
#include "tests/support/TempDir.h"
#include "tests/support/Waits.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

bool HaveDictionary() {
    const QString base = editor::SpellChecker::DictionaryBase();
    return QFileInfo::exists(base + ".dic") && QFileInfo::exists(base + ".aff");
}

// Key presses carrying `text`, one character each, as a keyboard layout with Polish letters sends them
// (QTest's key clicks know ASCII alone).
void TypeInto(QWidget* field, const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, one);
        QCoreApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, one);
        QCoreApplication::sendEvent(field, &release);
    }
}

class FieldMarksTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!HaveDictionary()) {
            GTEST_SKIP() << "no Polish dictionary at "
                         << editor::SpellChecker::DictionaryBase().toStdString();
        }
        fixtures::WriteBytes(dir_.path() / "las.txt", std::string("krok 1 Start\ntyp 1\nopis Las.\n"));
        window_ = std::make_unique<editor::EditorWindow>(player_, messages_, questions_);
        window_->show();
        ASSERT_TRUE(window_->Open(QString::fromStdString((dir_.path() / "las.txt").string())));
        ASSERT_TRUE(fixtures::WaitUntil([this] { return window_->Spelling()->IsReady(); }));
    }

    // Types `text` into choice 1 as the author does, and returns its marks once they are shown.
    QVector<editor::TextMark> Type(const QString& text) {
        QLineEdit* wybor = window_->Form()->Wybor[0];
        wybor->setFocus();
        wybor->selectAll();
        TypeInto(wybor, text);
        fixtures::DrainPostedEvents();
        return window_->Marks()->Marks(1);
    }

    QStringList MenuTexts(QWidget* field, int position) {
        std::unique_ptr<QMenu> menu(window_->Marks()->MenuAt(field, position));
        QStringList texts;
        for (QAction* action : menu->actions()) {
            texts << action->text();
        }
        return texts;
    }

    fixtures::TempDir dir_;
    fixtures::RecordingMediaPlayer player_;
    fixtures::RecordingMessages messages_;
    fixtures::FakeQuestions questions_;
    std::unique_ptr<editor::EditorWindow> window_;
};

struct Spelling {
    const char* word;
    bool known;
};

TEST_F(FieldMarksTest, PolishWordsWithDiacriticsAreKnownAndMisspeltOnesMarked) {
    const Spelling table[] = {
        {"źdźbło", true}, {"Żółć", true},  {"gęślą", true},      {"jaźń", true},   {"chrząszcz", true},
        {"Łódź", true},   {"zolc", false}, {"chrzaszcz", false}, {"gęśla", false}, {"źdźbo", false},
        {"ŻÓŁW", true},   {"łąką", true},  {"pszczuła", false},  {"rzeka", true},  {"żeka", false},
    };
    for (const Spelling& s : table) {
        const QString word = QString::fromUtf8(s.word);
        EXPECT_EQ(window_->Spelling()->IsKnown(word), s.known) << s.word;
        const auto marks = Type(QStringLiteral("Idź ") + word);
        const bool marked = !marks.isEmpty() && marks.back().start == 4 &&
                            marks.back().length == word.size() &&
                            marks.back().kind == editor::TextMark::Kind::Spelling;
        EXPECT_EQ(marked, !s.known) << s.word;
    }
}

TEST_F(FieldMarksTest, SuggestionsReplaceTheWordAndTheStoryDictionaryTravelsWithIt) {
    QLineEdit* wybor = window_->Form()->Wybor[0];
    Type(QStringLiteral("Zjedz chrzaszcza"));
    const QStringList menu = MenuTexts(wybor, 8);
    ASSERT_FALSE(menu.isEmpty());
    EXPECT_EQ(menu.front(), QStringLiteral("chrząszcza"));
    EXPECT_TRUE(menu.contains(QStringLiteral("Dodaj do słownika tej historii")));

    std::unique_ptr<QMenu> context(window_->Marks()->MenuAt(wybor, 8));
    context->actions().front()->trigger();
    EXPECT_EQ(wybor->text(), QStringLiteral("Zjedz chrząszcza"));
    // The document heard it as typing: the source has it too.
    EXPECT_NE(window_->Document().Bytes().find("wybor 1 Zjedz chrząszcza"), std::string::npos);
    fixtures::DrainPostedEvents();
    EXPECT_TRUE(window_->Marks()->Marks(1).isEmpty());

    Type(QStringLiteral("Do Babajagi"));
    ASSERT_EQ(window_->Marks()->Marks(1).size(), 1);
    std::unique_ptr<QMenu> add(window_->Marks()->MenuAt(wybor, 5));
    for (QAction* action : add->actions()) {
        if (action->text() == QStringLiteral("Dodaj do słownika tej historii")) {
            action->trigger();
        }
    }
    fixtures::DrainPostedEvents();
    EXPECT_TRUE(window_->Marks()->Marks(1).isEmpty());
    QFile file(QString::fromStdString((dir_.path() / "las.slownik.txt").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nBabajagi\n"));
}

TEST_F(FieldMarksTest, CharactersOutsideTheCodePageAreMarkedInTheToolkitsWordsAndSaidWhenReached) {
    QStringList said;
    QObject::connect(window_.get(), &editor::EditorWindow::Said, [&](const QString& text) { said << text; });
    const auto marks = Type(QStringLiteral("Idź „tam” – 🐢 już…"));
    ASSERT_EQ(marks.size(), 1);
    EXPECT_EQ(marks[0].kind, editor::TextMark::Kind::CodePage);
    EXPECT_EQ(marks[0].start, 12);
    EXPECT_EQ(marks[0].length, 2);
    EXPECT_EQ(marks[0].message, QStringLiteral("wybór 1: znak 13 (U+1F422) jest spoza strony kodowej 1250"));

    QLineEdit* wybor = window_->Form()->Wybor[0];
    wybor->setCursorPosition(12);
    EXPECT_TRUE(said.contains(marks[0].message));
    EXPECT_EQ(wybor->toolTip(), marks[0].message);
}

TEST_F(FieldMarksTest, TypographyIsTypedFromTheMenuAndStraightQuotesBecomePolish) {
    QPlainTextEdit* opis = window_->Form()->Opis;
    opis->setFocus();
    opis->selectAll();
    TypeInto(opis, QStringLiteral("Rzekł \"idź\" i"));
    EXPECT_TRUE(editor::InsertIntoFocused(QString(QChar(0x2026))));
    EXPECT_EQ(opis->toPlainText(), QStringLiteral("Rzekł „idź” i…"));
    EXPECT_NE(window_->Document().Bytes().find("opis Rzekł „idź” i…"), std::string::npos);
}

} // namespace
