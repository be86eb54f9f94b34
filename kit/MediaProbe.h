#pragma once
// How `check` finds out what the player would meet with a step's picture and sound.

#include "kit/Findings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kit {

struct MediaProblem {
    Severity severity = Severity::Warning;
    std::string message;
};

class MediaProbe {
  public:
    virtual ~MediaProbe() = default;
    // `name` is the step's Bmp or Wav in code page 1250, `folder` the scenario's folder; nullopt when the
    // player shows or plays the file without a word.
    virtual std::optional<MediaProblem> Picture(const std::string& folder, const std::string& name) = 0;
    virtual std::optional<MediaProblem> Sound(const std::string& folder, const std::string& name) = 0;
    // Called as each check starts: a probe that remembers what it found looks again at what may have
    // changed on disk since the last check.
    virtual void NewCheck() {}
    // Asked after NewCheck: a number that changes whenever an answer given before may no longer be the
    // answer now, so that a check may keep the answers it got at the same number. 0: cannot tell.
    virtual std::uint64_t Version() { return 0; }
};

} // namespace kit
