#pragma once
// What a screen reader says when the game window presents a step: the whole description, then each
// choice whose button is enabled, with its number and text, as the choice buttons are named.

#include <QString>

#include <array>

namespace game {

struct ChoiceLine {
    QString text;
    bool enabled = false;
};

// A step as the window shows it: its description and its four choices, choice 1 first.
struct StepTexts {
    QString opis;
    std::array<ChoiceLine, 4> choices;
};

QString StepAnnouncement(const StepTexts& step);

} // namespace game
