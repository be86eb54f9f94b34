// The map dock driven through the real window, offscreen: the map and the step list select the same step,
// the keyboard walks along choices and says where it is, a search goes to a step, the shortest way is
// listed, a text edit moves nothing and a new step appears without the rest moving.
#include "editor/EditorWindow.h"
#include "tests/support/FakeQuestions.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"
#include "tests/support/TempDir.h"
#include "tests/support/Waits.h"

#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

// The start opens button 1 alone, whatever its type; step 2 leads on to 3 or back to the start.
constexpr const char* Story = "krok 1 Start\n"
                              "typ Wybory1\n"
                              "opis Stoisz w lesie.\n"
                              "wybor 1 Idź ścieżką -> @las\n"
                              "krok 2 @las Gęstwina\n"
                              "typ Wybory2\n"
                              "opis Ciemno.\n"
                              "wybor 1 Dalej -> 3\n"
                              "wybor 2 Wróć -> 1\n"
                              "krok 3 Chata\n"
                              "typ Koniec\n"
                              "opis Dom.\n";

class StoryMapTest : public testing::Test {
  protected:
    void SetUp() override {
        fixtures::WriteBytes(dir_.path() / "las.txt", std::string(Story));
        window_ = std::make_unique<editor::EditorWindow>(player_, messages_, questions_);
        window_->show();
        ASSERT_TRUE(window_->Open(QString::fromStdString((dir_.path() / "las.txt").string())));
        ASSERT_TRUE(fixtures::WaitUntil([&] { return MapShows(3); }));
    }

    editor::StoryMap& Map() const { return *window_->Map(); }
    editor::MapView& View() const { return *Map().View(); }

    // The map's picture has the story's `steps` steps and no layout is under way.
    bool MapShows(std::size_t steps) const {
        const editor::MapPicture* picture = View().Picture();
        if (picture == nullptr || Map().Busy()) {
            return false;
        }
        std::size_t found = 0;
        for (const editor::MapNode& node : picture->Structure().Nodes()) {
            found += node.missing ? 0 : 1;
        }
        return found == steps;
    }

    std::int64_t FormStep() const {
        const auto index = window_->SelectedStep();
        return index ? window_->Document().Step(*index).number : -1;
    }

    QAction* Action(const QString& text) const {
        for (QAction* action : window_->findChildren<QAction*>()) {
            // The one with a shortcut: the menu "Mapa" has an action of that name too.
            if (action->text().remove(u'&') == text && !action->shortcut().isEmpty()) {
                return action;
            }
        }
        return nullptr;
    }

    // Each step's centre on the map, by number.
    std::map<std::int64_t, kit::LayoutPoint> Centres() const {
        std::map<std::int64_t, kit::LayoutPoint> centres;
        const editor::MapPicture& picture = *View().Picture();
        for (std::size_t v = 0; v < picture.Structure().Nodes().size(); ++v) {
            const editor::MapNode& node = picture.Structure().Nodes()[v];
            if (!node.missing) {
                centres[node.number] = picture.Layout().nodes[v].centre;
            }
        }
        return centres;
    }

    fixtures::TempDir dir_;
    fixtures::RecordingMediaPlayer player_;
    fixtures::RecordingMessages messages_;
    fixtures::FakeQuestions questions_;
    std::unique_ptr<editor::EditorWindow> window_;
};

TEST_F(StoryMapTest, TheListAndTheMapSelectTheSameStep) {
    window_->SelectStep(*window_->Document().IndexOfNumber(2));
    EXPECT_EQ(View().Selected(), 2);

    // A click on step 3's box selects it in the form and the list.
    const editor::MapPicture& picture = *View().Picture();
    const auto three = picture.Structure().NodeOfNumber(3);
    ASSERT_TRUE(three);
    View().SetView(1, {picture.Layout().nodes[static_cast<std::size_t>(*three)].centre.x,
                       picture.Layout().nodes[static_cast<std::size_t>(*three)].centre.y});
    QTest::mouseClick(&View(), Qt::LeftButton, {}, View().rect().center());
    EXPECT_EQ(FormStep(), 3);
    const QModelIndex current = window_->Steps()->currentIndex();
    EXPECT_TRUE(current.data().toString().startsWith(QStringLiteral("3:")))
        << current.data().toString().toStdString();
}

