// The scenario writer against the tests' own fixture writer and the player's reader, and the code page
// 1250 encoder against the decoding table.
#include "scenario/Cp1250.h"
#include "scenario/ScenarioWriter.h"
#include "scenario/StepReader.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

scenario::StepRecord Sample() {
    scenario::StepRecord s;
    s.Nazwa = scenario::Utf8ToCp1250("Młyn");
    s.Wybor = {scenario::Utf8ToCp1250("Idź"), "", scenario::Utf8ToCp1250("Wróć – szybko"),
               std::string(45, 'x')};
    s.Opis = std::string(250, 'o');
    s.Bmp = "mlyn.bmp";
    s.Wav = "woda.wav";
    s.Krok_Wybrany = {2, -1, 0x7FFFFFFF, std::numeric_limits<std::int32_t>::min()};
    s.Typ = 5;
    return s;
}

TEST(ScenarioWriter, EncodesTheStepRecordByteForByteAsTheFixtureWriter) {
    const scenario::StepRecord s = Sample();
    fixtures::Step f;
    f.nazwa = "Młyn";
    f.wybory = {"Idź", "", "Wróć – szybko", std::string(45, 'x')};
    f.opis = std::string(250, 'o');
    f.bmp = s.Bmp;
    f.wav = s.Wav;
    f.targets = s.Krok_Wybrany;
    const fixtures::KrokBytes expected = fixtures::EncodeKrok(f);
    const scenario::TKrokRec ours = scenario::EncodeStep(s);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), ours.bytes.begin()));
    EXPECT_EQ(scenario::EncodeLisRec(scenario::LisRecOf(s))[fixtures::offset::Typ], 5);
}

TEST(ScenarioWriter, ThePlayersReaderReadsBackWhatItWrote) {
    fixtures::TempDir dir;
    const std::string kro = (dir / "Gra.Kro").string();
    scenario::StepRecord zero;
    zero.Typ = 2;
    scenario::WriteScenario(kro, {zero, Sample()}, false);
    ASSERT_TRUE(fs::exists(dir / "Gra.lis"));

    scenario::AktKrok = std::make_unique<scenario::TKrok>();
    scenario::OpenScenario(kro);
    const scenario::TKrok& k = *scenario::AktKrok;
    EXPECT_EQ(k.Nazwa, "Młyn");
    EXPECT_EQ(k.Wybor3, "Wróć – szybko");
    EXPECT_EQ(k.Opis.size(), 250u);
    EXPECT_EQ(k.Krok_Wybrany3, 0x7FFFFFFF);
    EXPECT_EQ(k.Krok_Wybrany4, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(scenario::AktLis.Typ, 5);
    scenario::NrKroku = 0;
    scenario::GoToStep();
    EXPECT_EQ(scenario::AktLis.Typ, 2);
    scenario::CloseScenario();
}

TEST(ScenarioWriter, NeverReplacesWithoutBeingToldAndLeavesNothingHalfWritten) {
    fixtures::TempDir dir;
    const std::string kro = (dir / "Gra.Kro").string();
    fixtures::WriteBytes(dir / "Gra.lis", {1, 2, 3});
    EXPECT_THROW(scenario::WriteScenario(kro, {Sample(), Sample()}, false), scenario::WriteError);
    EXPECT_FALSE(fs::exists(kro));
    EXPECT_EQ(fs::file_size(dir / "Gra.lis"), 3u);

    scenario::StepRecord tooLong = Sample();
    tooLong.Opis += "!";
    EXPECT_THROW(scenario::WriteScenario(kro, {Sample(), tooLong}, true), std::length_error);
    // Only the type list left there before: no step file, no temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    scenario::WriteScenario(kro, {Sample(), Sample()}, true);
    EXPECT_EQ(fs::file_size(kro), 2 * scenario::KrokRecSize);
    EXPECT_EQ(fs::file_size(dir / "Gra.lis"), 2 * scenario::LisRecSize);
}

TEST(Cp1250Encoding, EveryByteComesBackAndWhatTheCodePageLacksIsReported) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(scenario::Utf8ToCp1250(scenario::Cp1250ToUtf8(byte)), byte) << b;
    }
    const struct {
        const char* utf8;
        char32_t character;
        std::size_t position;
    } refused[] = {
        {"ab→c", U'→', 2}, {"Żółw 😀", 0x1F600, 5}, {"a\xC3", 0xFFFD, 1}, {"\xED\xA0\x80", 0xFFFD, 0}};
    for (const auto& r : refused) {
        try {
            scenario::Utf8ToCp1250(r.utf8);
            ADD_FAILURE() << r.utf8;
        } catch (const scenario::Cp1250Error& e) {
            EXPECT_EQ(e.character(), r.character) << r.utf8;
            EXPECT_EQ(e.position(), r.position) << r.utf8;
        }
    }
}

} // namespace
