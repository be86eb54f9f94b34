// The credits window and the way back to the menu.
#include "tests/shell/ShellFixture.h"
#include "tests/support/Waits.h"

namespace shelltest {
namespace {

TEST_F(ShellTest, CreditsWindowHoldsItsLines) {
    EXPECT_EQ(lista.size(), QSize(231, 181));
    EXPECT_EQ(lista.BitBtn1->text(), "OK");
    EXPECT_EQ(lista.BitBtn1->geometry(), QRect(84, 152, 66, 24));
    EXPECT_TRUE(lista.Label1->Caption().startsWith(QString::fromUtf8("Twórca  gry - ")));
    EXPECT_TRUE(lista.Label2->Caption().startsWith(QString::fromUtf8("Twórca  edytora - ")));
    EXPECT_EQ(lista.Label3->Caption(), QString::fromUtf8("Testerzy (dzięki za współprace):"));
    EXPECT_TRUE(lista.Label8->Caption().startsWith(QString::fromUtf8("E-mail twórcy: ")));
    const std::pair<platform::TLabel*, QPoint> places[] = {
        {lista.Label1, {16, 9}},  {lista.Label2, {17, 33}}, {lista.Label3, {17, 57}},
        {lista.Label4, {17, 73}}, {lista.Label5, {17, 89}}, {lista.Label6, {17, 105}},
        {lista.Label8, {17, 129}}};
    for (const auto& [label, at] : places) {
        EXPECT_EQ(label->geometry(), QRect(at, QSize(200, 15))) << label->objectName().toStdString();
        EXPECT_FALSE(label->Caption().isEmpty());
        // The labels are fixed in size: a name that does not fit would lose its ends.
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->VisibleText()), label->width())
            << label->objectName().toStdString();
    }
    EXPECT_EQ(lista.Label8->font().pixelSize(), 11);
}

TEST_F(ShellTest, OkButtonHasItsIconWhenTheCreditsAreShown) {
    Press(menu.BuTworcy);
    EXPECT_FALSE(lista.BitBtn1->icon().isNull());
}

TEST_F(ShellTest, OkReturnsToTheMenuWithTheChoiceUnchanged) {
    game::Scenariusz = "/gry/las.Kro";
    Press(menu.BuTworcy);
    Press(lista.BitBtn1);
    EXPECT_EQ(Visible(), (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(game::Scenariusz, "/gry/las.Kro");
}

TEST_F(ShellTest, ClosingTheCreditsReturnsToTheMenu) {
    Press(menu.BuTworcy);
    lista.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(Visible(), (std::array<bool, 3>{true, false, false}));
}

TEST_F(ShellTest, EnterAnywhereInTheCreditsPressesOk) {
    Press(menu.BuTworcy);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&lista, fixtures::kWaitMs));
    EXPECT_EQ(QApplication::focusWidget(), lista.BitBtn1);
    lista.Label3->setFocusPolicy(Qt::StrongFocus);
    lista.Label3->setFocus();
    QTest::keyClick(&lista, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Visible(), (std::array<bool, 3>{true, false, false}));
}

} // namespace
} // namespace shelltest
