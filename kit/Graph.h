#pragma once
// The story as the player can walk it. The game's state between clicks is the record it shows and the
// buttons it has enabled, and the buttons are always a prefix 1..m, so the walk is a search over at most
// four states a record, exact over every path:
//   - play starts at record 1 with button 1 alone, whatever record 1's type;
//   - button k (k <= m) leads to target t when t is a record of both files; a target that fails to read
//     leaves the game where it was;
//   - reaching a step leaves open the buttons scenario::OpenAfter gives: none for an ending (type 2),
//     the table's for types 0, 1, 3, 4 and 5, and for the others those open before the click.
// Memory: 16 bytes of targets and 1 of type a record, 3 of search state, and at most 4 + 4 a choice for
// the reverse edges and the work list.

#include "kit/ScenarioInput.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kit {

class StoryGraph {
  public:
    void Reserve(std::int64_t records);
    // Appends the next record as the step file holds it, with its type; records past the type list have
    // none (nullopt) and cannot be read by the player.
    void Add(KrokSpan krok, std::optional<std::uint8_t> typ);
    // The same from a step's four targets alone (an editor's outline of a story): no placeholder record 0.
    void Add(const std::array<std::int32_t, 4>& targets, std::optional<std::uint8_t> typ);
    // A typed record other than 0 given other targets and type; Analyse again after.
    void Replace(std::int64_t r, const std::array<std::int32_t, 4>& targets, std::uint8_t typ);
    void Analyse();

    std::int64_t Records() const { return static_cast<std::int64_t>(typ_.size()); }
    // Records the player can read in both files: targets 0 .. Readable() - 1 succeed.
    std::int64_t Readable() const { return readable_; }
    bool CanStart() const { return readable_ >= 2; }
    bool Valid(std::int64_t target) const { return target >= 0 && target < readable_; }

    // After Analyse: whether a player can see the record (as a step or as an ending); the most buttons it can
    // have enabled there (0 when unreachable or an ending reached only as such); whether some way of being
    // there can never reach an ending.
    bool Reachable(std::int64_t r) const { return (state_[r] & ReachedMask) != 0 || endings_[r]; }
    int MostOpen(std::int64_t r) const;
    // The buttons to look at on record r: MostOpen for a record a player reaches; for one nobody reaches,
    // what its type opens on its own, and nullopt when its type keeps the buttons it is reached with or
    // the record has no type.
    std::optional<int> Open(std::int64_t r) const;
    bool Trap(std::int64_t r) const { return (state_[r] & ReachedMask & ~(state_[r] >> 4)) != 0; }
    bool EndsHere(std::int64_t r) const { return endings_[r]; }
    // Record 0 as build writes it when the source leaves it out, and nothing reaches it: type 0, every
    // text empty, every target 0. The usual placeholder, which check does not report and map does not draw.
    bool Placeholder(std::int64_t r) const { return r == 0 && blankZero_ && !Reachable(0); }
    std::uint8_t Typ(std::int64_t r) const { return typ_[r]; }
    const std::array<std::int32_t, 4>& Targets(std::int64_t r) const { return targets_[r]; }

    // One click on the way: the record shown and the button pressed on it.
    struct Click {
        std::int64_t record = 0;
        int button = 0;
        bool operator==(const Click&) const = default;
    };
    // The fewest clicks from the start to record `to` (as a step or as an ending), over the same states
    // as the walk, so that a way never presses a button that is not open; among ways as short, the one
    // with the lowest buttons first. Empty for the start itself; nullopt when no way leads there.
    // Breadth-first over at most four states a record: time and memory grow with the records.
    std::optional<std::vector<Click>> ShortestWay(std::int64_t to) const;

  private:
    // state_ bits 0-3: states (record, m = 1..4) reached; bits 4-7: those states can reach an ending.
    static constexpr std::uint8_t ReachedMask = 0x0F;

    void Forward();
    void Backward();

    std::vector<std::array<std::int32_t, 4>> targets_;
    std::vector<std::uint8_t> typ_;
    std::vector<std::uint8_t> state_;
    std::vector<bool> endings_; // reached as an ending
    std::int64_t typed_ = 0;
    bool blankZero_ = false; // record 0 exists, of type 0 with every text empty and every target 0
    std::int64_t readable_ = 0;
};

// The graph of every record of a scenario, analysed: one pass over the files.
StoryGraph ReadGraph(ScenarioInput& input);

} // namespace kit
