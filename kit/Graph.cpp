#include "kit/Graph.h"

#include "scenario/StepRecord.h"
#include "scenario/StepTypes.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <optional>
#include <stdexcept>

namespace kit {

namespace {

// A state as one number: the record times 4 plus m - 1.
std::uint32_t Encode(std::int64_t record, int m) {
    return static_cast<std::uint32_t>(record * 4 + (m - 1));
}

} // namespace

void StoryGraph::Reserve(std::int64_t records) {
    targets_.reserve(static_cast<std::size_t>(records));
    typ_.reserve(static_cast<std::size_t>(records));
}

void StoryGraph::Add(KrokSpan krok, std::optional<std::uint8_t> typ) {
    if (typ && typed_ != Records()) {
        throw std::logic_error("StoryGraph: a typed record after an untyped one");
    }
    std::array<std::int32_t, 4> targets{};
    for (std::size_t k = 0; k < 4; ++k) {
        targets[k] = scenario::ReadInt32LE(krok, scenario::TargetOffsets[k]);
    }
    if (Records() == 0) {
        blankZero_ = typ.value_or(0) == 0 && targets == std::array<std::int32_t, 4>{} &&
                     std::all_of(scenario::TextFields.begin(), scenario::TextFields.end(),
                                 [&](const scenario::ShortStringField& f) { return krok[f.offset] == 0; });
    }
    targets_.push_back(targets);
    typ_.push_back(typ.value_or(0));
    typed_ += typ ? 1 : 0;
}

void StoryGraph::Add(const std::array<std::int32_t, 4>& targets, std::optional<std::uint8_t> typ) {
    if (typ && typed_ != Records()) {
        throw std::logic_error("StoryGraph: a typed record after an untyped one");
    }
    targets_.push_back(targets);
    typ_.push_back(typ.value_or(0));
    typed_ += typ ? 1 : 0;
}

void StoryGraph::Replace(std::int64_t r, const std::array<std::int32_t, 4>& targets, std::uint8_t typ) {
    // Record 0 decides whether it is build's placeholder, which Add found out from all its bytes.
    if (r <= 0 || r >= typed_) {
        throw std::logic_error("StoryGraph: only a typed record other than 0 is replaced");
    }
    targets_[static_cast<std::size_t>(r)] = targets;
    typ_[static_cast<std::size_t>(r)] = typ;
}

int StoryGraph::MostOpen(std::int64_t r) const {
    const unsigned reached = state_[r] & ReachedMask;
    return reached == 0 ? 0 : std::bit_width(reached);
}

std::optional<int> StoryGraph::Open(std::int64_t r) const {
    if (Reachable(r)) {
        return MostOpen(r);
    }
    if (r >= typed_) {
        return std::nullopt;
    }
    return scenario::OpenAfter(typ_[r], std::nullopt);
}

void StoryGraph::Analyse() {
    // Every record any 32-bit target can name fits a state number; larger files keep their tail unread.
    constexpr std::int64_t MostRecords = std::numeric_limits<std::uint32_t>::max() / 4;
    readable_ = std::min({typed_, Records(), MostRecords});
    state_.assign(typ_.size(), 0);
    endings_.assign(typ_.size(), false);
    if (!CanStart()) {
        return;
    }
    Forward();
    Backward();
}

void StoryGraph::Forward() {
    std::vector<std::uint32_t> work{Encode(1, 1)};
    state_[1] = 1;
    while (!work.empty()) {
        const std::uint32_t s = work.back();
        work.pop_back();
        const std::int64_t r = s / 4;
        const int m = static_cast<int>(s % 4) + 1;
        for (int k = 0; k < m; ++k) {
            const std::int64_t t = targets_[r][k];
            if (!Valid(t)) {
                continue;
            }
            // Known: the buttons open before the click are.
            const int next = scenario::OpenAfter(typ_[t], m).value_or(m);
            if (next == 0) {
                endings_[t] = true;
            } else if ((state_[t] & (1u << (next - 1))) == 0) {
                state_[t] |= static_cast<std::uint8_t>(1u << (next - 1));
                work.push_back(Encode(t, next));
            }
        }
    }
}

void StoryGraph::Backward() {
    const std::size_t n = static_cast<std::size_t>(readable_);
    std::vector<std::uint32_t> work;
    const auto markGood = [&](std::int64_t r, int m) {
        const std::uint8_t bit = static_cast<std::uint8_t>(1u << (m + 3));
        if ((state_[r] & bit) == 0) {
            state_[r] |= bit;
            work.push_back(Encode(r, m));
        }
    };
    // One pass over the targets: which buttons lead on to a step (bit k - 1 of onward[r]), counted by the
    // step they lead to; and the states that end the game with one click (button k leads to an ending and
    // m >= k).
    std::vector<std::uint8_t> onward(n, 0);
    std::vector<std::uint32_t> first(n + 1, 0);
    for (std::size_t r = 0; r < n; ++r) {
        int ends = 5;
        for (int k = 0; k < 4; ++k) {
            const std::int32_t t = targets_[r][k];
            if (!Valid(t)) {
                continue;
            }
            if (typ_[t] == scenario::TypKoniec) {
                ends = std::min(ends, k + 1);
            } else {
                onward[r] |= static_cast<std::uint8_t>(1u << k);
                ++first[static_cast<std::size_t>(t) + 1];
            }
        }
        for (int m = ends; m <= 4; ++m) {
            markGood(static_cast<std::int64_t>(r), m);
        }
    }
    for (std::size_t t = 0; t < n; ++t) {
        first[t + 1] += first[t];
    }
    // The reverse edges grouped by the step they lead to. Placing each at first[t]++ leaves first[t] at
    // the start of t + 1; shifting back restores it.
    std::vector<std::uint32_t> from(first[n]);
    for (std::size_t r = 0; r < n; ++r) {
        for (int k = 0; onward[r] >> k != 0; ++k) {
            if (onward[r] & (1u << k)) {
                from[first[static_cast<std::size_t>(targets_[r][k])]++] =
                    Encode(static_cast<std::int64_t>(r), k + 1);
            }
        }
    }
    onward = {};
    for (std::size_t t = n; t > 0; --t) {
        first[t] = first[t - 1];
    }
    first[0] = 0;

    // A state (r, m) is good when a button k <= m leads to a good state: the state a click on k makes.
    while (!work.empty()) {
        const std::uint32_t s = work.back();
        work.pop_back();
        const std::size_t t = s / 4;
        const int mt = static_cast<int>(s % 4) + 1;
        // The buttons any click into t leaves open; nullopt when t keeps those of the step clicked on.
        const std::optional<int> fixed = scenario::OpenAfter(typ_[t], std::nullopt);
        if (fixed && *fixed != mt) {
            continue; // no click arrives in this state
        }
        for (std::uint32_t e = first[t]; e < first[t + 1]; ++e) {
            const std::int64_t r = from[e] / 4;
            const int k = static_cast<int>(from[e] % 4) + 1;
            if (!fixed) {
                if (mt >= k) {
                    markGood(r, mt);
                }
            } else {
                for (int m = k; m <= 4; ++m) {
                    markGood(r, m);
                }
            }
        }
    }
}

std::optional<std::vector<StoryGraph::Click>> StoryGraph::ShortestWay(std::int64_t to) const {
    if (!CanStart() || !Valid(to)) {
        return std::nullopt;
    }
    if (to == 1) {
        return std::vector<Click>{};
    }
    // Each state's predecessor as (state + 1) and the button pressed; 0 for a state not reached yet.
    constexpr std::uint32_t Ending = 4; // "m - 1" of a record reached as an ending: no buttons
    const auto encode = [](std::int64_t r, std::uint32_t slot) {
        return static_cast<std::uint32_t>(r * 5 + slot);
    };
    std::vector<std::uint32_t> from(static_cast<std::size_t>(readable_) * 5, 0);
    std::vector<std::uint8_t> button(from.size(), 0);
    std::vector<std::uint32_t> queue{encode(1, 0)};
    from[encode(1, 0)] = encode(1, 0) + 1;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::uint32_t s = queue[head];
        const std::int64_t r = s / 5;
        const std::uint32_t slot = s % 5;
        const int m = slot == Ending ? 0 : static_cast<int>(slot) + 1;
        for (int k = 0; k < m; ++k) {
            const std::int64_t t = targets_[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)];
            if (!Valid(t)) {
                continue;
            }
            const int next = scenario::OpenAfter(typ_[static_cast<std::size_t>(t)], m).value_or(m);
            const std::uint32_t n = encode(t, next == 0 ? Ending : static_cast<std::uint32_t>(next - 1));
            if (from[n] != 0) {
                continue;
            }
            from[n] = s + 1;
            button[n] = static_cast<std::uint8_t>(k + 1);
            if (t == to) {
                std::vector<Click> way;
                for (std::uint32_t at = n; at != encode(1, 0); at = from[at] - 1) {
                    way.push_back({static_cast<std::int64_t>((from[at] - 1) / 5), button[at]});
                }
                std::reverse(way.begin(), way.end());
                return way;
            }
            queue.push_back(n);
        }
    }
    return std::nullopt;
}

StoryGraph ReadGraph(ScenarioInput& input) {
    StoryGraph graph;
    graph.Reserve(input.KroRecords());
    input.ForEach(
        [&](std::int64_t, KrokSpan krok, std::optional<std::uint8_t> typ) { graph.Add(krok, typ); });
    graph.Analyse();
    return graph;
}

} // namespace kit
