// What a screen reader and a keyboard-only player get from the game window: the number keys, the
// accessible roles, names and relations, and the announcement of each step.
#include "tests/game/GameFixture.h"

#include "game/StepAnnouncement.h"
#include "platform/Accessibility.h"
#include "scenario/StepReader.h"

#include <QAccessible>
#include <QDeadlineTimer>
#include <QTest>

namespace gametest {
namespace {

using Buttons = std::array<bool, 4>;

// Record 1 leads to a hub of type 1; the hub's choices lead to an end step, a step of type 4, the step
// itself and back to the start. Record 5 is reached only by a disabled choice.
std::vector<fixtures::Step> Story() {
    auto start = StepNamed("start", 1, {2, 5, 5, 5});
    auto hub = StepNamed("hub", 1, {3, 4, 2, 1});
    hub.wybory[2] = "Skok && bieg";
    auto ending = StepNamed("koniec", 2, {3, 3, 3, 3});
    auto two = StepNamed("dwa", 4, {2, 2, 5, 5});
    two.wybory[1] = "";
    return {StepNamed("zero", 0, {1, 1, 1, 1}), start, hub, ending, two, StepNamed("nigdy", 0, {5, 5, 5, 5})};
}

// Before the window is made, as the program does: an interface made earlier stays the toolkit's own.
struct AccessibilityInstalled {
    AccessibilityInstalled() { platform::InstallAccessibility(); }
};

class ScreenReaderTest : public AccessibilityInstalled, public GameTest {
  protected:
    ScreenReaderTest() { WriteScenario(Story()); }

    void StartActive() {
        Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(game.get(), 5000));
    }

    // The announcer presents once the window is active; waits (bounded) for nothing to be pending.
    QString Announced() {
        const QDeadlineTimer deadline(5000);
        while (game->Announcer->HasPending() && !deadline.hasExpired()) {
            QTest::qWait(5);
        }
        EXPECT_FALSE(game->Announcer->HasPending());
        return game->Announcer->Text();
    }

    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(target, key, modifiers);
        ProcessEvents();
    }

    static QAccessibleInterface* Iface(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }
    static QString Name(QObject* object) { return Iface(object)->text(QAccessible::Name); }
};

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int expectedRecord; // 2 when the key is not a choice: the hub stays (choice 3 leads to it too)
    bool follows;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.name;
}

class NumberKeys : public ScreenReaderTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(NumberKeys, FollowTheChoiceWithThatNumberLikeItsClick) {
    const KeyCase c = GetParam();
    StartActive();
    Click(1);
    ASSERT_EQ(scenario::NrKroku, 2);
    // From the read-only description, which leaves digits to the window.
    game->MeOpis->setFocus();
    Announced();
    const int presented = game->Announcer->Presented();
    Key(game->MeOpis, c.key, c.modifiers);
    EXPECT_EQ(scenario::NrKroku, c.expectedRecord);
    // A followed choice presents a step, which is announced.
    Announced();
    EXPECT_EQ(game->Announcer->Presented() - presented, c.follows ? 1 : 0);
    EXPECT_EQ(game->MeOpis->toPlainText().toStdString(), "Opis " + Story()[c.expectedRecord].nazwa);
}

