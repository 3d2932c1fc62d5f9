#include "tools/demo-assets/ProceduralAssets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace vorn::demoassets {

namespace {

constexpr double kPi = 3.14159265358979;

struct Rgb {
    double r, g, b;
};

uint8_t toByte(double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

double smoothstep(double e0, double e1, double x) {
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

Picture drawRgb(std::string name, int size, const std::function<Rgb(double u, double v)>& shade) {
    Picture p{std::move(name), size, size, 3, {}};
    p.pixels.resize(std::size_t(size) * size * 3);
    uint8_t* out = p.pixels.data();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb c = shade((x + 0.5) / size, (y + 0.5) / size);
            *out++ = toByte(c.r);
            *out++ = toByte(c.g);
            *out++ = toByte(c.b);
        }
    return p;
}

double hash(int x, int y) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double(h ^ (h >> 16)) / 4294967295.0;
}

// Smooth value noise over a grid of `cells` per unit, wrapping at 1.
double noise(double u, double v, int cells) {
    double x = u * cells, y = v * cells;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    double fx = smoothstep(0, 1, x - x0), fy = smoothstep(0, 1, y - y0);
    auto at = [cells](int i, int j) { return hash((i % cells + cells) % cells, (j % cells + cells) % cells); };
    double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
    double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
}

// A tangent-space normal from a height field h(u, v) by central differences.
Rgb normalFrom(const std::function<double(double, double)>& height, double u, double v, double strength) {
    const double e = 1.0 / 512.0;
    double dx = (height(u + e, v) - height(u - e, v)) * strength;
    double dy = (height(u, v + e) - height(u, v - e)) * strength;
    double len = std::sqrt(dx * dx + dy * dy + 1.0);
    return {0.5 - 0.5 * dx / len, 0.5 - 0.5 * dy / len, 0.5 + 0.5 / len};
}

// One flake: six arms with side branches, varied per cell by seed.
double flakeCoverage(double x, double y, double seed) {
    double r = std::sqrt(x * x + y * y);
    if (r > 0.95) return 0.0;
    double angle = std::atan2(y, x) + seed * kPi;
    double sector = std::fmod(angle + 2 * kPi, kPi / 3.0) - kPi / 6.0;  // -30° ... 30° around an arm
    double along = r * std::cos(sector), across = std::abs(r * std::sin(sector));
    double width = 0.035 + 0.03 * seed;
    double arm = 1.0 - smoothstep(width, width + 0.03, across);
    // Branches leave the arm at 60° every third of its length.
    double branch = 0.0;
    for (double at : {0.35, 0.6}) {
        double t = along - at;
        if (t > 0.0 && t < 0.25 + 0.1 * seed) {
            double offset = std::abs(across - t * 1.7320508);
            branch = std::max(branch, 1.0 - smoothstep(width * 0.8, width * 0.8 + 0.03, offset));
        }
    }
    double core = 1.0 - smoothstep(0.08, 0.14, r);
    double glow = 0.25 * std::exp(-r * r * 9.0);
    double fade = 1.0 - smoothstep(0.75, 0.95, r);
    return std::clamp(std::max({arm * fade, branch * fade, core}) + glow, 0.0, 1.0);
}

Picture flakeAtlas() {
    constexpr int kCells = 10;
    return drawRgb("rsrc/environments/flake-default.png", 640, [](double u, double v) {
        int cx = std::min(int(u * kCells), kCells - 1), cy = std::min(int(v * kCells), kCells - 1);
        double x = (u * kCells - cx) * 2.0 - 1.0, y = (v * kCells - cy) * 2.0 - 1.0;
        double a = flakeCoverage(x, y, hash(cx, cy));
        return Rgb{a, a, a};
    });
}

// The five maps of one object, in the order the material loads them.
struct MapSet {
    std::function<Rgb(double, double)> albedo;
    std::function<double(double, double)> roughness, metalness;
    std::function<Rgb(double, double)> emissive;
    std::function<double(double, double)> height;
    double bumpStrength;
};

void addMaps(std::vector<Picture>& pictures, const std::string& object, const MapSet& maps) {
    const std::string base = "rsrc/assets/" + object + "_";
    constexpr int kSize = 256;
    pictures.push_back(drawRgb(base + "albedo.png", kSize, maps.albedo));
    pictures.push_back(drawRgb(base + "roughness.png", kSize, [&](double u, double v) {
        double r = maps.roughness(u, v);
        return Rgb{r, r, r};
    }));
    pictures.push_back(drawRgb(base + "metalness.png", kSize, [&](double u, double v) {
        double m = maps.metalness(u, v);
        return Rgb{m, m, m};
    }));
    pictures.push_back(drawRgb(base + "emissive.png", kSize, maps.emissive));
    pictures.push_back(drawRgb(base + "normal.png", kSize, [&](double u, double v) {
        return normalFrom(maps.height, u, v, maps.bumpStrength);
    }));
}

// The blob: polished copper with a faint warm glow. Its vertices all carry
// the texture coordinate (0, 0), so its maps are plain.
MapSet blobMaps() {
    MapSet m;
    m.albedo = [](double, double) { return Rgb{0.9, 0.5, 0.3}; };
    m.roughness = [](double, double) { return 0.2; };
    m.metalness = [](double, double) { return 0.9; };
    m.emissive = [](double, double) { return Rgb{0.12, 0.04, 0.0}; };
    m.height = [](double, double) { return 0.0; };
    m.bumpStrength = 0.0;
    return m;
}

// The shard: pale ice with a cold inner light along its waist.
MapSet shardMaps() {
    MapSet m;
    m.albedo = [](double u, double v) {
        double n = noise(u, v, 8);
        return Rgb{0.55 + 0.1 * n, 0.75 + 0.1 * n, 0.95};
    };
    m.roughness = [](double u, double v) { return 0.1 + 0.15 * noise(u, v, 16); };
    m.metalness = [](double, double) { return 0.3; };
    m.emissive = [](double, double v) {
        double glow = 1.0 - smoothstep(0.0, 0.5, std::abs(v - 0.5));
        return Rgb{0.1 * glow, 0.35 * glow, 0.6 * glow};
    };
    m.height = [](double u, double v) { return 0.2 * noise(u, v, 16); };
    m.bumpStrength = 2.0;
    return m;
}

}  // namespace

