#pragma once
// A layered drawing of a story map, fast enough for stories of tens of thousands of steps.
//
// Rows (ranks) are the fewest clicks from the start: a breadth-first walk from the start node over the
// choices, so a choice leads to the next row down or back up, never further down. Nodes the walk does
// not reach get rows of their own the same way, from the nodes nothing else among them leads to, and
// stand in an area to the right. Within a row, a bounded number of sweeps orders the nodes by the mean
// place of their neighbours in the row above or below, then swaps neighbours while that removes
// crossings; the order with the fewest crossings stays. Then each row is packed as near its nodes'
// neighbours as it can be without two nodes overlapping, pulled weakly to a common axis so that a long
// story does not drift sideways. Edges are one straight segment to the next row down, one bend otherwise.
//
// The same input always gives the same output. LayOutAfter starts from an earlier layout of an edited
// graph: the nodes it had keep their places; new ones go to a free spot of their row near their
// neighbours.

#include <cstdint>
#include <vector>

namespace kit {

struct LayoutGraph {
    struct Node {
        std::int64_t key = 0; // names the node across layouts of edited graphs; unique
        double width = 0;
        double height = 0;
    };
    struct Edge {
        std::int32_t from = 0; // node indices
        std::int32_t to = 0;
        int choice = 0; // the button's number; edges of a node are considered in this order
    };
    std::vector<Node> nodes;
    std::vector<Edge> edges;
    std::int32_t start = -1; // the node play starts at; -1 when there is none
};

struct LayoutPoint {
    double x = 0;
    double y = 0;
};

struct LayoutOptions {
    double nodeGap = 18; // between neighbours in a row
    double rowGap = 54;  // between rows, room for the edges' labels
    double areaGap = 72; // between the reachable part and the nodes nobody reaches
    int sweeps = 8;      // crossing-reduction sweeps, each down and up
};

struct MapLayout {
    struct Place {
        std::int64_t key = 0;
        LayoutPoint centre;
        std::int32_t rank = 0;
        bool reached = false; // from the start node
    };
    std::vector<Place> nodes;                    // as LayoutGraph::nodes
    std::vector<std::vector<LayoutPoint>> edges; // as LayoutGraph::edges, border to border; empty for loops
    double width = 0; // everything lies within [0, width] x [0, height], y downwards
    double height = 0;
    double rowPitch = 0; // a row's centre is at rowPitch * (rank + 0.5)
};

MapLayout LayOut(const LayoutGraph& graph, const LayoutOptions& options = {});

// The layout of an edited graph that moves as little as it can of `previous`: a node whose key it had
// keeps its rank and centre (unless it grew into a neighbour); a new node takes a rank one below a placed
// node leading to it, else a row of its own from the top, and the free spot of that row nearest its placed
// neighbours. Nodes gone from the graph are dropped. LayOut of the same graph gives a tidier picture.
MapLayout LayOutAfter(const LayoutGraph& graph, const MapLayout& previous, const LayoutOptions& options = {});

} // namespace kit
