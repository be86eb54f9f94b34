#include "platform/AppTitle.h"
#include "platform/Guard.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The case's name, what goes in and what comes out.
struct Case {
    const char* name;
    const char* in;
    const char* out;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

class ErrorBoxTextTest : public ::testing::TestWithParam<Case> {};

TEST_P(ErrorBoxTextTest, AddsAFullStopOnlyAfterACharacterAboveIt) {
    EXPECT_EQ(platform::ErrorBoxText(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorBoxTextTest,
                         ::testing::Values(Case{"Empty", "", ""}, Case{"Letter", "abc", "abc."},
                                           Case{"FullStop", "abc.", "abc."}, Case{"Exclamation", "x!", "x!"},
                                           Case{"Dash", "x-", "x-"}, Case{"Space", "x ", "x "},
                                           Case{"Slash", "x/", "x/."}, Case{"Digit", "x1", "x1."},
                                           Case{"PolishCapital", "Brak: ŁĄKA", "Brak: ŁĄKA."},
                                           Case{"LineBreak", "line\n", "line\n"}),
                         CaseName);

class ApplicationTitleTest : public ::testing::TestWithParam<Case> {};

TEST_P(ApplicationTitleTest, IsTheFileNameCutAtItsFirstDotLowerCasedButTheFirstLetter) {
    EXPECT_EQ(platform::ApplicationTitleFrom(QString::fromUtf8(GetParam().in)),
              QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitleTest,
                         ::testing::Values(Case{"TwoDots", "/usr/bin/Przygoda.Bin.exe", "Przygoda"},
                                           Case{"UpperCase", "/x/GRA", "Gra"},
                                           Case{"LowerCase", "/usr/games/przygoda", "przygoda"},
                                           Case{"NoFolder", "RPG.EXE", "Rpg"},
                                           Case{"PolishLetters", "./ŁĄKA", "Łąka"},
                                           Case{"DotInTheFolder", "/opt/my.dir/Gra", "Gra"},
                                           Case{"Empty", "", ""}),
                         CaseName);

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
