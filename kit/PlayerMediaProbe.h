#pragma once
// The media check on the player's own code.

#include "kit/MediaProbe.h"

namespace kit {

// The player's own lookup and decoders: the media path matched as the player matches it (letter case
// included), pictures through our BMP decoder, sounds opened by the sound player on SDL's dummy driver.
class PlayerMediaProbe : public MediaProbe {
  public:
    PlayerMediaProbe();
    std::optional<MediaProblem> Picture(const std::string& folder, const std::string& name) override;
    std::optional<MediaProblem> Sound(const std::string& folder, const std::string& name) override;
};

} // namespace kit
