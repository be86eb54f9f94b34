#include "demo/Sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace demo {

namespace {

constexpr int Rate = 22050;
constexpr double TwoPi = 2.0 * std::numbers::pi;

class Noise {
  public:
    explicit Noise(std::uint32_t seed) : s_(seed) {}
    double Next() { // -1 .. 1
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_ / 2147483648.0 - 1.0;
    }
    double Range(double lo, double hi) { return lo + (hi - lo) * (Next() + 1.0) / 2.0; }

  private:
    std::uint32_t s_;
};

std::vector<double> Silence(double seconds) {
    return std::vector<double>(static_cast<std::size_t>(seconds * Rate));
}

// Short rising-then-falling whistles in little groups, like a small bird.
std::vector<double> Ptaki() {
    std::vector<double> s = Silence(1.8);
    Noise rng(11);
    double t0 = 0.08;
    while (t0 < 1.6) {
        const int notes = 2 + static_cast<int>(rng.Range(0, 3));
        const double base = rng.Range(2600, 3600);
        for (int n = 0; n < notes && t0 < 1.65; ++n) {
            const double length = rng.Range(0.05, 0.1);
            double phase = 0;
            const auto start = static_cast<std::size_t>(t0 * Rate);
            const auto count = static_cast<std::size_t>(length * Rate);
            for (std::size_t i = 0; i < count && start + i < s.size(); ++i) {
                const double x = static_cast<double>(i) / static_cast<double>(count);
                const double f =
                    base * (1.0 + 0.35 * std::sin(std::numbers::pi * x)) + 180 * std::sin(TwoPi * 38 * x);
                phase += TwoPi * f / Rate;
                const double env = std::pow(std::sin(std::numbers::pi * x), 2);
                s[start + i] += 0.6 * env * std::sin(phase);
            }
            t0 += length + rng.Range(0.02, 0.05);
        }
        t0 += rng.Range(0.15, 0.35);
    }
    return s;
}

// Inharmonic partials that fade at different speeds give the metallic ring.
std::vector<double> Dzwon() {
    std::vector<double> s = Silence(2.0);
    const double f0 = 440.0;
    const double ratios[] = {0.5, 1.0, 1.19, 1.5, 2.0, 2.51, 2.66, 3.01};
    const double gains[] = {0.5, 1.0, 0.6, 0.4, 0.35, 0.25, 0.2, 0.15};
    const double decays[] = {1.2, 1.6, 2.2, 2.6, 3.2, 4.0, 4.5, 5.5};
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / Rate;
        double v = 0;
        for (std::size_t k = 0; k < std::size(ratios); ++k) {
            v += gains[k] * std::exp(-decays[k] * t) * std::sin(TwoPi * f0 * ratios[k] * t);
        }
        s[i] = v * std::min(1.0, t / 0.003);
    }
    return s;
}

// Low-passed noise whose brightness and loudness swell slowly.
std::vector<double> Wiatr() {
    std::vector<double> s = Silence(2.0);
    Noise rng(13);
    double low = 0;
    double lower = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double gust = 0.5 + 0.5 * std::sin(TwoPi * 0.6 * t - 1.2);
        const double k = 0.01 + 0.05 * gust;
        low += k * (rng.Next() - low);
        lower += k * (low - lower);
        s[i] = lower * (0.3 + 0.7 * gust);
    }
    return s;
}

// A murmur of filtered noise with bubbles: short sine blips that rise in pitch.
std::vector<double> Woda() {
    std::vector<double> s = Silence(1.6);
    Noise rng(17);
    double low = 0;
    double prev = 0;
    for (double& v : s) {
        const double n = rng.Next();
        low += 0.15 * (n - low);
        v = 0.25 * (low - prev * 0.5);
        prev = low;
    }
    for (int b = 0; b < 28; ++b) {
        const auto start = static_cast<std::size_t>(rng.Range(0.0, 1.5) * Rate);
        const double f = rng.Range(500, 1300);
        const double length = rng.Range(0.015, 0.04);
        const auto count = static_cast<std::size_t>(length * Rate);
        double phase = 0;
        for (std::size_t i = 0; i < count && start + i < s.size(); ++i) {
            const double x = static_cast<double>(i) / static_cast<double>(count);
            phase += TwoPi * f * (1.0 + 0.8 * x) / Rate;
            s[start + i] += 0.35 * std::sin(std::numbers::pi * x) * std::sin(phase);
        }
    }
    return s;
}

