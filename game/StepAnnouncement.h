#pragma once
// What a screen reader says when the game window presents a step: the whole description, then each
// choice whose button is enabled, with its number and text, as the choice buttons are named.

#include <QString>

#include <array>

namespace platform {
class TAnnouncer;
}

namespace game {

class TFoRpgGra;

struct ChoiceLine {
    QString text;
    bool enabled = false;
};

QString StepAnnouncement(const QString& opis, const std::array<ChoiceLine, 4>& choices);

// Announces the step the window shows now, with the buttons as they are now.
void AnnounceStep(TFoRpgGra& gra);

} // namespace game
