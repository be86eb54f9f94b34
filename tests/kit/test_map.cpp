// map with the toolkit's own layout: the DOT it hands Graphviz places every node and routes every
// choice, and Graphviz draws it as placed.
#include "kit/Cli.h"
#include "kit/Map.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using fixtures::Step;

Step S(std::uint8_t typ, std::array<std::int32_t, 4> targets = {}) {
    Step s;
    s.nazwa = "k";
    s.opis = "opis";
    s.typ = typ;
    s.targets = targets;
    s.wybory = {"a", "b", "c", "d"};
    return s;
}

// Record 0 is the empty placeholder map leaves out, yet an unreachable step leads there; record 2 has a
// choice to itself and one to a record that cannot be read.
void WriteStory(const fs::path& kro) {
    Step placeholder;
    placeholder.typ = 0;
    fixtures::WriteScenario(kro, {placeholder, S(4, {2, 3}), S(1, {3, 9, 2, 3}), S(2), S(0, {0})});
}

std::string Placed(const fs::path& kro) {
    kit::FileInput input(kro.string());
    std::ostringstream out;
    kit::WriteDot(input, out, true);
    return out.str();
}

TEST(Map, PlacedDotGivesEveryNodeAPlaceAndEveryChoiceARoute) {
    fixtures::TempDir dir;
    WriteStory(dir / "s.Kro");
    const std::string dot = Placed(dir / "s.Kro");

    std::set<std::string> named;
    std::set<std::string> placed;
    const std::regex node(R"(^  (\w+) \[(label|pos)=)");
    const std::regex edge(R"(^  (\w+) -> (\w+) \[)");
    std::istringstream lines(dot);
    int edges = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, edge)) {
            ++edges;
            named.insert(m[1]);
            named.insert(m[2]);
            if (m[1] != m[2]) {
                EXPECT_TRUE(
                    std::regex_search(line, std::regex(R"(pos="e,[-\d.]+,[-\d.]+( [-\d.]+,[-\d.]+){4,})")))
                    << line;
                EXPECT_NE(line.find(" lp=\""), std::string::npos) << line;
            }
        } else if (std::regex_search(line, m, node)) {
            (m[2] == "pos" ? placed : named).insert(m[1]);
            if (m[2] == "pos") {
                EXPECT_TRUE(
                    std::regex_search(line, std::regex(R"(pos="[\d.]+,[\d.]+!", width=[\d.]+, height=)")))
                    << line;
            }
        }
    }
    // r1 -> r2 (button 1 alone at the start), four from r2, r4 -> r0.
    EXPECT_EQ(edges, 6) << dot;
    EXPECT_EQ(named, placed) << dot;
    EXPECT_EQ(named, (std::set<std::string>{"r0", "r1", "r2", "r3", "r4", "x2_2"})) << dot;
}

TEST(Map, DotToReadStaysWithoutPlaces) {
    fixtures::TempDir dir;
    WriteStory(dir / "s.Kro");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(kit::RunKit({"map", (dir / "s.Kro").string()}, out, err), 0) << err.str();
    EXPECT_EQ(out.str().find("pos="), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("r2 -> x2_2 [label=\"2: b\", color=red]"), std::string::npos) << out.str();
}

TEST(Map, GraphvizDrawsThePlacedMap) {
    fixtures::TempDir dir;
    WriteStory(dir / "s.Kro");
    for (const char* name : {"s.svg", "s.png"}) {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(kit::RunKit({"map", (dir / "s.Kro").string(), "-o", (dir / name).string()}, out, err), 0)
            << err.str();
        std::ifstream in(dir / name, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_TRUE(bytes.find("<svg") != std::string::npos || bytes.rfind("\x89PNG", 0) == 0) << name;
    }
}

TEST(Map, StepsWithProblemsAreMarkedWithTheirCount) {
    fixtures::TempDir dir;
    // Choice texts only where their buttons open, so that only records 2 and 4 have problems.
    const auto step = [](std::uint8_t typ, std::array<std::int32_t, 4> targets, int texts) {
        Step s = S(typ, targets);
        for (int k = texts; k < 4; ++k) {
            s.wybory[static_cast<std::size_t>(k)].clear();
        }
        return s;
    };
    Step placeholder;
    placeholder.typ = 0;
    fixtures::WriteScenario(
        dir / "s.Kro", {placeholder, step(0, {2}, 1), step(4, {3, 9}, 2), step(2, {}, 0), step(0, {3}, 1)});
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(kit::RunKit({"map", (dir / "s.Kro").string()}, out, err), 0) << err.str();
    const std::string dot = out.str();
    const auto node = [&](const std::string& name) {
        const std::size_t at = dot.find("  " + name + " [label=");
        return at == std::string::npos ? std::string() : dot.substr(at, dot.find('\n', at) - at);
    };
    // Record 2's second choice cannot be read and record 4 is out of reach; record 1 and the ending 3
    // are clean.
    for (const char* name : {"r2", "r4"}) {
        EXPECT_NE(node(name).find(" – problemy: "), std::string::npos) << node(name);
        EXPECT_NE(node(name).find("color=\"#d32f2f\""), std::string::npos) << node(name);
    }
    for (const char* name : {"r1", "r3"}) {
        ASSERT_FALSE(node(name).empty()) << dot;
        EXPECT_EQ(node(name).find("problemy"), std::string::npos) << node(name);
        EXPECT_EQ(node(name).find("#d32f2f"), std::string::npos) << node(name);
    }
    std::ostringstream check;
    ASSERT_EQ(kit::RunKit({"check", (dir / "s.Kro").string()}, check, err), 1) << err.str();
    // The count is check's: as many as it reports about record 2.
    const std::string text = check.str();
    std::size_t aboutTwo = 0;
    for (std::size_t at = text.find("s.Kro:2 "); at != std::string::npos;
         at = text.find("s.Kro:2 ", at + 1)) {
        ++aboutTwo;
    }
    EXPECT_NE(node("r2").find(" – problemy: " + std::to_string(aboutTwo) + "\\n"), std::string::npos)
        << node("r2") << "\n"
        << text;
}

} // namespace
