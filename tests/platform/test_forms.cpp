#include "platform/Forms.h"
#include "tests/platform/Waits.h"
#include "tests/support/Fakes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <ostream>

#include <stdexcept>

namespace {

using platform_tests::WaitUntil;

// Records each handler call with the window's visibility at that moment; throws when told to.
class RecordingForm : public platform::TForm {
  public:
    RecordingForm(platform::IMessages& messages, const QString& name, QSize size = {320, 200})
        : TForm(messages, name, "Okno " + name, size) {}

    QStringList calls;
    QString throwFrom;

    using TForm::OnClick;

  protected:
    void FormShow() override { Record("show"); }
    void FormHide() override { Record("hide"); }
    void FormClose() override { Record("close"); }

  private:
    void Record(const QString& handler) {
        calls << handler + (isVisible() ? " visible" : " hidden");
        if (throwFrom == handler) {
            throw std::runtime_error("Błąd w " + handler.toStdString());
        }
    }
};

// The first form of a process is its main one: every test creates it before any other.
RecordingForm& MainForm() {
    static fixtures::RecordingMessages messages;
    static RecordingForm* form = new RecordingForm(messages, "main");
    return *form;
}

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(MainForm().IsMainForm()); }

    fixtures::RecordingMessages messages;
};

TEST_F(FormTest, OnlyTheFirstFormIsTheMainOne) {
    RecordingForm other(messages, "other");
    EXPECT_FALSE(other.IsMainForm());
}

TEST_F(FormTest, ShowRunsFormShowBeforeTheWindowIsVisibleAndOnlyWhenHidden) {
    RecordingForm form(messages, "form");
    form.Show();
    EXPECT_TRUE(form.isVisible());
    form.Show();
    EXPECT_EQ(form.calls, QStringList{"show hidden"});
}

TEST_F(FormTest, HideRunsFormHideWhileStillVisibleAndOnlyWhenVisible) {
    RecordingForm form(messages, "form");
    form.Hide();
    EXPECT_TRUE(form.calls.isEmpty());
    form.Show();
    form.calls.clear();
    form.Hide();
    EXPECT_FALSE(form.isVisible());
    form.Hide();
    EXPECT_EQ(form.calls, QStringList{"hide visible"});
}

TEST_F(FormTest, CloseRunsFormCloseEvenWhenHidden) {
    RecordingForm form(messages, "form");
    form.Close();
    EXPECT_EQ(form.calls, QStringList{"close hidden"});
    EXPECT_FALSE(form.isVisible());
}

