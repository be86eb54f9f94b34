#pragma once

#include <QString>

namespace game {

// Full path of the chosen step file: empty at start, set by the menu when the user confirms a file, and
// opened by the game window every time it is shown.
extern QString Scenariusz;

} // namespace game
