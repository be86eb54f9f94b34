#include "kit/LayoutRows.h"

#include <algorithm>
#include <numeric>
#include <span>

namespace kit::layout {

Lists ListsOf(std::size_t n, const std::vector<std::pair<Index, Index>>& pairs) {
    Lists lists;
    lists.first.assign(n + 1, 0);
    for (const auto& [v, w] : pairs) {
        ++lists.first[static_cast<std::size_t>(v) + 1];
    }
    std::partial_sum(lists.first.begin(), lists.first.end(), lists.first.begin());
    lists.item.resize(pairs.size());
    std::vector<Index> at(lists.first.begin(), lists.first.end() - 1);
    for (const auto& [v, w] : pairs) {
        lists.item[static_cast<std::size_t>(at[static_cast<std::size_t>(v)]++)] = w;
    }
    return lists;
}

namespace {

// Crossing reduction and packing within rows, over the edges from one row to the next in the same area.
class Rower {
  public:
    Rower(const LayoutGraph& graph, const Lists& out, const std::vector<Index>& rank,
          const std::vector<bool>& reached, const LayoutOptions& options)
        : graph_(graph), options_(options), place_(graph.nodes.size(), 0), x_(graph.nodes.size(), 0) {
        std::vector<std::pair<Index, Index>> up;
        std::vector<std::pair<Index, Index>> down;
        std::vector<std::pair<Index, Index>> near;
        for (std::size_t v = 0; v < graph.nodes.size(); ++v) {
            const auto v32 = static_cast<Index>(v);
            for (const Index w : std::span(out.begin(v32), out.end(v32))) {
                const auto wi = static_cast<std::size_t>(w);
                if (reached[wi] != reached[v]) {
                    continue;
                }
                near.emplace_back(v32, w);
                near.emplace_back(w, v32);
                if (rank[wi] == rank[v] + 1) {
                    down.emplace_back(v32, w);
                    up.emplace_back(w, v32);
                }
            }
        }
        up_ = ListsOf(graph.nodes.size(), up);
        down_ = ListsOf(graph.nodes.size(), down);
        near_ = ListsOf(graph.nodes.size(), near);
    }

    // Sweeps down and up, each row sorted by the mean place of its neighbours in the row just done; keeps
    // the order with the fewest crossings. At most options.sweeps sweeps, each linear in the edges but for
    // the sorting.
    void Order(Rows& rows) {
        Number(rows);
        Transpose(rows);
        Rows best = rows;
        std::int64_t fewest = Crossings(rows);
        int worse = 0;
        for (int sweep = 0; sweep < options_.sweeps && fewest > 0 && worse < 2; ++sweep) {
            for (std::size_t r = 1; r < rows.size(); ++r) {
                SortByNeighbours(rows[r], up_);
            }
            for (std::size_t r = rows.size(); r-- > 1;) {
                SortByNeighbours(rows[r - 1], down_);
            }
            Transpose(rows);
            const std::int64_t crossings = Crossings(rows);
            if (crossings < fewest) {
                fewest = crossings;
                best = rows;
                worse = 0;
            } else {
                ++worse;
            }
        }
        rows = std::move(best);
        Number(rows);
    }

    // Centres along each row: packed, then pulled towards the neighbours above and below in turn, each
    // row as near them as it can be with its nodes in order and apart. The leftmost border is at 0.
    void Pack(const Rows& rows) {
        for (const auto& row : rows) {
            double at = 0;
            for (const Index v : row) {
                const double w = Width(v);
                x_[static_cast<std::size_t>(v)] = at + w / 2;
                at += w + options_.nodeGap;
            }
            for (const Index v : row) {
                x_[static_cast<std::size_t>(v)] -= at / 2;
            }
        }
        constexpr int Rounds = 4;
        for (int round = 0; round < Rounds; ++round) {
            for (std::size_t r = 1; r < rows.size(); ++r) {
                Settle(rows[r], up_);
            }
            for (std::size_t r = rows.size(); r-- > 1;) {
                Settle(rows[r - 1], down_);
            }
        }
        for (int round = 0; round < Rounds; ++round) {
            for (const auto& row : rows) {
                Settle(row, near_);
            }
            for (std::size_t r = rows.size(); r-- > 0;) {
                Settle(rows[r], near_);
            }
        }
        double left = 0;
        bool any = false;
        for (const auto& row : rows) {
            if (!row.empty()) {
                const double l = x_[static_cast<std::size_t>(row.front())] - Width(row.front()) / 2;
                left = any ? std::min(left, l) : l;
                any = true;
            }
        }
        for (const auto& row : rows) {
            for (const Index v : row) {
                x_[static_cast<std::size_t>(v)] -= left;
            }
        }
    }

