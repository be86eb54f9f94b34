#include "kit/Layout.h"

#include "kit/LayoutRows.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <queue>
#include <span>
#include <stdexcept>
#include <utility>

namespace kit {

using layout::Index;
using layout::Lists;
using layout::ListsOf;
using layout::PlaceRows;
using layout::Rows;

namespace {

void CheckGraph(const LayoutGraph& graph) {
    const auto n = static_cast<Index>(graph.nodes.size());
    if (graph.nodes.size() > static_cast<std::size_t>(INT32_MAX / 2) || graph.start < -1 ||
        graph.start >= n) {
        throw std::invalid_argument("LayoutGraph: start outside the nodes");
    }
    for (const LayoutGraph::Node& node : graph.nodes) {
        if (!(node.width >= 0 && node.height >= 0 && std::isfinite(node.width) &&
              std::isfinite(node.height))) {
            throw std::invalid_argument("LayoutGraph: a node's size is not a size");
        }
    }
    for (const LayoutGraph::Edge& e : graph.edges) {
        if (e.from < 0 || e.from >= n || e.to < 0 || e.to >= n) {
            throw std::invalid_argument("LayoutGraph: an edge outside the nodes");
        }
    }
}

// The graph's edges from each node in choice order, and into each node; loops left out.
struct Adjacency {
    Lists out;
    Lists in;
};

Adjacency Adjacent(const LayoutGraph& graph) {
    std::vector<std::size_t> order(graph.edges.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const auto& ea = graph.edges[a];
        const auto& eb = graph.edges[b];
        return ea.from != eb.from ? ea.from < eb.from : ea.choice < eb.choice;
    });
    std::vector<std::pair<Index, Index>> out;
    std::vector<std::pair<Index, Index>> in;
    out.reserve(order.size());
    in.reserve(order.size());
    for (const std::size_t i : order) {
        const auto& e = graph.edges[i];
        if (e.from != e.to) {
            out.emplace_back(e.from, e.to);
            in.emplace_back(e.to, e.from);
        }
    }
    return {ListsOf(graph.nodes.size(), out), ListsOf(graph.nodes.size(), in)};
}

// Breadth-first from the nodes queued from `head` on: an unranked node gets one more than the node that
// first leads to it, and joins the queue, which so ends up holding the nodes in the order they were ranked.
void Walk(const Lists& out, std::vector<Index>& queue, std::size_t head, std::vector<Index>& rank) {
    for (; head < queue.size(); ++head) {
        const Index v = queue[head];
        for (const Index w : std::span(out.begin(v), out.end(v))) {
            if (rank[static_cast<std::size_t>(w)] < 0) {
                rank[static_cast<std::size_t>(w)] = rank[static_cast<std::size_t>(v)] + 1;
                queue.push_back(w);
            }
        }
    }
}

// Ranks the nodes no walk has reached yet (rank < 0): first from those that no other unranked node
// leads to, then, for what is left (cycles), from the lowest index left, until every node has a rank.
void RankTheRest(const Adjacency& adjacent, std::vector<Index>& queue, std::vector<Index>& rank) {
    const std::size_t n = rank.size();
    const std::size_t head = queue.size();
    for (std::size_t v = 0; v < n; ++v) {
        if (rank[v] >= 0) {
            continue;
        }
        const auto v32 = static_cast<Index>(v);
        const bool led = std::any_of(adjacent.in.begin(v32), adjacent.in.end(v32),
                                     [&](Index u) { return rank[static_cast<std::size_t>(u)] < 0; });
        if (!led) {
            queue.push_back(v32);
        }
    }
    for (const Index v : std::span(queue.begin() + static_cast<std::ptrdiff_t>(head), queue.end())) {
        rank[static_cast<std::size_t>(v)] = 0;
    }
    Walk(adjacent.out, queue, head, rank);
    for (std::size_t v = 0; v < n; ++v) {
        if (rank[v] < 0) {
            rank[v] = 0;
            const std::size_t from = queue.size();
            queue.push_back(static_cast<Index>(v));
            Walk(adjacent.out, queue, from, rank);
        }
    }
}

// The rows of one area, each in the order its nodes were ranked.
Rows RowsOf(std::span<const Index> nodes, const std::vector<Index>& rank) {
    Rows rows;
    for (const Index v : nodes) {
        const auto r = static_cast<std::size_t>(rank[static_cast<std::size_t>(v)]);
        if (rows.size() <= r) {
            rows.resize(r + 1);
        }
        rows[r].push_back(v);
    }
    return rows;
}

// Where the segment from a box's centre towards `to` leaves the box.
LayoutPoint Leave(LayoutPoint centre, double width, double height, LayoutPoint to) {
    const double dx = to.x - centre.x;
    const double dy = to.y - centre.y;
    double t = 1;
    if (dx != 0) {
        t = std::min(t, width / 2 / std::abs(dx));
    }
    if (dy != 0) {
        t = std::min(t, height / 2 / std::abs(dy));
    }
    return {centre.x + t * dx, centre.y + t * dy};
}

// Routes, the extent and the row pitch from the ranks, centres and sizes.
void Finish(const LayoutGraph& graph, MapLayout& layout, const LayoutOptions& options) {
    double width = 0;
    std::int32_t lastRank = -1;
    for (std::size_t v = 0; v < graph.nodes.size(); ++v) {
        MapLayout::Place& p = layout.nodes[v];
        p.key = graph.nodes[v].key;
        p.centre.y = layout.rowPitch * (p.rank + 0.5);
        width = std::max(width, p.centre.x + graph.nodes[v].width / 2);
        lastRank = std::max(lastRank, p.rank);
    }
    layout.width = width;
    layout.height = layout.rowPitch * (lastRank + 1);
    layout.edges.assign(graph.edges.size(), {});
    for (std::size_t i = 0; i < graph.edges.size(); ++i) {
        const LayoutGraph::Edge& e = graph.edges[i];
        if (e.from == e.to) {
            continue;
        }
        const auto& a = layout.nodes[static_cast<std::size_t>(e.from)];
        const auto& b = layout.nodes[static_cast<std::size_t>(e.to)];
        const auto& na = graph.nodes[static_cast<std::size_t>(e.from)];
        const auto& nb = graph.nodes[static_cast<std::size_t>(e.to)];
        auto& route = layout.edges[i];
        if (b.rank == a.rank + 1) {
            route = {Leave(a.centre, na.width, na.height, b.centre),
                     Leave(b.centre, nb.width, nb.height, a.centre)};
            continue;
        }
        // Back up, along the row, or (after edits) down past a row: one bend, in the gap above a row or
        // out to the right of both ends, further for a longer way.
        LayoutPoint bend;
        if (a.rank == b.rank) {
            bend = {(a.centre.x + b.centre.x) / 2, a.centre.y - layout.rowPitch / 2};
        } else {
            const double rows = std::abs(b.centre.y - a.centre.y) / layout.rowPitch;
            bend = {std::max(a.centre.x + na.width / 2, b.centre.x + nb.width / 2) + options.nodeGap * rows,
                    (a.centre.y + b.centre.y) / 2};
        }
        route = {Leave(a.centre, na.width, na.height, bend), bend,
                 Leave(b.centre, nb.width, nb.height, bend)};
    }
}

double RowPitch(const LayoutGraph& graph, const LayoutOptions& options) {
    double tallest = 0;
    for (const LayoutGraph::Node& node : graph.nodes) {
        tallest = std::max(tallest, node.height);
    }
    return tallest + options.rowGap;
}

} // namespace