std::vector<Picture> drawProceduralPictures() {
    std::vector<Picture> pictures;
    pictures.push_back(flakeAtlas());
    addMaps(pictures, "Blob", blobMaps());
    addMaps(pictures, "Shard", shardMaps());
    return pictures;
}

TextFile shardModel() {
    constexpr int kSides = 6;
    constexpr double kRadius = 0.35, kHalfHeight = 1.0;
    std::string text = "# A crystal shard for the falling copies: a six-sided double pyramid.\no Shard\n";
    char line[96];
    auto vector = [&](const char* key, double x, double y, double z) {
        std::snprintf(line, sizeof line, "%s %.5f %.5f %.5f\n", key, x, y, z);
        text += line;
    };
    auto uv = [&](double u, double v) {
        std::snprintf(line, sizeof line, "vt %.5f %.5f\n", u, v);
        text += line;
    };
    vector("v", 0, kHalfHeight, 0);   // 1: top
    vector("v", 0, -kHalfHeight, 0);  // 2: bottom
    for (int i = 0; i < kSides; ++i) {  // 3 ... 8: the waist
        double a = 2 * kPi * i / kSides;
        vector("v", kRadius * std::cos(a), 0, kRadius * std::sin(a));
    }
    for (int i = 0; i <= kSides; ++i) uv(double(i) / kSides, 0.5);  // 1 ... 7: the waist
    uv(0.5, 0.0);                                                    // 8: top
    uv(0.5, 1.0);                                                    // 9: bottom
    // One flat normal per face; faces wind counter-clockwise seen from outside.
    const double slope = kRadius / kHalfHeight, length = std::sqrt(1 + slope * slope);
    for (int i = 0; i < kSides; ++i) {
        double a = 2 * kPi * (i + 0.5) / kSides;
        vector("vn", std::cos(a) / length, slope / length, std::sin(a) / length);
        vector("vn", std::cos(a) / length, -slope / length, std::sin(a) / length);
    }
    for (int i = 0; i < kSides; ++i) {
        int w0 = 3 + i, w1 = 3 + (i + 1) % kSides, up = 2 * i + 1, down = 2 * i + 2;
        std::snprintf(line, sizeof line, "f 1/8/%d %d/%d/%d %d/%d/%d\n", up, w1, i + 2, up, w0, i + 1, up);
        text += line;
        std::snprintf(line, sizeof line, "f 2/9/%d %d/%d/%d %d/%d/%d\n", down, w0, i + 1, down, w1, i + 2, down);
        text += line;
    }
    return {"rsrc/models/shard.obj", text};
}

}  // namespace vorn::demoassets