    double X(Index v) const { return x_[static_cast<std::size_t>(v)]; }

  private:
    // How hard every node is pulled to the area's axis (x = 0), against 1 for each neighbour: enough to
    // keep long stories from drifting sideways row after row, little enough to leave the rows aligned.
    static constexpr double Axis = 0.5;

    double Width(Index v) const { return graph_.nodes[static_cast<std::size_t>(v)].width; }

    void Number(const Rows& rows) {
        for (const auto& row : rows) {
            for (std::size_t i = 0; i < row.size(); ++i) {
                place_[static_cast<std::size_t>(row[i])] = static_cast<Index>(i);
            }
        }
    }

    void SortByNeighbours(std::vector<Index>& row, const Lists& neighbours) {
        keyed_.clear();
        for (const Index v : row) {
            double key = place_[static_cast<std::size_t>(v)];
            if (neighbours.Size(v) > 0) {
                double sum = 0;
                for (const Index w : std::span(neighbours.begin(v), neighbours.end(v))) {
                    sum += place_[static_cast<std::size_t>(w)];
                }
                key = sum / static_cast<double>(neighbours.Size(v));
            }
            keyed_.emplace_back(key, v);
        }
        std::stable_sort(keyed_.begin(), keyed_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i < row.size(); ++i) {
            row[i] = keyed_[i].second;
            place_[static_cast<std::size_t>(row[i])] = static_cast<Index>(i);
        }
    }

    // Swaps neighbours in a row while that removes crossings with the rows above and below; a few passes.
    void Transpose(Rows& rows) {
        constexpr int Passes = 4;
        for (int pass = 0; pass < Passes; ++pass) {
            bool swapped = false;
            for (auto& row : rows) {
                for (std::size_t i = 0; i + 1 < row.size(); ++i) {
                    const Index u = row[i];
                    const Index v = row[i + 1];
                    const auto [kept, turned] = PairCrossings(u, v);
                    if (turned < kept) {
                        std::swap(row[i], row[i + 1]);
                        place_[static_cast<std::size_t>(u)] = static_cast<Index>(i + 1);
                        place_[static_cast<std::size_t>(v)] = static_cast<Index>(i);
                        swapped = true;
                    }
                }
            }
            if (!swapped) {
                break;
            }
        }
    }

    // Crossings among the edges of u and v with the rows above and below: with u left of v, and turned.
    // Counted over their neighbours' places in order, so that two nodes many lead to cost no more than
    // sorting their neighbours.
    std::pair<std::int64_t, std::int64_t> PairCrossings(Index u, Index v) {
        std::int64_t kept = 0;
        std::int64_t turned = 0;
        for (const Lists* lists : {&up_, &down_}) {
            if (lists->Size(u) == 0 || lists->Size(v) == 0) {
                continue;
            }
            for (auto [node, places] : {std::pair(u, &mine_), std::pair(v, &theirs_)}) {
                places->clear();
                for (const Index w : std::span(lists->begin(node), lists->end(node))) {
                    places->push_back(place_[static_cast<std::size_t>(w)]);
                }
                std::sort(places->begin(), places->end());
            }
            // For each of u's neighbours, v's before it cross when u stays left, v's after it when turned.
            std::size_t before = 0;
            std::size_t notAfter = 0;
            for (const Index a : mine_) {
                while (before < theirs_.size() && theirs_[before] < a) {
                    ++before;
                }
                while (notAfter < theirs_.size() && theirs_[notAfter] <= a) {
                    ++notAfter;
                }
                kept += static_cast<std::int64_t>(before);
                turned += static_cast<std::int64_t>(theirs_.size() - notAfter);
            }
        }
        return {kept, turned};
    }

