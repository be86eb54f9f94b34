// The scenario reader: the order of its operations, where each one stops, and the codes of its failures.
#include "scenario/IoError.h"
#include "scenario/StepReader.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/Steps.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using fixtures::Step;
using fixtures::StepNamed;

std::vector<Step> ThreeSteps() {
    return {StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("jeden", 4, {2, 0, -1, 2147483647}),
            StepNamed("dwa", 2, {1, 1, 1, 1})};
}

// Runs `op`, expecting an InOutError with `code`; returns its message.
template <class Op> std::string ExpectIoError(Op op, int code) {
    try {
        op();
    } catch (const scenario::InOutError& e) {
        EXPECT_EQ(e.code(), code) << e.what();
        return e.what();
    }
    ADD_FAILURE() << "no I/O error, expected code " << code;
    return {};
}

class StepReaderTest : public testing::Test {
  protected:
    void SetUp() override {
        scenario::AktKrok = std::make_unique<scenario::TKrok>();
        scenario::NrKroku = 0;
        scenario::AktLis = {};
    }
    void TearDown() override { fixtures::CloseReader(); }

    fs::path Write(const std::vector<Step>& steps, const std::string& name = "las.Kro") {
        const fs::path kro = dir / name;
        fixtures::WriteScenario(kro, steps);
        return kro;
    }

    fixtures::TempDir dir;
};

TEST_F(StepReaderTest, OpenReadsRecordOneOfBothFiles) {
    const fs::path kro = Write(ThreeSteps());
    scenario::OpenScenario(kro.string());
    EXPECT_EQ(scenario::NrKroku, 1);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "jeden");
    EXPECT_EQ(scenario::AktKrok->Opis, "Opis jeden");
    EXPECT_EQ(scenario::AktKrok->Krok_Wybrany2, 0);
    EXPECT_EQ(scenario::AktLis.Typ, 4);
    EXPECT_EQ(scenario::StepFileName(), kro.string());
    EXPECT_EQ(scenario::TypeListFileName(), (dir / "las.lis").string());
}

TEST_F(StepReaderTest, ScenarioOfExactlyTwoRecordsStarts) {
    const fs::path kro = Write({StepNamed("zero", 0, {0, 0, 0, 0}), StepNamed("jeden", 5, {0, 0, 0, 0})});
    scenario::OpenScenario(kro.string());
    EXPECT_EQ(scenario::AktKrok->Nazwa, "jeden");
    EXPECT_EQ(scenario::AktLis.Typ, 5);
}

TEST_F(StepReaderTest, GoToStepFollowsNrKrokuIncludingRecordZero) {
    scenario::OpenScenario(Write(ThreeSteps()).string());
    for (const auto& [index, name, typ] : {std::tuple{2, "dwa", 2}, {0, "zero", 3}, {1, "jeden", 4}}) {
        scenario::NrKroku = index;
        scenario::GoToStep();
        EXPECT_EQ(scenario::AktKrok->Nazwa, name);
        EXPECT_EQ(scenario::AktLis.Typ, typ);
    }
}

TEST_F(StepReaderTest, ReopeningAfterCloseStartsAgainAtRecordOne) {
    const fs::path kro = Write(ThreeSteps());
    scenario::OpenScenario(kro.string());
    scenario::NrKroku = 2;
    scenario::GoToStep();
    scenario::CloseScenario();
    scenario::OpenScenario(kro.string());
    EXPECT_EQ(scenario::NrKroku, 1);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "jeden");
}

struct TargetCase {
    const char* name;
    std::int32_t target;
    int code;
    const char* message;
};

void PrintTo(const TargetCase& c, std::ostream* os) {
    *os << c.name << ": target " << c.target << " fails with " << c.code;
}

class BadTarget : public StepReaderTest, public testing::WithParamInterface<TargetCase> {};

// A failed read leaves the step that was left in AktKrok and AktLis; NrKroku keeps the target.
TEST_P(BadTarget, FailsAndKeepsThePreviousStep) {
    scenario::OpenScenario(Write(ThreeSteps()).string());
    scenario::NrKroku = GetParam().target;
    EXPECT_EQ(ExpectIoError([] { scenario::GoToStep(); }, GetParam().code), GetParam().message);
    EXPECT_EQ(scenario::NrKroku, GetParam().target);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "jeden");
    EXPECT_EQ(scenario::AktLis.Typ, 4);
    // The files are still open and usable.
    scenario::NrKroku = 2;
    scenario::GoToStep();
    EXPECT_EQ(scenario::AktKrok->Nazwa, "dwa");
}

