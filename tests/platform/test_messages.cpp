#include "platform/AppTitle.h"
#include "platform/Mnemonics.h"
#include "platform/QtMessages.h"
#include "tests/support/Waits.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// Shows a box through `show`, lets `inspect` read it once settled, then dismisses it with `key`; returns
// whether the key closed it.
bool ShowBox(const std::function<void(platform::QtMessages&)>& show,
             const std::function<void(QWidget*)>& inspect, Qt::Key key = Qt::Key_Escape) {
    platform::QtMessages messages;
    bool dismissed = false;
    EXPECT_TRUE(fixtures::WithModal([&] { show(messages); },
                                    [&](QWidget* box) {
                                        // Settled: what the box queued for itself has run.
                                        fixtures::DrainPostedEvents();
                                        fixtures::WaitUntil([box] { return box->focusWidget() != nullptr; });
                                        inspect(box);
                                        const QPointer<QWidget> alive(box);
                                        QTest::keyClick(box->focusWidget(), key);
                                        dismissed = alive.isNull() || !alive->isVisible();
                                    }));
    return dismissed;
}

// The plain text a rich text shows, and its underlined characters.
std::pair<QString, QString> Shown(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    QString underlined;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            underlined += it.fragment().charFormat().fontUnderline() ? it.fragment().text() : QString();
        }
    }
    return {document.toPlainText(), underlined};
}

class BoxKindTest : public ::testing::TestWithParam<bool> {};

TEST_P(BoxKindTest, IsModalTitledWithOneOkAndTheErrorIconOnlyForErrors) {
    const bool error = GetParam();
    const QString text = QString::fromUtf8("Wejdź do &lasu?\nTak && nie <też>");
    const bool closed = ShowBox([&](auto& m) { error ? m.ShowError(text) : m.ShowMessage(text); },
                                [&](QWidget* box) {
                                    EXPECT_TRUE(box->isModal());
                                    EXPECT_EQ(box->windowTitle(), platform::ApplicationTitle());
                                    const auto* icon = box->findChild<QLabel*>("icon");
                                    EXPECT_EQ(icon != nullptr && !icon->pixmap().isNull(), error);
                                    QStringList buttons;
                                    for (const auto* button : box->findChildren<QAbstractButton*>()) {
                                        buttons << button->text();
                                    }
                                    EXPECT_EQ(buttons, QStringList{"OK"});
                                    const auto* label = box->findChild<QLabel*>("text");
                                    ASSERT_NE(label, nullptr);
                                    const auto [plain, underlined] = Shown(label->text());
                                    EXPECT_EQ(plain, QString::fromUtf8("Wejdź do lasu?\nTak & nie <też>"));
                                    EXPECT_EQ(underlined, "l");
                                    EXPECT_EQ(label->accessibleName(), plain);
                                });
    EXPECT_TRUE(closed);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BoxKindTest, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Error" : "Message"); });

TEST(QtMessages, EnterAndEscBothPressOk) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        EXPECT_TRUE(ShowBox([](auto& m) { m.ShowMessage("Tak"); }, [](QWidget*) {}, key)) << key;
    }
}

TEST(QtMessages, IsCentredOnTheScreenAndWrapsAtHalfItsWidth) {
    int shortWidth = 0;
    for (const QString& text : {QString("słowo"), QString("słowo ").repeated(200)}) {
        ShowBox([&](auto& m) { m.ShowError(text); },
                [&](QWidget* box) {
                    const QRect area = box->screen()->availableGeometry();
                    const QPoint offset = box->frameGeometry().center() - area.center();
                    EXPECT_LE(std::abs(offset.x()), 1);
                    EXPECT_LE(std::abs(offset.y()), 1);
                    const auto* label = box->findChild<QLabel*>("text");
                    ASSERT_NE(label, nullptr);
                    if (shortWidth == 0) {
                        // The word's own width: the box around it is widened for the caption.
                        shortWidth = label->fontMetrics().horizontalAdvance(text);
                        return;
                    }
                    EXPECT_LE(label->width(), area.width() / 2);
                    EXPECT_GT(label->width(), std::max(area.width() / 3, 4 * shortWidth));
                    EXPECT_GT(label->height(), 4 * label->fontMetrics().height());
                });
    }
}

TEST(QtMessages, AShortTextStillLeavesTheWholeCaptionRoomInTheTitleBar) {
    for (const bool error : {false, true}) {
        for (const QString& text : {QString("To juz koniec gry"), QString("x")}) {
            ShowBox([&](auto& m) { error ? m.ShowError(text) : m.ShowMessage(text); },
                    [&](QWidget* box) {
                        QFont titleFont = box->font();
                        titleFont.setBold(true);
                        const QFontMetrics title(titleFont);
                        // The caption, a close button and a window-menu icon at the least, each a line
                        // high, with a line's height of padding.
                        EXPECT_GE(box->width(),
                                  title.horizontalAdvance(platform::ApplicationTitle()) + 3 * title.height())
                            << text.toStdString() << (error ? " error" : " message");
                        const QRect area = box->screen()->availableGeometry();
                        EXPECT_LE(std::abs(box->frameGeometry().center().x() - area.center().x()), 1);
                        const auto* label = box->findChild<QLabel*>("text");
                        ASSERT_NE(label, nullptr);
                        EXPECT_LT(label->height(), 2 * label->fontMetrics().lineSpacing()) << "one line";
                    });
        }
    }
}

struct MnemonicCase {
    const char* name;
    const char* text;
    const char* shown;
    const char* underlined;
};

void PrintTo(const MnemonicCase& c, std::ostream* out) {
    *out << c.name;
}

class MnemonicTest : public ::testing::TestWithParam<MnemonicCase> {};

TEST_P(MnemonicTest, ShowsTheTextExactlyWithTheMarkedCharacterUnderlined) {
    const auto [name, text, plain, underlined] = GetParam();
    EXPECT_EQ(Shown(platform::MnemonicRichText(QString::fromUtf8(text))),
              std::make_pair(QString::fromUtf8(plain), QString::fromUtf8(underlined)));
    EXPECT_EQ(platform::MnemonicPlainText(QString::fromUtf8(text)), QString::fromUtf8(plain));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MnemonicTest,
    ::testing::Values(MnemonicCase{"FirstLetter", "&Plik", "Plik", "P"},
                      MnemonicCase{"DoubledMark", "a&&&b", "a&b", "b"},
                      MnemonicCase{"MarkupShownAsText", "<b>x</b> &amp;", "<b>x</b> amp;", "a"},
                      MnemonicCase{"RunsOfSpaces", "dwa  spacje   trzy", "dwa  spacje   trzy", ""},
                      MnemonicCase{"LineBreak", "wiersz 1\nwiersz 2", "wiersz 1\nwiersz 2", ""},
                      MnemonicCase{"PolishLetter", "&Łąka", "Łąka", "Ł"},
                      MnemonicCase{"MarkAtTheEnd", "koniec&", "koniec", ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
