// The map's layered layout: rows by the fewest clicks from the start, nodes never overlapping, the same
// picture for the same graph, and an edited graph's layout that leaves the rest of the map in place.
#include "kit/Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using kit::LayoutGraph;
using kit::MapLayout;

// A story of `steps` nodes with four choices a step, three forward and one back (the benchmark's shape),
// and widths that differ from node to node.
LayoutGraph Story(int steps) {
    LayoutGraph g;
    for (int i = 0; i < steps; ++i) {
        g.nodes.push_back({i + 1, 80.0 + (i * 37) % 150, 36.0 + (i % 5 == 0 ? 13 : 0)});
    }
    g.start = 0;
    for (int i = 0; i + 1 < steps; ++i) {
        const auto h = static_cast<std::uint32_t>(static_cast<std::uint64_t>(i + 1) * 2654435761u);
        const int targets[4] = {i + 1, i + 2 + static_cast<int>(h % 3),
                                i + 3 + static_cast<int>((h >> 8) % 7),
                                std::max(0, i - 1 - static_cast<int>((h >> 16) % 8))};
        for (int k = 0; k < 4; ++k) {
            g.edges.push_back({i, std::min(targets[k], steps - 1), k + 1});
        }
    }
    return g;
}

struct Box {
    double left, top, right, bottom;
};

Box BoxOf(const LayoutGraph& g, const MapLayout& l, std::size_t v) {
    const auto& c = l.nodes[v].centre;
    return {c.x - g.nodes[v].width / 2, c.y - g.nodes[v].height / 2, c.x + g.nodes[v].width / 2,
            c.y + g.nodes[v].height / 2};
}

// Every node inside the extent, no two boxes overlapping, and every route from the border of its source's
// box to the border of its target's.
void ExpectTidy(const LayoutGraph& g, const MapLayout& l) {
    ASSERT_EQ(l.nodes.size(), g.nodes.size());
    ASSERT_EQ(l.edges.size(), g.edges.size());
    std::vector<std::size_t> order(g.nodes.size());
    for (std::size_t v = 0; v < order.size(); ++v) {
        order[v] = v;
        const Box b = BoxOf(g, l, v);
        EXPECT_TRUE(b.left >= -1e-9 && b.top >= -1e-9 && b.right <= l.width + 1e-9 &&
                    b.bottom <= l.height + 1e-9)
            << "node " << v << " outside " << l.width << " x " << l.height;
    }
    // Sweep by left border: only boxes that start before this one ends can overlap it.
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return BoxOf(g, l, a).left < BoxOf(g, l, b).left; });
    int overlaps = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Box a = BoxOf(g, l, order[i]);
        for (std::size_t j = i + 1; j < order.size() && BoxOf(g, l, order[j]).left < a.right; ++j) {
            const Box b = BoxOf(g, l, order[j]);
            if (b.top < a.bottom && a.top < b.bottom && overlaps++ < 5) {
                ADD_FAILURE() << "nodes " << order[i] << " and " << order[j] << " overlap";
            }
        }
    }
    const auto onBorder = [](const Box& b, kit::LayoutPoint p) {
        constexpr double e = 1e-6;
        const bool inside =
            p.x >= b.left - e && p.x <= b.right + e && p.y >= b.top - e && p.y <= b.bottom + e;
        const bool edge = std::abs(p.x - b.left) < e || std::abs(p.x - b.right) < e ||
                          std::abs(p.y - b.top) < e || std::abs(p.y - b.bottom) < e;
        return inside && edge;
    };
    for (std::size_t i = 0; i < g.edges.size(); ++i) {
        const auto& e = g.edges[i];
        const auto& route = l.edges[i];
        if (e.from == e.to) {
            EXPECT_TRUE(route.empty());
            continue;
        }
        ASSERT_GE(route.size(), 2u);
        ASSERT_LE(route.size(), 3u);
        EXPECT_TRUE(onBorder(BoxOf(g, l, static_cast<std::size_t>(e.from)), route.front())) << "edge " << i;
        EXPECT_TRUE(onBorder(BoxOf(g, l, static_cast<std::size_t>(e.to)), route.back())) << "edge " << i;
    }
}

struct RankCase {
    std::string name;
    int nodes;
    std::vector<std::pair<int, int>> edges;
    int start;
    std::vector<int> ranks;
    std::vector<bool> reached;
};

void PrintTo(const RankCase& c, std::ostream* out) {
    *out << c.name;
}

