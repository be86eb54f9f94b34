#include "game/Scenariusz.h"

namespace game {

QString Scenariusz;

} // namespace game
