// Which type list belongs to a step file.
#include "scenario/TypeListName.h"

#include <gtest/gtest.h>

namespace {

struct PairCase {
    const char* kro;
    const char* lis;
};

class TypeListNameTest : public testing::TestWithParam<PairCase> {};

TEST_P(TypeListNameTest, CutsTheFileNameAtItsFirstDot) {
    EXPECT_EQ(scenario::TypeListName(GetParam().kro), GetParam().lis);
}

INSTANTIATE_TEST_SUITE_P(Paths, TypeListNameTest,
                         testing::Values(PairCase{"/home/ala/Gry/las.Kro", "/home/ala/Gry/las.lis"},
                                         PairCase{"/home/ala/Gry/las.v2.Kro", "/home/ala/Gry/las.lis"},
                                         // A dot in a folder name never redirects the lookup.
                                         PairCase{"/home/ala/Moje.Gry/las.Kro", "/home/ala/Moje.Gry/las.lis"},
                                         PairCase{"/home/ala/Moje.Gry/las", "/home/ala/Moje.Gry/las.lis"},
                                         PairCase{"/home/ala/Gry/las", "/home/ala/Gry/las.lis"},
                                         PairCase{"las.Kro", "las.lis"},
                                         PairCase{"/home/ala/.ukryte", "/home/ala/.lis"},
                                         PairCase{"/zamek.KRO", "/zamek.lis"}));

} // namespace