INSTANTIATE_TEST_SUITE_P(MainRowAndKeypad, NumberKeys,
                         testing::Values(KeyCase{"One", Qt::Key_1, Qt::NoModifier, 3, true},
                                         KeyCase{"Two", Qt::Key_2, Qt::NoModifier, 4, true},
                                         KeyCase{"Three", Qt::Key_3, Qt::NoModifier, 2, true},
                                         KeyCase{"Four", Qt::Key_4, Qt::NoModifier, 1, true},
                                         KeyCase{"KeypadOne", Qt::Key_1, Qt::KeypadModifier, 3, true},
                                         KeyCase{"KeypadThree", Qt::Key_3, Qt::KeypadModifier, 2, true},
                                         KeyCase{"KeypadFour", Qt::Key_4, Qt::KeypadModifier, 1, true},
                                         KeyCase{"Five", Qt::Key_5, Qt::NoModifier, 2, false},
                                         KeyCase{"Zero", Qt::Key_0, Qt::NoModifier, 2, false},
                                         KeyCase{"ShiftOne", Qt::Key_1, Qt::ShiftModifier, 2, false},
                                         KeyCase{"CtrlTwo", Qt::Key_2, Qt::ControlModifier, 2, false},
                                         KeyCase{"AltThree", Qt::Key_3, Qt::AltModifier, 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScreenReaderTest, NumberKeyOfADisabledChoiceDoesNothing) {
    StartActive();
    for (const Qt::Key key : {Qt::Key_2, Qt::Key_3, Qt::Key_4}) {
        Key(game->BuWyjscie, key);
    }
    EXPECT_EQ(scenario::NrKroku, 1);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Opis start");
    EXPECT_EQ(Enabled(), (Buttons{true, false, false, false}));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(ScreenReaderTest, NumberKeyToTheEndEndsTheGameAsAClickDoes) {
    StartActive();
    Key(game->BuWyjscie, Qt::Key_1);
    Key(game->BuWyjscie, Qt::Key_1);
    EXPECT_EQ(scenario::NrKroku, 3);
    EXPECT_EQ(Enabled(), (Buttons{false, false, false, false}));
    EXPECT_EQ(messages.messages, QStringList{"To juz koniec gry"});
    // The buttons are disabled now: a further key is not a choice.
    Key(game->BuWyjscie, Qt::Key_1);
    EXPECT_EQ(messages.messages.size(), 1);
}

TEST_F(ScreenReaderTest, HeldNumberKeyFollowsOneChoiceOnly) {
    StartActive();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"), true);
    QCoreApplication::sendEvent(game->BuWyjscie, &repeat);
    EXPECT_EQ(scenario::NrKroku, 1);
}

TEST_F(ScreenReaderTest, WindowAndControlsHaveTheirRolesAndNames) {
    StartActive();
    Click(1);
    EXPECT_EQ(Iface(game.get())->role(), QAccessible::Window);
    EXPECT_EQ(Name(game.get()), "Gra");
    EXPECT_EQ(Iface(game->PaObrazek)->role(), QAccessible::Graphic);
    EXPECT_EQ(Iface(game->Announcer)->role(), QAccessible::Notification);
    EXPECT_EQ(Name(game->BuWyjscie), "Wyjście");
    const std::array<QPushButton*, 4> buttons{game->BuWybor1, game->BuWybor2, game->BuWybor3, game->BuWybor4};
    const std::array<platform::TLabel*, 4> labels{game->LaWybor1, game->LaWybor2, game->LaWybor3,
                                                  game->LaWybor4};
    const std::array<QString, 4> texts{"hub 1", "hub 2", "Skok & bieg", "hub 4"};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(Name(buttons[i]), QStringLiteral("Wybór %1: ").arg(i + 1) + texts[i]);
        EXPECT_EQ(Iface(labels[i])->role(), QAccessible::StaticText);
        EXPECT_EQ(Name(labels[i]), texts[i]);
        const auto relations = Iface(labels[i])->relations(QAccessible::Labelled);
        ASSERT_EQ(relations.size(), 1);
        EXPECT_EQ(relations[0].first, Iface(buttons[i]));
        EXPECT_EQ(relations[0].second, QAccessible::Labelled);
    }
    // A step of type 4: the disabled buttons keep their texts and say they are unavailable.
    Click(2);
    EXPECT_EQ(Name(game->BuWybor2), "Wybór 2");
    EXPECT_EQ(Name(game->BuWybor3), "Wybór 3: dwa 3");
    EXPECT_TRUE(Iface(game->BuWybor3)->state().disabled);
    EXPECT_FALSE(Iface(game->BuWybor1)->state().disabled);
}

TEST_F(ScreenReaderTest, ChoiceButtonsLoseTheirTextsWithTheDisplay) {
    StartActive();
    game->ClearStep();
    for (QPushButton* button : {game->BuWybor1, game->BuWybor2, game->BuWybor3, game->BuWybor4}) {
        EXPECT_EQ(Name(button), button->objectName().replace("BuWybor", "Wybór "));
    }
}

TEST_F(ScreenReaderTest, EachStepIsAnnouncedWithItsEnabledChoices) {
    StartActive();
    EXPECT_EQ(Announced(), "Opis start. Wybór 1: start 1.");
    EXPECT_EQ(Name(game->Announcer), "Opis start. Wybór 1: start 1.");
    Click(1);
    EXPECT_EQ(Announced(), "Opis hub. Wybór 1: hub 1. Wybór 2: hub 2. Wybór 3: Skok & bieg. Wybór 4: hub 4.");
    // The same step again is announced again.
    const int before = game->Announcer->Presented();
    Click(3);
    EXPECT_EQ(Announced(), "Opis hub. Wybór 1: hub 1. Wybór 2: hub 2. Wybór 3: Skok & bieg. Wybór 4: hub 4.");
    EXPECT_EQ(game->Announcer->Presented(), before + 1);
    Click(2);
    EXPECT_EQ(Announced(), "Opis dwa. Wybór 1: dwa 1. Wybór 2.");
}

TEST_F(ScreenReaderTest, EndStepIsAnnouncedWithoutChoices) {
    StartActive();
    Click(1);
    Click(1);
    EXPECT_EQ(Announced(), "Opis koniec.");
}

TEST_F(ScreenReaderTest, AnnouncementWaitsForTheWindowToBeShown) {
    game->Announcer->Announce("Tekst");
    ProcessEvents();
    EXPECT_TRUE(game->Announcer->HasPending());
    EXPECT_EQ(game->Announcer->Presented(), 0);
    StartActive();
    // Showing presents the first step, which replaces what waited.
    EXPECT_EQ(Announced(), "Opis start. Wybór 1: start 1.");
}

struct TextCase {
    const char* name;
    QString opis;
    std::array<game::ChoiceLine, 4> choices;
    QString expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class Announcement : public testing::TestWithParam<TextCase> {};

TEST_P(Announcement, JoinsTheDescriptionAndTheEnabledChoicesAsSentences) {
    EXPECT_EQ(game::StepAnnouncement({GetParam().opis, GetParam().choices}), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Announcement,
    testing::Values(
        TextCase{"Plain",
                 "Las",
                 {{{"Idź", true}, {"Stój", true}, {"", false}, {"", false}}},
                 "Las. Wybór 1: Idź. Wybór 2: Stój."},
        TextCase{"EndsItsOwnSentences", "Las!", {{{"Dokąd?", true}, {}, {}, {}}}, "Las! Wybór 1: Dokąd?"},
        TextCase{"LineBreaksAndRunsOfBlanks",
                 "Las\r\nciemny  i  gęsty",
                 {{{"a", true}, {}, {}, {}}},
                 "Las ciemny i gęsty. Wybór 1: a."},
        TextCase{"DisabledChoiceIsLeftOutWhateverItsText",
                 "Las",
                 {{{"a", false}, {"b", true}, {"c", false}, {"d", true}}},
                 "Las. Wybór 2: b. Wybór 4: d."},
        TextCase{"EmptyChoiceKeepsItsNumber", "Las", {{{"", true}, {}, {}, {}}}, "Las. Wybór 1."},
        TextCase{"EmptyDescription", "", {{{"a", true}, {}, {}, {}}}, "Wybór 1: a."},
        TextCase{"NothingAtAll", "", {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace gametest