std::vector<std::uint8_t> EncodeWave(std::vector<double> s) {
    // Short fades keep the start and the end free of clicks; the peak is normalised.
    const std::size_t fade = Rate / 50;
    for (std::size_t i = 0; i < fade && i < s.size(); ++i) {
        const double g = static_cast<double>(i) / fade;
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
    double peak = 1e-9;
    for (double v : s) {
        peak = std::max(peak, std::abs(v));
    }
    std::vector<std::uint8_t> out;
    out.reserve(44 + s.size() * 2);
    const auto put = [&out](std::uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
        }
    };
    const auto tag = [&out](const char* t) {
        for (int k = 0; k < 4; ++k) {
            out.push_back(static_cast<std::uint8_t>(t[k]));
        }
    };
    const auto dataBytes = static_cast<std::uint32_t>(s.size() * 2);
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(Rate, 4);
    put(Rate * 2, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (double v : s) {
        const auto sample = static_cast<std::int16_t>(std::lround(v / peak * 0.8 * 32767.0));
        put(static_cast<std::uint16_t>(sample), 2);
    }
    return out;
}

void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t bytes[4];
    int n = 0;
    do {
        bytes[n++] = static_cast<std::uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v != 0);
    while (n > 0) {
        --n;
        out.push_back(static_cast<std::uint8_t>(bytes[n] | (n > 0 ? 0x80 : 0)));
    }
}

// A format 0 file: one track with the tempo, a flute and a short tune of our own in C major.
std::vector<std::uint8_t> Melodia() {
    constexpr std::uint32_t Quarter = 480;
    struct Note {
        std::uint8_t key;
        std::uint32_t length;
    };
    const Note tune[] = {
        {60, 2}, {64, 2}, {67, 2}, {69, 2}, {67, 4}, {64, 4},          //
        {65, 2}, {69, 2}, {72, 3}, {71, 1}, {69, 4}, {67, 4},          //
        {64, 2}, {65, 2}, {67, 2}, {64, 2}, {62, 2}, {64, 2}, {65, 4}, //
        {67, 2}, {65, 2}, {64, 2}, {62, 2}, {60, 8},
    };
    std::vector<std::uint8_t> track;
    const auto event = [&track](std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
        PutVarLen(track, delta);
        track.insert(track.end(), bytes);
    };
    event(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}); // 500000 us a quarter: 120 beats a minute
    event(0, {0xC0, 73});                           // flute
    // Each note stops a little early, so that repeated keys are heard apart.
    constexpr std::uint32_t Gap = 24;
    std::uint32_t delta = 0;
    for (const Note& n : tune) {
        event(delta, {0x90, n.key, 88});
        event(n.length * Quarter / 2 - Gap, {0x80, n.key, 64});
        delta = Gap;
    }
    event(delta, {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
    out.push_back(static_cast<std::uint8_t>(Quarter >> 8));
    out.push_back(static_cast<std::uint8_t>(Quarter & 0xFF));
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    const auto size = static_cast<std::uint32_t>(track.size());
    for (int k = 3; k >= 0; --k) {
        out.push_back(static_cast<std::uint8_t>(size >> (8 * k)));
    }
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

} // namespace

bool IsSoundKind(const std::string& kind) {
    return kind == "ptaki" || kind == "dzwon" || kind == "wiatr" || kind == "woda" || kind == "melodia";
}

std::vector<std::uint8_t> MakeSound(const std::string& kind) {
    if (kind == "ptaki") {
        return EncodeWave(Ptaki());
    }
    if (kind == "dzwon") {
        return EncodeWave(Dzwon());
    }
    if (kind == "wiatr") {
        return EncodeWave(Wiatr());
    }
    if (kind == "woda") {
        return EncodeWave(Woda());
    }
    if (kind == "melodia") {
        return Melodia();
    }
    throw std::invalid_argument("no sound kind called \"" + kind + "\"");
}

} // namespace demo
