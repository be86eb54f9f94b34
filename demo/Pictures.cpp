#include "demo/Pictures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <stdexcept>

namespace demo {

namespace {

struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

constexpr Rgb Hex(std::uint32_t v) {
    return {static_cast<double>((v >> 16) & 255), static_cast<double>((v >> 8) & 255),
            static_cast<double>(v & 255)};
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Clamp01(double t) {
    return std::clamp(t, 0.0, 1.0);
}

// A hump that is 1 at `centre` and falls to 0 at `halfWidth` away.
double Bell(double v, double centre, double halfWidth) {
    const double t = Clamp01(1.0 - std::abs(v - centre) / halfWidth);
    return t * t * (3.0 - 2.0 * t);
}

// Fixed seeds keep every build's pictures identical.
class Rng {
  public:
    explicit Rng(std::uint32_t seed) : s_(seed) {}
    double Uniform() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_ / 4294967296.0;
    }
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

  private:
    std::uint32_t s_;
};

// Scenes are drawn in unit space: y runs from 0 (top) to 1 (bottom) and x from 0 to Aspect(), so that a
// circle stays round and one scene fits any declared size.
class Picture {
  public:
    Picture(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}

    int Width() const { return w_; }
    int Height() const { return h_; }
    double Aspect() const { return static_cast<double>(w_) / h_; }
    Rgb At(int x, int y) const { return px_[static_cast<std::size_t>(y) * static_cast<std::size_t>(w_) + x]; }

    // Four samples a pixel soften the edges, which matters at 51 x 37.
    template <class In, class ShadeFn, class Alpha> void Paint(In in, ShadeFn shade, Alpha alpha) {
        const double unit = h_;
        for (int y = 0; y < h_; ++y) {
            for (int x = 0; x < w_; ++x) {
                int inside = 0;
                for (double sy : {0.25, 0.75}) {
                    for (double sx : {0.25, 0.75}) {
                        inside += in((x + sx) / unit, (y + sy) / unit) ? 1 : 0;
                    }
                }
                if (inside == 0) {
                    continue;
                }
                const double u = (x + 0.5) / unit;
                const double v = (y + 0.5) / unit;
                Rgb& p = px_[static_cast<std::size_t>(y) * static_cast<std::size_t>(w_) + x];
                p = Mix(p, shade(u, v), Clamp01(alpha(u, v)) * inside / 4.0);
            }
        }
    }
    template <class In> void Fill(In in, Rgb c, double a = 1.0) {
        Paint(
            in, [c](double, double) { return c; }, [a](double, double) { return a; });
    }
    template <class In, class ShadeFn> void Shade(In in, ShadeFn shade) {
        Paint(in, shade, [](double, double) { return 1.0; });
    }
    template <class Alpha> void Veil(Rgb c, Alpha alpha) {
        Paint([](double, double) { return true; }, [c](double, double) { return c; }, alpha);
    }
    void Glow(double cx, double cy, double r, Rgb c, double strength) {
        Veil(c, [=](double u, double v) {
            const double t = Clamp01(1.0 - std::hypot(u - cx, v - cy) / r);
            return strength * t * t;
        });
    }
    // A vertical gradient over the whole picture, from `top` at y0 to `bottom` at y1.
    void Sky(Rgb top, Rgb bottom, double y0 = 0.0, double y1 = 1.0) {
        Shade([](double, double) { return true; },
              [=](double, double v) { return Mix(top, bottom, Clamp01((v - y0) / (y1 - y0))); });
    }

  private:
    int w_;
    int h_;
    std::vector<Rgb> px_;
};

auto Circle(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
auto Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx;
        const double dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}
auto Ring(double cx, double cy, double r0, double r1) {
    return [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d >= r0 && d <= r1;
    };
}
auto Box(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
auto Tri(double ax, double ay, double bx, double by, double cx, double cy) {
    return [=](double x, double y) {
        const double d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by);
        const double d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy);
        const double d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay);
        const bool neg = d1 < 0 || d2 < 0 || d3 < 0;
        const bool pos = d1 > 0 || d2 > 0 || d3 > 0;
        return !(neg && pos);
    };
}
// A convex quadrilateral, corners in order.
auto Quad(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    return [=](double x, double y) {
        return Tri(ax, ay, bx, by, cx, cy)(x, y) || Tri(ax, ay, cx, cy, dx, dy)(x, y);
    };
}
// A stroke of half-width `hw` from a to b.
auto Line(double ax, double ay, double bx, double by, double hw) {
    return [=](double x, double y) {
        const double vx = bx - ax;
        const double vy = by - ay;
        const double t = Clamp01(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy));
        return std::hypot(x - ax - t * vx, y - ay - t * vy) <= hw;
    };
}

