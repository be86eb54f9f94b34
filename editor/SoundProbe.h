#pragma once
// Checking a sound without touching the sound device the editor plays through: the editor starts itself
// with SoundProbeOption and the file, and that process opens it on SDL's dummy driver with the player's
// own sound player. Whatever the file does to the decoder stays in that process.

#include <QString>

namespace editor {

inline constexpr char SoundProbeOption[] = "--sprawdz-dzwiek";

// The probe process's side: 0 when the sound opens, 1 with the player's message on stdout when not.
int RunSoundProbe(const char* path);

// The editor's side: runs `program` as the probe of `path`; throws platform::MediaError with the player's
// message when the sound does not open, or when the probe did not answer.
void OpenSoundElsewhere(const QString& program, const QString& path);

} // namespace editor
