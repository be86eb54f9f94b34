#include "editor/core/MapModel.h"

#include "editor/core/StepFilter.h"
#include "editor/core/StoryDocument.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <unordered_map>

namespace editor {

namespace {

constexpr std::int64_t NoRecord = -1;

// A choice's place when it leads to no step: unique, below every step's number.
std::int64_t MissingKey(std::int64_t number, int choice) {
    return -(number * 4 + choice);
}

} // namespace

MapStructure MapStructure::Of(const StoryDocument& document) {
    MapStructure s;
    // The steps by number; of two with one number (a mistake check reports) the first in the source.
    std::vector<std::pair<std::int64_t, std::size_t>> steps;
    steps.reserve(document.StepCount());
    std::unordered_map<std::string, std::int64_t> labels;
    for (std::size_t i = 0; i < document.StepCount(); ++i) {
        const StepView& step = document.Step(i);
        steps.emplace_back(step.number, i);
        if (!step.label.empty()) {
            labels.emplace(step.label, step.number);
        }
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    steps.erase(std::unique(steps.begin(), steps.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                steps.end());

    // The graph's records: 0 and 1 as build writes them (a blank placeholder where the story has no such
    // step), then every other step. Numbers are not used as records, so a mistyped huge number costs nothing.
    s.graphNode_.assign(2, -1);
    s.nodes_.reserve(steps.size());
    s.recordOfNode_.reserve(steps.size());
    for (const auto& [number, index] : steps) {
        const auto node = static_cast<NodeId>(s.nodes_.size());
        s.nodes_.push_back({number, number, false, {}});
        s.byNumber_.emplace_back(number, node);
        std::int64_t record = number;
        if (number != 0 && number != 1) {
            record = static_cast<std::int64_t>(s.graphNode_.size());
            s.graphNode_.push_back(node);
        } else {
            s.graphNode_[static_cast<std::size_t>(number)] = node;
        }
        s.recordOfNode_.push_back(record);
    }
    if (const auto start = s.NodeOfNumber(1)) {
        s.start_ = *start;
    }

    // Each step's four targets as numbers (nullopt: no such step) and as records of the graph.
    struct Targets {
        std::array<std::optional<std::int64_t>, 4> number;
        std::array<std::string, 4> label; // a label no step has
        std::array<std::int32_t, 4> record{};
    };
    std::vector<Targets> targets(steps.size());
    for (std::size_t n = 0; n < steps.size(); ++n) {
        const StepView& step = document.Step(steps[n].second);
        for (std::size_t k = 0; k < 4; ++k) {
            Targets& t = targets[n];
            std::int64_t number = 0; // a choice without a line leads to record 0
            if (const auto& target = step.target[k]) {
                if (target->kind == ChoiceTarget::Kind::Label) {
                    const auto found = labels.find(target->label);
                    if (found == labels.end()) {
                        t.label[k] = target->label;
                        t.record[k] = -1;
                        continue;
                    }
                    number = found->second;
                } else {
                    number = target->number;
                }
            }
            t.number[k] = number;
            const auto node = s.NodeOfNumber(number);
            t.record[k] = node ? static_cast<std::int32_t>(s.recordOfNode_[static_cast<std::size_t>(*node)])
                          : number == 0 ? 0
                                        : -1;
        }
    }
    auto graph = std::make_shared<kit::StoryGraph>();
    graph->Reserve(static_cast<std::int64_t>(s.graphNode_.size()));
    for (const NodeId node : s.graphNode_) {
        if (node < 0) {
            graph->Add(std::array<std::int32_t, 4>{}, std::uint8_t{0});
            continue;
        }
        const StepView& step = document.Step(steps[static_cast<std::size_t>(node)].second);
        graph->Add(targets[static_cast<std::size_t>(node)].record,
                   static_cast<std::uint8_t>(std::clamp(step.typ.value_or(0), 0, 255)));
    }
    graph->Analyse();

    // The buttons a player can press, as the toolkit's map draws them.
    const std::size_t stepNodes = s.nodes_.size();
    for (std::size_t n = 0; n < stepNodes; ++n) {
        const int open = graph->Open(s.recordOfNode_[n]).value_or(0);
        for (int k = 1; k <= open; ++k) {
            const Targets& t = targets[n];
            const auto kk = static_cast<std::size_t>(k - 1);
            const std::int32_t record = t.record[kk];
            if (record >= 0 && s.graphNode_[static_cast<std::size_t>(record)] >= 0) {
                s.edges_.push_back(
                    {static_cast<NodeId>(n), s.graphNode_[static_cast<std::size_t>(record)], k});
                continue;
            }
            MapNode missing;
            missing.key = MissingKey(s.nodes_[n].number, k);
            missing.missing = true;
            missing.number = t.number[kk].value_or(-1);
            missing.missingText = !t.label[kk].empty() ? "@" + t.label[kk] + ": nie ma takiej etykiety"
                                  : missing.number == 0
                                      ? "0: pusty krok"
                                      : std::to_string(missing.number) + ": nie ma takiego kroku";
            s.edges_.push_back({static_cast<NodeId>(n), static_cast<NodeId>(s.nodes_.size()), k});
            s.nodes_.push_back(std::move(missing));
            s.recordOfNode_.push_back(NoRecord);
        }
    }
    s.graph_ = std::move(graph);
    return s;
}

std::optional<NodeId> MapStructure::NodeOfNumber(std::int64_t number) const {
    const auto found = std::lower_bound(byNumber_.begin(), byNumber_.end(), number,
                                        [](const auto& entry, std::int64_t n) { return entry.first < n; });
    if (found == byNumber_.end() || found->first != number) {
        return std::nullopt;
    }
    return found->second;
}

kit::LayoutGraph MapStructure::LayoutInput() const {
    kit::LayoutGraph graph;
    graph.nodes.reserve(nodes_.size());
    for (const MapNode& node : nodes_) {
        graph.nodes.push_back({node.key, NodeWidth, NodeHeight});
    }
    graph.edges.reserve(edges_.size());
    for (const MapEdge& edge : edges_) {
        graph.edges.push_back({edge.from, edge.to, edge.choice});
    }
    graph.start = start_.value_or(-1);
    return graph;
}

std::optional<std::vector<WayClick>> MapStructure::WayTo(NodeId node) const {
    if (node < 0 || static_cast<std::size_t>(node) >= nodes_.size() || !graph_ ||
        recordOfNode_[static_cast<std::size_t>(node)] == NoRecord) {
        return std::nullopt;
    }
    const auto clicks = graph_->ShortestWay(recordOfNode_[static_cast<std::size_t>(node)]);
    if (!clicks) {
        return std::nullopt;
    }
    std::vector<WayClick> way;
    way.reserve(clicks->size());
    for (const kit::StoryGraph::Click& click : *clicks) {
        const NodeId from = graphNode_[static_cast<std::size_t>(click.record)];
        // Edges come grouped by the node they leave, in the order of their buttons.
        const auto first = std::lower_bound(edges_.begin(), edges_.end(), std::pair(from, click.button),
                                            [](const MapEdge& e, const std::pair<NodeId, int>& key) {
                                                return std::pair(e.from, e.choice) < key;
                                            });
        const bool found = first != edges_.end() && first->from == from && first->choice == click.button;
        way.push_back({from, click.button, found ? static_cast<std::int32_t>(first - edges_.begin()) : -1});
    }
    return way;
}

std::shared_ptr<const MapPicture> MapPicture::Make(std::shared_ptr<const MapStructure> structure,
                                                   const MapPicture* previous, bool full) {
    std::shared_ptr<MapPicture> picture(new MapPicture);
    const kit::LayoutGraph input = structure->LayoutInput();
    picture->layout_ =
        previous != nullptr && !full ? kit::LayOutAfter(input, previous->layout_) : kit::LayOut(input);
    picture->structure_ = std::move(structure);
    picture->Index();
    return picture;
}

MapRect MapPicture::Box(NodeId node) const {
    const kit::LayoutPoint c = layout_.nodes[static_cast<std::size_t>(node)].centre;
    return {c.x - MapStructure::NodeWidth / 2, c.y - MapStructure::NodeHeight / 2,
            c.x + MapStructure::NodeWidth / 2, c.y + MapStructure::NodeHeight / 2};
}

std::size_t MapPicture::CellOf(double x, double y) const {
    const auto column =
        static_cast<std::size_t>(std::clamp(x / cell_, 0.0, static_cast<double>(columns_ - 1)));
    const auto row = static_cast<std::size_t>(std::clamp(y / cell_, 0.0, static_cast<double>(cellRows_ - 1)));
    return row * columns_ + column;
}

void MapPicture::Index() {
    const std::vector<MapNode>& nodes = structure_->Nodes();
    const std::vector<MapEdge>& edges = structure_->Edges();
    out_.assign(nodes.size(), {});
    in_.assign(nodes.size(), {});
    for (std::size_t e = 0; e < edges.size(); ++e) {
        out_[static_cast<std::size_t>(edges[e].from)].push_back(static_cast<std::int32_t>(e));
        in_[static_cast<std::size_t>(edges[e].to)].push_back(static_cast<std::int32_t>(e));
    }

    // Rows: by area (reached first) and rank, then left to right.
    std::vector<NodeId> order(nodes.size());
    for (std::size_t v = 0; v < order.size(); ++v) {
        order[v] = static_cast<NodeId>(v);
    }
    const auto& places = layout_.nodes;
    std::sort(order.begin(), order.end(), [&](NodeId a, NodeId b) {
        const auto& pa = places[static_cast<std::size_t>(a)];
        const auto& pb = places[static_cast<std::size_t>(b)];
        return std::tuple(!pa.reached, pa.rank, pa.centre.x) < std::tuple(!pb.reached, pb.rank, pb.centre.x);
    });
    rows_.clear();
    rowOf_.assign(nodes.size(), {0, 0});
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto& p = places[static_cast<std::size_t>(order[i])];
        const auto& before = i > 0 ? places[static_cast<std::size_t>(order[i - 1])] : p;
        if (i == 0 || before.reached != p.reached || before.rank != p.rank) {
            rows_.emplace_back();
        }
        rowOf_[static_cast<std::size_t>(order[i])] = {static_cast<std::int32_t>(rows_.size() - 1),
                                                      static_cast<std::int32_t>(rows_.back().size())};
        rows_.back().push_back(order[i]);
    }

    // The grid: cells a few nodes wide, and at most about a quarter of a million of them.
    const double area = std::max(1.0, layout_.width) * std::max(1.0, layout_.height);
    cell_ = std::max(4 * MapStructure::NodeWidth, std::sqrt(area / 250'000));
    columns_ = static_cast<std::size_t>(std::max(1.0, std::ceil(layout_.width / cell_)));
    cellRows_ = static_cast<std::size_t>(std::max(1.0, std::ceil(layout_.height / cell_)));
    const std::size_t cells = columns_ * cellRows_;
    // Each item in the cells it covers: counted, then placed (first[c] .. first[c + 1]).
    const auto fill = [&](std::vector<std::uint32_t>& first, std::vector<std::uint32_t>& items,
                          std::size_t count, const auto& forEachCell) {
        first.assign(cells + 1, 0);
        for (std::size_t i = 0; i < count; ++i) {
            forEachCell(i, [&](std::size_t c) { ++first[c + 1]; });
        }
        for (std::size_t c = 0; c < cells; ++c) {
            first[c + 1] += first[c];
        }
        items.assign(first[cells], 0);
        std::vector<std::uint32_t> next(first.begin(), first.end() - 1);
        for (std::size_t i = 0; i < count; ++i) {
            forEachCell(i, [&](std::size_t c) { items[next[c]++] = static_cast<std::uint32_t>(i); });
        }
    };
    fill(nodeFirst_, nodeItems_, nodes.size(), [&](std::size_t v, const auto& add) {
        const MapRect b = Box(static_cast<NodeId>(v));
        const std::size_t c0 = CellOf(b.left, b.top);
        const std::size_t c1 = CellOf(b.right, b.bottom);
        for (std::size_t r = c0 / columns_; r <= c1 / columns_; ++r) {
            for (std::size_t c = c0 % columns_; c <= c1 % columns_; ++c) {
                add(r * columns_ + c);
            }
        }
    });
    // An edge in every cell a point of its segments falls in, the points a quarter of a cell apart, so that
    // a view the edge crosses finds it. An edge across much of a wide map would fill thousands of cells:
    // such edges are kept apart with their bounds, and every view looks at those few.
    longEdges_.clear();
    std::vector<bool> isLong(edges.size(), false);
    for (std::size_t e = 0; e < edges.size(); ++e) {
        MapRect bounds{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                       std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
        for (const kit::LayoutPoint& p : layout_.edges[e]) {
            bounds = {std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x),
                      std::max(bounds.bottom, p.y)};
        }
        constexpr double LongCells = 32;
        if (bounds.right - bounds.left > LongCells * cell_ ||
            bounds.bottom - bounds.top > LongCells * cell_) {
            isLong[e] = true;
            longEdges_.push_back({static_cast<std::int32_t>(e), bounds});
        }
    }
    fill(edgeFirst_, edgeItems_, edges.size(), [&](std::size_t e, const auto& add) {
        if (isLong[e]) {
            return;
        }
        const std::vector<kit::LayoutPoint>& route = layout_.edges[e];
        std::size_t last = std::numeric_limits<std::size_t>::max();
        for (std::size_t k = 1; k < route.size(); ++k) {
            const kit::LayoutPoint a = route[k - 1];
            const kit::LayoutPoint b = route[k];
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            const int steps = static_cast<int>(std::ceil(length / (cell_ / 4))) + 1;
            for (int i = 0; i <= steps; ++i) {
                const double t = static_cast<double>(i) / steps;
                const std::size_t c = CellOf(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t);
                if (c != last) {
                    add(c);
                    last = c;
                }
            }
        }
    });
}

namespace {

struct CellRange {
    std::size_t c0 = 1, c1 = 0, r0 = 1, r1 = 0; // empty unless c0 <= c1
};

CellRange CellsOf(const MapRect& area, double cell, std::size_t columns, std::size_t rows) {
    if (area.right < 0 || area.bottom < 0 || area.left > cell * columns || area.top > cell * rows) {
        return {};
    }
    const auto clampTo = [](double v, std::size_t n) {
        return static_cast<std::size_t>(std::clamp(v, 0.0, static_cast<double>(n - 1)));
    };
    return {clampTo(area.left / cell, columns), clampTo(area.right / cell, columns),
            clampTo(area.top / cell, rows), clampTo(area.bottom / cell, rows)};
}

template <class Id>
std::vector<Id> Gather(const MapRect& area, double cell, std::size_t columns, std::size_t rows,
                       const std::vector<std::uint32_t>& first, const std::vector<std::uint32_t>& items) {
    std::vector<Id> found;
    const CellRange cells = CellsOf(area, cell, columns, rows);
    for (std::size_t r = cells.r0; r <= cells.r1; ++r) {
        for (std::size_t c = cells.c0; c <= cells.c1; ++c) {
            const std::size_t at = r * columns + c;
            for (std::uint32_t i = first[at]; i < first[at + 1]; ++i) {
                found.push_back(static_cast<Id>(items[i]));
            }
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

} // namespace

std::vector<NodeId> MapPicture::NodesIn(const MapRect& area) const {
    std::vector<NodeId> found = Gather<NodeId>(area, cell_, columns_, cellRows_, nodeFirst_, nodeItems_);
    std::erase_if(found, [&](NodeId v) {
        const MapRect b = Box(v);
        return b.right < area.left || b.left > area.right || b.bottom < area.top || b.top > area.bottom;
    });
    return found;
}

std::vector<std::int32_t> MapPicture::EdgesIn(const MapRect& area) const {
    std::vector<std::int32_t> found =
        Gather<std::int32_t>(area, cell_, columns_, cellRows_, edgeFirst_, edgeItems_);
    for (const LongEdge& edge : longEdges_) {
        if (edge.bounds.Crosses(area)) {
            found.push_back(edge.edge);
        }
    }
    return found;
}

std::size_t MapPicture::EdgesInAtMost(const MapRect& area) const {
    const CellRange cells = CellsOf(area, cell_, columns_, cellRows_);
    std::size_t count = 0;
    for (std::size_t r = cells.r0; r <= cells.r1; ++r) {
        count += edgeFirst_[r * columns_ + cells.c1 + 1] - edgeFirst_[r * columns_ + cells.c0];
    }
    for (const LongEdge& edge : longEdges_) {
        count += edge.bounds.Crosses(area) ? 1 : 0;
    }
    return count;
}

std::vector<std::int32_t> MapPicture::EdgesOf(const std::vector<NodeId>& nodes) const {
    std::vector<std::int32_t> edges;
    for (const NodeId v : nodes) {
        const auto& out = out_[static_cast<std::size_t>(v)];
        const auto& in = in_[static_cast<std::size_t>(v)];
        edges.insert(edges.end(), out.begin(), out.end());
        edges.insert(edges.end(), in.begin(), in.end());
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

std::optional<NodeId> MapPicture::NodeAt(double x, double y) const {
    for (const NodeId v : NodesIn({x, y, x, y})) {
        if (Box(v).Contains(x, y)) {
            return v;
        }
    }
    return std::nullopt;
}

std::optional<NodeId> MapPicture::Move(NodeId from, MapMove move) const {
    const std::vector<MapEdge>& edges = structure_->Edges();
    if (from < 0 || static_cast<std::size_t>(from) >= out_.size()) {
        return structure_->Start();
    }
    const auto& places = layout_.nodes;
    switch (move) {
    case MapMove::Choice1:
    case MapMove::Choice2:
    case MapMove::Choice3:
    case MapMove::Choice4: {
        const int k = static_cast<int>(move) - static_cast<int>(MapMove::Choice1) + 1;
        for (const std::int32_t e : EdgesOut(from)) {
            if (edges[static_cast<std::size_t>(e)].choice == k) {
                return edges[static_cast<std::size_t>(e)].to;
            }
        }
        return std::nullopt;
    }
    case MapMove::Down:
        for (const std::int32_t e : EdgesOut(from)) {
            if (edges[static_cast<std::size_t>(e)].to != from) {
                return edges[static_cast<std::size_t>(e)].to;
            }
        }
        return std::nullopt;
    case MapMove::Up: {
        // Back towards the start: the step leading here nearest the start, then the nearest sideways.
        std::optional<NodeId> best;
        const auto score = [&](NodeId v) {
            const auto& p = places[static_cast<std::size_t>(v)];
            return std::tuple(!p.reached, p.rank,
                              std::abs(p.centre.x - places[static_cast<std::size_t>(from)].centre.x), v);
        };
        for (const std::int32_t e : EdgesIntoNode(from)) {
            const NodeId v = edges[static_cast<std::size_t>(e)].from;
            if (v != from && (!best || score(v) < score(*best))) {
                best = v;
            }
        }
        return best;
    }
    case MapMove::Left:
    case MapMove::Right: {
        const auto [row, at] = rowOf_[static_cast<std::size_t>(from)];
        const std::int32_t next = at + (move == MapMove::Left ? -1 : 1);
        const auto& nodes = rows_[static_cast<std::size_t>(row)];
        if (next < 0 || next >= static_cast<std::int32_t>(nodes.size())) {
            return std::nullopt;
        }
        return nodes[static_cast<std::size_t>(next)];
    }
    case MapMove::Start:
        return structure_->Start();
    }
    return std::nullopt;
}

std::vector<NodeId> FindOnMap(const MapStructure& structure, const StoryDocument& document,
                              std::string_view query) {
    while (!query.empty() && query.front() == ' ') {
        query.remove_prefix(1);
    }
    while (!query.empty() && query.back() == ' ') {
        query.remove_suffix(1);
    }
    const std::string folded = FoldForSearch(query);
    std::vector<NodeId> found;
    if (folded.empty()) {
        return found;
    }
    const auto add = [&](std::optional<NodeId> node) {
        if (node && std::find(found.begin(), found.end(), *node) == found.end()) {
            found.push_back(*node);
        }
    };
    if (std::all_of(folded.begin(), folded.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        folded.size() < 19) {
        add(structure.NodeOfNumber(std::stoll(folded)));
    }
    const std::string_view label = folded.front() == '@' ? std::string_view(folded).substr(1) : folded;
    std::vector<NodeId> matching;
    for (std::size_t v = 0; v < structure.Nodes().size(); ++v) {
        const MapNode& node = structure.Nodes()[v];
        const auto index = node.missing ? std::nullopt : document.IndexOfNumber(node.number);
        if (!index) {
            continue;
        }
        const StepView& step = document.Step(*index);
        if (!step.label.empty() && FoldForSearch(step.label) == label) {
            add(static_cast<NodeId>(v));
        } else if (StepMatches(step, folded)) {
            matching.push_back(static_cast<NodeId>(v));
        }
    }
    for (const NodeId v : matching) {
        add(v);
    }
    return found;
}

} // namespace editor
