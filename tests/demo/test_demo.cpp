// The bundled demo, read back with the player's own reader: the story graph from record 1, and the
// pictures and sounds its steps name.
#include "scenario/StepReader.h"
#include "scenario/StepTypes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <queue>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path DemoDir = PRZYGODA_DEMO_DIR;
const fs::path KroPath = DemoDir / "Przygoda.Kro";
const fs::path LisPath = DemoDir / "Przygoda.lis";

struct Node {
    std::uint8_t typ = 0;
    std::array<std::string, 4> wybory;
    std::array<std::int32_t, 4> targets{};
    std::array<bool, 4> enabled{}; // open on some way of being there
    std::string opis;
    std::string bmp;
    std::string wav;
};

struct Walk {
    std::int32_t records = 0;
    std::map<std::int32_t, Node> reached;
    std::vector<std::string> errors;
};

std::int32_t RecordCount() {
    return static_cast<std::int32_t>(fs::file_size(KroPath) / 516);
}

// Breadth first from record 1 through every enabled choice, as a player could go: over the record shown
// and the buttons open there, since a type outside the table keeps the buttons of the step before. Play
// starts at record 1 with button 1 alone, whatever its type.
Walk WalkStory() {
    Walk walk;
    walk.records = RecordCount();
    try {
        scenario::OpenScenario(KroPath.string());
    } catch (const std::exception& e) {
        walk.errors.push_back(std::string("opening: ") + e.what());
        return walk;
    }
    struct Arrival {
        std::int32_t record;
        std::optional<int> openBefore; // nullopt: the start
    };
    std::queue<Arrival> pending;
    std::set<std::pair<std::int32_t, int>> seen{{1, -1}};
    pending.push({1, std::nullopt});
    walk.reached[1];
    while (!pending.empty()) {
        const Arrival a = pending.front();
        const std::int32_t r = a.record;
        pending.pop();
        try {
            scenario::NrKroku = r;
            scenario::GoToStep();
        } catch (const std::exception& e) {
            walk.errors.push_back("record " + std::to_string(r) + ": " + e.what());
            continue;
        }
        const scenario::TKrok& k = *scenario::AktKrok;
        Node& n = walk.reached[r];
        n.typ = scenario::AktLis.Typ;
        n.wybory = {k.Wybor1, k.Wybor2, k.Wybor3, k.Wybor4};
        n.targets = {k.Krok_Wybrany1, k.Krok_Wybrany2, k.Krok_Wybrany3, k.Krok_Wybrany4};
        const int open = a.openBefore ? *scenario::OpenAfter(n.typ, a.openBefore) : 1;
        n.opis = k.Opis;
        n.bmp = k.Bmp;
        n.wav = k.Wav;
        for (std::size_t i = 0; i < static_cast<std::size_t>(open); ++i) {
            n.enabled[i] = true;
            const std::int32_t t = n.targets[i];
            if (t < 0 || t >= walk.records) {
                walk.errors.push_back("record " + std::to_string(r) + " choice " + std::to_string(i + 1) +
                                      " leads to " + std::to_string(t));
            } else if (seen.insert({t, open}).second) {
                walk.reached[t];
                pending.push({t, open});
            }
        }
    }
    scenario::CloseScenario();
    return walk;
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8);
}
std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}
std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (std::uint32_t{b.at(at)} << 24) | (b.at(at + 1) << 16) | (b.at(at + 2) << 8) | b.at(at + 3);
}

// The media files the reachable steps name, split into those present and those absent.
struct Media {
    std::set<std::string> present;
    std::set<std::string> absent;
};

Media NamedMedia(const Walk& walk, std::string Node::*field, const fs::path& folder) {
    Media m;
    for (const auto& [r, n] : walk.reached) {
        const std::string& name = n.*field;
        if (name.empty()) {
            continue;
        }
        (fs::is_regular_file(folder / name) ? m.present : m.absent).insert(name);
    }
    return m;
}

TEST(DemoFiles, StepFileAndTypeListHoldTheSameNumberOfRecords) {
    ASSERT_TRUE(fs::is_regular_file(KroPath));
    ASSERT_TRUE(fs::is_regular_file(LisPath));
    EXPECT_EQ(fs::file_size(KroPath) % 516, 0u);
    EXPECT_EQ(fs::file_size(LisPath) % 22, 0u);
    EXPECT_EQ(fs::file_size(KroPath) / 516, fs::file_size(LisPath) / 22);
    EXPECT_GE(RecordCount(), 12);
    EXPECT_LE(RecordCount(), 20);
}

