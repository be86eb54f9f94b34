#pragma once
// What the editor core's tests share: a small story with comments, labels and steps numbered both ways,
// a listener that replays every patch on its own copy of the text, and a comparison of a document's steps
// with those of the same text read afresh.

#include "editor/core/StoryDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace editor_testing {

inline const std::string Story = R"(# Las: próba.
scenariusz Las

krok 1 Poranek
typ Wybory1
opis Babcia prosi o koszyk.
wybor 1 Wyrusz -> @skraj

# Skraj lasu.
krok 2 @skraj Skraj
typ 4
obraz las.bmp
opis Stoisz na skraju.
opis Ścieżka skręca.
wybor 1 Ścieżką -> 3
wybor 2 Strumień -> 4

krok Chatka
typ Koniec
opis Koniec.

krok Strumień
typ 1
wybor 1 Do chatki -> 3
)";

// `text` with its one occurrence of `from` replaced by `to`.
inline std::string Sub(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos) {
        ADD_FAILURE() << "not exactly once in the text: " << from;
        return text;
    }
    return text.replace(at, from.size(), to);
}

struct Replay : editor::StoryDocument::Listener {
    explicit Replay(const editor::StoryDocument& document) : text(document.Bytes()) {}
    void PatchApplied(const editor::Patch& patch) override { text.Apply(patch); }
    void StepsChanged() override { ++changes; }
    editor::StoryText text;
    int changes = 0;
};

// The document's steps are those a fresh reading of its text gives.
inline void ExpectStepsAsRead(const editor::StoryDocument& document) {
    const editor::StoryDocument fresh(document.Bytes());
    ASSERT_EQ(document.StepCount(), fresh.StepCount());
    for (std::size_t i = 0; i < fresh.StepCount(); ++i) {
        EXPECT_EQ(document.Step(i), fresh.Step(i)) << "step " << i;
    }
}

} // namespace editor_testing
