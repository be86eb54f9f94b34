#include "platform/AppTitle.h"
#include "platform/Guard.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Case = std::pair<const char*, const char*>;

class ErrorBoxTextTest : public ::testing::TestWithParam<Case> {};

TEST_P(ErrorBoxTextTest, AddsAFullStopOnlyAfterACharacterAboveIt) {
    EXPECT_EQ(platform::ErrorBoxText(QString::fromUtf8(GetParam().first)),
              QString::fromUtf8(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorBoxTextTest,
                         ::testing::Values(Case{"", ""}, Case{"abc", "abc."}, Case{"abc.", "abc."},
                                           Case{"x!", "x!"}, Case{"x-", "x-"}, Case{"x ", "x "},
                                           Case{"x/", "x/."}, Case{"x1", "x1."},
                                           Case{"Brak: ŁĄKA", "Brak: ŁĄKA."}, Case{"line\n", "line\n"}));

class ApplicationTitleTest : public ::testing::TestWithParam<Case> {};

TEST_P(ApplicationTitleTest, IsTheFileNameCutAtItsFirstDotLowerCasedButTheFirstLetter) {
    EXPECT_EQ(platform::ApplicationTitleFrom(QString::fromUtf8(GetParam().first)),
              QString::fromUtf8(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitleTest,
                         ::testing::Values(Case{"/usr/bin/Przygoda.Bin.exe", "Przygoda"},
                                           Case{"/x/GRA", "Gra"}, Case{"/usr/games/przygoda", "przygoda"},
                                           Case{"RPG.EXE", "Rpg"}, Case{"./ŁĄKA", "Łąka"},
                                           Case{"/opt/my.dir/Gra", "Gra"}, Case{"", ""}));

TEST(ApplicationTitle, ComesFromTheRunningExecutable) {
    EXPECT_EQ(platform::ApplicationTitle(), "platform_tests");
}

TEST(Guard, ReportsEachFailureOnceAndTellsWhetherTheBodyRan) {
    fixtures::RecordingMessages messages;
    EXPECT_TRUE(platform::Guard(messages, [] {}));
    EXPECT_FALSE(platform::Guard(messages, [] { throw std::runtime_error("Nie ma pliku „łąka.bmp”"); }));
    EXPECT_FALSE(platform::Guard(messages, [] { throw std::logic_error("Koniec!"); }));
    EXPECT_FALSE(platform::Guard(messages, [] { throw 42; }));
    ASSERT_EQ(messages.log.size(), 3);
    EXPECT_EQ(messages.log[0], QString::fromUtf8("error: Nie ma pliku „łąka.bmp”."));
    EXPECT_EQ(messages.log[1], "error: Koniec!");
    EXPECT_GT(messages.log[2].size(), QString("error: ").size());
}

TEST(Guard, AFailingErrorBoxDoesNotLetTheExceptionOut) {
    fixtures::RecordingMessages messages;
    messages.onBox = [](const QString&) { throw std::runtime_error("box"); };
    EXPECT_FALSE(platform::Guard(messages, [] { throw std::runtime_error("body"); }));
    EXPECT_EQ(messages.errors, QStringList{"body."});
}

} // namespace
