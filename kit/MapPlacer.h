#pragma once
// The map's own layout for Graphviz to draw as it stands (neato -n2): WriteDot hands it each node and
// choice; Write then lays them out (Layout.h) and writes each node's place and size and each choice with
// its route and the place of its label. Graphviz's own layered layout takes minutes from a few hundred
// steps on, and placing edge labels itself grows with the square of the map; this takes milliseconds
// for ten thousand steps and leaves Graphviz only the drawing.

#include "kit/Layout.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

class MapPlacer {
  public:
    // Node r<record>, and x<record>_<choice> for a choice whose target cannot be read; `dotLabel` as
    // written in the DOT (escaped, its lines split by \n). WriteDot writes the nodes' own statements.
    void Step(std::int64_t record, std::string_view dotLabel);
    void Unreadable(std::int64_t record, int choice, std::string_view dotLabel);
    // A choice a player can click, to a step or to the unreadable target's node; Write writes its
    // statement, `attributes` ahead of the route.
    void Choice(std::int64_t record, int choice, std::int64_t target, std::string dotLabel,
                std::string_view attributes = {});
    void ChoiceToUnreadable(std::int64_t record, int choice, std::string dotLabel,
                            std::string_view attributes = {});

    // The graph as the layout takes it: play starts at record 1.
    LayoutGraph Graph() const;
    // DOT statements for the body of the graph: the nodes' places (in points, y upwards) and sizes, and
    // the choices' edges.
    void Write(std::ostream& out) const;

    // The box Graphviz draws around a label of 10-point Sans with its default margins, or a little more.
    static LayoutPoint LabelSize(std::string_view dotLabel);

  private:
    struct Link {
        std::int64_t from;
        std::int64_t to;
        int choice;
        std::string label;
        std::string attributes;
    };
    static std::int64_t UnreadableKey(std::int64_t record, int choice) { return -(record * 4 + choice); }
    void Add(std::int64_t key, std::string_view dotLabel);

    std::vector<std::int64_t> keys_; // records as they are, unreadable targets below 0
    std::vector<LayoutPoint> sizes_;
    std::vector<Link> links_;
};

} // namespace kit