class Ranks : public testing::TestWithParam<RankCase> {};

TEST_P(Ranks, FollowTheFewestClicksFromTheStart) {
    const RankCase& c = GetParam();
    LayoutGraph g;
    for (int v = 0; v < c.nodes; ++v) {
        g.nodes.push_back({v, 60, 36});
    }
    for (const auto& [from, to] : c.edges) {
        g.edges.push_back({from, to, static_cast<int>(g.edges.size() % 4) + 1});
    }
    g.start = c.start;
    const MapLayout l = kit::LayOut(g);
    ExpectTidy(g, l);
    double reachedRight = -1; // no node reached
    for (int v = 0; v < c.nodes; ++v) {
        const auto& p = l.nodes[static_cast<std::size_t>(v)];
        EXPECT_EQ(p.rank, c.ranks[static_cast<std::size_t>(v)]) << "node " << v;
        EXPECT_EQ(p.reached, c.reached[static_cast<std::size_t>(v)]) << "node " << v;
        EXPECT_EQ(p.key, v);
        EXPECT_DOUBLE_EQ(p.centre.y, l.rowPitch * (p.rank + 0.5));
        if (p.reached) {
            reachedRight = std::max(reachedRight, p.centre.x + 30);
        }
    }
    for (int v = 0; v < c.nodes; ++v) {
        const auto& p = l.nodes[static_cast<std::size_t>(v)];
        if (!p.reached && reachedRight >= 0) {
            EXPECT_GT(p.centre.x - 30, reachedRight)
                << "node " << v << " nobody reaches stands among the others";
        }
    }
}

const bool Y = true;
const bool N = false;

INSTANTIATE_TEST_SUITE_P(
    Graphs, Ranks,
    testing::Values(
        RankCase{"Road", 3, {{0, 1}, {1, 2}}, 0, {0, 1, 2}, {Y, Y, Y}},
        RankCase{"BackEdgePushesNothing", 3, {{0, 1}, {1, 2}, {2, 0}, {2, 1}}, 0, {0, 1, 2}, {Y, Y, Y}},
        RankCase{"ShortcutPullsUp", 4, {{0, 1}, {1, 2}, {2, 3}, {0, 3}}, 0, {0, 1, 2, 1}, {Y, Y, Y, Y}},
        RankCase{"Diamond", 4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}}, 0, {0, 1, 1, 2}, {Y, Y, Y, Y}},
        RankCase{"StartInTheMiddle", 4, {{0, 1}, {1, 2}, {2, 3}, {3, 1}}, 2, {0, 2, 0, 1}, {N, Y, Y, Y}},
        RankCase{"UnreachedFromTheirOwnRoots",
                 6,
                 {{0, 1}, {3, 1}, {3, 4}, {5, 3}, {2, 2}},
                 0,
                 {0, 1, 0, 1, 2, 0},
                 {Y, Y, N, N, N, N}},
        RankCase{"UnreachedCycle", 4, {{0, 1}, {2, 3}, {3, 2}, {3, 0}}, 0, {0, 1, 0, 1}, {Y, Y, N, N}},
        RankCase{"NoStart", 3, {{1, 2}, {2, 0}}, -1, {2, 0, 1}, {N, N, N}},
        RankCase{"Empty", 0, {}, -1, {}, {}}),
    [](const testing::TestParamInfo<RankCase>& info) { return info.param.name; });

TEST(Layout, RanksOfAStoryFollowItsEdgesAndNothingOverlaps) {
    for (const int steps : {1, 2, 30, 400}) {
        SCOPED_TRACE("steps " + std::to_string(steps));
        const LayoutGraph g = Story(steps);
        const MapLayout l = kit::LayOut(g);
        ExpectTidy(g, l);
        for (const auto& e : g.edges) {
            const auto& from = l.nodes[static_cast<std::size_t>(e.from)];
            const auto& to = l.nodes[static_cast<std::size_t>(e.to)];
            EXPECT_LE(to.rank, from.rank + 1) << e.from << " -> " << e.to;
            EXPECT_TRUE(to.reached);
        }
    }
}

