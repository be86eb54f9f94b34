#include "platform/Files.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QString>
#include <gtest/gtest.h>

#include <ostream>

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

fs::path U8(const char* name) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(name)));
}

TEST(FileExists, IsTrueOnlyForRegularFilesWithLinksFollowed) {
    const fixtures::TempDir dir;
    Touch(dir / "plik.bmp");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "kolejka").c_str(), 0600), 0);
    fs::create_symlink(dir / "plik.bmp", dir / "dowiązanie");
    fs::create_symlink(dir / "nie-ma", dir / "zerwane");
    fs::create_symlink(dir / "folder", dir / "do-folderu");

    EXPECT_TRUE(platform::FileExists(Q(dir / "plik.bmp")));
    EXPECT_TRUE(platform::FileExists(Q(dir / "dowiązanie")));
    EXPECT_FALSE(platform::FileExists(Q(dir / "folder")));
    EXPECT_FALSE(platform::FileExists(Q(dir / "do-folderu")));
    EXPECT_FALSE(platform::FileExists(Q(dir / "kolejka")));
    EXPECT_FALSE(platform::FileExists(Q(dir / "zerwane")));
    EXPECT_FALSE(platform::FileExists(Q(dir / "nie-ma")));
    EXPECT_FALSE(platform::FileExists("/dev/null"));
    EXPECT_FALSE(platform::FileExists(""));
}

struct MediaCase {
    const char* name;
    const char* onDisk;  // files created below the scenario's folder
    const char* folder;  // as the scenario names it
    const char* request; // as the scenario names it
    const char* found;
};

void PrintTo(const MediaCase& c, std::ostream* os) {
    *os << c.folder << " " << c.request;
}

class MediaPathTest : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaPathTest, FindsTheFileWhateverTheLetterCase) {
    const fixtures::TempDir dir;
    Touch(dir / U8(GetParam().onDisk));
    const fixtures::CurrentDirectory inside(dir.path());
    const QString found =
        platform::MediaPath(QString::fromUtf8(GetParam().folder), QString::fromUtf8(GetParam().request));
    EXPECT_EQ(found, QString::fromUtf8(GetParam().found));
}

INSTANTIATE_TEST_SUITE_P(
    Names, MediaPathTest,
    ::testing::Values(
        MediaCase{"Exact", "Obrazki/las.bmp", "Obrazki", "las.bmp", "Obrazki/las.bmp"},
        MediaCase{"FileCase", "Obrazki/LAS.BMP", "Obrazki", "las.bmp", "Obrazki/LAS.BMP"},
        MediaCase{"FolderCase", "OBRAZKI/Las.bmp", "Obrazki", "LAS.bmp", "OBRAZKI/Las.bmp"},
        MediaCase{"Polish", "Obrazki/ŁĄKA.BMP", "Obrazki", "Łąka.bmp", "Obrazki/ŁĄKA.BMP"},
        MediaCase{"PolishFolder", "ŹRÓDŁA/żółw.wav", "źródła", "ŻÓŁW.WAV", "ŹRÓDŁA/żółw.wav"},
        MediaCase{"Backslash", "Obrazki/Noc/Las.bmp", "Obrazki", "noc\\las.bmp", "Obrazki/Noc/Las.bmp"},
        MediaCase{"BackslashExact", "Obrazki/noc/las.bmp", "Obrazki", "noc\\las.bmp", "Obrazki/noc/las.bmp"},
        MediaCase{"CurrentFolder", "LAS.BMP", ".", "las.bmp", "./LAS.BMP"},
        MediaCase{"NotFound", "Obrazki/las.bmp", "Obrazki", "Góry.bmp", "Obrazki/Góry.bmp"},
        MediaCase{"NoFolder", "Obrazki/las.bmp", "Dźwięki", "las.bmp", "Dźwięki/las.bmp"},
        MediaCase{"FileIsNoFolder", "Obrazki/las.bmp", "Obrazki", "las.bmp\\x.bmp", "Obrazki/las.bmp/x.bmp"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MediaPath, WorksUnderAnAbsoluteFolderToo) {
    const fixtures::TempDir dir;
    Touch(dir / "Gra" / "Muzyka" / "Start.MID");
    const QString root = Q(dir.path());
    EXPECT_EQ(platform::MediaPath(root + "/gra", "muzyka\\start.mid"), root + "/Gra/Muzyka/Start.MID");
}

TEST(MediaPath, PrefersTheExactNameWhenSeveralMatch) {
    const fixtures::TempDir dir;
    Touch(dir / "a" / "LAS.bmp");
    Touch(dir / "a" / "las.bmp");
    const fixtures::CurrentDirectory inside(dir.path());
    EXPECT_EQ(platform::MediaPath("a", "las.bmp"), "a/las.bmp");
    EXPECT_EQ(platform::MediaPath("a", "LAS.bmp"), "a/LAS.bmp");
}

} // namespace
