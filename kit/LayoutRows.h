#pragma once
// Inside the map's layout (Layout.cpp): the rows of each area put in an order with few crossings, then
// their nodes' centres along the row, packed near their neighbours without overlaps.

#include "kit/Layout.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace kit::layout {

using Index = std::int32_t;
using Rows = std::vector<std::vector<Index>>;

// Neighbour lists of every node, packed: node v's are item[first[v]] .. item[first[v + 1] - 1].
struct Lists {
    std::vector<Index> first;
    std::vector<Index> item;

    std::size_t Size(Index v) const { return static_cast<std::size_t>(first[v + 1] - first[v]); }
    const Index* begin(Index v) const { return item.data() + first[v]; }
    const Index* end(Index v) const { return item.data() + first[v + 1]; }
};

// Lists from pairs (node, neighbour), keeping the order the pairs come in for each node.
Lists ListsOf(std::size_t n, const std::vector<std::pair<Index, Index>>& pairs);

// Reorders the rows of each area (given in a first order) and returns every node's centre along its
// row, each area's leftmost border at 0. Only edges from a row to the next in the same area (`reached`
// alike) order the rows; all edges within an area pull the centres.
std::vector<double> PlaceRows(const LayoutGraph& graph, const Lists& out, const std::vector<Index>& rank,
                              const std::vector<bool>& reached, const LayoutOptions& options,
                              std::vector<Rows>& areas);

} // namespace kit::layout