TEST_F(StoryMapTest, TheKeyboardWalksAlongChoicesAndNamesTheStepReached) {
    Action(QStringLiteral("Mapa"))->trigger(); // Widok > Mapa, Ctrl+5
    ASSERT_TRUE(fixtures::WaitUntil([&] { return View().hasFocus(); }));
    QTest::keyClick(&View(), Qt::Key_Home);
    EXPECT_EQ(FormStep(), 1);
    EXPECT_TRUE(View().accessibleName().startsWith(QStringLiteral("Krok 1: Start")))
        << View().accessibleName().toStdString();
    EXPECT_TRUE(View().accessibleDescription().contains(QStringLiteral("wybór 1 do 2: Gęstwina")))
        << View().accessibleDescription().toStdString();

    QTest::keyClick(&View(), Qt::Key_1);
    EXPECT_EQ(FormStep(), 2);
    EXPECT_TRUE(View().accessibleName().startsWith(QStringLiteral("Krok 2: Gęstwina")));
    EXPECT_TRUE(View().accessibleDescription().contains(QStringLiteral("Prowadzą tu kroki: 1.")))
        << View().accessibleDescription().toStdString();
    QTest::keyClick(&View(), Qt::Key_Down); // choice 1 of step 2
    EXPECT_EQ(FormStep(), 3);
    EXPECT_TRUE(View().accessibleName().contains(QStringLiteral("zakończenie")) ||
                View().accessibleName().startsWith(QStringLiteral("Krok 3: Chata")));
    // The shortest way to step 3, listed under the map.
    EXPECT_TRUE(Map().Way()->text().contains(QStringLiteral("(kliknięcia: 2): 1, wybór 1 → 2, wybór 1")))
        << Map().Way()->text().toStdString();
    QTest::keyClick(&View(), Qt::Key_Up); // back towards the start
    EXPECT_EQ(FormStep(), 2);
    QTest::keyClick(&View(), Qt::Key_2);
    EXPECT_EQ(FormStep(), 1);
    QTest::keyClick(&View(), Qt::Key_Backspace); // where the keyboard was before
    EXPECT_EQ(FormStep(), 2);
    QTest::keyClick(&View(), Qt::Key_Return);
    EXPECT_TRUE(window_->Form()->Nazwa->hasFocus());
}

TEST_F(StoryMapTest, ASearchGoesToTheStep) {
    Action(QStringLiteral("Szukaj na mapie"))->trigger();
    ASSERT_TRUE(fixtures::WaitUntil([&] { return Map().Search()->hasFocus(); }));
    QTest::keyClicks(Map().Search(), QStringLiteral("@las"));
    QTest::keyClick(Map().Search(), Qt::Key_Return);
    EXPECT_EQ(FormStep(), 2);
    EXPECT_EQ(View().Selected(), 2);
}

TEST_F(StoryMapTest, ATextEditMovesNothingAndANewStepLeavesTheRestInPlace) {
    const std::map<std::int64_t, kit::LayoutPoint> before = Centres();
    const int pictures = Map().Pictures();
    window_->Document().SetName(*window_->Document().IndexOfNumber(2), "Gęsty las");
    ASSERT_TRUE(fixtures::DrainPostedEvents());
    EXPECT_EQ(Map().Pictures(), pictures);

    window_->Document().AddLinkedStep(*window_->Document().IndexOfNumber(3), 1, "Nowy");
    ASSERT_TRUE(fixtures::WaitUntil([&] { return MapShows(4); }));
    const std::map<std::int64_t, kit::LayoutPoint> after = Centres();
    ASSERT_TRUE(after.count(4));
    for (const auto& [number, centre] : before) {
        EXPECT_DOUBLE_EQ(after.at(number).x, centre.x) << number;
        EXPECT_DOUBLE_EQ(after.at(number).y, centre.y) << number;
    }
}

} // namespace