INSTANTIATE_TEST_SUITE_P(Targets, BadTarget,
                         testing::Values(TargetCase{"OneBeyondTheEnd", 3, 100, "Read beyond end of file"},
                                         TargetCase{"Largest", 2147483647, 100, "Read beyond end of file"},
                                         TargetCase{"LargestPositionInside32Bits", 4161790, 100,
                                                    "Read beyond end of file"},
                                         TargetCase{"MinusOne", -1, 131, "I/O error 131"},
                                         TargetCase{"Smallest", -2147483647 - 1, 131, "I/O error 131"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StepReaderTest, ShortTypeListFailsAtTheSecondReadAfterTheStepRecordWasRead) {
    const fs::path kro = Write(ThreeSteps());
    fixtures::WriteLisRecords(dir / "las.lis", {fixtures::EncodeLis(3), fixtures::EncodeLis(4)});
    scenario::OpenScenario(kro.string());
    scenario::NrKroku = 2;
    ExpectIoError([] { scenario::GoToStep(); }, 100);
    // CopyStep did not run: the step object still holds record 1.
    EXPECT_EQ(scenario::AktKrok->Nazwa, "jeden");
    EXPECT_EQ(scenario::AktLis.Typ, 4);
}

TEST_F(StepReaderTest, TypeListEndingInsideARecordFailsWithoutTouchingTheCurrentType) {
    const fs::path kro = Write(ThreeSteps());
    auto lis = std::vector<std::uint8_t>(22 * 2 + 10, 0x07);
    fixtures::WriteBytes(dir / "las.lis", lis);
    scenario::OpenScenario(kro.string());
    EXPECT_EQ(scenario::AktLis.Typ, 7);
    scenario::NrKroku = 2;
    ExpectIoError([] { scenario::GoToStep(); }, 100);
    EXPECT_EQ(scenario::AktLis.Typ, 7);
    EXPECT_EQ(scenario::AktLis.Wpis[0], 0x07);
}

TEST_F(StepReaderTest, StepFileOfOneRecordFailsToOpenAtTheRead) {
    const fs::path kro = dir / "krotki.Kro";
    fixtures::WriteKroRecords(kro, {fixtures::EncodeKrok(StepNamed("zero", 1, {0, 0, 0, 0}))});
    fixtures::WriteLisRecords(dir / "krotki.lis", {fixtures::EncodeLis(1), fixtures::EncodeLis(1)});
    scenario::AktKrok->Nazwa = "poprzedni";
    ExpectIoError([&] { scenario::OpenScenario(kro.string()); }, 100);
    EXPECT_EQ(scenario::NrKroku, 1);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "poprzedni");
}

TEST_F(StepReaderTest, EmptyStepFileFailsAtTheRead) {
    fixtures::WriteBytes(dir / "pusty.Kro", {});
    fixtures::WriteBytes(dir / "pusty.lis", {});
    ExpectIoError([&] { scenario::OpenScenario((dir / "pusty.Kro").string()); }, 100);
}

TEST_F(StepReaderTest, MissingTypeListFailsAfterTheStepFileWasOpened) {
    const fs::path kro = Write(ThreeSteps());
    fs::remove(dir / "las.lis");
    scenario::AktKrok->Nazwa = "poprzedni";
    EXPECT_EQ(ExpectIoError([&] { scenario::OpenScenario(kro.string()); }, 2), "File not found");
    EXPECT_EQ(scenario::AktKrok->Nazwa, "poprzedni");
    // The step file stayed open, the type list did not: closing stops at the type list with 103.
    EXPECT_EQ(ExpectIoError([] { scenario::CloseScenario(); }, 103), "I/O error 103");
    // Both are closed now.
    ExpectIoError([] { scenario::CloseScenario(); }, 103);
}

TEST_F(StepReaderTest, TypeListInAnotherLetterCaseIsFound) {
    const fs::path kro = Write(ThreeSteps(), "ZAMEK.KRO");
    fs::rename(dir / "ZAMEK.lis", dir / "ZAMEK.LIS");
    scenario::OpenScenario(kro.string());
    EXPECT_EQ(scenario::AktKrok->Nazwa, "jeden");
    EXPECT_EQ(scenario::AktLis.Typ, 4);
}

struct OpenCase {
    const char* name;
    std::function<fs::path(const fs::path& dir)> prepare;
    int code;
    const char* message;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name << ": fails with " << c.code;
}

class OpenFailure : public StepReaderTest, public testing::WithParamInterface<OpenCase> {};

TEST_P(OpenFailure, GivesItsCodeAndLeavesNothingOpen) {
    const fs::path kro = GetParam().prepare(dir.path());
    EXPECT_EQ(ExpectIoError([&] { scenario::OpenScenario(kro.string()); }, GetParam().code),
              GetParam().message);
    ExpectIoError([] { scenario::GoToStep(); }, 103);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenFailure,
    testing::Values(OpenCase{"MissingStepFile", [](const fs::path& d) { return d / "brak.Kro"; }, 2,
                             "File not found"},
                    OpenCase{"MissingFolder", [](const fs::path& d) { return d / "brak" / "las.Kro"; }, 3,
                             "Invalid filename"},
                    OpenCase{"FileAsFolder",
                             [](const fs::path& d) {
                                 fixtures::WriteBytes(d / "plik", {1});
                                 return d / "plik" / "las.Kro";
                             },
                             3, "Invalid filename"},
                    OpenCase{"FolderAsStepFile",
                             [](const fs::path& d) {
                                 fs::create_directory(d / "las.Kro");
                                 fixtures::WriteBytes(d / "las.lis", std::vector<std::uint8_t>(44));
                                 return d / "las.Kro";
                             },
                             5, "File access denied"},
                    OpenCase{"FifoAsStepFile",
                             [](const fs::path& d) {
                                 ::mkfifo((d / "las.Kro").c_str(), 0600);
                                 return d / "las.Kro";
                             },
                             5, "File access denied"},
                    OpenCase{"EmptyPath", [](const fs::path&) { return fs::path(); }, 2, "File not found"},
                    // No condition of the table: the operating system's code, far from the table's.
                    OpenCase{"LinkLoop",
                             [](const fs::path& d) {
                                 fs::create_symlink(d / "las.Kro", d / "las.Kro");
                                 return d / "las.Kro";
                             },
                             10000 + ELOOP, "I/O error 10040"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StepReaderTest, UnreadableStepFileIsRefused) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    const fs::path kro = Write(ThreeSteps());
    fs::permissions(kro, fs::perms::none);
    ExpectIoError([&] { scenario::OpenScenario(kro.string()); }, 5);
}

TEST_F(StepReaderTest, ReadOnlyScenarioPlaysAndStaysByteForByteUnchanged) {
    const fs::path kro = Write(ThreeSteps());
    const fs::path lis = dir / "las.lis";
    fs::permissions(kro, fs::perms::owner_read | fs::perms::group_read);
    fs::permissions(lis, fs::perms::owner_read | fs::perms::group_read);
    const auto read = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string kroBefore = read(kro);
    const std::string lisBefore = read(lis);
    struct stat kroStat {};
    struct stat lisStat {};
    ::stat(kro.c_str(), &kroStat);
    ::stat(lis.c_str(), &lisStat);

    scenario::OpenScenario(kro.string());
    for (std::int32_t target : {2, 0, 1, 5, -1}) {
        scenario::NrKroku = target;
        try {
            scenario::GoToStep();
        } catch (const scenario::InOutError&) {
        }
    }
    scenario::CloseScenario();

    EXPECT_EQ(read(kro), kroBefore);
    EXPECT_EQ(read(lis), lisBefore);
    struct stat kroAfter {};
    struct stat lisAfter {};
    ::stat(kro.c_str(), &kroAfter);
    ::stat(lis.c_str(), &lisAfter);
    EXPECT_EQ(kroAfter.st_mtim.tv_sec, kroStat.st_mtim.tv_sec);
    EXPECT_EQ(kroAfter.st_mtim.tv_nsec, kroStat.st_mtim.tv_nsec);
    EXPECT_EQ(lisAfter.st_mtim.tv_nsec, lisStat.st_mtim.tv_nsec);
}

TEST_F(StepReaderTest, OperationsOnAClosedScenarioFailWith103) {
    EXPECT_EQ(ExpectIoError([] { scenario::GoToStep(); }, 103), "I/O error 103");
    ExpectIoError([] { scenario::CloseScenario(); }, 103);
}

TEST(IoErrorCodes, OperatingSystemErrorsOutsideTheTableNeverTakeATableCode) {
    // EIO is 5, the code of "File access denied"; ENXIO is 6, EAGAIN 11 and so on.
    for (int error : {EIO, ENXIO, E2BIG, EAGAIN, ENOMEM, EFAULT, ENOSPC, ELOOP, EOVERFLOW}) {
        const int code = scenario::OpenErrorCode(error, "las.Kro");
        EXPECT_GE(code, 10000) << error;
        EXPECT_EQ(scenario::InOutError(code).what(), "I/O error " + std::to_string(code));
    }
    EXPECT_EQ(scenario::InOutError(scenario::OpenErrorCode(EIO, "las.Kro")).what(),
              std::string("I/O error 10005"));
    EXPECT_EQ(scenario::OpenErrorCode(EACCES, "las.Kro"), 5);
    EXPECT_EQ(scenario::OpenErrorCode(EROFS, "las.Kro"), 5);
    EXPECT_EQ(scenario::OpenErrorCode(EMFILE, "las.Kro"), 4);
}

TEST(IoErrorMessages, FollowTheCode) {
    const std::pair<int, const char*> table[] = {{2, "File not found"},
                                                 {3, "Invalid filename"},
                                                 {4, "Too many open files"},
                                                 {5, "File access denied"},
                                                 {100, "Read beyond end of file"},
                                                 {101, "Disk full"},
                                                 {106, "Invalid numeric input"},
                                                 {32, "I/O error 32"},
                                                 {103, "I/O error 103"},
                                                 {131, "I/O error 131"}};
    for (const auto& [code, message] : table) {
        EXPECT_EQ(scenario::InOutError(code).what(), std::string(message)) << code;
    }
}

} // namespace