void Pine(Picture& p, double x, double base, double h, Rgb crown, Rgb trunk) {
    p.Fill(Box(x - h * 0.035, base - h * 0.15, x + h * 0.035, base), trunk);
    for (int k = 0; k < 3; ++k) {
        const double top = base - h + k * 0.25 * h;
        const double half = (0.17 + 0.07 * k) * h;
        p.Fill(Tri(x, top, x - half, top + 0.42 * h, x + half, top + 0.42 * h), crown);
    }
}

// A row of pines along `base`, paler with `haze` as they stand further away.
void PineRow(Picture& p, Rng& rng, double base, double h, double spacing, Rgb crown, Rgb fog, double haze) {
    const Rgb c = Mix(crown, fog, haze);
    const Rgb t = Mix(Hex(0x4a3322), fog, haze);
    for (double x = rng.Range(-spacing, 0); x < p.Aspect() + spacing; x += spacing * rng.Range(0.7, 1.3)) {
        Pine(p, x, base + rng.Range(-0.02, 0.02), h * rng.Range(0.8, 1.2), c, t);
    }
}

void Smoke(Picture& p, double x, double y, double size) {
    for (int k = 0; k < 5; ++k) {
        p.Fill(Circle(x + k * size * 0.9, y - k * size * 1.3, size * (0.6 + 0.25 * k)), Hex(0xd9d9d9),
               0.35 - 0.05 * k);
    }
}

void DrawDom(Picture& p) {
    p.Sky(Hex(0x7fa7d6), Hex(0xf7c59f), 0.0, 0.62);
    p.Glow(0.74, 0.46, 0.35, Hex(0xffe6b0), 0.7);
    p.Fill(Circle(0.74, 0.46, 0.07), Hex(0xfff3c4));
    p.Fill(Ellipse(0.25, 0.8, 0.6, 0.2), Hex(0x8fae8a));
    p.Fill(Ellipse(0.9, 0.82, 0.5, 0.2), Hex(0x7ea27a));
    p.Shade(Box(0, 0.72, 1, 1),
            [](double, double v) { return Mix(Hex(0x6f9a5a), Hex(0x4a7439), (v - 0.72) / 0.28); });
    p.Fill(Quad(0.32, 0.76, 0.37, 0.76, 0.62, 1.0, 0.44, 1.0), Hex(0xc8ad80));
    p.Fill(Box(0.43, 0.33, 0.48, 0.45), Hex(0x8a3d33));
    Smoke(p, 0.47, 0.29, 0.025);
    p.Fill(Box(0.18, 0.5, 0.52, 0.76), Hex(0xf0e2c4));
    p.Fill(Tri(0.13, 0.515, 0.57, 0.515, 0.35, 0.32), Hex(0xa4493d));
    p.Fill(Box(0.31, 0.62, 0.38, 0.76), Hex(0x7a4b2a));
    for (double wx : {0.21, 0.42}) {
        p.Fill(Box(wx, 0.57, wx + 0.07, 0.64), Hex(0xffd86b));
        p.Fill(Box(wx + 0.032, 0.57, wx + 0.038, 0.64), Hex(0x6b4a2a));
        p.Fill(Box(wx, 0.602, wx + 0.07, 0.608), Hex(0x6b4a2a));
    }
    p.Fill(Box(0.72, 0.58, 0.75, 0.8), Hex(0x6b4a2a));
    p.Fill(Circle(0.735, 0.53, 0.1), Hex(0x4f8a3c));
    p.Fill(Circle(0.7, 0.5, 0.06), Hex(0x5e9a48));
    for (auto [ax, ay] : {std::pair{0.69, 0.56}, {0.77, 0.5}, {0.75, 0.59}, {0.8, 0.56}, {0.71, 0.47}}) {
        p.Fill(Circle(ax, ay, 0.013), Hex(0xd23b2a));
    }
    p.Veil(Hex(0xffffff), [](double, double v) { return 0.5 * Bell(v, 0.74, 0.1); });
}

