#include "platform/AppTitle.h"
#include "platform/QtMessages.h"
#include "tests/platform/Waits.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <ostream>

namespace {

using platform_tests::WithModal;

// What an open box shows, read while it is open.
struct Box {
    QString title;
    QString html;
    QString accessibleText;
    bool modal = false;
    bool icon = false;
    QStringList buttons;
    QRect frame;
    QRect screenArea;
    int textWidth = 0;
    int textHeight = 0;
};

Box Read(QWidget* window) {
    Box box;
    box.title = window->windowTitle();
    box.modal = window->isModal();
    const auto* text = window->findChild<QLabel*>("text");
    if (text != nullptr) {
        box.html = text->text();
        box.accessibleText = text->accessibleName();
        box.textWidth = text->width();
        box.textHeight = text->height();
    }
    const auto* icon = window->findChild<QLabel*>("icon");
    box.icon = icon != nullptr && !icon->pixmap().isNull();
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        box.buttons << button->text();
    }
    box.frame = window->frameGeometry();
    box.screenArea = window->screen()->availableGeometry();
    return box;
}

// Shows a box through `show`, reads it once it has settled and dismisses it with `key`.
Box ShowAndRead(const std::function<void(platform::QtMessages&)>& show, Qt::Key key = Qt::Key_Escape,
                bool* dismissed = nullptr) {
    platform::QtMessages messages;
    Box box;
    const bool inspected =
        WithModal([&] { show(messages); },
                  [&](QWidget* window) {
                      QTest::qWait(30);
                      box = Read(window);
                      QPointer<QWidget> guard(window);
                      QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key);
                      if (dismissed != nullptr) {
                          *dismissed = guard.isNull() || !guard->isVisible();
                      }
                  });
    EXPECT_TRUE(inspected) << "no modal box appeared";
    return box;
}

TEST(QtMessages, AMessageIsAModalTitledBoxWithoutIconAndOneOk) {
    const Box box = ShowAndRead([](auto& m) { m.ShowMessage("Koniec gry"); });
    EXPECT_TRUE(box.modal);
    EXPECT_EQ(box.title, platform::ApplicationTitle());
    EXPECT_FALSE(box.icon);
    EXPECT_EQ(box.buttons, QStringList{"OK"});
    EXPECT_EQ(box.accessibleText, "Koniec gry");
}

TEST(QtMessages, AnErrorHasTheErrorIcon) {
    const Box box = ShowAndRead([](auto& m) { m.ShowError("Nie ma pliku."); });
    EXPECT_TRUE(box.modal);
    EXPECT_EQ(box.title, platform::ApplicationTitle());
    EXPECT_TRUE(box.icon);
    EXPECT_EQ(box.buttons, QStringList{"OK"});
}

TEST(QtMessages, EnterAndEscBothDismissTheBox) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        bool dismissed = false;
        ShowAndRead([](auto& m) { m.ShowMessage("Tak"); }, key, &dismissed);
        EXPECT_TRUE(dismissed) << "key " << key;
    }
}

TEST(QtMessages, TheBoxIsCentredOnTheScreen) {
    for (const QString& text : {QString("Krótki"), QString("Dłuższy tekst ").repeated(40)}) {
        const Box box = ShowAndRead([&](auto& m) { m.ShowError(text); });
        const QPoint offset = box.frame.center() - box.screenArea.center();
        EXPECT_LE(std::abs(offset.x()), 1) << box.frame.x() << " " << box.frame.width();
        EXPECT_LE(std::abs(offset.y()), 1) << box.frame.y() << " " << box.frame.height();
    }
}

TEST(QtMessages, LongTextWrapsAtHalfTheScreenWidth) {
    const QString text = QString("słowo ").repeated(200);
    const Box longBox = ShowAndRead([&](auto& m) { m.ShowMessage(text); });
    const Box shortBox = ShowAndRead([&](auto& m) { m.ShowMessage("słowo"); });
    EXPECT_LE(longBox.textWidth, longBox.screenArea.width() / 2);
    EXPECT_GT(longBox.textWidth, longBox.screenArea.width() / 3);
    EXPECT_GT(longBox.textHeight, 4 * shortBox.textHeight);
    EXPECT_LT(shortBox.textWidth, longBox.textWidth / 4);
}

// The document a box's rich text makes: its plain text and which characters are underlined.
struct Shown {
    QString text;
    QString underlined;
};

Shown Render(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    Shown shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().fontUnderline()) {
                shown.underlined += fragment.text();
            }
        }
    }
    shown.text = document.toPlainText();
    return shown;
}

struct MnemonicCase {
    const char* text;
    const char* shown;
    const char* underlined;
};

void PrintTo(const MnemonicCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class BoxTextTest : public ::testing::TestWithParam<MnemonicCase> {};

TEST_P(BoxTextTest, ShowsTheTextExactlyWithMnemonicsUnderlined) {
    const QString text = QString::fromUtf8(GetParam().text);
    const Shown shown = Render(platform::MnemonicRichText(text));
    EXPECT_EQ(shown.text, QString::fromUtf8(GetParam().shown));
    EXPECT_EQ(shown.underlined, QString::fromUtf8(GetParam().underlined));
    EXPECT_EQ(platform::MnemonicPlainText(text), QString::fromUtf8(GetParam().shown).replace("\r\n", "\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BoxTextTest,
    ::testing::Values(MnemonicCase{"Zwykły tekst", "Zwykły tekst", ""}, MnemonicCase{"&Plik", "Plik", "P"},
                      MnemonicCase{"Tom && Jerry", "Tom & Jerry", ""}, MnemonicCase{"a&&&b", "a&b", "b"},
                      MnemonicCase{"<b>nie</b> HTML", "<b>nie</b> HTML", ""},
                      MnemonicCase{"dwa  spacje   trzy", "dwa  spacje   trzy", ""},
                      MnemonicCase{"wiersz 1\nwiersz 2", "wiersz 1\nwiersz 2", ""},
                      MnemonicCase{"&Łąka", "Łąka", "Ł"}, MnemonicCase{"koniec&", "koniec", ""}));

TEST(QtMessages, TheBoxShowsTheTextItWasGiven) {
    const QString text = QString::fromUtf8("Wejdź do &lasu?\nTak && nie <też>");
    const Box box = ShowAndRead([&](auto& m) { m.ShowMessage(text); });
    const Shown shown = Render(box.html);
    EXPECT_EQ(shown.text, QString::fromUtf8("Wejdź do lasu?\nTak & nie <też>"));
    EXPECT_EQ(shown.underlined, "l");
    EXPECT_EQ(box.accessibleText, shown.text);
}

} // namespace
