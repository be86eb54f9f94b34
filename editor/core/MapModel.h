#pragma once
// The story map's model, without Qt. MapStructure is what the map shows of a story: a node a step, a node
// for each choice that leads to no step, an edge each button a player can press (as `przygoda-kit map`
// draws them), and the walk over the game's states for the shortest way. MapPicture is a structure laid
// out by the toolkit's Layout, with what painting and the keyboard need: a grid of the nodes and edges
// over the map, so that a frame looks only at what it shows, and the rows in order. Both are immutable
// once made, so a picture can be made on another thread while the interface shows the last one.

#include "editor/core/StepView.h"
#include "kit/Graph.h"
#include "kit/Layout.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

class StoryDocument;

using NodeId = std::int32_t;

struct MapNode {
    std::int64_t key = 0;    // unique: the step's number, below 0 for a choice that leads to no step
    std::int64_t number = 0; // the step's number, or the number the choice names
    bool missing = false;    // a choice's target that is no step: the player cannot read it
    std::string missingText; // what the choice names, for a missing target
    bool operator==(const MapNode&) const = default;
};

struct MapEdge {
    NodeId from = 0;
    NodeId to = 0;
    int choice = 0; // the button, 1-4
    bool operator==(const MapEdge&) const = default;
};

// One click of a way: along `edge`, from the node it leaves.
struct WayClick {
    NodeId from = 0;
    int button = 0;
    std::int32_t edge = -1;
};

class MapStructure {
  public:
    // A step's size on the map, in map units (pixels at 100 %): the same for every step, so that editing a
    // text never moves anything.
    static constexpr double NodeWidth = 168;
    static constexpr double NodeHeight = 46;

    static MapStructure Of(const StoryDocument& document);

    const std::vector<MapNode>& Nodes() const { return nodes_; }
    const std::vector<MapEdge>& Edges() const { return edges_; }
    std::optional<NodeId> NodeOfNumber(std::int64_t number) const;
    std::optional<NodeId> Start() const { return start_; }
    kit::LayoutGraph LayoutInput() const;
    // The fewest clicks from the start to `node`; nullopt when no way leads there.
    std::optional<std::vector<WayClick>> WayTo(NodeId node) const;

    // The same nodes and edges: a new layout would give the same picture.
    bool SameShape(const MapStructure& other) const {
        return nodes_ == other.nodes_ && edges_ == other.edges_;
    }

  private:
    std::vector<MapNode> nodes_;
    std::vector<MapEdge> edges_;
    std::vector<std::pair<std::int64_t, NodeId>> byNumber_; // the steps' nodes, sorted
    std::optional<NodeId> start_;
    // The walk: record r of the graph is the step of node graphNode_[r]; record 0 and 1 are steps 0 and 1
    // or blank placeholders (-1), as build writes them.
    std::shared_ptr<const kit::StoryGraph> graph_;
    std::vector<NodeId> graphNode_;
    std::vector<std::int64_t> recordOfNode_; // -1 for a missing target
};

struct MapRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(double x, double y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool Crosses(const MapRect& o) const {
        return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
    }
};

// How the keyboard moves on the map: along a choice, back up the way one came, to the first choice's
// target, sideways in a row, to the start.
enum class MapMove { Choice1, Choice2, Choice3, Choice4, Up, Down, Left, Right, Start };

class MapPicture {
  public:
    // Lays `structure` out: afresh, or (with `previous` and not `full`) moving as little as it can of the
    // previous picture.
    static std::shared_ptr<const MapPicture> Make(std::shared_ptr<const MapStructure> structure,
                                                  const MapPicture* previous = nullptr, bool full = false);

    const MapStructure& Structure() const { return *structure_; }
    std::shared_ptr<const MapStructure> SharedStructure() const { return structure_; }
    const kit::MapLayout& Layout() const { return layout_; }
    MapRect Box(NodeId node) const;
    double Width() const { return layout_.width; }
    double Height() const { return layout_.height; }

    // What lies in (or may cross) `area`: each node once; each edge once, sorted.
    std::vector<NodeId> NodesIn(const MapRect& area) const;
    std::vector<std::int32_t> EdgesIn(const MapRect& area) const;
    // At most how many edges EdgesIn(area) would give, found at once (a wide map's long edges can cross a
    // small view by the thousand).
    std::size_t EdgesInAtMost(const MapRect& area) const;
    // The edges that start or end at `nodes`, each once, sorted.
    std::vector<std::int32_t> EdgesOf(const std::vector<NodeId>& nodes) const;
    std::optional<NodeId> NodeAt(double x, double y) const;

    const std::vector<std::int32_t>& EdgesOut(NodeId node) const {
        return out_[static_cast<std::size_t>(node)];
    }
    const std::vector<std::int32_t>& EdgesIntoNode(NodeId node) const {
        return in_[static_cast<std::size_t>(node)];
    }
    std::optional<NodeId> Move(NodeId from, MapMove move) const;

  private:
    MapPicture() = default;
    void Index();
    std::size_t CellOf(double x, double y) const;

    std::shared_ptr<const MapStructure> structure_;
    kit::MapLayout layout_;
    std::vector<std::vector<std::int32_t>> out_, in_;
    // Rows: nodes of one rank and area, left to right; each node's row and place in it.
    std::vector<std::vector<NodeId>> rows_;
    std::vector<std::pair<std::int32_t, std::int32_t>> rowOf_;
    // The grid: cells of `cell_` map units, row by row; nodes by their box, edges by their segments.
    double cell_ = 1;
    std::size_t columns_ = 1, cellRows_ = 1;
    std::vector<std::uint32_t> nodeFirst_, nodeItems_, edgeFirst_, edgeItems_;
    // Edges too long for the grid, with their bounds.
    struct LongEdge {
        std::int32_t edge;
        MapRect bounds;
    };
    std::vector<LongEdge> longEdges_;
};

// The nodes of steps that `query` finds, best first: the step of that number, the step of that label,
// then by StepMatches in the order of their numbers.
std::vector<NodeId> FindOnMap(const MapStructure& structure, const StoryDocument& document,
                              std::string_view query);

} // namespace editor