void DrawRozstaje(Picture& p) {
    const double a = p.Aspect();
    const Rgb fog = Hex(0xe3e7e2);
    Rng rng(2);
    p.Sky(Hex(0xc3ced4), fog, 0.0, 0.55);
    PineRow(p, rng, 0.56, 0.28, 0.09, Hex(0x2f4f3a), fog, 0.75);
    PineRow(p, rng, 0.64, 0.42, 0.16, Hex(0x2f4f3a), fog, 0.5);
    p.Shade(Box(0, 0.6, a, 1),
            [](double, double v) { return Mix(Hex(0xa5b597), Hex(0x58784a), (v - 0.6) / 0.4); });
    const double m = a / 2;
    p.Fill(Quad(m - 0.16, 1.0, m + 0.16, 1.0, m + 0.035, 0.78, m - 0.035, 0.78), Hex(0xc9b38a));
    p.Fill(Quad(m - 0.035, 0.78, m + 0.01, 0.78, 0.22, 0.63, 0.17, 0.63), Hex(0xc9b38a));
    p.Fill(Quad(m - 0.01, 0.78, m + 0.035, 0.78, a - 0.17, 0.63, a - 0.22, 0.63), Hex(0xc9b38a));
    p.Veil(fog, [](double, double v) { return 0.55 * Bell(v, 0.62, 0.12); });
    p.Fill(Box(m - 0.012, 0.62, m + 0.012, 0.8), Hex(0x6b4a2a));
    p.Fill(Quad(m - 0.11, 0.64, m - 0.01, 0.64, m - 0.01, 0.675, m - 0.11, 0.675), Hex(0x9c7446));
    p.Fill(Tri(m - 0.11, 0.64, m - 0.11, 0.675, m - 0.14, 0.6575), Hex(0x9c7446));
    p.Fill(Quad(m + 0.01, 0.69, m + 0.11, 0.69, m + 0.11, 0.725, m + 0.01, 0.725), Hex(0x9c7446));
    p.Fill(Tri(m + 0.11, 0.69, m + 0.11, 0.725, m + 0.14, 0.7075), Hex(0x9c7446));
    Pine(p, 0.02, 1.05, 0.95, Hex(0x1f3a2a), Hex(0x3d2a1c));
    Pine(p, a - 0.03, 1.05, 0.9, Hex(0x22402e), Hex(0x3d2a1c));
    p.Veil(fog, [](double, double v) { return 0.25 * (1.0 - v); });
}

void DrawSkraj(Picture& p) {
    const Rgb fog = Hex(0xeef0e6);
    Rng rng(3);
    p.Sky(Hex(0xa9c3dc), fog, 0.0, 0.5);
    PineRow(p, rng, 0.5, 0.3, 0.08, Hex(0x2d4d35), fog, 0.55);
    PineRow(p, rng, 0.55, 0.36, 0.11, Hex(0x2d4d35), fog, 0.2);
    p.Shade(Box(0, 0.53, 1, 1),
            [](double, double v) { return Mix(Hex(0xa6c884), Hex(0x62904a), (v - 0.53) / 0.47); });
    p.Fill(Quad(0.46, 0.55, 0.52, 0.55, 0.7, 1.0, 0.38, 1.0), Hex(0xcdb88e));
    p.Veil(fog, [](double, double v) { return 0.6 * Bell(v, 0.52, 0.1); });
    const Rgb flowers[] = {Hex(0xffffff), Hex(0xf7d447), Hex(0xe98bb0), Hex(0x9d8fe0)};
    for (int k = 0; k < 60; ++k) {
        const double y = rng.Range(0.62, 1.0);
        const double x = rng.Range(0.0, 1.0);
        if (x > 0.36 && x < 0.72) {
            continue; // keep the path clear
        }
        p.Fill(Circle(x, y, 0.006 + 0.01 * (y - 0.6)), flowers[k % 4]);
    }
}

// Flat colours only: this one is stored run-length encoded and should compress.
void DrawStrumien(Picture& p) {
    const double a = p.Aspect();
    Rng rng(4);
    p.Fill(Box(0, 0, a, 1), Hex(0xd8e0e3));
    for (double x = 0; x < a + 0.1; x += 0.09) {
        const double h = rng.Range(0.16, 0.26);
        p.Fill(Tri(x, 0.42 - h, x - 0.06, 0.43, x + 0.06, 0.43), Hex(0x5d7566));
    }
    p.Fill(Box(0, 0.42, a, 1), Hex(0x6c9a55));
    const auto centre = [](double x) { return 0.66 + 0.07 * std::sin(3.0 * x); };
    const auto water = [&](double x, double y) { return std::abs(y - centre(x)) < 0.07 + 0.06 * x / a; };
    p.Fill(water, Hex(0x4f86b0));
    for (int k = 0; k < 26; ++k) {
        const double x = rng.Range(0.05, a - 0.05);
        const double y = centre(x) + rng.Range(-0.05, 0.05);
        p.Fill(Box(x, y, x + rng.Range(0.03, 0.08), y + 0.012), Hex(0xeaf4fb));
    }
    for (int k = 0; k < 8; ++k) {
        const double x = rng.Range(0.0, a);
        const double side = k % 2 == 0 ? -1.0 : 1.0;
        p.Fill(Ellipse(x, centre(x) + side * (0.1 + 0.06 * x / a), 0.04, 0.025), Hex(0x8d8d86));
    }
    p.Fill(Box(0.95, centre(1.0) - 0.12, 1.05, centre(1.0) + 0.12), Hex(0x8a5a32));
}

