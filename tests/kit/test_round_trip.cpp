// unpack then build gives back every record as the player reads it: the demo, and every scenario of the
// fuzz corpus. Compared through the player's own decoding (CopyStep), independent of the toolkit's.
#include "kit/Cli.h"
#include "scenario/StepReader.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Read {
    std::vector<scenario::TKrok> steps;
    std::vector<std::uint8_t> types; // of the records both files hold
};

Read Decode(const std::vector<std::uint8_t>& kro, const std::vector<std::uint8_t>& lis) {
    Read r;
    for (std::size_t at = 0; at + 516 <= kro.size(); at += 516) {
        scenario::TKrokRec rec;
        std::copy_n(kro.begin() + static_cast<std::ptrdiff_t>(at), 516, rec.bytes.begin());
        scenario::CopyStep(rec, r.steps.emplace_back());
    }
    for (std::size_t at = 0; at + 22 <= lis.size() && r.types.size() < r.steps.size(); at += 22) {
        r.types.push_back(lis[at + 21]);
    }
    return r;
}

// Unpacks `dir`/f.Kro and builds the source into `dir`/out; returns why they differ, empty when they do not.
std::string RoundTrip(const fs::path& dir, const std::string& stem) {
    std::ostringstream out;
    std::ostringstream err;
    const fs::path kro = dir / (stem + ".Kro");
    if (kit::RunKit({"unpack", kro.string(), "-o", (dir / "u.txt").string()}, out, err) != 0 ||
        kit::RunKit({"build", (dir / "u.txt").string(), "-o", (dir / "out").string()}, out, err) != 0) {
        return "unpack or build failed: " + err.str();
    }
    const Read before = Decode(ReadAll(kro), ReadAll(dir / (stem + ".lis")));
    const Read after = Decode(ReadAll(dir / "out" / (stem + ".Kro")), ReadAll(dir / "out" / (stem + ".lis")));
    if (after.steps.size() != before.steps.size()) {
        return "record count " + std::to_string(before.steps.size()) + " -> " +
               std::to_string(after.steps.size());
    }
    for (std::size_t n = 0; n < before.steps.size(); ++n) {
        const scenario::TKrok& a = before.steps[n];
        const scenario::TKrok& b = after.steps[n];
        const auto fields = [](const scenario::TKrok& k) {
            return std::tuple(k.Nazwa, k.Wybor1, k.Wybor2, k.Wybor3, k.Wybor4, k.Opis, k.Bmp, k.Wav,
                              k.Krok_Wybrany1, k.Krok_Wybrany2, k.Krok_Wybrany3, k.Krok_Wybrany4);
        };
        if (fields(a) != fields(b)) {
            return "record " + std::to_string(n) + " differs";
        }
        if (n < before.types.size() && before.types[n] != after.types.at(n)) {
            return "type of record " + std::to_string(n) + " differs";
        }
    }
    return {};
}

TEST(RoundTrip, TheDemoComesBackWholeAndByteForByte) {
    fixtures::TempDir dir;
    for (const char* ext : {".Kro", ".lis"}) {
        fs::copy_file(fs::path(PRZYGODA_DEMO_DIR) / (std::string("Przygoda") + ext),
                      dir / (std::string("Przygoda") + ext));
    }
    fs::create_directory(dir / "out");
    EXPECT_EQ(RoundTrip(dir.path(), "Przygoda"), "");
    // The demo is built by the same writer: nothing unread to lose, so the files are identical.
    EXPECT_EQ(ReadAll(dir / "out" / "Przygoda.Kro"), ReadAll(dir / "Przygoda.Kro"));
    EXPECT_EQ(ReadAll(dir / "out" / "Przygoda.lis"), ReadAll(dir / "Przygoda.lis"));
}

TEST(RoundTrip, ATextLongerThanItsFieldIsWrittenAsThePlayerShowsItWithAComment) {
    fixtures::TempDir dir;
    fixtures::Step step;
    step.opis = std::string(250, 'o');
    fixtures::KrokBytes krok = fixtures::EncodeKrok(step);
    krok[fixtures::offset::Opis] = 255;
    fixtures::WriteKroRecords(dir / "f.Kro", {krok, krok});
    fixtures::WriteLisRecords(dir / "f.lis", {fixtures::EncodeLis(1), fixtures::EncodeLis(2)});
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(kit::RunKit({"unpack", (dir / "f.Kro").string()}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find(
                  "# opis: the file gives a length of 255, clamped to 250 as the player shows it\nkrok 1"),
              std::string::npos)
        << out.str();
    fs::create_directory(dir / "out");
    EXPECT_EQ(RoundTrip(dir.path(), "f"), "");
}

TEST(RoundTrip, EveryScenarioOfTheFuzzCorpusComesBack) {
    int pairs = 0;
    for (const auto& entry : fs::directory_iterator(PRZYGODA_SCENARIO_CORPUS)) {
        // As fuzz_scenario reads it: two bytes give the step file's length in units of 4 bytes, then the
        // step file, then the type list.
        const std::vector<std::uint8_t> data = ReadAll(entry.path());
        if (data.size() < 2) {
            continue;
        }
        const std::size_t split =
            std::min<std::size_t>(data.size() - 2, (std::size_t{data[0]} << 8 | data[1]) * 4);
        if (split < 516) {
            continue; // no whole record: nothing to unpack
        }
        fixtures::TempDir dir;
        fixtures::WriteBytes(dir / "f.Kro",
                             {data.begin() + 2, data.begin() + 2 + static_cast<std::ptrdiff_t>(split)});
        fixtures::WriteBytes(dir / "f.lis",
                             {data.begin() + 2 + static_cast<std::ptrdiff_t>(split), data.end()});
        fs::create_directory(dir / "out");
        EXPECT_EQ(RoundTrip(dir.path(), "f"), "") << entry.path();
        ++pairs;
    }
    EXPECT_GT(pairs, 20);
}

} // namespace
