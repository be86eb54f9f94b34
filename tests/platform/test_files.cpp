#include "platform/Files.h"
#include "platform/StepMedia.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

TEST(FileExists, IsTrueOnlyForRegularFilesWithLinksFollowed) {
    const fixtures::TempDir dir;
    Touch(dir / "plik.bmp");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "kolejka").c_str(), 0600), 0);
    fs::create_symlink(dir / "plik.bmp", dir / "dowiązanie");
    fs::create_symlink(dir / "folder", dir / "do-folderu");
    fs::create_symlink(dir / "nie-ma", dir / "zerwane");
    EXPECT_TRUE(platform::FileExists(Q(dir / "plik.bmp")));
    EXPECT_TRUE(platform::FileExists(Q(dir / "dowiązanie")));
    for (const char* name : {"folder", "do-folderu", "kolejka", "zerwane", "nie-ma"}) {
        EXPECT_FALSE(platform::FileExists(Q(dir / name))) << name;
    }
    EXPECT_FALSE(platform::FileExists("/dev/null"));
    EXPECT_FALSE(platform::FileExists(""));
}

// On disk below the current directory; the folder and the name as a scenario gives them; the path found.
struct MediaCase {
    const char* caseName;
    const char* onDisk;
    const char* folder;
    const char* name;
    const char* found;
};

void PrintTo(const MediaCase& c, std::ostream* out) {
    *out << c.caseName;
}

class MediaPathTest : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaPathTest, FindsTheFileWhateverTheLetterCase) {
    const auto [caseName, onDisk, folder, name, found] = GetParam();
    const fixtures::TempDir dir;
    Touch(dir / fs::u8path(onDisk));
    const fixtures::CurrentDirectory inside(dir.path());
    EXPECT_EQ(platform::MediaPath(QString::fromUtf8(folder), QString::fromUtf8(name)),
              QString::fromUtf8(found));
}

INSTANTIATE_TEST_SUITE_P(
    Names, MediaPathTest,
    ::testing::Values(
        MediaCase{"Exact", "Obrazki/las.bmp", "Obrazki", "las.bmp", "Obrazki/las.bmp"},
        MediaCase{"UpperCaseFile", "Obrazki/LAS.BMP", "Obrazki", "las.bmp", "Obrazki/LAS.BMP"},
        MediaCase{"UpperCaseFolder", "OBRAZKI/Las.bmp", "Obrazki", "LAS.bmp", "OBRAZKI/Las.bmp"},
        MediaCase{"PolishFile", "Obrazki/ŁĄKA.BMP", "Obrazki", "Łąka.bmp", "Obrazki/ŁĄKA.BMP"},
        MediaCase{"PolishFolder", "ŹRÓDŁA/żółw.wav", "źródła", "ŻÓŁW.WAV", "ŹRÓDŁA/żółw.wav"},
        MediaCase{"BackslashFolder", "Obrazki/Noc/Las.bmp", "Obrazki", "noc\\las.bmp", "Obrazki/Noc/Las.bmp"},
        MediaCase{"BackslashExact", "Obrazki/noc/las.bmp", "Obrazki", "noc\\las.bmp", "Obrazki/noc/las.bmp"},
        MediaCase{"DotFolder", "LAS.BMP", ".", "las.bmp", "./LAS.BMP"},
        MediaCase{"NoSuchFile", "Obrazki/las.bmp", "Obrazki", "Góry.bmp", "Obrazki/Góry.bmp"},
        MediaCase{"NoSuchFolder", "Obrazki/las.bmp", "Dźwięki", "las.bmp", "Dźwięki/las.bmp"},
        MediaCase{"FileTakenForAFolder", "Obrazki/las.bmp", "Obrazki", "las.bmp\\x.bmp",
                  "Obrazki/las.bmp/x.bmp"}),
    [](const auto& info) { return std::string(info.param.caseName); });