TEST(DemoStory, EveryReachableStepReadsAndEveryEnabledChoiceLeadsToARecord) {
    const Walk walk = WalkStory();
    EXPECT_TRUE(walk.errors.empty()) << testing::PrintToString(walk.errors);
    for (const auto& [r, n] : walk.reached) {
        EXPECT_FALSE(n.opis.empty()) << "record " << r;
        for (std::size_t i = 0; i < 4; ++i) {
            if (n.enabled[i]) {
                EXPECT_FALSE(n.wybory[i].empty()) << "record " << r << " choice " << i + 1;
            }
        }
    }
}

TEST(DemoStory, EveryRecordCanBeReachedFromTheStart) {
    const Walk walk = WalkStory();
    EXPECT_EQ(static_cast<std::int32_t>(walk.reached.size()), walk.records);
    EXPECT_TRUE(walk.reached.contains(0)) << "no choice leads to record 0";
}

TEST(DemoStory, EveryStepTypeOccurs) {
    const Walk walk = WalkStory();
    std::set<int> types;
    for (const auto& [r, n] : walk.reached) {
        types.insert(n.typ);
    }
    EXPECT_EQ(types, (std::set<int>{0, 1, 2, 3, 4, 5}));
}

TEST(DemoStory, HasAtLeastTwoEndingsAndEveryStepStillLeadsToOne) {
    const Walk walk = WalkStory();
    std::set<std::int32_t> canEnd;
    for (const auto& [r, n] : walk.reached) {
        if (n.typ == scenario::TypKoniec && r != 1) {
            canEnd.insert(r);
        }
    }
    EXPECT_GE(canEnd.size(), 2u);
    // Grow the set backwards until nothing changes: a step can end when one of its choices leads on to
    // a step that can.
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [r, n] : walk.reached) {
            for (std::size_t i = 0; i < 4 && !canEnd.contains(r); ++i) {
                if (n.enabled[i] && canEnd.contains(n.targets[i])) {
                    canEnd.insert(r);
                    grew = true;
                }
            }
        }
    }
    for (const auto& [r, n] : walk.reached) {
        EXPECT_TRUE(canEnd.contains(r)) << "no ending can be reached from record " << r;
    }
}

TEST(DemoMedia, NamedPicturesArePresentExceptOneLeftOutOnPurpose) {
    const Walk walk = WalkStory();
    const Media m = NamedMedia(walk, &Node::bmp, DemoDir / "Obrazki");
    EXPECT_EQ(m.absent.size(), 1u) << testing::PrintToString(m.absent);
    EXPECT_GE(m.present.size(), 5u);
    for (const auto& entry : fs::directory_iterator(DemoDir / "Obrazki")) {
        EXPECT_TRUE(m.present.contains(entry.path().filename().string())) << "no step shows " << entry.path();
    }
}

TEST(DemoMedia, NamedSoundsArePresentExceptOneLeftOutOnPurpose) {
    const Walk walk = WalkStory();
    const Media m = NamedMedia(walk, &Node::wav, DemoDir / "Dzwieki");
    EXPECT_EQ(m.absent.size(), 1u) << testing::PrintToString(m.absent);
    EXPECT_GE(m.present.size(), 3u);
    for (const auto& entry : fs::directory_iterator(DemoDir / "Dzwieki")) {
        EXPECT_TRUE(m.present.contains(entry.path().filename().string())) << "no step plays " << entry.path();
    }
}

// Walks an RLE8 stream; returns the number of encoded runs longer than one pixel, or -1 when the stream
// leaves the picture, misses rows or does not end with the end-of-bitmap code.
int CheckRle8(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t end, int w, int h) {
    int x = 0;
    int y = 0;
    int runs = 0;
    while (at + 1 < end) {
        const std::uint8_t n = b[at];
        const std::uint8_t c = b[at + 1];
        at += 2;
        if (n > 0) {
            x += n;
            runs += n >= 2 ? 1 : 0;
        } else if (c == 0) {
            x = 0;
            ++y;
        } else if (c == 1) {
            return y == h - 1 && at == end ? runs : -1;
        } else if (c == 2) {
            return -1; // the demo never skips pixels
        } else {
            x += c;
            at += c + (c % 2);
        }
        if (x > w || y >= h) {
            return -1;
        }
    }
    return -1;
}

