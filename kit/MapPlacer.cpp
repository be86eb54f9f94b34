#include "kit/MapPlacer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace kit {

namespace {

// Advance widths in points of 10-point Sans by kind of character, a little over Graphviz's own measure
// (5 to 12 % over on the demo's labels, never under on a table of wide, narrow and Polish letters).
double Advance(char32_t c) {
    static constexpr std::string_view Narrow = " !'(),./:;I[]fijlrt|";
    static constexpr std::string_view Wide = "#%&@MWmw";
    if (c == U'\u2026') {
        return 10; // the "…" that ends a shortened text
    }
    if (c >= 0x80) {
        return 7.2;
    }
    const char a = static_cast<char>(c);
    if (Narrow.find(a) != std::string_view::npos) {
        return 3.6;
    }
    if (Wide.find(a) != std::string_view::npos) {
        return 10;
    }
    if (a >= 'A' && a <= 'Z') {
        return 7.4;
    }
    return a >= '0' && a <= '9' ? 6.4 : 6;
}

constexpr double PointsPerInch = 72;
constexpr double MarginX = 16; // Graphviz's default node margins, both sides together
constexpr double LineHeight = 13;
constexpr double MarginY = 10;
constexpr double LeastWidth = 54; // Graphviz's default smallest box: 0.75 x 0.5 inches
constexpr double LeastHeight = 36;
constexpr double EdgeFont = 0.9; // edge labels are 9-point
constexpr double ArrowLength = 10;

// Appended piece by piece: GCC 12 warns about "r" + std::to_string(...) (its bug 105329).
std::string Name(std::int64_t key) {
    std::string name(1, key >= 0 ? 'r' : 'x');
    if (key >= 0) {
        name += std::to_string(key);
        return name;
    }
    const std::int64_t n = -key - 1;
    name += std::to_string(n / 4);
    name += '_';
    name += std::to_string(n % 4 + 1);
    return name;
}

} // namespace

LayoutPoint MapPlacer::LabelSize(std::string_view dotLabel) {
    double widest = 0;
    double line = 0;
    int lines = 1;
    for (std::size_t i = 0; i < dotLabel.size();) {
        const auto b = static_cast<unsigned char>(dotLabel[i]);
        if (b == '\\' && i + 1 < dotLabel.size()) {
            if (dotLabel[i + 1] == 'n') {
                widest = std::max(widest, line);
                line = 0;
                ++lines;
            } else {
                line += Advance(static_cast<unsigned char>(dotLabel[i + 1]));
            }
            i += 2;
            continue;
        }
        // UTF-8: the lead byte says how long the character is; the code point matters only for "…".
        const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = b;
        if (length == 3 && i + 2 < dotLabel.size()) {
            c = ((b & 0x0Fu) << 12) | ((static_cast<unsigned char>(dotLabel[i + 1]) & 0x3Fu) << 6) |
                (static_cast<unsigned char>(dotLabel[i + 2]) & 0x3Fu);
        }
        line += Advance(c);
        i += length;
    }
    widest = std::max(widest, line);
    return {std::max(LeastWidth, widest + MarginX), std::max(LeastHeight, lines * LineHeight + MarginY)};
}

void MapPlacer::Add(std::int64_t key, std::string_view dotLabel) {
    keys_.push_back(key);
    sizes_.push_back(LabelSize(dotLabel));
}

void MapPlacer::Step(std::int64_t record, std::string_view dotLabel) {
    Add(record, dotLabel);
}

void MapPlacer::Unreadable(std::int64_t record, int choice, std::string_view dotLabel) {
    Add(UnreadableKey(record, choice), dotLabel);
}

void MapPlacer::Choice(std::int64_t record, int choice, std::int64_t target, std::string dotLabel,
                       std::string_view attributes) {
    links_.push_back({record, target, choice, std::move(dotLabel), std::string(attributes)});
}

void MapPlacer::ChoiceToUnreadable(std::int64_t record, int choice, std::string dotLabel,
                                   std::string_view attributes) {
    links_.push_back(
        {record, UnreadableKey(record, choice), choice, std::move(dotLabel), std::string(attributes)});
}

