#pragma once
// Sound files written byte for byte, so that every decoder path is fed a file we know the content of.

#include <string>

namespace fixtures {

enum class WaveFormat { Pcm8, Pcm16, ImaAdpcm };

struct Tone {
    double frequency = 440.0;
    double seconds = 1.0;
    int rate = 44100;
    int channels = 1;
};

// A RIFF wave holding a sine at half of full scale (silence at frequency 0), seconds x rate frames long.
std::string Wave(WaveFormat format, const Tone& tone);

// A standard MIDI file: four piano notes, a quarter of a second each.
std::string Midi();

} // namespace fixtures