TEST(DemoMedia, PicturesAreBitmapsOfEverySizeAndKindThePlayerMeetsInTheWild) {
    bool odd = false;
    bool large = false;
    bool rgb24 = false;
    bool pal8 = false;
    bool rle8 = false;
    for (const auto& entry : fs::directory_iterator(DemoDir / "Obrazki")) {
        SCOPED_TRACE(entry.path().string());
        const auto b = ReadAll(entry.path());
        ASSERT_GE(b.size(), 54u);
        ASSERT_EQ(b[0], 'B');
        ASSERT_EQ(b[1], 'M');
        EXPECT_EQ(Le32(b, 2), b.size());
        EXPECT_EQ(Le32(b, 14), 40u);
        const auto w = static_cast<int>(Le32(b, 18));
        const auto h = static_cast<int>(Le32(b, 22));
        const std::uint32_t bits = Le16(b, 28);
        const std::uint32_t compression = Le32(b, 30);
        const std::uint32_t dataOffset = Le32(b, 10);
        const std::uint32_t colours = Le32(b, 46) != 0 ? Le32(b, 46) : 256;
        EXPECT_EQ(Le16(b, 26), 1u);
        ASSERT_GT(w, 0);
        ASSERT_GT(h, 0);
        odd = odd || (w % 2 == 1 && h % 2 == 1);
        large = large || w > 128 || h > 128;
        if (bits == 24) {
            EXPECT_EQ(compression, 0u);
            EXPECT_EQ(dataOffset, 54u);
            EXPECT_EQ(b.size() - dataOffset, static_cast<std::size_t>((w * 3 + 3) / 4 * 4 * h));
            rgb24 = true;
        } else {
            ASSERT_EQ(bits, 8u);
            EXPECT_LE(colours, 256u);
            EXPECT_EQ(dataOffset, 54u + 4 * colours);
            if (compression == 0) {
                EXPECT_EQ(b.size() - dataOffset, static_cast<std::size_t>((w + 3) / 4 * 4 * h));
                pal8 = true;
            } else {
                ASSERT_EQ(compression, 1u);
                EXPECT_EQ(Le32(b, 34), b.size() - dataOffset);
                const int runs = CheckRle8(b, dataOffset, b.size(), w, h);
                EXPECT_GT(runs, h) << "the stream is broken or hardly compresses";
                rle8 = true;
            }
        }
    }
    EXPECT_TRUE(odd) << "no picture of odd width and height";
    EXPECT_TRUE(large) << "no picture larger than the picture area";
    EXPECT_TRUE(rgb24);
    EXPECT_TRUE(pal8);
    EXPECT_TRUE(rle8);
}

TEST(DemoMedia, SoundsArePcmWavesAndAFormatZeroMidiFile) {
    int waves = 0;
    int midis = 0;
    for (const auto& entry : fs::directory_iterator(DemoDir / "Dzwieki")) {
        SCOPED_TRACE(entry.path().string());
        const auto b = ReadAll(entry.path());
        ASSERT_GE(b.size(), 22u);
        if (entry.path().extension() == ".mid") {
            ASSERT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
            EXPECT_EQ(Be32(b, 4), 6u);
            EXPECT_EQ(b[8] << 8 | b[9], 0);   // format 0
            EXPECT_EQ(b[10] << 8 | b[11], 1); // one track
            ASSERT_EQ(std::string(b.begin() + 14, b.begin() + 18), "MTrk");
            EXPECT_EQ(Be32(b, 18), b.size() - 22);
            EXPECT_EQ(std::vector<std::uint8_t>(b.end() - 3, b.end()),
                      (std::vector<std::uint8_t>{0xFF, 0x2F, 0x00}));
            int noteOns = 0;
            for (std::size_t i = 22; i + 2 < b.size(); ++i) {
                noteOns += (b[i] == 0x90 && b[i + 2] > 0) ? 1 : 0;
            }
            EXPECT_GE(noteOns, 8);
            ++midis;
            continue;
        }
        ASSERT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(Le32(b, 4), b.size() - 8);
        EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(Le16(b, 20), 1u); // PCM
        EXPECT_EQ(Le16(b, 22), 1u); // mono
        EXPECT_EQ(Le32(b, 24), 22050u);
        EXPECT_EQ(Le16(b, 34), 16u);
        EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
        const double seconds = Le32(b, 40) / 2.0 / 22050.0;
        EXPECT_GE(seconds, 0.5);
        EXPECT_LE(seconds, 3.0);
        ++waves;
    }
    EXPECT_GE(waves, 3);
    EXPECT_EQ(midis, 1);
}

} // namespace
