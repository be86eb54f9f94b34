// The story map's model: which choices are edges and where missing targets stand, placement that leaves
// the map alone for a text edit and moves little for a new step, the shortest way as edges, search, and
// the keyboard's moves along edges. Each story is a source as an author writes it.
#include "editor/core/MapModel.h"
#include "editor/core/StoryDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using editor::MapMove;
using editor::MapPicture;
using editor::MapStructure;
using editor::NodeId;
using editor::StoryDocument;

// 1 -> 2 (Wybory2: two buttons) -> 3 and @las (4); 4 is Normalny (four buttons): back to 2, to 5, to a
// label nobody has, and choice 4 without a line (record 0, a blank step); 3 and 5 end; 6 keeps the
// buttons it is reached with and nobody reaches it.
const char* const Story = "krok 1 Start\n"
                          "typ Wybory1\n"
                          "opis Ciemny las.\n"
                          "wybor 1 Dalej -> 2\n"
                          "krok 2 Rozstaje\n"
                          "typ Wybory2\n"
                          "opis Dwie drogi.\n"
                          "wybor 1 W prawo -> 3\n"
                          "wybor 2 W lewo -> @las\n"
                          "krok 3 Chata\n"
                          "typ Koniec\n"
                          "opis Dom.\n"
                          "krok 4 @las Gęstwina\n"
                          "typ Normalny\n"
                          "opis Żółw śpi pod dębem.\n"
                          "wybor 1 Wróć -> 2\n"
                          "wybor 2 Naprzód -> 5\n"
                          "wybor 3 Skrót -> @brak\n"
                          "krok 5 Polana\n"
                          "typ Koniec\n"
                          "opis Słońce.\n"
                          "krok 6 Zapomniany\n"
                          "typ 9\n"
                          "opis Nikt tu nie dojdzie.\n"
                          "wybor 1 Nic -> 1\n";

// An edge as "FROM-k->TO", a missing target by its text.
std::vector<std::string> EdgesOf(const MapStructure& s) {
    std::vector<std::string> edges;
    for (const editor::MapEdge& e : s.Edges()) {
        const editor::MapNode& to = s.Nodes()[static_cast<std::size_t>(e.to)];
        edges.push_back(std::to_string(s.Nodes()[static_cast<std::size_t>(e.from)].number) + "-" +
                        std::to_string(e.choice) + "->" +
                        (to.missing ? to.missingText : std::to_string(to.number)));
    }
    return edges;
}

NodeId Node(const MapStructure& s, std::int64_t number) {
    const auto node = s.NodeOfNumber(number);
    EXPECT_TRUE(node.has_value()) << number;
    return node.value_or(-1);
}

TEST(MapModel, EdgesAreTheButtonsAPlayerCanPress) {
    const StoryDocument document(Story);
    const MapStructure s = MapStructure::Of(document);
    EXPECT_EQ(EdgesOf(s),
              (std::vector<std::string>{"1-1->2", "2-1->3", "2-2->4", "4-1->2", "4-2->5",
                                        "4-3->@brak: nie ma takiej etykiety", "4-4->0: pusty krok"}));
    EXPECT_EQ(s.Nodes().size(), 6u + 2u);
    EXPECT_EQ(s.Start(), s.NodeOfNumber(1));
}