TEST(Layout, TheSameGraphGivesTheSamePicture) {
    const LayoutGraph g = Story(500);
    const MapLayout a = kit::LayOut(g);
    const LayoutGraph copy = g;
    const MapLayout b = kit::LayOut(copy);
    ASSERT_EQ(a.nodes.size(), b.nodes.size());
    for (std::size_t v = 0; v < a.nodes.size(); ++v) {
        EXPECT_EQ(a.nodes[v].centre.x, b.nodes[v].centre.x) << v;
        EXPECT_EQ(a.nodes[v].centre.y, b.nodes[v].centre.y) << v;
    }
    for (std::size_t i = 0; i < a.edges.size(); ++i) {
        ASSERT_EQ(a.edges[i].size(), b.edges[i].size()) << i;
        for (std::size_t k = 0; k < a.edges[i].size(); ++k) {
            EXPECT_EQ(a.edges[i][k].x, b.edges[i][k].x);
            EXPECT_EQ(a.edges[i][k].y, b.edges[i][k].y);
        }
    }
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
}

TEST(Layout, RejectsEdgesOutsideTheNodes) {
    LayoutGraph g = Story(3);
    g.edges.push_back({0, 3, 1});
    EXPECT_THROW(kit::LayOut(g), std::invalid_argument);
    g = Story(3);
    g.start = 3;
    EXPECT_THROW(kit::LayOut(g), std::invalid_argument);
    g = Story(3);
    g.nodes[1].width = NAN;
    EXPECT_THROW(kit::LayOut(g), std::invalid_argument);
}

// How many of the nodes both layouts have (by key) stand elsewhere in the second.
int Moved(const MapLayout& before, const MapLayout& after) {
    int moved = 0;
    for (const auto& p : after.nodes) {
        for (const auto& q : before.nodes) {
            if (p.key == q.key && (p.centre.x != q.centre.x || p.centre.y != q.centre.y)) {
                ++moved;
            }
        }
    }
    return moved;
}

TEST(LayoutAfterAnEdit, MovesAtMostATenthOfTheOtherNodes) {
    const LayoutGraph g = Story(200);
    const MapLayout before = kit::LayOut(g);
    const int others = static_cast<int>(g.nodes.size());

    // Unchanged: nothing moves; from nothing: the whole layout.
    EXPECT_EQ(Moved(before, kit::LayOutAfter(g, before)), 0);
    EXPECT_EQ(Moved(before, kit::LayOutAfter(g, MapLayout{})), 0);

    // One step more, between two steps of the middle.
    LayoutGraph added = g;
    added.nodes.push_back({1000, 150, 36});
    const auto fresh = static_cast<std::int32_t>(added.nodes.size() - 1);
    added.edges.push_back({80, fresh, 4});
    added.edges.push_back({fresh, 85, 1});
    const MapLayout withStep = kit::LayOutAfter(added, before);
    ExpectTidy(added, withStep);
    EXPECT_LE(Moved(before, withStep), others / 10);
    EXPECT_EQ(withStep.nodes[static_cast<std::size_t>(fresh)].rank, withStep.nodes[80].rank + 1);
    EXPECT_TRUE(withStep.nodes[static_cast<std::size_t>(fresh)].reached);

    // One link more, from near the start to near the end.
    LayoutGraph linked = g;
    linked.edges.push_back({3, 190, 4});
    const MapLayout withLink = kit::LayOutAfter(linked, before);
    ExpectTidy(linked, withLink);
    EXPECT_LE(Moved(before, withLink), others / 10);

    // A step gone and a node grown: the rest stays, and still nothing overlaps.
    LayoutGraph edited = g;
    edited.nodes.erase(edited.nodes.begin() + 150);
    std::erase_if(edited.edges, [](const auto& e) { return e.from == 150 || e.to == 150; });
    for (auto& e : edited.edges) {
        e.from -= e.from > 150 ? 1 : 0;
        e.to -= e.to > 150 ? 1 : 0;
    }
    edited.nodes[40].width += 120;
    const MapLayout afterEdit = kit::LayOutAfter(edited, before);
    ExpectTidy(edited, afterEdit);
    EXPECT_LE(Moved(before, afterEdit), others / 10);

    // A new step nothing leads to still gets a place.
    LayoutGraph orphan = g;
    orphan.nodes.push_back({2000, 100, 36});
    orphan.edges.push_back({static_cast<std::int32_t>(orphan.nodes.size() - 1), 0, 1});
    const MapLayout withOrphan = kit::LayOutAfter(orphan, before);
    ExpectTidy(orphan, withOrphan);
    EXPECT_EQ(Moved(before, withOrphan), 0);
    EXPECT_FALSE(withOrphan.nodes.back().reached);
}

} // namespace