void DrawZagajnik(Picture& p) {
    Rng rng(5);
    p.Sky(Hex(0xeadfb4), Hex(0x9db07a), 0.0, 0.8);
    for (int k = 0; k < 9; ++k) {
        const double x = rng.Range(0.0, 1.0);
        p.Fill(Box(x - 0.012, 0.0, x + 0.012, 0.8), Mix(Hex(0x8a5a3a), Hex(0xd8d0a8), 0.6));
    }
    p.Fill(Tri(1.1, -0.1, 0.3, 1.0, 0.6, 1.0), Hex(0xfff4c0), 0.22);
    p.Fill(Tri(1.1, -0.1, 0.0, 0.9, 0.15, 1.0), Hex(0xfff4c0), 0.18);
    p.Shade(Box(0, 0.78, 1, 1),
            [](double, double v) { return Mix(Hex(0x6f8f3f), Hex(0x4b6a2a), (v - 0.78) / 0.22); });
    for (int k = 0; k < 10; ++k) {
        p.Fill(Ellipse(rng.Range(0, 1), rng.Range(0.82, 0.98), 0.07, 0.025), Hex(0x7fa24a), 0.7);
    }
    for (double x : {0.15, 0.62, 0.9}) {
        p.Fill(Box(x - 0.035, 0.0, x + 0.035, 0.84), Hex(0x8a4f2e));
        p.Fill(Box(x - 0.012, 0.0, x - 0.004, 0.84), Hex(0xa8663c));
    }
    p.Fill(Ellipse(0.4, 0.02, 0.55, 0.12), Hex(0x2f5a2e));
    p.Fill(Ellipse(0.9, 0.05, 0.3, 0.1), Hex(0x2a5229));
    p.Fill(Line(0.17, 0.5, 0.52, 0.47, 0.012), Hex(0x7a4528));
    // The squirrel on the low branch.
    p.Fill(Ellipse(0.42, 0.42, 0.035, 0.04), Hex(0xc8642a));
    p.Fill(Ellipse(0.37, 0.38, 0.028, 0.06), Hex(0xd9782f));
    p.Fill(Circle(0.45, 0.37, 0.022), Hex(0xc8642a));
    p.Fill(Tri(0.445, 0.35, 0.455, 0.33, 0.46, 0.355), Hex(0xc8642a));
    p.Fill(Circle(0.458, 0.365, 0.005), Hex(0x1a1a1a));
    p.Fill(Circle(0.46, 0.44, 0.012), Hex(0xd23b2a));
}

void DrawKladka(Picture& p) {
    const double a = p.Aspect();
    p.Sky(Hex(0xe3e9e4), Hex(0xc4d5c8), 0.0, 0.5);
    p.Fill(Tri(0.95, 0.42, 1.3, 0.42, 1.12, 0.28), Hex(0x6f7f5a));
    p.Fill(Box(1.0, 0.42, 1.24, 0.5), Hex(0xa09583));
    for (double x : {0.1, 0.35, 0.7}) {
        p.Fill(Ellipse(x, 0.42, 0.16, 0.1), Hex(0x5f8a55));
    }
    p.Shade(Box(0, 0.5, a, 1),
            [](double, double v) { return Mix(Hex(0x6d9fbf), Hex(0x3e6f92), (v - 0.5) / 0.5); });
    for (double y : {0.75, 0.88}) {
        p.Fill(Box(0.1, y, 0.5, y + 0.025), Hex(0xcfe3ef), 0.7);
        p.Fill(Box(0.8, y + 0.05, 1.2, y + 0.075), Hex(0xcfe3ef), 0.7);
    }
    for (double x : {0.25, 0.7, 1.15}) {
        p.Fill(Box(x - 0.025, 0.6, x + 0.025, 0.85), Hex(0x5a3b22));
    }
    p.Fill(Box(0, 0.55, a, 0.65), Hex(0x9a6b3f));
    for (double x = 0.12; x < a; x += 0.14) {
        p.Fill(Box(x, 0.55, x + 0.02, 0.65), Hex(0x6e4a2a));
    }
}