TEST(MapModel, PlacesEveryNodeApartAndATextEditMovesNothing) {
    StoryDocument document(Story);
    auto structure = std::make_shared<const MapStructure>(MapStructure::Of(document));
    const auto picture = MapPicture::Make(structure);
    for (std::size_t a = 0; a < structure->Nodes().size(); ++a) {
        for (std::size_t b = a + 1; b < structure->Nodes().size(); ++b) {
            const editor::MapRect p = picture->Box(static_cast<NodeId>(a)),
                                  q = picture->Box(static_cast<NodeId>(b));
            EXPECT_TRUE(p.right <= q.left || q.right <= p.left || p.bottom <= q.top || q.bottom <= p.top)
                << a << " and " << b;
        }
        // The grid finds each node where it stands.
        const auto centre = picture->Layout().nodes[a].centre;
        EXPECT_EQ(picture->NodeAt(centre.x, centre.y), static_cast<NodeId>(a));
    }
    // The grid gives every edge with a route for the whole map, and each step's own edges.
    const editor::MapRect all{0, 0, picture->Width(), picture->Height()};
    std::size_t routed = 0;
    for (const auto& route : picture->Layout().edges) {
        routed += route.size() >= 2 ? 1 : 0;
    }
    EXPECT_EQ(picture->EdgesIn(all).size(), routed);
    EXPECT_GE(picture->EdgesInAtMost(all), routed);
    EXPECT_EQ(picture->EdgesOf({*structure->NodeOfNumber(2)}), (std::vector<std::int32_t>{0, 1, 2, 3}));

    document.SetName(*document.IndexOfNumber(4), "Gęsty las");
    document.SetOpis(*document.IndexOfNumber(2), "Trzy drogi, jedna zarosła.");
    EXPECT_TRUE(MapStructure::Of(document).SameShape(*structure));
    document.SetChoiceTarget(*document.IndexOfNumber(2), 1, {editor::ChoiceTarget::Kind::Number, 5, {}});
    EXPECT_FALSE(MapStructure::Of(document).SameShape(*structure));
}

TEST(MapModel, ANewStepMovesFewOfTheOthers) {
    // A larger story: step i leads to i + 1 and i + 2 and back to i - 3.
    std::string text;
    constexpr int Steps = 200;
    for (int i = 1; i <= Steps; ++i) {
        text += "krok " + std::to_string(i) + " K" + std::to_string(i) + "\ntyp Wybory3\n";
        for (int k = 1; k <= 3; ++k) {
            const int t = k == 3 ? std::max(1, i - 3) : std::min(Steps, i + k);
            text += "wybor " + std::to_string(k) + " W -> " + std::to_string(t) + "\n";
        }
    }
    StoryDocument document(text);
    const auto before = MapPicture::Make(std::make_shared<const MapStructure>(MapStructure::Of(document)));
    document.AddLinkedStep(*document.IndexOfNumber(100), 3, "Nowy");
    auto after = std::make_shared<const MapStructure>(MapStructure::Of(document));
    const auto moved = MapPicture::Make(after, before.get());
    const auto fresh = MapPicture::Make(after, before.get(), true);
    const auto count = [&](const MapPicture& p) {
        int n = 0;
        for (std::size_t v = 0; v < before->Structure().Nodes().size(); ++v) {
            const auto key = before->Structure().Nodes()[v].key;
            const auto& was = before->Layout().nodes[v].centre;
            for (std::size_t w = 0; w < p.Structure().Nodes().size(); ++w) {
                if (p.Structure().Nodes()[w].key == key) {
                    const auto& now = p.Layout().nodes[w].centre;
                    n += std::hypot(now.x - was.x, now.y - was.y) > 0.5 ? 1 : 0;
                }
            }
        }
        return n;
    };
    EXPECT_LE(count(*moved), Steps / 10);
    EXPECT_TRUE(after->NodeOfNumber(Steps + 1).has_value());
    // A full new layout is a different, tidier picture: the same graph, laid out afresh.
    EXPECT_EQ(fresh->Layout().nodes.size(), after->Nodes().size());
}

