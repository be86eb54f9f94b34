// Decoding of the two record layouts: short strings, integers, ignored bytes.
#include "scenario/Records.h"
#include "scenario/StepReader.h"
#include "tests/support/ScenarioWriter.h"

#include <gtest/gtest.h>

namespace {

using fixtures::EncodeKrok;
using fixtures::KrokBytes;
using fixtures::Step;
namespace offset = fixtures::offset;

scenario::TKrok Decode(const KrokBytes& bytes) {
    scenario::TKrokRec rec;
    rec.bytes = bytes;
    scenario::TKrok step;
    scenario::CopyStep(rec, step);
    return step;
}

TEST(StepRecord, EveryFieldComesFromItsOwnOffset) {
    Step s;
    s.nazwa = "Polana";
    s.wybory = {"Idź w lewo", "Idź w prawo", "Zostań", "Wróć"};
    s.opis = "Stoisz na polanie. Żółte liście szeleszczą.";
    s.bmp = "polana.bmp";
    s.wav = "wiatr.wav";
    s.targets = {7, -1, 2147483647, -2147483647 - 1};
    const scenario::TKrok step = Decode(EncodeKrok(s));

    EXPECT_EQ(step.Nazwa, "Polana");
    EXPECT_EQ(step.Wybor1, "Idź w lewo");
    EXPECT_EQ(step.Wybor2, "Idź w prawo");
    EXPECT_EQ(step.Wybor3, "Zostań");
    EXPECT_EQ(step.Wybor4, "Wróć");
    EXPECT_EQ(step.Opis, "Stoisz na polanie. Żółte liście szeleszczą.");
    EXPECT_EQ(step.Bmp, "polana.bmp");
    EXPECT_EQ(step.Wav, "wiatr.wav");
    EXPECT_EQ(step.Krok_Wybrany1, 7);
    EXPECT_EQ(step.Krok_Wybrany2, -1);
    EXPECT_EQ(step.Krok_Wybrany3, 2147483647);
    EXPECT_EQ(step.Krok_Wybrany4, -2147483647 - 1);
}

struct ClampCase {
    const char* field;
    std::size_t offset;
    std::size_t max;
    std::string scenario::TKrok::*member;
};

void PrintTo(const ClampCase& c, std::ostream* os) {
    *os << c.field << " at " << c.offset << ", " << c.max << " bytes";
}

class LengthByte255 : public testing::TestWithParam<ClampCase> {};

// A length byte beyond the field's maximum is taken as the maximum: the text is the first max bytes.
TEST_P(LengthByte255, YieldsTheFieldsMaximum) {
    const ClampCase c = GetParam();
    KrokBytes bytes{};
    bytes[c.offset] = 255;
    for (std::size_t k = 1; k <= c.max; ++k) {
        bytes[c.offset + k] = static_cast<std::uint8_t>('a' + k % 26);
    }
    const scenario::TKrok step = Decode(bytes);
    const std::string& text = step.*c.member;
    ASSERT_EQ(text.size(), c.max);
    EXPECT_EQ(text.front(), 'b');
    EXPECT_EQ(text.back(), static_cast<char>('a' + c.max % 26));
}

INSTANTIATE_TEST_SUITE_P(AllTextFields, LengthByte255,
                         testing::Values(ClampCase{"Nazwa", offset::Nazwa, 20, &scenario::TKrok::Nazwa},
                                         ClampCase{"Wybor1", offset::Wybor1, 45, &scenario::TKrok::Wybor1},
                                         ClampCase{"Wybor2", offset::Wybor2, 45, &scenario::TKrok::Wybor2},
                                         ClampCase{"Wybor3", offset::Wybor3, 45, &scenario::TKrok::Wybor3},
                                         ClampCase{"Wybor4", offset::Wybor4, 45, &scenario::TKrok::Wybor4},
                                         ClampCase{"Opis", offset::Opis, 250, &scenario::TKrok::Opis},
                                         ClampCase{"Bmp", offset::Bmp, 20, &scenario::TKrok::Bmp},
                                         ClampCase{"Wav", offset::Wav, 20, &scenario::TKrok::Wav}),
                         [](const auto& info) { return std::string(info.param.field); });

TEST(StepRecord, BytesBeyondTheTextAndTheFillerAreIgnored) {
    Step s;
    s.wybory = {"a", "bb", "", "d"};
    s.opis = "x";
    s.targets = {1, 2, 3, 4};
    KrokBytes clean = EncodeKrok(s);
    KrokBytes dirty = clean;
    // Garbage after every text and in the two filler bytes.
    dirty[offset::Nazwa + 1] = 'Q';
    dirty[offset::Wybor1 + 2] = 'Q';
    dirty[offset::Wybor3 + 1] = 'Q';
    dirty[offset::Opis + 100] = 'Q';
    dirty[offset::Bmp + 20] = 'Q';
    dirty[offset::Wav + 5] = 'Q';
    dirty[offset::Filler] = 0xFF;
    dirty[offset::Filler + 1] = 0xAA;

    const scenario::TKrok a = Decode(clean);
    const scenario::TKrok b = Decode(dirty);
    EXPECT_EQ(b.Nazwa, "");
    EXPECT_EQ(b.Wybor1, a.Wybor1);
    EXPECT_EQ(b.Wybor3, "");
    EXPECT_EQ(b.Opis, "x");
    EXPECT_EQ(b.Bmp, "");
    EXPECT_EQ(b.Wav, "");
    EXPECT_EQ(b.Krok_Wybrany1, 1);
    EXPECT_EQ(b.Krok_Wybrany4, 4);
}

TEST(StepRecord, IntegersAreLittleEndian) {
    KrokBytes bytes{};
    const std::uint8_t raw[4] = {0x78, 0x56, 0x34, 0x12};
    std::copy(raw, raw + 4, bytes.begin() + offset::Targets + 8);
    EXPECT_EQ(Decode(bytes).Krok_Wybrany3, 0x12345678);
}

TEST(TypeListRecord, TypeIsTheLastByteAndTheEntryIsKept) {
    fixtures::LisBytes bytes = fixtures::EncodeLis(5, "Wybory3");
    bytes[20] = 0xEE;
    const scenario::TLisRec rec = scenario::DecodeLisRec(bytes);
    EXPECT_EQ(rec.Typ, 5);
    EXPECT_EQ(rec.Wpis[0], 'W');
    EXPECT_EQ(rec.Wpis[20], 0xEE);
}

} // namespace