void DrawMlyn(Picture& p) {
    Rng rng(7);
    p.Sky(Hex(0x9ec4e4), Hex(0xe8eef0), 0.0, 0.7);
    for (int k = 0; k < 7; ++k) {
        p.Fill(Circle(rng.Range(0.0, 1.0), rng.Range(0.45, 0.6), rng.Range(0.08, 0.14)), Hex(0x5c8a4c));
    }
    p.Fill(Box(0.7, 0.16, 0.75, 0.3), Hex(0x7c6f60));
    Smoke(p, 0.73, 0.12, 0.025);
    p.Fill(Box(0.3, 0.35, 0.82, 0.76), Hex(0xbcae96));
    for (double x : {0.3, 0.47, 0.65, 0.8}) {
        p.Fill(Box(x, 0.35, x + 0.02, 0.76), Hex(0x6e4a2c));
    }
    p.Fill(Box(0.3, 0.5, 0.82, 0.52), Hex(0x6e4a2c));
    p.Fill(Tri(0.25, 0.365, 0.87, 0.365, 0.56, 0.15), Hex(0x5d6b4a));
    p.Fill(Tri(0.4, 0.3, 0.6, 0.3, 0.52, 0.22), Hex(0x74844f));
    p.Fill(Box(0.55, 0.58, 0.65, 0.76), Hex(0x6b4426));
    p.Fill(Box(0.55, 0.58, 0.57, 0.76), Hex(0x2a1c12));
    p.Fill(Box(0.36, 0.41, 0.44, 0.48), Hex(0xffe7a0));
    p.Shade(Box(0, 0.74, 1, 1),
            [](double, double v) { return Mix(Hex(0x6aa0c6), Hex(0x3c6e95), (v - 0.74) / 0.26); });
    p.Fill(Ellipse(0.95, 0.78, 0.2, 0.05), Hex(0x5d8f45));
    const double cx = 0.2;
    const double cy = 0.6;
    for (int k = 0; k < 8; ++k) {
        const double t = k * std::numbers::pi / 4 + 0.2;
        p.Fill(Line(cx, cy, cx + 0.16 * std::cos(t), cy + 0.16 * std::sin(t), 0.009), Hex(0x6e4a2c));
    }
    for (int k = 0; k < 16; ++k) {
        const double t = k * std::numbers::pi / 8;
        p.Fill(Line(cx + 0.15 * std::cos(t), cy + 0.15 * std::sin(t), cx + 0.2 * std::cos(t),
                    cy + 0.2 * std::sin(t), 0.012),
               Hex(0x7d5430));
    }
    p.Fill(Ring(cx, cy, 0.14, 0.165), Hex(0x5a3b22));
    p.Fill(Circle(cx, cy, 0.03), Hex(0x3d2a18));
    for (int k = 0; k < 14; ++k) {
        p.Fill(Circle(rng.Range(0.05, 0.42), rng.Range(0.74, 0.82), rng.Range(0.01, 0.025)), Hex(0xffffff),
               0.6);
    }
}

void DrawWnetrze(Picture& p) {
    const double a = p.Aspect();
    Rng rng(8);
    p.Sky(Hex(0x8f6a40), Hex(0x5a3c22), 0.0, 0.75);
    for (double x = 0.05; x < a; x += 0.1) {
        p.Fill(Box(x, 0, x + 0.008, 0.75), Hex(0x3e2916), 0.5);
    }
    p.Fill(Box(0, 0.74, a, 1), Hex(0x7a5a3a));
    p.Fill(Box(0.78, 0.12, 1.04, 0.4), Hex(0xfff2c8));
    p.Fill(Box(0.905, 0.12, 0.915, 0.4), Hex(0x5a3c22));
    p.Fill(Box(0.78, 0.255, 1.04, 0.265), Hex(0x5a3c22));
    p.Fill(Quad(0.78, 0.4, 1.04, 0.4, 0.7, 1.0, 0.3, 1.0), Hex(0xfff2c8), 0.16);
    p.Fill(Quad(0.34, 0.22, 0.56, 0.22, 0.48, 0.4, 0.42, 0.4), Hex(0x9c7446));
    p.Fill(Box(0.23, 0.55, 0.67, 0.63), Hex(0x9a9a94));
    p.Fill(Ellipse(0.45, 0.63, 0.22, 0.05), Hex(0x9a9a94));
    p.Fill(Ellipse(0.45, 0.55, 0.22, 0.05), Hex(0xc4c4bc));
    p.Fill(Ellipse(0.45, 0.55, 0.04, 0.012), Hex(0x55554f));
    for (auto [sx, sy] : {std::pair{0.1, 0.82}, {0.24, 0.85}, {0.95, 0.83}}) {
        p.Fill(Ellipse(sx, sy, 0.08, 0.11), Hex(0xeee6d4));
        p.Fill(Ellipse(sx, sy - 0.1, 0.03, 0.025), Hex(0xd9cfb8));
        p.Fill(Box(sx - 0.035, sy - 0.09, sx + 0.035, sy - 0.08), Hex(0x8a6a40));
    }
    for (int k = 0; k < 50; ++k) {
        p.Fill(Circle(rng.Range(0.0, a), rng.Range(0.1, 0.9), 0.004), Hex(0xffffff), 0.6);
    }
}

