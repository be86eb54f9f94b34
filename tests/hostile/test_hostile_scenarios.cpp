// Broken scenarios played through the real game window, with the real picture decoder and sound player:
// each gives its message and leaves the window working, and no file changes by a byte or a timestamp.
#include "game/Scenariusz.h"
#include "game/Urpggra.h"
#include "platform/ProgramWindows.h"
#include "platform/sound/SdlMediaPlayer.h"
#include "scenario/IoError.h"
#include "scenario/StepReader.h"
#include "tests/support/BmpFile.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/SoundFile.h"
#include "tests/support/Steps.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class StandInMenu : public platform::TForm {
  public:
    explicit StandInMenu(platform::IMessages& m) : TForm(m, "FoRPGMenu", "Menu", QSize(260, 218)) {}
};

struct FileState {
    std::string bytes;
    std::int64_t mtimeNs = 0;
    bool operator==(const FileState&) const = default;
};

// Every regular file below `root`, with its bytes and modification time.
std::map<std::string, FileState> Snapshot(const fs::path& root) {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat st {};
        if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().string()] = {std::string(std::istreambuf_iterator<char>(in), {}),
                                        std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
    }
    return files;
}

using fixtures::StepNamed;

class HostileScenario : public testing::Test {
  protected:
    HostileScenario() {
        platform::FoRPGMenu = &menu;
        platform::FoRpgGra = &gra;
        fs::create_directory(dir / "Obrazki");
        fs::create_directory(dir / "Dzwieki");
    }
    ~HostileScenario() override {
        gra.Hide();
        fixtures::CloseReader();
        platform::FoRPGMenu = platform::FoRpgGra = nullptr;
        game::Scenariusz.clear();
    }

    void Use(const fs::path& kro) { game::Scenariusz = QString::fromStdString(kro.string()); }

    // Plays the scenario the way a stubborn player would: every enabled button in turn, a bounded number of
    // clicks, then out to the menu and in again. The window must keep working throughout.
    void PlayThrough(int clicks = 24) {
        const auto before = Snapshot(dir.path());
        gra.Show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(gra.isVisible());
        QPushButton* buttons[] = {gra.BuWybor1, gra.BuWybor2, gra.BuWybor3, gra.BuWybor4};
        for (int i = 0; i < clicks; ++i) {
            QPushButton* button = buttons[i % 4];
            if (button->isEnabled()) {
                QTest::mouseClick(button, Qt::LeftButton);
            }
            gra.PaObrazek->repaint();
            QCoreApplication::processEvents();
        }
        QTest::mouseClick(gra.BuWyjscie, Qt::LeftButton);
        ASSERT_FALSE(gra.isVisible());
        ASSERT_TRUE(menu.isVisible());
        gra.Show();
        ASSERT_TRUE(gra.isVisible());
        gra.BuWyjscieClick();
        player.Close();
        EXPECT_EQ(Snapshot(dir.path()), before) << "a file changed while playing";
    }

    bool Reported(const QString& text) const { return messages.log.contains(text); }

    fixtures::TempDir dir;
    fixtures::CurrentDirectory cwd{dir.path()};
    fixtures::RecordingMessages messages;
    platform::SdlMediaPlayer player;
    StandInMenu menu{messages};
    game::TFoRpgGra gra{messages, player};
};

TEST_F(HostileScenario, StepFileEndingInsideARecord) {
    fixtures::WriteScenario(
        dir / "gra.Kro",
        {StepNamed("0", 1, {1, 2, 3, 0}), StepNamed("1", 1, {2, 2, 2, 2}), StepNamed("2", 1, {1, 2, 0, 1})});
    fs::resize_file(dir / "gra.Kro", 516 * 2 + 300);
    Use(dir / "gra.Kro");
    PlayThrough();
    EXPECT_TRUE(Reported("error: Read beyond end of file."));
}