MapLayout LayOut(const LayoutGraph& graph, const LayoutOptions& options) {
    CheckGraph(graph);
    const std::size_t n = graph.nodes.size();
    const Adjacency adjacent = Adjacent(graph);

    std::vector<Index> rank(n, -1);
    std::vector<Index> queue;
    queue.reserve(n);
    if (graph.start >= 0) {
        rank[static_cast<std::size_t>(graph.start)] = 0;
        queue.push_back(graph.start);
        Walk(adjacent.out, queue, 0, rank);
    }
    const std::size_t reachedCount = queue.size();
    std::vector<bool> reached(n, false);
    for (std::size_t i = 0; i < reachedCount; ++i) {
        reached[static_cast<std::size_t>(queue[i])] = true;
    }
    RankTheRest(adjacent, queue, rank);

    const std::span<const Index> ranked(queue);
    const std::span<const Index> parts[] = {ranked.first(reachedCount), ranked.subspan(reachedCount)};
    std::vector<Rows> areas;
    for (const auto part : parts) {
        areas.push_back(RowsOf(part, rank));
    }
    const std::vector<double> x = PlaceRows(graph, adjacent.out, rank, reached, options, areas);
    MapLayout layout;
    layout.nodes.resize(n);
    layout.rowPitch = RowPitch(graph, options);
    double offset = 0;
    for (const auto part : parts) {
        if (part.empty()) {
            continue;
        }
        double right = 0;
        for (const Index v : part) {
            const auto vi = static_cast<std::size_t>(v);
            layout.nodes[vi].centre.x = x[vi] + offset;
            layout.nodes[vi].rank = rank[vi];
            layout.nodes[vi].reached = reached[vi];
            right = std::max(right, layout.nodes[vi].centre.x + graph.nodes[vi].width / 2);
        }
        offset = right + options.areaGap;
    }
    Finish(graph, layout, options);
    return layout;
}

