#include "platform/AppTitle.h"
#include "platform/Guard.h"
#include "platform/Messages.h"
#include "tests/support/Fakes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <ostream>

#include <stdexcept>

namespace {

struct TextCase {
    const char* message;
    const char* shown;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << '"' << c.message << '"';
}

class ErrorBoxTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ErrorBoxTextTest, AddsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(platform::ErrorBoxText(QString::fromUtf8(GetParam().message)),
              QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorBoxTextTest,
                         ::testing::Values(TextCase{"", ""}, TextCase{"abc", "abc."},
                                           TextCase{"abc.", "abc."}, TextCase{"x!", "x!"},
                                           TextCase{"x)", "x)"}, TextCase{"x-", "x-"}, TextCase{"x ", "x "},
                                           TextCase{"x/", "x/."}, TextCase{"x1", "x1."},
                                           TextCase{"Brak pliku: ŁĄKA", "Brak pliku: ŁĄKA."},
                                           TextCase{"line\n", "line\n"}, TextCase{"?", "?."}));

TEST(Guard, ReturnsTrueAndShowsNothingWhenTheBodySucceeds) {
    fixtures::RecordingMessages messages;
    bool ran = false;
    EXPECT_TRUE(platform::Guard(messages, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(messages.log.isEmpty());
}

TEST(Guard, ReportsAStandardExceptionOnceWithTheFullStopRule) {
    fixtures::RecordingMessages messages;
    EXPECT_FALSE(platform::Guard(messages, [] { throw std::runtime_error("Nie ma pliku „łąka.bmp”"); }));
    EXPECT_EQ(messages.log, QStringList{QString::fromUtf8("error: Nie ma pliku „łąka.bmp”.")});

    messages.log.clear();
    EXPECT_FALSE(platform::Guard(messages, [] { throw std::logic_error("Koniec!"); }));
    EXPECT_EQ(messages.log, QStringList{"error: Koniec!"});
}

TEST(Guard, ReportsAnyOtherExceptionToo) {
    fixtures::RecordingMessages messages;
    EXPECT_FALSE(platform::Guard(messages, [] { throw 42; }));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_FALSE(messages.errors.first().isEmpty());
}

TEST(Guard, AFailingErrorBoxDoesNotLetTheExceptionOut) {
    fixtures::RecordingMessages messages;
    messages.onBox = [](const QString&) { throw std::runtime_error("box"); };
    EXPECT_FALSE(platform::Guard(messages, [] { throw std::runtime_error("body"); }));
    EXPECT_EQ(messages.errors, QStringList{"body."});
}

struct TitleCase {
    const char* path;
    const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os) {
    *os << '"' << c.path << '"';
}

class ApplicationTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleTest, IsTheFileNameCutAtItsFirstDotInLowerCaseButTheFirstLetter) {
    EXPECT_EQ(platform::ApplicationTitleFrom(QString::fromUtf8(GetParam().path)),
              QString::fromUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitleTest,
                         ::testing::Values(TitleCase{"/usr/bin/Przygoda.Bin.exe", "Przygoda"},
                                           TitleCase{"/x/GRA", "Gra"},
                                           TitleCase{"/usr/games/przygoda", "przygoda"},
                                           TitleCase{"PRZYGODA.EXE", "Przygoda"},
                                           TitleCase{"C:\\Gry\\RPG.EXE", "Rpg"}, TitleCase{"./ŁĄKA", "Łąka"},
                                           TitleCase{"/opt/my.dir/Gra", "Gra"}, TitleCase{"", ""}));

TEST(ApplicationTitle, ComesFromTheRunningExecutable) {
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    ASSERT_TRUE(name.startsWith(u"platform_tests"));
    EXPECT_EQ(platform::ApplicationTitle(), "platform_tests");
}

} // namespace