LayoutGraph MapPlacer::Graph() const {
    LayoutGraph graph;
    graph.nodes.reserve(keys_.size());
    std::vector<std::pair<std::int64_t, std::int32_t>> index;
    index.reserve(keys_.size());
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        graph.nodes.push_back({keys_[i], sizes_[i].x, sizes_[i].y});
        index.emplace_back(keys_[i], static_cast<std::int32_t>(i));
    }
    std::sort(index.begin(), index.end());
    const auto find = [&](std::int64_t key) -> std::int32_t {
        const auto at = std::lower_bound(index.begin(), index.end(), std::pair(key, std::int32_t{-1}));
        return at != index.end() && at->first == key ? at->second : -1;
    };
    // A choice may lead to a step WriteDot left out (the empty record 0): Graphviz then draws a bare node
    // of that name, which needs a place too.
    std::vector<std::int64_t> bare;
    for (const Link& link : links_) {
        if (find(link.to) < 0) {
            bare.push_back(link.to);
        }
    }
    std::sort(bare.begin(), bare.end());
    bare.erase(std::unique(bare.begin(), bare.end()), bare.end());
    for (const std::int64_t key : bare) {
        const LayoutPoint size = LabelSize(Name(key));
        index.emplace_back(key, static_cast<std::int32_t>(graph.nodes.size()));
        graph.nodes.push_back({key, size.x, size.y});
    }
    std::sort(index.begin(), index.end());
    graph.start = find(1);
    graph.edges.reserve(links_.size());
    for (const Link& link : links_) {
        graph.edges.push_back({find(link.from), find(link.to), link.choice});
    }
    return graph;
}

void MapPlacer::Write(std::ostream& out) const {
    const LayoutGraph graph = Graph();
    const MapLayout layout = LayOut(graph);
    // Graphviz's y grows upwards.
    const auto point = [&](LayoutPoint p) {
        char text[48];
        std::snprintf(text, sizeof text, "%.1f,%.1f", p.x, layout.height - p.y);
        return std::string(text);
    };
    out << "  graph [splines=line];\n";
    char text[96];
    for (std::size_t i = 0; i < graph.nodes.size(); ++i) {
        const MapLayout::Place& p = layout.nodes[i];
        std::snprintf(text, sizeof text, "!\", width=%.3f, height=%.3f];\n",
                      graph.nodes[i].width / PointsPerInch, graph.nodes[i].height / PointsPerInch);
        out << "  " << Name(p.key) << " [pos=\"" << point(p.centre) << text;
    }
    for (std::size_t i = 0; i < links_.size(); ++i) {
        const Link& link = links_[i];
        out << "  " << Name(link.from) << " -> " << Name(link.to) << " [label=\"" << link.label << "\""
            << link.attributes;
        std::vector<LayoutPoint> route = layout.edges[i];
        if (route.size() < 2) { // a loop: Graphviz draws it
            out << "];\n";
            continue;
        }
        // The label just right of the route's bend, or of a point along a straight edge that is further
        // for a higher choice, so that the labels of edges side by side stand at different heights.
        LayoutPoint middle = route[route.size() / 2];
        if (route.size() == 2) {
            const double along = 0.3 + 0.13 * std::clamp(link.choice - 1, 0, 3);
            middle = {route[0].x + (route[1].x - route[0].x) * along,
                      route[0].y + (route[1].y - route[0].y) * along};
        }
        const double labelWidth = (LabelSize(link.label).x - MarginX) * EdgeFont;
        middle.x += labelWidth / 2 + 2;
        // The arrowhead takes the end of the last segment: the curve stops at its base.
        const LayoutPoint tip = route.back();
        LayoutPoint& base = route.back();
        const LayoutPoint& before = route[route.size() - 2];
        const double length = std::hypot(tip.x - before.x, tip.y - before.y);
        if (length > 0) {
            const double cut = std::min(ArrowLength, length / 2) / length;
            base = {tip.x - (tip.x - before.x) * cut, tip.y - (tip.y - before.y) * cut};
        }
        // A polyline as cubic Bezier pieces whose control points lie on their ends.
        out << ", pos=\"e," << point(tip) << " " << point(route.front());
        for (std::size_t k = 1; k < route.size(); ++k) {
            out << " " << point(route[k - 1]) << " " << point(route[k]) << " " << point(route[k]);
        }
        out << "\", lp=\"" << point(middle) << "\"];\n";
    }
}

} // namespace kit
