// The shortest way to a step over the game's states: a step and the buttons open on it. Each case is a
// small story of (type, targets) records; the way is the (record, button) clicks from the start.
#include "kit/Graph.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Click = kit::StoryGraph::Click;

struct Record {
    std::uint8_t typ;
    std::array<std::int32_t, 4> targets;
};

struct WayCase {
    const char* name;
    std::vector<Record> records; // record 0 first; play starts at record 1
    std::int64_t to;
    std::optional<std::vector<Click>> way;
};

void PrintTo(const WayCase& c, std::ostream* out) {
    *out << c.name;
}

// Types: 0 and 3 open button 1, 1 opens four, 4 two, 5 three, 2 ends; any other keeps the buttons.
const WayCase Cases[] = {
    {"TheStartItselfTakesNoClick", {{0, {}}, {1, {2}}, {2, {}}}, 1, std::vector<Click>{}},
    {"OneClick", {{0, {}}, {1, {2}}, {2, {}}}, 2, std::vector<Click>{{1, 1}}},
    {"TheStartOpensButton1AloneWhateverItsType", {{0, {}}, {1, {0, 2}}, {2, {}}}, 2, std::nullopt},
    {"FewestClicksWin",
     {{0, {}}, {0, {2}}, {1, {3, 4}}, {0, {4}}, {2, {}}},
     4,
     std::vector<Click>{{1, 1}, {2, 2}}},
    {"LowerButtonsFirstAmongWaysAsShort",
     {{0, {}}, {0, {2}}, {1, {3, 4, 3, 4}}, {0, {5}}, {0, {5}}, {2, {}}},
     5,
     std::vector<Click>{{1, 1}, {2, 1}, {3, 1}}},
    {"AnEndingIsReachedButNotPassed", {{0, {}}, {0, {2}}, {2, {3}}, {1, {}}}, 3, std::nullopt},
    {"AnUnreadableTargetLeadsNowhere", {{0, {}}, {1, {9}}, {2, {}}}, 2, std::nullopt},
    // Type 7 keeps the buttons it is reached with: two from a type 4 step, so button 2 is open there.
    {"ATypeOutsideTheTableCarriesTheButtonsOver",
     {{0, {}}, {0, {2}}, {4, {0, 3}}, {7, {0, 4}}, {2, {}}},
     4,
     std::vector<Click>{{1, 1}, {2, 2}, {3, 2}}},
    // Reached first with one button only, a type 7 step cannot offer its second; the way round through a
    // type 1 step (four buttons) brings it back with them, and is longer.
    {"TheButtonsCarriedOverDecideTheWay",
     {{0, {}}, {0, {2}}, {0, {3}}, {7, {4, 5}}, {1, {3}}, {2, {}}},
     5,
     std::vector<Click>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {3, 2}}},
    {"ANodeTheCarriedButtonsNeverOpenIsOutOfReach",
     {{0, {}}, {0, {2}}, {7, {2, 3}}, {2, {}}},
     3,
     std::nullopt},
};

class ShortestWay : public testing::TestWithParam<WayCase> {};

TEST_P(ShortestWay, FollowsTheOpenButtons) {
    const WayCase& c = GetParam();
    kit::StoryGraph graph;
    for (const Record& r : c.records) {
        graph.Add(r.targets, r.typ);
    }
    graph.Analyse();
    const auto way = graph.ShortestWay(c.to);
    ASSERT_EQ(way.has_value(), c.way.has_value());
    if (way) {
        EXPECT_EQ(*way, *c.way);
    }
    // A way there and the walk's reach agree.
    EXPECT_EQ(way.has_value(), graph.Reachable(c.to));
}

INSTANTIATE_TEST_SUITE_P(Stories, ShortestWay, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<WayCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
