#pragma once
// The media check on the player's own code.

#include "kit/MediaProbe.h"

#include <QString>

#include <functional>

namespace kit {

// The player's own lookup and decoders: the media path matched as the player matches it (letter case
// included), pictures through our BMP decoder, sounds opened by the sound player on SDL's dummy driver.
class PlayerMediaProbe : public MediaProbe {
  public:
    // Opens the sound file at the path, as the player's sound player would, and closes it; throws with the
    // player's message when it cannot.
    using SoundOpener = std::function<void(const QString& path)>;

    // Sounds opened in this process, on SDL's dummy driver.
    PlayerMediaProbe();
    // Sounds opened by `open`: a program that plays sounds itself opens them elsewhere than on its device.
    explicit PlayerMediaProbe(SoundOpener open);
    std::optional<MediaProblem> Picture(const std::string& folder, const std::string& name) override;
    std::optional<MediaProblem> Sound(const std::string& folder, const std::string& name) override;

  private:
    SoundOpener open_;
};

} // namespace kit
