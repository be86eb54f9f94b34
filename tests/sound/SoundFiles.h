#pragma once
// Sound files written byte for byte, so that every decoder path is fed a file we know the content of.

#include <filesystem>
#include <string>

namespace soundtest {

enum class WaveFormat { Pcm8, Pcm16, ImaAdpcm };

struct Tone {
    double frequency = 440.0;
    double seconds = 1.0;
    int rate = 44100;
    int channels = 1;
};

// A RIFF wave holding a sine at half of full scale.
std::string Wave(WaveFormat format, const Tone& tone);

// A standard MIDI file: four piano notes, a quarter of a second each.
std::string Midi();

void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// The committed ogg and flac fixtures: 0.5 s of 440 Hz.
std::filesystem::path DataFile(const std::string& name);

} // namespace soundtest
