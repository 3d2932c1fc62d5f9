#include "tools/demo-assets/ParallaxPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vorn::demoassets {

namespace {

constexpr double kTau = 6.283185307179586;

struct Colour {
    double r = 0, g = 0, b = 0, a = 1;
};

Colour mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// Pixel (x, y) from the top-left corner, in pixels, to a colour.
template <typename Shade>
Picture draw(std::string name, int width, int height, int channels, Shade shade) {
    Picture picture{"Graphics/" + std::move(name), width, height, channels, {}};
    picture.pixels.reserve(std::size_t(width) * height * channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Colour c = shade(x + 0.5, y + 0.5);
            const double channelValues[4] = {c.r, c.g, c.b, c.a};
            for (int k = 0; k < channels; ++k)
                picture.pixels.push_back(uint8_t(std::lround(clamp01(channelValues[k]) * 255.0)));
        }
    return picture;
}

// Reproducible hash noise in 0 ... 1, for stars.
double hash(int x, int y) {
    uint32_t h = uint32_t(x) * 2246822519u ^ uint32_t(y) * 3266489917u;
    h = (h ^ (h >> 15)) * 668265263u;
    return double(h ^ (h >> 13)) / 4294967295.0;
}

Picture sky(std::string name, Colour top, Colour horizon, bool stars, double discU, double discV, Colour disc) {
    return draw(std::move(name), 1920, 1080, 3, [=](double x, double y) {
        const double v = y / 1080.0;
        Colour c = mix(top, horizon, std::pow(v, 1.6));
        const double du = (x - discU * 1920.0), dv = (y - discV * 1080.0);
        const double d = std::sqrt(du * du + dv * dv);
        c = mix(c, disc, clamp01((70.0 - d) / 2.0) + 0.35 * std::exp(-d / 160.0));
        if (stars && hash(int(x), int(y)) > 0.9992) c = mix(c, {1, 1, 1, 1}, 1.0 - v);
        return c;
    });
}

// A range of hills: its ridge rises and falls along the picture; below the
// ridge the colour darkens toward the foot, above it the picture is clear.
Picture hills(std::string name, int height, double phase, Colour crest, Colour foot) {
    const int width = 3840;
    return draw(std::move(name), width, height, 4, [=](double x, double y) {
        const double u = x / width;
        const double ridge = height * (0.62 + 0.18 * std::sin(kTau * (3.0 * u + phase)) +
                                       0.10 * std::sin(kTau * (7.0 * u + 2.0 * phase)) +
                                       0.04 * std::sin(kTau * (19.0 * u)));
        const double above = (height - y) - ridge;  // > 0 above the ridge
        Colour c = mix(crest, foot, y / height);
        c.a = clamp01(0.5 - above);
        return c;
    });
}

// Distance from (x, y) to the outline of a rounded rectangle centred at
// (cx, cy) with half sizes (hx, hy) and corner radius r; negative inside.
double roundedBox(double x, double y, double cx, double cy, double hx, double hy, double r) {
    const double qx = std::abs(x - cx) - hx + r, qy = std::abs(y - cy) - hy + r;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

// A glowing tube of half width w at distance d from its centre line.
double tube(double d, double w) { return clamp01(1.0 - (d * d) / (w * w)); }

Picture neonSign() {
    return draw("Neon-sign.png", 640, 220, 4, [](double x, double y) {
        const double frame = tube(std::abs(roundedBox(x, y, 320, 110, 290, 85, 40)), 7.0);
        const double wave = tube(y - (110.0 + 38.0 * std::sin(kTau * (x - 70.0) / 250.0)), 6.0) *
                            (x > 70.0 && x < 570.0 ? 1.0 : 0.0);
        const Colour pink{1.0, 0.25, 0.75, 1.0}, cyan{0.3, 0.95, 1.0, 1.0};
        Colour c = frame >= wave ? pink : cyan;
        const double core = std::max(frame, wave);
        c = mix(c, {1, 1, 1, 1}, core * core * 0.6);
        c.a = core;
        return c;
    });
}

Picture billboardFrame() {
    return draw("billboard-frame.png", 520, 420, 4, [](double x, double y) {
        const double ring = std::abs(roundedBox(x, y, 260, 150, 236, 140, 24)) < 14.0 ? 1.0 : 0.0;
        const bool leg = y > 280 && ((x > 120 && x < 150) || (x > 370 && x < 400));
        const double a = std::max(ring, leg ? 1.0 : 0.0);
        Colour c = mix({0.35, 0.33, 0.38, 1}, {0.12, 0.11, 0.14, 1}, y / 420.0);
        c.a = a;
        return c;
    });
}

// The billboard's screen: only its coverage counts, the picture shown
// through it comes from another node.
Picture screenMask() {
    return draw("Screen-Mask-billboard.png", 460, 260, 4, [](double x, double y) {
        Colour c{1, 1, 1, 1};
        c.a = clamp01(0.5 - roundedBox(x, y, 230, 130, 226, 126, 16));
        return c;
    });
}

}  // namespace

std::vector<Picture> drawParallaxPictures() {
    std::vector<Picture> pictures;
    pictures.push_back(sky("sky-dusk.png", {0.10, 0.07, 0.26}, {0.98, 0.50, 0.28}, false, 0.74, 0.42,
                           {1.0, 0.85, 0.55}));
    pictures.push_back(sky("sky-night.png", {0.01, 0.01, 0.05}, {0.12, 0.08, 0.28}, true, 0.22, 0.2,
                           {0.92, 0.92, 0.85}));
    pictures.push_back(hills("hills-far.png", 480, 0.1, {0.62, 0.45, 0.62}, {0.50, 0.36, 0.55}));
    pictures.push_back(hills("hills-mid.png", 400, 0.45, {0.34, 0.20, 0.40}, {0.22, 0.13, 0.30}));
    pictures.push_back(hills("hills-near.png", 300, 0.8, {0.10, 0.07, 0.15}, {0.03, 0.02, 0.05}));
    pictures.push_back(neonSign());
    pictures.push_back(billboardFrame());
    pictures.push_back(screenMask());
    pictures.push_back(draw("black.png", 4, 4, 3, [](double, double) { return Colour{0, 0, 0, 1}; }));
    return pictures;
}

}  // namespace vorn::demoassets