TEST_F(HostileScenario, EmptyFiles) {
    fixtures::WriteBytes(dir / "gra.Kro", {});
    fixtures::WriteBytes(dir / "gra.lis", {});
    Use(dir / "gra.Kro");
    PlayThrough();
    EXPECT_TRUE(Reported("error: Read beyond end of file."));
}

TEST_F(HostileScenario, TypeListShorterThanTheStepFile) {
    fixtures::WriteScenario(
        dir / "gra.Kro",
        {StepNamed("0", 1, {1, 1, 1, 1}), StepNamed("1", 1, {2, 2, 2, 2}), StepNamed("2", 1, {1, 1, 1, 1})});
    fs::resize_file(dir / "gra.lis", 22 * 2);
    Use(dir / "gra.Kro");
    PlayThrough();
    EXPECT_TRUE(Reported("error: Read beyond end of file."));
}

TEST_F(HostileScenario, HugeAndNegativeTargets) {
    fixtures::WriteScenario(dir / "gra.Kro",
                            {StepNamed("0", 1, {1, 1, 1, 1}), StepNamed("1", 1, {2, 2, 2, 2}),
                             StepNamed("2", 1, {2147483647, -1, -2147483647 - 1, 4161791})});
    Use(dir / "gra.Kro");
    PlayThrough();
    EXPECT_TRUE(Reported("error: Read beyond end of file."));
    EXPECT_TRUE(Reported("error: I/O error 131."));
}

TEST_F(HostileScenario, LengthBytesOf255Everywhere) {
    fixtures::KrokBytes rec{};
    for (auto& b : rec) {
        b = 0xFF;
    }
    for (std::size_t at : {0u, 21u, 67u, 113u, 159u, 205u, 456u, 477u}) {
        rec[at] = 255;
    }
    // Targets of all ones are -1.
    fixtures::WriteKroRecords(dir / "gra.Kro", {rec, rec});
    fixtures::WriteLisRecords(dir / "gra.lis", {fixtures::EncodeLis(255), fixtures::EncodeLis(255)});
    Use(dir / "gra.Kro");
    PlayThrough();
    EXPECT_EQ(gra.LaWybor1->Caption().size(), 45);
    EXPECT_LE(gra.MeOpis->toPlainText().size(), 250);
    EXPECT_TRUE(Reported("error: I/O error 131."));
}

struct PictureCase {
    const char* name;
    fixtures::Bmp bmp;
    const char* expected; // the error box, or nullptr when the picture must load
};

fixtures::Bmp Picture(std::int32_t w, std::int32_t h) {
    fixtures::Bmp b;
    b.width = w;
    b.height = h;
    return b;
}

void PrintTo(const PictureCase& c, std::ostream* os) {
    *os << c.name << ": " << (c.expected != nullptr ? c.expected : "drawn");
}

class HostilePicture : public HostileScenario, public testing::WithParamInterface<PictureCase> {};

TEST_P(HostilePicture, IsReportedOrDrawnAndTheGameGoesOn) {
    fixtures::WriteBytes(dir / "Obrazki" / "zly.bmp", fixtures::EncodeBmp(GetParam().bmp));
    fixtures::WriteScenario(dir / "gra.Kro",
                            {StepNamed("0", 1, {1, 1, 1, 1}), StepNamed("1", 1, {2, 2, 2, 2}, "zly.bmp"),
                             StepNamed("2", 1, {1, 2, 1, 2})});
    Use(dir / "gra.Kro");
    PlayThrough(8);
    if (GetParam().expected != nullptr) {
        EXPECT_TRUE(Reported(QString("error: ") + GetParam().expected))
            << messages.log.join("; ").toStdString();
    } else {
        EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join("; ").toStdString();
    }
}