void DrawKolo(Picture& p) {
    Rng rng(9);
    p.Fill(Box(0, 0, 1, 1), Hex(0xa89c88));
    for (int k = 0; k < 30; ++k) {
        const double shade = rng.Range(-0.15, 0.15);
        p.Fill(Ellipse(rng.Range(0, 1), rng.Range(0, 0.8), rng.Range(0.05, 0.09), rng.Range(0.03, 0.05)),
               shade < 0 ? Hex(0x8a7e6c) : Hex(0xc0b49e), std::abs(shade) * 4);
    }
    p.Shade(Box(0, 0.8, 1, 1),
            [](double, double v) { return Mix(Hex(0x5a8fb5), Hex(0x2f5f85), (v - 0.8) / 0.2); });
    p.Fill(Box(0.02, 0.0, 0.12, 0.8), Hex(0x8fc3e3), 0.7);
    for (int k = 0; k < 8; ++k) {
        const double t = k * std::numbers::pi / 4 + 0.3;
        p.Fill(Line(0.5, 0.5, 0.5 + 0.37 * std::cos(t), 0.5 + 0.37 * std::sin(t), 0.02), Hex(0x6a4527));
    }
    for (int k = 0; k < 16; ++k) {
        const double t = k * std::numbers::pi / 8 + 0.1;
        p.Fill(Line(0.5 + 0.37 * std::cos(t), 0.5 + 0.37 * std::sin(t), 0.5 + 0.47 * std::cos(t),
                    0.5 + 0.47 * std::sin(t), 0.028),
               Hex(0x7d5430));
    }
    p.Fill(Ring(0.5, 0.5, 0.34, 0.39), Hex(0x5a3b22));
    p.Fill(Ring(0.5, 0.5, 0.17, 0.2), Hex(0x5a3b22));
    p.Fill(Circle(0.5, 0.5, 0.06), Hex(0x3d2a18));
    p.Fill(Circle(0.5, 0.5, 0.02), Hex(0x8a8a8a));
    for (int k = 0; k < 24; ++k) {
        p.Fill(Circle(rng.Range(0.1, 0.9), rng.Range(0.72, 0.86), rng.Range(0.008, 0.02)), Hex(0xf2f8fc),
               0.8);
    }
}

void DrawSwietliki(Picture& p) {
    Rng rng(10);
    p.Sky(Hex(0x0b1430), Hex(0x2c3d62), 0.0, 0.8);
    for (int k = 0; k < 40; ++k) {
        p.Fill(Circle(rng.Range(0, 1), rng.Range(0, 0.5), 0.004), Hex(0xffffff), rng.Range(0.4, 1.0));
    }
    p.Glow(0.78, 0.2, 0.2, Hex(0xf4f1d0), 0.35);
    p.Fill(Circle(0.78, 0.2, 0.06), Hex(0xf4f1d0));
    p.Fill(Circle(0.805, 0.185, 0.05), Hex(0x16224a));
    PineRow(p, rng, 0.9, 0.5, 0.14, Hex(0x0d1a14), Hex(0x0d1a14), 0.0);
    p.Fill(Box(0, 0.86, 1, 1), Hex(0x0f1f17));
    p.Fill(Box(0.62, 0.74, 0.8, 0.87), Hex(0x1c1a22));
    p.Fill(Tri(0.6, 0.745, 0.82, 0.745, 0.71, 0.66), Hex(0x1c1a22));
    p.Fill(Box(0.66, 0.78, 0.7, 0.82), Hex(0xffcf5a));
    p.Glow(0.68, 0.8, 0.08, Hex(0xffcf5a), 0.4);
    for (int k = 0; k < 14; ++k) {
        const double x = rng.Range(0.05, 0.6);
        const double y = rng.Range(0.45, 0.85);
        p.Glow(x, y, 0.05, Hex(0xc8ff6a), 0.55);
        p.Fill(Circle(x, y, 0.008), Hex(0xf4ffc0));
    }
}