    // Edges between each pair of neighbouring rows that cross, counted as inversions with a Fenwick tree.
    std::int64_t Crossings(const Rows& rows) {
        std::int64_t total = 0;
        std::vector<Index> ends;
        std::vector<Index> tree;
        for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
            ends.clear();
            for (const Index v : rows[r]) {
                const std::size_t from = ends.size();
                for (const Index w : std::span(down_.begin(v), down_.end(v))) {
                    ends.push_back(place_[static_cast<std::size_t>(w)]);
                }
                std::sort(ends.begin() + static_cast<std::ptrdiff_t>(from), ends.end());
            }
            const std::size_t size = rows[r + 1].size();
            tree.assign(size + 1, 0);
            std::int64_t seen = 0;
            for (const Index e : ends) {
                // Earlier edges that end to the right of this one cross it.
                std::int64_t notRight = 0;
                for (auto i = static_cast<std::size_t>(e) + 1; i > 0; i -= i & (~i + 1)) {
                    notRight += tree[i];
                }
                total += seen - notRight;
                for (auto i = static_cast<std::size_t>(e) + 1; i <= size; i += i & (~i + 1)) {
                    ++tree[i];
                }
                ++seen;
            }
        }
        return total;
    }

    // Moves a row's centres as near the mean of each node's neighbours (and the axis, weakly) as the
    // order and the gaps allow, in least squares: pool-adjacent-violators over the centres less the room
    // the nodes before them take at the least.
    void Settle(const std::vector<Index>& row, const Lists& neighbours) {
        blocks_.clear();
        double room = 0;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const Index v = row[i];
            if (i > 0) {
                room += (Width(row[i - 1]) + Width(v)) / 2 + options_.nodeGap;
            }
            double sum = 0;
            for (const Index w : std::span(neighbours.begin(v), neighbours.end(v))) {
                sum += x_[static_cast<std::size_t>(w)];
            }
            const double wanted = sum / (static_cast<double>(neighbours.Size(v)) + Axis);
            blocks_.push_back({wanted - room, 1});
            while (blocks_.size() > 1 && blocks_[blocks_.size() - 2].Mean() >= blocks_.back().Mean()) {
                const Block last = blocks_.back();
                blocks_.pop_back();
                blocks_.back().sum += last.sum;
                blocks_.back().count += last.count;
            }
        }
        std::size_t i = 0;
        room = 0;
        for (const Block& b : blocks_) {
            for (std::size_t k = 0; k < b.count; ++k, ++i) {
                if (i > 0) {
                    room += (Width(row[i - 1]) + Width(row[i])) / 2 + options_.nodeGap;
                }
                x_[static_cast<std::size_t>(row[i])] = b.Mean() + room;
            }
        }
    }

    struct Block {
        double sum;
        std::size_t count;
        double Mean() const { return sum / static_cast<double>(count); }
    };

    const LayoutGraph& graph_;
    const LayoutOptions& options_;
    Lists up_;   // each node's neighbours in the row above (same area)
    Lists down_; // and in the row below
    Lists near_; // all its neighbours in the same area
    std::vector<Index> place_;
    std::vector<double> x_;
    std::vector<std::pair<double, Index>> keyed_;
    std::vector<Index> mine_; // PairCrossings' sorted places
    std::vector<Index> theirs_;
    std::vector<Block> blocks_;
};

} // namespace

std::vector<double> PlaceRows(const LayoutGraph& graph, const Lists& out, const std::vector<Index>& rank,
                              const std::vector<bool>& reached, const LayoutOptions& options,
                              std::vector<Rows>& areas) {
    Rower rower(graph, out, rank, reached, options);
    std::vector<double> x(graph.nodes.size(), 0);
    for (Rows& rows : areas) {
        rower.Order(rows);
        rower.Pack(rows);
        for (const auto& row : rows) {
            for (const Index v : row) {
                x[static_cast<std::size_t>(v)] = rower.X(v);
            }
        }
    }
    return x;
}

} // namespace kit::layout
