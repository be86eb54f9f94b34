#pragma once
// The sound seam: one sound at a time, played on by itself once started.

#include <QString>

namespace platform {

class IMediaPlayer {
  public:
    virtual ~IMediaPlayer() = default;
    // Closes what is open, then opens `fileName` with the decoder its extension selects and waits until
    // it is ready. Throws with the device's error text when it cannot be opened.
    virtual void Open(const QString& fileName) = 0;
    // Starts the opened sound and returns at once.
    virtual void Play() = 0;
    // Stops and frees the sound; does nothing when nothing is open.
    virtual void Close() = 0;
};

} // namespace platform
