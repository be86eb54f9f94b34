// Which type list belongs to a step file.
#include "scenario/TypeListName.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct PairCase {
    const char* name;
    const char* kro;
    const char* lis;
};

void PrintTo(const PairCase& c, std::ostream* os) {
    *os << c.kro << " pairs with " << c.lis;
}

class TypeListNameTest : public testing::TestWithParam<PairCase> {};

TEST_P(TypeListNameTest, CutsTheFileNameAtItsFirstDot) {
    EXPECT_EQ(scenario::TypeListName(GetParam().kro), GetParam().lis);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TypeListNameTest,
    testing::Values(PairCase{"Plain", "/home/ala/Gry/las.Kro", "/home/ala/Gry/las.lis"},
                    PairCase{"TwoDots", "/home/ala/Gry/las.v2.Kro", "/home/ala/Gry/las.lis"},
                    // A dot in a folder name never redirects the lookup.
                    PairCase{"DotInTheFolder", "/home/ala/Moje.Gry/las.Kro", "/home/ala/Moje.Gry/las.lis"},
                    PairCase{"DotOnlyInTheFolder", "/home/ala/Moje.Gry/las", "/home/ala/Moje.Gry/las.lis"},
                    PairCase{"NoDot", "/home/ala/Gry/las", "/home/ala/Gry/las.lis"},
                    PairCase{"BareName", "las.Kro", "las.lis"},
                    PairCase{"HiddenFile", "/home/ala/.ukryte", "/home/ala/.lis"},
                    PairCase{"InTheRoot", "/zamek.KRO", "/zamek.lis"}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder holding `present`, asked for the type list of `kro`: the file found.
struct LookupCase {
    const char* name;
    std::vector<const char*> present;
    const char* kro;
    const char* found;
};

void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << c.name << ": " << c.kro << " finds " << c.found;
}

class TypeListLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(TypeListLookup, PrefersTheExactNameThenAnyLetterCase) {
    const fixtures::TempDir dir;
    for (const char* name : GetParam().present) {
        fixtures::WriteBytes(dir / name, {0});
    }
    EXPECT_EQ(scenario::FindTypeList((dir / GetParam().kro).string()), (dir / GetParam().found).string());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, TypeListLookup,
    testing::Values(
        LookupCase{"UpperCaseCopy", {"ZAMEK.KRO", "ZAMEK.LIS"}, "ZAMEK.KRO", "ZAMEK.LIS"},
        LookupCase{"ExactWins", {"ZAMEK.LIS", "ZAMEK.lis", "ZAMEK.Lis"}, "ZAMEK.KRO", "ZAMEK.lis"},
        LookupCase{"SmallestOfSeveral", {"ZAMEK.Lis", "ZAMEK.LIS"}, "ZAMEK.KRO", "ZAMEK.LIS"},
        LookupCase{"PolishLetters", {"Żółw.LIS"}, "ŻÓŁW.KRO", "Żółw.LIS"},
        LookupCase{"OtherNameIsNoMatch", {"ZAMKI.LIS", "ZAMEK.LIS.bak"}, "ZAMEK.KRO", "ZAMEK.lis"},
        LookupCase{"NothingThere", {}, "las.Kro", "las.lis"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TypeListLookupPaths, ARelativeNameIsLookedUpInTheCurrentFolder) {
    const fixtures::TempDir dir;
    fixtures::WriteBytes(dir / "LAS.LIS", {0});
    const fixtures::CurrentDirectory inside(dir.path());
    EXPECT_EQ(scenario::FindTypeList("LAS.KRO"), "LAS.LIS");
    EXPECT_EQ(scenario::FindTypeList("brak.KRO"), "brak.lis");
}

} // namespace
