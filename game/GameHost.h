#pragma once
// What the game window tells a program that hosts it other than the player, whose menu it returns to.

namespace game {

class GameHost {
  public:
    virtual ~GameHost() = default;
    // The player left the game, by Wyjście or by closing the window, which is hidden by then.
    virtual void GameLeft() = 0;
};

} // namespace game
