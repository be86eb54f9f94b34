#pragma once
// The sound seam: one sound at a time, played on by itself once started.

#include <QString>

#include <stdexcept>

namespace platform {

// A sound that cannot be played; the message is the program's own or the device's.
class MediaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The sound device itself cannot be opened (none present, or no audio library): no sound can play, not
// only this one.
class SoundDeviceError : public MediaError {
  public:
    using MediaError::MediaError;
};

class IMediaPlayer {
  public:
    virtual ~IMediaPlayer() = default;
    // Closes what is open, then opens `fileName` with the decoder its extension selects and waits until
    // it is ready. Throws with the device's error text when it cannot be opened, a SoundDeviceError when
    // the device itself cannot.
    virtual void Open(const QString& fileName) = 0;
    // Starts the opened sound and returns at once.
    virtual void Play() = 0;
    // Stops and frees the sound; does nothing when nothing is open.
    virtual void Close() = 0;
};

} // namespace platform