TEST(MediaPath, WorksUnderAnAbsoluteFolderAndPrefersTheExactName) {
    const fixtures::TempDir dir;
    Touch(dir / "Gra" / "Muzyka" / "Start.MID");
    Touch(dir / "Gra" / "start.mid");
    Touch(dir / "Gra" / "START.MID");
    const QString root = Q(dir.path());
    EXPECT_EQ(platform::MediaPath(root + "/gra", "muzyka\\start.mid"), root + "/Gra/Muzyka/Start.MID");
    EXPECT_EQ(platform::MediaPath(root + "/Gra", "START.MID"), root + "/Gra/START.MID");
}

// On disk below the scenario's folder; picture or sound; the scenario's folder and the name the step gives;
// what the lookup comes to and the path it gives, relative to the current directory.
struct StepMediaCase {
    const char* name;
    const char* onDisk;
    bool picture;
    const char* scenarioFolder;
    const char* stepName;
    platform::MediaLookup::Result result;
    const char* path;
};

void PrintTo(const StepMediaCase& c, std::ostream* out) {
    *out << c.name;
}
class StepMediaTest : public ::testing::TestWithParam<StepMediaCase> {};

TEST_P(StepMediaTest, LooksInTheMediaFolderBesideTheScenario) {
    const StepMediaCase c = GetParam();
    const fixtures::TempDir dir;
    Touch(dir / "Gra" / fs::u8path(c.onDisk));
    fs::create_directories(dir / "Gra" / "Obrazki" / "folder.bmp");
    const fixtures::CurrentDirectory inside(dir / "Gra");
    const QString folder = QString::fromUtf8(c.scenarioFolder);
    const QString name = QString::fromUtf8(c.stepName);
    const platform::MediaLookup found =
        c.picture ? platform::FindPicture(folder, name) : platform::FindSound(folder, name);
    EXPECT_EQ(found.result, c.result);
    EXPECT_EQ(found.path, QString::fromUtf8(c.path));
}

using Result = platform::MediaLookup::Result;
INSTANTIATE_TEST_SUITE_P(
    Steps, StepMediaTest,
    ::testing::Values(StepMediaCase{"PictureInTheCurrentFolder", "Obrazki/Las.bmp", true, "", "las.BMP",
                                    Result::Present, "Obrazki/Las.bmp"},
                      StepMediaCase{"SoundBesideAGivenScenario", "Dzwieki/ŻÓŁW.wav", false, "../Gra",
                                    "żółw.wav", Result::Present, "../Gra/Dzwieki/ŻÓŁW.wav"},
                      StepMediaCase{"NoNameIsNoMedia", "Obrazki/Las.bmp", true, "", "", Result::None, ""},
                      StepMediaCase{"MissingKeepsTheNameAsGiven", "Obrazki/Las.bmp", true, ".",
                                    "Noc\\sowa.bmp", Result::Missing, "./Obrazki/Noc/sowa.bmp"},
                      StepMediaCase{"SoundIsNotLookedForAmongPictures", "Obrazki/ptak.wav", false, "",
                                    "ptak.wav", Result::Missing, "Dzwieki/ptak.wav"},
                      StepMediaCase{"AFolderIsNoPicture", "Obrazki/Las.bmp", true, "", "Folder.bmp",
                                    Result::Missing, "Obrazki/folder.bmp"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FirstFolder, FindsTheDemoBesideTheProgramWhereverTheInstallWasMoved) {
    const fixtures::TempDir dir;
    const fs::path root = dir / "gdzies inaczej";
    fs::create_directories(root / "games");
    fs::create_directories(root / "share" / "przygoda" / "Przygoda");
    Touch(root / "share" / "przygoda" / "Plik");
    const QString program = Q(root / "games");
    const QString demo = Q(fs::canonical(root / "share" / "przygoda" / "Przygoda"));
    const QStringList installed{"../share/przygoda/Przygoda", "../demo/Przygoda"};

    EXPECT_EQ(platform::FirstFolder(program, installed), demo);
    EXPECT_EQ(
        platform::FirstFolder(program, {"../brak", "../share/przygoda/Plik", "../share/przygoda/Przygoda"}),
        demo)
        << "missing folders and plain files are passed over";
    EXPECT_EQ(platform::FirstFolder(program, {"../brak", "../share/przygoda/Plik"}), QString());
    EXPECT_EQ(platform::FirstFolder(program, {}), QString());
}

} // namespace
