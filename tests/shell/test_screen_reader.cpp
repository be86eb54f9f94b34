// The menu and the credits as a screen reader gets them: windows with their captions, labels named by
// their visible texts, read aloud when the window shows, and the chosen scenario announced.
#include "tests/shell/ShellFixture.h"

#include "platform/Accessibility.h"
#include "platform/Announcer.h"

#include <QAccessible>
#include <QDeadlineTimer>

namespace shelltest {
namespace {

// Before the windows are made, as the program does: an interface made earlier stays the toolkit's own.
struct AccessibilityInstalled {
    AccessibilityInstalled() { platform::InstallAccessibility(); }
};

class ScreenReaderShell : public AccessibilityInstalled, public ShellTest {
  protected:
    static QAccessibleInterface* Iface(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }

    // What the window's announcer said last, once nothing waits any more (bounded).
    static QString Announced(QWidget* window) {
        auto* announcer = window->findChild<platform::TAnnouncer*>();
        if (announcer == nullptr) {
            ADD_FAILURE() << "no announcer in " << window->objectName().toStdString();
            return {};
        }
        const QDeadlineTimer deadline(5000);
        while (announcer->HasPending() && !deadline.hasExpired()) {
            QTest::qWait(5);
        }
        EXPECT_FALSE(announcer->HasPending());
        return announcer->Text();
    }
};

TEST_F(ScreenReaderShell, WindowsAreWindowsNamedByTheirCaptions) {
    for (QWidget* window : std::initializer_list<QWidget*>{&menu, &gra, &lista}) {
        SCOPED_TRACE(window->objectName().toStdString());
        EXPECT_EQ(Iface(window)->role(), QAccessible::Window);
        EXPECT_EQ(Iface(window)->text(QAccessible::Name), window->windowTitle());
    }
}

TEST_F(ScreenReaderShell, LabelsAreLabelsNamedByWhatTheyShow) {
    for (platform::TLabel* label :
         menu.findChildren<platform::TLabel*>() + lista.findChildren<platform::TLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(Iface(label)->role(), QAccessible::StaticText);
        EXPECT_EQ(Iface(label)->text(QAccessible::Name), label->VisibleText());
        EXPECT_TRUE(Iface(label)->relations(QAccessible::Labelled).isEmpty());
    }
    EXPECT_EQ(Iface(menu.Label2)->text(QAccessible::Name), "Witamy w grze  tekstowej");
}

TEST_F(ScreenReaderShell, MenuReadsItsLabelsWhenItShows) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu, 5000));
    EXPECT_EQ(Announced(&menu), "Menu: Witamy w grze tekstowej. << Dzieki nim stało się to możliwe. V: 1.0.");
}

TEST_F(ScreenReaderShell, ChosenScenarioIsAnnouncedAndNamesLabel4) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu, 5000));
    dialog.nextChoice = QString::fromStdString((dir / "Gry" / "a&b.Kro").string());
    Press(menu.BuPlansza);
    const QString shown = QString::fromStdString((dir / "Gry" / "ab.Kro").string());
    EXPECT_EQ(Iface(menu.Label4)->text(QAccessible::Name), shown);
    EXPECT_EQ(Announced(&menu), "Wybrany scenariusz: " + shown);
    // Shown again, the menu reads the chosen scenario among its labels, saying what it is.
    menu.Hide();
    menu.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu, 5000));
    EXPECT_EQ(Announced(&menu), "Menu: Witamy w grze tekstowej. << Dzieki nim stało się to możliwe. "
                                "Wybrany scenariusz: " +
                                    shown + ". V: 1.0.");
}

TEST_F(ScreenReaderShell, CancelledChoiceAnnouncesNothing) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu, 5000));
    const QString before = Announced(&menu);
    dialog.nextChoice.clear();
    Press(menu.BuPlansza);
    EXPECT_EQ(Announced(&menu), before);
}

TEST_F(ScreenReaderShell, CreditsReadEveryLineWhenTheyShow) {
    Press(menu.BuTworcy);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&lista, 5000));
    QStringList lines;
    for (const platform::TLabel* label : lista.findChildren<platform::TLabel*>()) {
        lines << label->VisibleText().simplified();
    }
    const QString said = Announced(&lista);
    ASSERT_EQ(lines.size(), 7);
    for (const QString& line : lines) {
        EXPECT_TRUE(said.contains(line)) << line.toStdString() << " not in " << said.toStdString();
    }
    EXPECT_TRUE(said.startsWith("Twórca gry")) << said.toStdString();
}

} // namespace
} // namespace shelltest