void DrawChleb(Picture& p) {
    p.Sky(Hex(0xe9c89a), Hex(0xd0a06c), 0.0, 0.65);
    p.Shade(Box(0.08, 0.1, 0.45, 0.45),
            [](double, double v) { return Mix(Hex(0x6b5b95), Hex(0xf2a65a), (v - 0.1) / 0.35); });
    p.Fill(Circle(0.3, 0.4, 0.05), Hex(0xffd27a));
    p.Fill(Box(0.255, 0.1, 0.275, 0.45), Hex(0x7a5230));
    p.Fill(Box(0.08, 0.265, 0.45, 0.285), Hex(0x7a5230));
    p.Fill(Box(0.06, 0.44, 0.47, 0.47), Hex(0x7a5230));
    p.Fill(Box(0, 0.65, 1, 1), Hex(0x8b5a2b));
    for (double y : {0.72, 0.81, 0.9}) {
        p.Fill(Box(0, y, 1, y + 0.008), Hex(0x6e4420));
    }
    p.Fill(Ellipse(0.56, 0.74, 0.34, 0.08), Hex(0xb07a44));
    p.Fill(Ellipse(0.56, 0.64, 0.25, 0.12), Hex(0xb86f2c));
    p.Fill(Ellipse(0.55, 0.61, 0.21, 0.08), Hex(0xd9984a));
    for (double x : {0.44, 0.53, 0.62}) {
        p.Fill(Line(x, 0.66, x + 0.06, 0.56, 0.008), Hex(0xf0d09a));
    }
    p.Fill(Ellipse(0.86, 0.8, 0.075, 0.055), Hex(0xa8652a));
    p.Fill(Ellipse(0.86, 0.8, 0.06, 0.042), Hex(0xf3e2b8));
    for (int k = 0; k < 4; ++k) {
        p.Fill(Circle(0.52 + 0.03 * std::sin(k * 1.7), 0.46 - k * 0.06, 0.03 + 0.008 * k), Hex(0xffffff),
               0.18);
    }
}

const std::map<std::string, std::function<void(Picture&)>>& Scenes() {
    static const std::map<std::string, std::function<void(Picture&)>> scenes = {
        {"dom", DrawDom},           {"rozstaje", DrawRozstaje},
        {"skraj", DrawSkraj},       {"strumien", DrawStrumien},
        {"zagajnik", DrawZagajnik}, {"kladka", DrawKladka},
        {"mlyn", DrawMlyn},         {"wnetrze", DrawWnetrze},
        {"kolo", DrawKolo},         {"swietliki", DrawSwietliki},
        {"chleb", DrawChleb},
    };
    return scenes;
}

std::uint8_t Channel(double c) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(c, 0.0, 255.0)));
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPFILEHEADER and BITMAPINFOHEADER; the pixel data follows the colour table.
std::vector<std::uint8_t> Headers(int w, int h, int bits, std::uint32_t compression,
                                  std::uint32_t paletteEntries, std::uint32_t imageSize) {
    const std::uint32_t dataOffset = 14 + 40 + 4 * paletteEntries;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, dataOffset + imageSize);
    Put32(out, 0);
    Put32(out, dataOffset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(h));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, compression);
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, paletteEntries);
    Put32(out, 0);
    return out;
}

std::vector<std::uint8_t> EncodeRgb24(const Picture& p) {
    const int w = p.Width();
    const int h = p.Height();
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> out = Headers(w, h, 24, 0, 0, static_cast<std::uint32_t>(stride * h));
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < w; ++x) {
            const Rgb c = p.At(x, y);
            out.push_back(Channel(c.b));
            out.push_back(Channel(c.g));
            out.push_back(Channel(c.r));
        }
        out.resize(start + stride, 0);
    }
    return out;
}

struct Indexed {
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> pixels; // top row first
};