TEST(MapModel, TheShortestWayIsAListOfEdges) {
    const StoryDocument document(Story);
    const MapStructure s = MapStructure::Of(document);
    const struct {
        std::int64_t to;
        std::vector<std::string> way; // "FROM-k" clicks; empty for none
        bool reached;
    } cases[] = {
        {1, {}, true},
        {3, {"1-1", "2-1"}, true},
        {5, {"1-1", "2-2", "4-2"}, true},
        {6, {}, false},
    };
    for (const auto& c : cases) {
        const auto way = s.WayTo(Node(s, c.to));
        ASSERT_EQ(way.has_value(), c.reached) << c.to;
        if (!way) {
            continue;
        }
        std::vector<std::string> clicks;
        for (const editor::WayClick& click : *way) {
            ASSERT_GE(click.edge, 0);
            const editor::MapEdge& e = s.Edges()[static_cast<std::size_t>(click.edge)];
            EXPECT_EQ(e.from, click.from);
            EXPECT_EQ(e.choice, click.button);
            clicks.push_back(std::to_string(s.Nodes()[static_cast<std::size_t>(click.from)].number) + "-" +
                             std::to_string(click.button));
        }
        EXPECT_EQ(clicks, c.way) << c.to;
        // The way ends at the step it was asked for.
        if (!way->empty()) {
            EXPECT_EQ(s.Edges()[static_cast<std::size_t>(way->back().edge)].to, Node(s, c.to));
        }
    }
}

TEST(MapModel, SearchFindsByNumberLabelAndNameBestFirst) {
    const StoryDocument document(Story);
    const MapStructure s = MapStructure::Of(document);
    const struct {
        const char* query;
        std::vector<std::int64_t> numbers;
    } cases[] = {
        {"5", {5}},    {"@las", {4}}, {"LAS", {4, 1}}, {" zolw ", {4}}, {"drog", {2}},
        {"@brak", {}}, {"", {}},      {"99", {}},      {"chata", {3}},
    };
    for (const auto& c : cases) {
        std::vector<std::int64_t> numbers;
        for (const NodeId v : editor::FindOnMap(s, document, c.query)) {
            numbers.push_back(s.Nodes()[static_cast<std::size_t>(v)].number);
        }
        EXPECT_EQ(numbers, c.numbers) << c.query;
    }
}

TEST(MapModel, TheKeyboardMovesAlongEdges) {
    const StoryDocument document(Story);
    const auto picture = MapPicture::Make(std::make_shared<const MapStructure>(MapStructure::Of(document)));
    const MapStructure& s = picture->Structure();
    const struct {
        std::int64_t from;
        MapMove move;
        std::int64_t to; // -1: no move
    } cases[] = {
        {1, MapMove::Choice1, 2}, {2, MapMove::Choice2, 4}, {2, MapMove::Choice3, -1},
        {1, MapMove::Down, 2},    {4, MapMove::Down, 2},    {3, MapMove::Down, -1},
        {4, MapMove::Up, 2},      {2, MapMove::Up, 1},      {1, MapMove::Up, -1},
        {6, MapMove::Up, -1},     {5, MapMove::Start, 1},   {4, MapMove::Choice2, 5},
    };
    for (const auto& c : cases) {
        const auto to = picture->Move(Node(s, c.from), c.move);
        EXPECT_EQ(to.has_value() ? s.Nodes()[static_cast<std::size_t>(*to)].number : -1, c.to)
            << c.from << " move " << static_cast<int>(c.move);
    }
    // Sideways: each row's nodes in order, each reached from its neighbour, and no further.
    const NodeId three = Node(s, 3), four = Node(s, 4);
    ASSERT_EQ(picture->Layout().nodes[static_cast<std::size_t>(three)].rank,
              picture->Layout().nodes[static_cast<std::size_t>(four)].rank);
    const bool threeLeft = picture->Layout().nodes[static_cast<std::size_t>(three)].centre.x <
                           picture->Layout().nodes[static_cast<std::size_t>(four)].centre.x;
    const NodeId left = threeLeft ? three : four, right = threeLeft ? four : three;
    EXPECT_EQ(picture->Move(left, MapMove::Right), right);
    EXPECT_EQ(picture->Move(right, MapMove::Left), left);
    EXPECT_EQ(picture->Move(left, MapMove::Left), std::nullopt);
}

} // namespace