MapLayout LayOutAfter(const LayoutGraph& graph, const MapLayout& previous, const LayoutOptions& options) {
    CheckGraph(graph);
    const std::size_t n = graph.nodes.size();
    const Adjacency adjacent = Adjacent(graph);

    std::vector<std::pair<std::int64_t, std::size_t>> known;
    known.reserve(previous.nodes.size());
    for (std::size_t i = 0; i < previous.nodes.size(); ++i) {
        known.emplace_back(previous.nodes[i].key, i);
    }
    std::sort(known.begin(), known.end());

    MapLayout layout;
    layout.nodes.resize(n);
    layout.rowPitch = std::max(previous.rowPitch, RowPitch(graph, options));
    std::vector<Index> rank(n, -1);
    std::vector<bool> placed(n, false);
    for (std::size_t v = 0; v < n; ++v) {
        const auto found =
            std::lower_bound(known.begin(), known.end(), std::pair(graph.nodes[v].key, std::size_t{0}));
        if (found != known.end() && found->first == graph.nodes[v].key) {
            layout.nodes[v] = previous.nodes[found->second];
            rank[v] = layout.nodes[v].rank;
            placed[v] = true;
        }
    }

    if (std::find(placed.begin(), placed.end(), true) == placed.end()) {
        return LayOut(graph, options); // nothing to keep
    }

    // New nodes: one rank below the nearest-ranked node that leads to them, in rank order.
    using Ranked = std::pair<Index, Index>; // (rank, node), smallest first
    std::priority_queue<Ranked, std::vector<Ranked>, std::greater<>> open;
    for (std::size_t v = 0; v < n; ++v) {
        if (placed[v]) {
            open.emplace(rank[v], static_cast<Index>(v));
        }
    }
    std::vector<Index> fresh; // new nodes in the order they got ranks
    while (!open.empty()) {
        const auto [r, v] = open.top();
        open.pop();
        for (const Index w : std::span(adjacent.out.begin(v), adjacent.out.end(v))) {
            const auto wi = static_cast<std::size_t>(w);
            if (rank[wi] < 0) {
                rank[wi] = r + 1;
                layout.nodes[wi].reached = layout.nodes[static_cast<std::size_t>(v)].reached;
                fresh.push_back(w);
                open.emplace(r + 1, w);
            }
        }
    }
    RankTheRest(adjacent, fresh, rank);

    // Each row's nodes by centre, to find free spots in.
    std::vector<std::vector<Index>> rows;
    for (std::size_t v = 0; v < n; ++v) {
        if (placed[v]) {
            const auto r = static_cast<std::size_t>(rank[v]);
            if (rows.size() <= r) {
                rows.resize(r + 1);
            }
            rows[r].push_back(static_cast<Index>(v));
        }
    }
    const auto centre = [&](Index v) { return layout.nodes[static_cast<std::size_t>(v)].centre.x; };
    const auto half = [&](Index v) { return graph.nodes[static_cast<std::size_t>(v)].width / 2; };
    for (auto& row : rows) {
        std::stable_sort(row.begin(), row.end(), [&](Index a, Index b) { return centre(a) < centre(b); });
        // A node that grew pushes those after it along, as far as it must.
        for (std::size_t i = 1; i < row.size(); ++i) {
            const double least = centre(row[i - 1]) + half(row[i - 1]) + options.nodeGap + half(row[i]);
            if (centre(row[i]) < least) {
                layout.nodes[static_cast<std::size_t>(row[i])].centre.x = least;
            }
        }
    }

    for (const Index v : fresh) {
        const auto vi = static_cast<std::size_t>(v);
        const auto r = static_cast<std::size_t>(rank[vi]);
        if (rows.size() <= r) {
            rows.resize(r + 1);
        }
        auto& row = rows[r];
        double sum = 0;
        std::size_t count = 0;
        for (const Lists* lists : {&adjacent.in, &adjacent.out}) {
            for (const Index w : std::span(lists->begin(v), lists->end(v))) {
                if (placed[static_cast<std::size_t>(w)]) {
                    sum += centre(w);
                    ++count;
                }
            }
        }
        const double w2 = half(v);
        double wanted =
            count > 0 ? sum / static_cast<double>(count)
                      : (row.empty() ? w2 : centre(row.back()) + half(row.back()) + options.nodeGap + w2);
        // The free spot nearest `wanted`: between two neighbours with room enough, or past either end
        // (not left of 0). Slots further from `wanted` than the best so far on either side end the search.
        double best = 0;
        std::size_t bestSlot = 0;
        double bestDistance = INFINITY;
        const auto low = [&](std::size_t slot) {
            return slot == 0 ? w2 : centre(row[slot - 1]) + half(row[slot - 1]) + options.nodeGap + w2;
        };
        const auto high = [&](std::size_t slot) {
            return slot == row.size() ? INFINITY : centre(row[slot]) - half(row[slot]) - options.nodeGap - w2;
        };
        const auto consider = [&](std::size_t slot) {
            if (low(slot) <= high(slot)) {
                const double spot = std::clamp(wanted, low(slot), high(slot));
                if (std::abs(spot - wanted) < bestDistance) {
                    best = spot;
                    bestSlot = slot;
                    bestDistance = std::abs(spot - wanted);
                }
            }
        };
        const auto first =
            static_cast<std::size_t>(std::lower_bound(row.begin(), row.end(), wanted,
                                                      [&](Index w, double x) { return centre(w) < x; }) -
                                     row.begin());
        for (std::size_t slot = first + 1; slot-- > 0 && wanted - high(slot) < bestDistance;) {
            consider(slot);
        }
        for (std::size_t slot = first + 1; slot <= row.size() && low(slot) - wanted < bestDistance; ++slot) {
            consider(slot);
        }
        layout.nodes[vi].centre.x = best;
        layout.nodes[vi].rank = rank[vi];
        row.insert(row.begin() + static_cast<std::ptrdiff_t>(bestSlot), v);
        placed[vi] = true;
    }
    Finish(graph, layout, options);
    return layout;
}

} // namespace kit