// Popularity quantisation on 15-bit colours: the scenes are mostly flat areas, so the 256 most frequent
// colours cover them, and edges take the nearest.
Indexed Quantise(const Picture& p) {
    const auto key = [](Rgb c) {
        return (static_cast<unsigned>(Channel(c.r)) >> 3 << 10) |
               (static_cast<unsigned>(Channel(c.g)) >> 3 << 5) | (static_cast<unsigned>(Channel(c.b)) >> 3);
    };
    struct Bucket {
        std::size_t count = 0;
        Rgb sum;
    };
    std::vector<Bucket> buckets(1 << 15);
    for (int y = 0; y < p.Height(); ++y) {
        for (int x = 0; x < p.Width(); ++x) {
            const Rgb c = p.At(x, y);
            Bucket& b = buckets[key(c)];
            ++b.count;
            b.sum = {b.sum.r + c.r, b.sum.g + c.g, b.sum.b + c.b};
        }
    }
    std::vector<unsigned> used;
    for (unsigned k = 0; k < buckets.size(); ++k) {
        if (buckets[k].count > 0) {
            used.push_back(k);
        }
    }
    std::stable_sort(used.begin(), used.end(),
                     [&](unsigned a, unsigned b) { return buckets[a].count > buckets[b].count; });
    used.resize(std::min<std::size_t>(used.size(), 256));
    Indexed out;
    for (unsigned k : used) {
        const double n = static_cast<double>(buckets[k].count);
        out.palette.push_back({buckets[k].sum.r / n, buckets[k].sum.g / n, buckets[k].sum.b / n});
    }
    for (int y = 0; y < p.Height(); ++y) {
        for (int x = 0; x < p.Width(); ++x) {
            const Rgb c = p.At(x, y);
            std::size_t best = 0;
            double bestDistance = 1e30;
            for (std::size_t i = 0; i < out.palette.size(); ++i) {
                const Rgb& q = out.palette[i];
                const double d =
                    (c.r - q.r) * (c.r - q.r) + (c.g - q.g) * (c.g - q.g) + (c.b - q.b) * (c.b - q.b);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            out.pixels.push_back(static_cast<std::uint8_t>(best));
        }
    }
    return out;
}

// One row in RLE8: encoded runs for repeats, absolute mode for three or more differing pixels.
void EncodeRleRow(const std::uint8_t* row, int w, std::vector<std::uint8_t>& out) {
    int i = 0;
    while (i < w) {
        int run = 1;
        while (i + run < w && run < 255 && row[i + run] == row[i]) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        int j = i;
        while (j < w && j - i < 255 && !(j + 1 < w && row[j] == row[j + 1])) {
            ++j;
        }
        const int n = j - i;
        if (n >= 3) {
            out.push_back(0);
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), row + i, row + j);
            if (n % 2 != 0) {
                out.push_back(0); // absolute runs end on a 16-bit boundary
            }
        } else {
            for (int k = i; k < j; ++k) {
                out.push_back(1);
                out.push_back(row[k]);
            }
        }
        i = j;
    }
}

std::vector<std::uint8_t> EncodeIndexed(const Picture& p, bool rle) {
    const int w = p.Width();
    const int h = p.Height();
    const Indexed img = Quantise(p);
    std::vector<std::uint8_t> data;
    for (int y = h - 1; y >= 0; --y) {
        const std::uint8_t* row =
            img.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        if (rle) {
            EncodeRleRow(row, w, data);
            data.push_back(0);
            data.push_back(y == 0 ? 1 : 0); // end of bitmap after the top row, else end of line
        } else {
            data.insert(data.end(), row, row + w);
            data.resize((data.size() + 3) & ~std::size_t{3}, 0);
        }
    }
    std::vector<std::uint8_t> out =
        Headers(w, h, 8, rle ? 1 : 0, static_cast<std::uint32_t>(img.palette.size()),
                static_cast<std::uint32_t>(data.size()));
    for (const Rgb& c : img.palette) {
        out.push_back(Channel(c.b));
        out.push_back(Channel(c.g));
        out.push_back(Channel(c.r));
        out.push_back(0);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace

bool IsScene(const std::string& scene) {
    return Scenes().contains(scene);
}

std::vector<std::uint8_t> DrawPicture(const PictureDecl& decl) {
    const auto scene = Scenes().find(decl.scene);
    if (scene == Scenes().end()) {
        throw std::invalid_argument("no scene called \"" + decl.scene + "\"");
    }
    Picture p(decl.width, decl.height);
    scene->second(p);
    switch (decl.format) {
    case PictureFormat::Pal8:
        return EncodeIndexed(p, false);
    case PictureFormat::Rle8:
        return EncodeIndexed(p, true);
    case PictureFormat::Rgb24:
        break;
    }
    return EncodeRgb24(p);
}

} // namespace demo
