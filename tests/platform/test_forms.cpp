#include "platform/Forms.h"
#include "tests/support/Fakes.h"
#include "tests/support/Waits.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Records each handler call with the window's visibility at that moment; throws from `throwFrom`.
class RecordingForm : public platform::TForm {
  public:
    RecordingForm(platform::IMessages& messages, QSize size = {320, 200})
        : TForm(messages, "form", "Okno", size) {}

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

class FormTest : public ::testing::Test {
  protected:
    // The first form of a process is its main one: every test creates it before any other.
    static RecordingForm& Main() {
        static fixtures::RecordingMessages mainMessages;
        static auto* form = new RecordingForm(mainMessages);
        return *form;
    }

    void SetUp() override { ASSERT_TRUE(Main().IsMainForm()); }

    // Runs the application's loop with `work` queued; 7 when the test had to end it after `ms`.
    static int RunLoop(const std::function<void()>& work, int ms) {
        QTimer::singleShot(0, work);
        QTimer::singleShot(ms, [] { QCoreApplication::exit(7); });
        return QCoreApplication::exec();
    }

    RecordingForm& mainForm = Main(); // before `form`
    fixtures::RecordingMessages messages;
    RecordingForm form{messages};
};

TEST_F(FormTest, ShowAndHideRunTheirHandlersFirstAndOnlyOnAChange) {
    EXPECT_FALSE(form.IsMainForm());
    form.Hide();
    form.Show();
    form.Show();
    EXPECT_TRUE(form.isVisible());
    form.Hide();
    form.Hide();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.calls, (QStringList{"show hidden", "hide visible"}));
}

TEST_F(FormTest, CloseRunsFormCloseEvenWhenHiddenAndTheWindowManagersCloseGoesThroughIt) {
    form.Close();
    form.Show();
    QCloseEvent event;
    QApplication::sendEvent(&form, &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.calls, (QStringList{"close hidden", "show hidden", "close visible", "hide visible"}));
}

TEST_F(FormTest, ClosingTheMainFormEndsTheRunningLoopOnceTheHandlerReturns) {
    bool handlerFinished = false;
    mainForm.calls.clear();
    EXPECT_EQ(RunLoop(
                  [&] {
                      mainForm.Close();
                      handlerFinished = true;
                  },
                  5000),
              0);
    EXPECT_TRUE(handlerFinished);
    EXPECT_EQ(mainForm.calls, QStringList{"close hidden"});
    EXPECT_EQ(RunLoop([&] { form.Close(); }, 200), 7) << "another form's Close must not end the loop";
}

TEST_F(FormTest, HasAFixedBorderTheExactClientSizeAndItsCaption) {
    RecordingForm sized(messages, {417, 233});
    sized.Show();
    EXPECT_EQ(sized.size(), QSize(417, 233));
    EXPECT_EQ(sized.minimumSize(), sized.maximumSize());
    EXPECT_EQ(sized.windowTitle(), "Okno");
    EXPECT_TRUE(sized.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(sized.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST_F(FormTest, IsCentredWhenFirstShownAndStaysWhereMovedAfterwards) {
    form.Show();
    // The window centres itself again once framed, from a zero-time timer.
    fixtures::DrainPostedEvents();
    const QPoint offset =
        form.frameGeometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    form.Hide();
    const QPoint moved = form.pos() + QPoint(-37, 23);
    form.move(moved);
    form.Show();
    fixtures::DrainPostedEvents();
    EXPECT_EQ(form.pos(), moved);
}

TEST_F(FormTest, FirstActivationFocusesTheFirstEnabledVisibleTabStop) {
    (new QPushButton("A", &form))->setEnabled(false);
    (new QLineEdit(&form))->hide();
    (new QPushButton("B", &form))->setFocusPolicy(Qt::ClickFocus);
    auto* first = new QLineEdit(&form);
    new QPushButton("C", &form);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, fixtures::kWaitMs));
    EXPECT_EQ(QApplication::focusWidget(), first);
}

// Focus on the button (else on a text box), a default button set, the key, which button is pressed.
using EnterCase = std::tuple<bool, bool, Qt::Key, const char*>;
std::string EnterCaseName(const ::testing::TestParamInfo<EnterCase>& info) {
    const auto [focusButton, withDefault, key, expected] = info.param;
    return std::string(focusButton ? "OnTheButton" : "InTheTextBox") +
           (withDefault ? "WithDefault" : "NoDefault") + (key == Qt::Key_Return ? "Return" : "Enter");
}

class EnterKeyTest : public FormTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterKeyTest, PressesTheFocusedButtonOtherwiseTheDefaultOne) {
    const auto [focusButton, withDefault, key, expected] = GetParam();
    auto* edit = new QLineEdit(&form);
    auto* focused = new QPushButton("Dalej", &form);
    auto* byDefault = new QPushButton("OK", &form);
    QString pressed;
    form.OnClick(focused, [&] { pressed += "focused"; });
    form.OnClick(byDefault, [&] { pressed += "default"; });
    form.SetDefaultButton(withDefault ? byDefault : nullptr);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, fixtures::kWaitMs));
    QWidget* target = focusButton ? static_cast<QWidget*>(focused) : edit;
    target->setFocus();
    QTest::keyClick(target, key);
    EXPECT_EQ(pressed, expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, EnterKeyTest,
                         ::testing::Values(EnterCase{true, true, Qt::Key_Return, "focused"},
                                           EnterCase{true, false, Qt::Key_Enter, "focused"},
                                           EnterCase{false, true, Qt::Key_Return, "default"},
                                           EnterCase{false, true, Qt::Key_Enter, "default"},
                                           EnterCase{false, false, Qt::Key_Return, ""}),
                         EnterCaseName);

TEST_F(FormTest, AThrowingClickGivesOneErrorBoxAndTheLoopGoesOn) {
    auto* button = new QPushButton("Start", &form);
    form.OnClick(button, [] { throw std::runtime_error("Nie można otworzyć pliku"); });
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
    EXPECT_EQ(messages.log, QStringList(2, QString::fromUtf8("error: Nie można otworzyć pliku.")));
}

// The throwing handler, whether the window ends up visible.
using FailureCase = std::tuple<const char*, bool>;
class FailingHandlerTest : public FormTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailingHandlerTest, IsReportedOnceAndTheWindowChangesAllTheSame) {
    const auto [handler, visible] = GetParam();
    form.throwFrom = handler;
    form.Show();
    if (!visible) {
        QString(handler) == "hide" ? form.Hide() : form.Close();
    }
    EXPECT_EQ(form.isVisible(), visible);
    EXPECT_EQ(messages.log, QStringList{QString::fromUtf8("error: Błąd w %1.").arg(handler)});
}

INSTANTIATE_TEST_SUITE_P(Handlers, FailingHandlerTest,
                         ::testing::Values(FailureCase{"show", true}, FailureCase{"hide", false},
                                           FailureCase{"close", false}),
                         [](const auto& info) { return std::string(std::get<0>(info.param)); });

} // namespace