fixtures::Bmp With(fixtures::Bmp b, const std::function<void(fixtures::Bmp&)>& change) {
    change(b);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, HostilePicture,
    testing::Values(PictureCase{"ZeroWidth", Picture(0, 10), "Bitmap image is not valid."},
                    PictureCase{"NegativeWidth", Picture(-5, 10), "Bitmap image is not valid."},
                    PictureCase{"Gigantic", Picture(100000, 100000), "Bitmap image is not valid."},
                    PictureCase{"TwoPlanes", With(Picture(4, 4), [](auto& b) { b.planes = 2; }),
                                "Bitmap image is not valid."},
                    PictureCase{"SevenBits", With(Picture(4, 4), [](auto& b) { b.bpp = 7; }),
                                "Bitmap image is not valid."},
                    PictureCase{"OddHeaderSize", With(Picture(4, 4), [](auto& b) { b.headerSize = 999; }),
                                "Bitmap image is not valid."},
                    PictureCase{"NoMagic", With(Picture(4, 4), [](auto& b) { b.magic = "XX"; }),
                                "Bitmap image is not valid."},
                    PictureCase{"PaletteBeyondTheFile",
                                With(Picture(4, 4),
                                     [](auto& b) {
                                         b.bpp = 8;
                                         b.colorsUsed = 200;
                                         b.offBits = 0; // the pixels follow the table the header claims
                                     }),
                                "Stream read error."},
                    PictureCase{"PixelsMissing", Picture(64, 64), nullptr},
                    PictureCase{"RleRunsPastTheEdges",
                                With(Picture(8, 8),
                                     [](auto& b) {
                                         b.bpp = 8;
                                         b.compression = 1;
                                         b.palette = {0xFF0000, 0x00FF00};
                                         // A run of 255 on an 8-wide row, a delta far below, then no end
                                         // marker.
                                         b.pixels = {255, 1, 0, 2, 200, 200, 255, 0, 10, 1};
                                     }),
                                nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileScenario, FifosAndFoldersNamedAsMedia) {
    ASSERT_EQ(::mkfifo((dir / "Obrazki" / "fifo.bmp").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "Dzwieki" / "fifo.wav").c_str(), 0600), 0);
    fs::create_directory(dir / "Obrazki" / "folder.bmp");
    fs::create_directory(dir / "Dzwieki" / "folder.wav");
    fixtures::WriteScenario(dir / "gra.Kro", {StepNamed("0", 1, {1, 1, 1, 1}),
                                              StepNamed("1", 1, {2, 2, 2, 2}, "fifo.bmp", "fifo.wav"),
                                              StepNamed("2", 1, {1, 1, 1, 1}, "folder.bmp", "folder.wav")});
    Use(dir / "gra.Kro");
    PlayThrough(6);
    EXPECT_TRUE(Reported("message: Nie masz obrazu \"fifo.bmp\""));
    EXPECT_TRUE(Reported("message: Nie masz dzwieku \"folder.wav\""));
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join("; ").toStdString();
}

TEST_F(HostileScenario, LinksThatLeadNowhereAndUnreadableMedia) {
    fs::create_symlink("petla.bmp", dir / "Obrazki" / "petla.bmp");
    fs::create_symlink("petla.wav", dir / "Dzwieki" / "petla.wav");
    fs::create_symlink("nie-ma.bmp", dir / "Obrazki" / "brak.bmp");
    fixtures::WriteBytes(dir / "Obrazki" / "zamkniety.bmp", {'B', 'M'});
    fs::permissions(dir / "Obrazki" / "zamkniety.bmp", fs::perms::none);
    fixtures::WriteScenario(dir / "gra.Kro", {StepNamed("0", 1, {1, 1, 1, 1}),
                                              StepNamed("1", 1, {2, 2, 2, 2}, "petla.bmp", "petla.wav"),
                                              StepNamed("2", 1, {3, 3, 3, 3}, "brak.bmp"),
                                              StepNamed("3", 1, {1, 1, 1, 1}, "zamkniety.bmp")});
    Use(dir / "gra.Kro");
    PlayThrough(8);
    EXPECT_TRUE(Reported("message: Nie masz obrazu \"petla.bmp\""));
    EXPECT_TRUE(Reported("message: Nie masz dzwieku \"petla.wav\""));
    EXPECT_TRUE(Reported("message: Nie masz obrazu \"brak.bmp\""));
    // Permissions do not bind root, who reads the two bytes and finds no picture in them.
    const QString unreadable = ::geteuid() == 0 ? "error: Stream read error." : "error: Cannot open file";
    EXPECT_TRUE(std::any_of(messages.log.begin(), messages.log.end(), [&](const QString& line) {
        return line.startsWith(unreadable);
    })) << messages.log.join("; ").toStdString();
}

TEST_F(HostileScenario, NamesThatClimbOutOfTheMediaFolders) {
    fixtures::WriteScenario(dir / "gra.Kro", {StepNamed("0", 1, {1, 1, 1, 1}),
                                              StepNamed("1", 1, {1, 1, 1, 1}, "..\\gra.Kro", "..\\gra.lis")});
    Use(dir / "gra.Kro");
    PlayThrough(4);
    // Read-only use of another file of the scenario: reported as not a picture and not a sound, nothing else.
    EXPECT_TRUE(Reported("error: Bitmap image is not valid."));
}

struct SoundCase {
    const char* name;
    const char* file;
    std::string bytes;
};

void PrintTo(const SoundCase& c, std::ostream* os) {
    *os << c.name << ": " << c.file << ", " << c.bytes.size() << " bytes";
}

class HostileSound : public HostileScenario, public testing::WithParamInterface<SoundCase> {};

TEST_P(HostileSound, IsReportedWithAMessageAndTheGameGoesOn) {
    fixtures::WriteBytes(dir / "Dzwieki" / GetParam().file,
                         std::vector<std::uint8_t>(GetParam().bytes.begin(), GetParam().bytes.end()));
    fixtures::WriteScenario(dir / "gra.Kro", {StepNamed("0", 1, {1, 1, 1, 1}),
                                              StepNamed("1", 1, {2, 2, 2, 2}, "", GetParam().file),
                                              StepNamed("2", 1, {1, 1, 1, 1})});
    Use(dir / "gra.Kro");
    PlayThrough(6);
    ASSERT_FALSE(messages.errors.isEmpty());
    EXPECT_GT(messages.errors.first().size(), 1);
}

std::string TruncatedWave() {
    std::string wave = fixtures::Wave(fixtures::WaveFormat::Pcm16, {});
    return wave.substr(0, 30);
}

std::string WaveClaimingFourGigabytes() {
    std::string wave = fixtures::Wave(fixtures::WaveFormat::Pcm16, {});
    const std::size_t data = wave.find("data");
    for (int k = 0; k < 4; ++k) {
        wave[data + 4 + static_cast<std::size_t>(k)] = '\xFF';
    }
    return wave.substr(0, data + 8 + 64);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSound,
                         testing::Values(SoundCase{"Empty", "pusty.wav", ""},
                                         SoundCase{"Garbage", "smieci.wav", std::string(4096, '\x5A')},
                                         SoundCase{"Truncated", "urwany.wav", TruncatedWave()},
                                         SoundCase{"GarbageMp3", "smieci.mp3", std::string(2048, '\x11')},
                                         SoundCase{"UnknownKind", "dzwiek.xyz", "abc"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileScenario, WaveClaimingMoreDataThanItHoldsPlaysWhatItHas) {
    const std::string wave = WaveClaimingFourGigabytes();
    fixtures::WriteBytes(dir / "Dzwieki" / "klamca.wav", std::vector<std::uint8_t>(wave.begin(), wave.end()));
    fixtures::WriteScenario(dir / "gra.Kro", {StepNamed("0", 1, {1, 1, 1, 1}),
                                              StepNamed("1", 1, {1, 1, 1, 1}, "", "klamca.wav")});
    Use(dir / "gra.Kro");
    PlayThrough(4);
    // Either outcome is fine for the player; what matters is that it neither crashed nor allocated 4 GiB.
    EXPECT_TRUE(gra.BuWybor1->isEnabled());
}

} // namespace