TEST_F(FormTest, CloseOfAVisibleFormRunsFormCloseThenHidesIt) {
    RecordingForm form(messages, "form");
    form.Show();
    form.calls.clear();
    form.Close();
    EXPECT_EQ(form.calls, (QStringList{"close visible", "hide visible"}));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(FormTest, TheWindowManagersCloseGoesThroughClose) {
    RecordingForm form(messages, "form");
    form.Show();
    form.calls.clear();
    QCloseEvent event;
    QApplication::sendEvent(&form, &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_EQ(form.calls, (QStringList{"close visible", "hide visible"}));
    EXPECT_FALSE(form.isVisible());
}

// Runs the application's event loop with `work` queued; returns exec's result, 7 when it had to be
// ended after `ms` by the test itself.
int RunLoop(const std::function<void()>& work, int ms) {
    QTimer::singleShot(0, work);
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    fallback.start(ms);
    return QCoreApplication::exec();
}

TEST_F(FormTest, ClosingTheMainFormEndsTheRunningEventLoop) {
    RecordingForm& main = MainForm();
    main.calls.clear();
    bool handlerFinished = false;
    EXPECT_EQ(RunLoop(
                  [&] {
                      main.Close();
                      handlerFinished = true;
                  },
                  5000),
              0);
    EXPECT_TRUE(handlerFinished);
    EXPECT_EQ(main.calls, QStringList{"close hidden"});
}

TEST_F(FormTest, ClosingAnotherFormLeavesTheEventLoopRunning) {
    RecordingForm form(messages, "form");
    EXPECT_EQ(RunLoop([&] { form.Close(); }, 300), 7);
    EXPECT_EQ(form.calls, QStringList{"close hidden"});
}

TEST_F(FormTest, HasAFixedDialogBorderTheExactClientSizeAndItsCaption) {
    RecordingForm form(messages, "form", {417, 233});
    form.Show();
    EXPECT_EQ(form.size(), QSize(417, 233));
    EXPECT_EQ(form.minimumSize(), QSize(417, 233));
    EXPECT_EQ(form.maximumSize(), QSize(417, 233));
    EXPECT_EQ(form.windowTitle(), "Okno form");
    EXPECT_EQ(form.objectName(), "form");
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(FormTest, IsCentredWhenFirstShownAndStaysWhereMovedAfterwards) {
    RecordingForm form(messages, "form", {301, 157});
    form.Show();
    QTest::qWait(20);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offset = form.frameGeometry().center() - area.center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();

    form.Hide();
    const QPoint moved = form.pos() + QPoint(-37, 23);
    form.move(moved);
    form.Show();
    QTest::qWait(20);
    EXPECT_EQ(form.pos(), moved);
}

TEST_F(FormTest, FirstActivationFocusesTheFirstEnabledVisibleControlInTabOrder) {
    RecordingForm form(messages, "form");
    auto* disabled = new QPushButton("A", &form);
    disabled->setEnabled(false);
    auto* hidden = new QLineEdit(&form);
    hidden->hide();
    auto* unfocusable = new QPushButton("B", &form);
    unfocusable->setFocusPolicy(Qt::ClickFocus);
    auto* first = new QLineEdit(&form);
    new QPushButton("C", &form);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, 5000));
    EXPECT_EQ(QApplication::focusWidget(), first);
}

struct EnterCase {
    const char* name;
    bool focusButton; // otherwise a text box has the focus
    bool withDefault;
    Qt::Key key;
    const char* pressed; // "" when nothing is pressed
};

void PrintTo(const EnterCase& c, std::ostream* os) {
    *os << c.name;
}

class EnterKeyTest : public FormTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterKeyTest, PressesTheFocusedButtonOtherwiseTheDefaultOne) {
    RecordingForm form(messages, "form");
    auto* edit = new QLineEdit(&form);
    auto* focused = new QPushButton("Dalej", &form);
    auto* byDefault = new QPushButton("OK", &form);
    QString pressed;
    form.OnClick(focused, [&] { pressed += "focused"; });
    form.OnClick(byDefault, [&] { pressed += "default"; });
    if (GetParam().withDefault) {
        form.SetDefaultButton(byDefault);
    }
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, 5000));
    QWidget* target = GetParam().focusButton ? static_cast<QWidget*>(focused) : edit;
    target->setFocus();
    QTest::keyClick(target, GetParam().key);
    EXPECT_EQ(pressed, GetParam().pressed);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EnterKeyTest,
    ::testing::Values(EnterCase{"ButtonFocused", true, true, Qt::Key_Return, "focused"},
                      EnterCase{"ButtonFocusedKeypad", true, false, Qt::Key_Enter, "focused"},
                      EnterCase{"TextFocused", false, true, Qt::Key_Return, "default"},
                      EnterCase{"TextFocusedKeypad", false, true, Qt::Key_Enter, "default"},
                      EnterCase{"TextFocusedNoDefault", false, false, Qt::Key_Return, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, AClickHandlerThatThrowsGivesOneErrorBoxAndTheLoopGoesOn) {
    RecordingForm form(messages, "form");
    auto* button = new QPushButton("Start", &form);
    int clicks = 0;
    form.OnClick(button, [&] {
        ++clicks;
        throw std::runtime_error("Nie można otworzyć pliku");
    });
    form.Show();
    const int result = RunLoop(
        [&] {
            button->click();
            QTimer::singleShot(0, [&] {
                button->click();
                QCoreApplication::exit(3);
            });
        },
        5000);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(messages.log, QStringList(2, QString::fromUtf8("error: Nie można otworzyć pliku.")));
}

TEST_F(FormTest, AFailingFormShowIsReportedOnceAndTheWindowShownAllTheSame) {
    RecordingForm form(messages, "form");
    form.throwFrom = "show";
    form.Show();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(messages.log, QStringList{QString::fromUtf8("error: Błąd w show.")});
}

TEST_F(FormTest, AFailingFormHideIsReportedOnceAndTheWindowHiddenAllTheSame) {
    RecordingForm form(messages, "form");
    form.Show();
    form.throwFrom = "hide";
    form.Hide();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(messages.log, QStringList{QString::fromUtf8("error: Błąd w hide.")});
}

TEST_F(FormTest, AFailingFormCloseIsReportedAndTheWindowHiddenAllTheSame) {
    RecordingForm form(messages, "form");
    form.Show();
    form.throwFrom = "close";
    form.Close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(messages.log, QStringList{QString::fromUtf8("error: Błąd w close.")});
}

TEST_F(FormTest, HiddenWindowsDoNotEndTheProgram) {
    RecordingForm form(messages, "form");
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
}

TEST_F(FormTest, TheWindowGlobalsStartEmpty) {
    EXPECT_EQ(platform::FoRPGMenu, nullptr);
    EXPECT_EQ(platform::FoRpgGra, nullptr);
    EXPECT_EQ(platform::FoLista, nullptr);
}

} // namespace
