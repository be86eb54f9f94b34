// The editor's media check remembers what it found between checks: these tests change the story's media on
// disk between two checks and expect the second to see the change, as a fresh check would.
#include "editor/CachedMediaProbe.h"
#include "tests/support/BmpFile.h"
#include "tests/support/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>

namespace {

namespace fs = std::filesystem;

enum class Seen { Nothing, Missing, Broken };

const char* SeenName(Seen seen) {
    switch (seen) {
    case Seen::Nothing:
        return "nothing";
    case Seen::Missing:
        return "missing";
    case Seen::Broken:
        return "broken";
    }
    return "?";
}

Seen Of(const std::optional<kit::MediaProblem>& problem) {
    if (!problem) {
        return Seen::Nothing;
    }
    return problem->message.starts_with("brak") ? Seen::Missing : Seen::Broken;
}

void GoodPicture(const fs::path& path) {
    fs::create_directories(path.parent_path());
    fixtures::WriteBytes(path, fixtures::Bmp24(2, 2, [](int, int) { return 0x336699u; }));
}

// The sound opener below refuses a file that says so.
void Sound(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    fixtures::WriteBytes(path, bytes);
}

// Everything in the folder dated an hour back, as files an author made earlier are.
void Age(const fs::path& folder) {
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        fs::last_write_time(entry.path(), past);
    }
    fs::last_write_time(folder, past);
}

struct Change {
    const char* name;
    bool sound;
    const char* file; // as the step names it
    std::function<void(const fs::path&)> before;
    Seen first;
    std::function<void(const fs::path&)> change;
    Seen then;
};

void PrintTo(const Change& c, std::ostream* out) {
    *out << c.name;
}

class CachedMediaTest : public ::testing::TestWithParam<Change> {};

TEST_P(CachedMediaTest, TheNextCheckSeesWhatChangedOnDisk) {
    const Change& c = GetParam();
    const fixtures::TempDir story;
    c.before(story.path());
    Age(story.path());
    editor::CachedMediaProbe probe([](const QString& path) {
        std::ifstream in(path.toStdString());
        std::string text;
        std::getline(in, text);
        if (text == "zly") {
            throw std::runtime_error("nie gra");
        }
    });
    const auto check = [&] {
        probe.NewCheck();
        return Of(c.sound ? probe.Sound(story.path().string(), c.file)
                          : probe.Picture(story.path().string(), c.file));
    };
    // The version lets a check keep its answers: it stays while nothing changes, and moves with a change.
    const auto version = [&] {
        probe.NewCheck();
        return probe.Version();
    };
    EXPECT_EQ(SeenName(check()), SeenName(c.first));
    const std::uint64_t answered = version();
    EXPECT_EQ(answered == 0, std::string_view(c.file).find('\\') != std::string_view::npos)
        << "only a name in a folder of its own leaves the probe unable to tell";
    EXPECT_EQ(SeenName(check()), SeenName(c.first)) << "checked again with nothing changed";
    EXPECT_EQ(version(), answered) << "nothing changed";
    c.change(story.path());
    const std::uint64_t changed = version();
    EXPECT_TRUE(changed == 0 || changed != answered) << "the change did not move the version";
    EXPECT_EQ(SeenName(check()), SeenName(c.then)) << "after the change";
}

const Change Changes[] = {
    {"PictureAdded", false, "las.bmp", [](const fs::path& d) { fs::create_directories(d / "Obrazki"); },
     Seen::Missing, [](const fs::path& d) { GoodPicture(d / "Obrazki" / "las.bmp"); }, Seen::Nothing},
    {"PictureRemoved", false, "las.bmp", [](const fs::path& d) { GoodPicture(d / "Obrazki" / "las.bmp"); },
     Seen::Nothing, [](const fs::path& d) { fs::remove(d / "Obrazki" / "las.bmp"); }, Seen::Missing},
    {"PictureRewrittenBroken", false, "las.bmp",
     [](const fs::path& d) { GoodPicture(d / "Obrazki" / "las.bmp"); }, Seen::Nothing,
     [](const fs::path& d) { fixtures::WriteBytes(d / "Obrazki" / "las.bmp", std::string("BM")); },
     Seen::Broken},
    {"PictureFolderMadeInOtherCase", false, "las.bmp", [](const fs::path&) {}, Seen::Missing,
     [](const fs::path& d) { GoodPicture(d / "OBRAZKI" / "LAS.BMP"); }, Seen::Nothing},
    {"PictureAddedToItsOwnFolder", false, "noc\\las.bmp",
     [](const fs::path& d) { fs::create_directories(d / "Obrazki" / "noc"); }, Seen::Missing,
     [](const fs::path& d) { GoodPicture(d / "Obrazki" / "noc" / "las.bmp"); }, Seen::Nothing},
    {"SoundRewrittenBroken", true, "szum.wav",
     [](const fs::path& d) { Sound(d / "Dzwieki" / "szum.wav", "dobry"); }, Seen::Nothing,
     [](const fs::path& d) { Sound(d / "Dzwieki" / "szum.wav", "zly"); }, Seen::Broken},
    {"SoundRenamedAway", true, "szum.wav",
     [](const fs::path& d) { Sound(d / "Dzwieki" / "szum.wav", "dobry"); }, Seen::Nothing,
     [](const fs::path& d) { fs::rename(d / "Dzwieki" / "szum.wav", d / "Dzwieki" / "wiatr.wav"); },
     Seen::Missing},
};

INSTANTIATE_TEST_SUITE_P(Changes, CachedMediaTest, ::testing::ValuesIn(Changes),
                         [](const ::testing::TestParamInfo<Change>& info) { return info.param.name; });

TEST(CachedMedia, ASoundThatStaysIsOpenedOnceForAnyNumberOfChecks) {
    const fixtures::TempDir story;
    Sound(story / "Dzwieki" / "szum.wav", "dobry");
    Age(story.path());
    int opened = 0;
    editor::CachedMediaProbe probe([&](const QString&) { ++opened; });
    for (int i = 0; i < 5; ++i) {
        probe.NewCheck();
        EXPECT_FALSE(probe.Sound(story.path().string(), "szum.wav"));
        EXPECT_EQ(SeenName(Of(probe.Sound(story.path().string(), "brak.wav"))), SeenName(Seen::Missing));
    }
    EXPECT_EQ(opened, 1);

    // The editor saves and journals beside the story all the time.
    fixtures::WriteBytes(story / "historia.txt", std::string("krok 1\n"));
    probe.NewCheck();
    EXPECT_FALSE(probe.Sound(story.path().string(), "szum.wav"));
    EXPECT_EQ(opened, 1) << "the story's folder changed, not the sounds'";

    Sound(story / "Dzwieki" / "szum.wav", "inny");
    probe.NewCheck();
    EXPECT_FALSE(probe.Sound(story.path().string(), "szum.wav"));
    EXPECT_EQ(opened, 2) << "opened again once it changed";
}

} // namespace
