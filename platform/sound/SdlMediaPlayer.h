#pragma once
// The media player on SDL2_mixer (audio only). The audio device is opened at the first Open and kept
// until the program ends: opening and closing it costs tens of milliseconds, halting a sound almost nothing.

#include "platform/MediaPlayer.h"

#include <memory>

namespace platform {

class SdlMediaPlayer : public IMediaPlayer {
  public:
    SdlMediaPlayer();
    ~SdlMediaPlayer() override;
    SdlMediaPlayer(const SdlMediaPlayer&) = delete;
    SdlMediaPlayer& operator=(const SdlMediaPlayer&) = delete;

    void Open(const QString& fileName) override;
    void Play() override;
    void Close() override;

    // True while a started sound is still audible.
    bool IsPlaying() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
