#include "tests/support/SoundFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace fixtures {

namespace {

void Put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutBigEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

std::string Chunk(const char* id, const std::string& body) {
    std::string out(id, 4);
    Put32(out, static_cast<std::uint32_t>(body.size()));
    out += body;
    if (body.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out;
}

// One channel of the tone, as 16-bit samples.
std::vector<std::int16_t> Samples(const Tone& tone, std::size_t count) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / tone.rate;
        samples[i] = static_cast<std::int16_t>(
            std::lround(16383.0 * std::sin(2 * std::numbers::pi * tone.frequency * t)));
    }
    return samples;
}

constexpr std::array<int, 89> kImaSteps{
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> kImaIndexShift{-1, -1, -1, -1, 2, 4, 6, 8};

struct ImaEncoder {
    int predictor = 0;
    int index = 0;

    unsigned Encode(int sample) {
        int diff = sample - predictor;
        unsigned nibble = 0;
        if (diff < 0) {
            nibble = 8;
            diff = -diff;
        }
        int step = kImaSteps[index];
        int delta = step >> 3;
        for (unsigned bit = 4; bit != 0; bit >>= 1, step >>= 1) {
            if (diff >= step) {
                nibble |= bit;
                diff -= step;
                delta += step;
            }
        }
        predictor = std::clamp((nibble & 8) != 0 ? predictor - delta : predictor + delta, -32768, 32767);
        index = std::clamp(index + kImaIndexShift[nibble & 7], 0, 88);
        return nibble;
    }
};

std::string ImaAdpcmWave(const Tone& tone) {
    const int channels = tone.channels;
    const int blockAlign = 512 * channels;
    const int framesPerBlock = (blockAlign - 4 * channels) * 8 / (4 * channels) + 1;
    const auto wanted = static_cast<std::size_t>(tone.seconds * tone.rate);
    const std::size_t blocks = (wanted + framesPerBlock - 1) / framesPerBlock;
    const std::vector<std::int16_t> samples = Samples(tone, blocks * framesPerBlock);

    std::vector<ImaEncoder> encoders(channels);
    std::string data;
    for (std::size_t block = 0; block < blocks; ++block) {
        const std::int16_t* first = samples.data() + block * framesPerBlock;
        for (auto& encoder : encoders) {
            encoder.predictor = first[0];
            Put16(data, static_cast<std::uint16_t>(first[0]));
            data.push_back(static_cast<char>(encoder.index));
            data.push_back('\0');
        }
        // After the headers, each channel in turn gives eight samples packed in four bytes.
        for (int group = 1; group < framesPerBlock; group += 8) {
            for (auto& encoder : encoders) {
                for (int pair = 0; pair < 8; pair += 2) {
                    const unsigned low = encoder.Encode(first[group + pair]);
                    const unsigned high = encoder.Encode(first[group + pair + 1]);
                    data.push_back(static_cast<char>(low | (high << 4)));
                }
            }
        }
    }

    std::string format;
    Put16(format, 0x11);
    Put16(format, channels);
    Put32(format, tone.rate);
    Put32(format, static_cast<std::uint32_t>(tone.rate) * blockAlign / framesPerBlock);
    Put16(format, blockAlign);
    Put16(format, 4);
    Put16(format, 2);
    Put16(format, framesPerBlock);
    std::string fact;
    Put32(fact, static_cast<std::uint32_t>(blocks * framesPerBlock));
    return Chunk("RIFF", "WAVE" + Chunk("fmt ", format) + Chunk("fact", fact) + Chunk("data", data));
}

std::string PcmWave(const Tone& tone, int bits) {
    const auto frames = static_cast<std::size_t>(tone.seconds * tone.rate);
    const std::vector<std::int16_t> samples = Samples(tone, frames);
    std::string data;
    for (std::int16_t sample : samples) {
        for (int c = 0; c < tone.channels; ++c) {
            if (bits == 8) {
                data.push_back(static_cast<char>(128 + sample / 256));
            } else {
                Put16(data, static_cast<std::uint16_t>(sample));
            }
        }
    }
    const int blockAlign = tone.channels * bits / 8;
    std::string format;
    Put16(format, 1);
    Put16(format, tone.channels);
    Put32(format, tone.rate);
    Put32(format, tone.rate * blockAlign);
    Put16(format, blockAlign);
    Put16(format, bits);
    return Chunk("RIFF", "WAVE" + Chunk("fmt ", format) + Chunk("data", data));
}

// Seven bits a byte, most significant first; every byte but the last has its top bit set.
void PutVarLength(std::string& out, std::uint32_t value) {
    int shift = 28;
    while (shift > 0 && (value >> shift) == 0) {
        shift -= 7;
    }
    for (; shift > 0; shift -= 7) {
        out.push_back(static_cast<char>(0x80 | ((value >> shift) & 0x7F)));
    }
    out.push_back(static_cast<char>(value & 0x7F));
}

} // namespace

std::string Wave(WaveFormat format, const Tone& tone) {
    switch (format) {
    case WaveFormat::Pcm8:
        return PcmWave(tone, 8);
    case WaveFormat::Pcm16:
        return PcmWave(tone, 16);
    case WaveFormat::ImaAdpcm:
        return ImaAdpcmWave(tone);
    }
    throw std::logic_error("unknown wave format");
}

std::string Midi() {
    constexpr int kTicksPerQuarter = 96;
    std::string track;
    PutVarLength(track, 0);
    track += "\xFF\x51\x03";
    PutBigEndian(track, 500000, 3); // 120 beats a minute: a quarter note lasts half a second
    PutVarLength(track, 0);
    track += std::string("\xC0\x00", 2); // acoustic grand piano
    for (int note : {69, 72, 76, 81}) {
        PutVarLength(track, 0);
        track += {'\x90', static_cast<char>(note), '\x64'};
        PutVarLength(track, kTicksPerQuarter / 2);
        track += {'\x80', static_cast<char>(note), '\x40'};
    }
    PutVarLength(track, 0);
    track += std::string("\xFF\x2F\x00", 3);

    std::string out = "MThd";
    PutBigEndian(out, 6, 4);
    PutBigEndian(out, 0, 2);
    PutBigEndian(out, 1, 2);
    PutBigEndian(out, kTicksPerQuarter, 2);
    out += "MTrk";
    PutBigEndian(out, static_cast<std::uint32_t>(track.size()), 4);
    return out + track;
}

} // namespace fixtures
