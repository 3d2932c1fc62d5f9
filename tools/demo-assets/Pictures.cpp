#include "tools/demo-assets/Pictures.h"

#include "tools/demo-assets/ParallaxPictures.h"

#include <algorithm>
#include <cmath>

namespace vorn::demoassets {

namespace {

struct Rgba {
    double r, g, b, a;
};

uint8_t toByte(double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

double smoothstep(double e0, double e1, double x) {
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

Rgba mix(Rgba a, Rgba b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

template <typename Shade>
Picture draw(std::string name, int width, int height, int channels, Shade shade) {
    Picture p{std::move(name), width, height, channels, {}};
    p.pixels.resize(std::size_t(width) * height * channels);
    uint8_t* out = p.pixels.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgba c = shade((x + 0.5) / width, (y + 0.5) / height);
            *out++ = toByte(c.r);
            *out++ = toByte(c.g);
            *out++ = toByte(c.b);
            if (channels == 4) *out++ = toByte(c.a);
        }
    return p;
}

// Cheap reproducible hash noise for star fields.
double hash(int x, int y) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double(h ^ (h >> 16)) / 4294967295.0;
}

// Block letters on a 5x7 grid, enough for the title.
bool letterCell(char letter, int cx, int cy) {
    static const char* V[7] = {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."};
    static const char* O[7] = {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
    static const char* R[7] = {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};
    static const char* N[7] = {"#...#", "##..#", "#.#.#", "#.#.#", "#..##", "#...#", "#...#"};
    const char** rows = letter == 'V' ? V : letter == 'O' ? O : letter == 'R' ? R : N;
    return rows[cy][cx] == '#';
}

// Coverage of the word "VORN" in a box of u, v in 0..1 (with soft cell edges).
double titleCoverage(double u, double v) {
    const char* word = "VORN";
    double cellsX = 4 * 6 - 1, cellsY = 7;
    double gx = u * cellsX, gy = v * cellsY;
    if (gx < 0.0 || gy < 0.0) return 0.0;
    int letter = int(gx / 6), cx = int(gx) % 6, cy = int(gy);
    if (letter < 0 || letter > 3 || cx > 4 || cy < 0 || cy > 6) return 0.0;
    if (!letterCell(word[letter], cx, cy)) return 0.0;
    double fx = gx - std::floor(gx), fy = gy - std::floor(gy);
    double edge = std::min({fx, 1.0 - fx, fy, 1.0 - fy});
    return smoothstep(0.0, 0.08, edge);
}

Picture loadingPicture() {
    return draw("rsrc/misc/loading.png", 1920, 1080, 3, [](double u, double v) {
        Rgba base{0.02, 0.02, 0.04, 1};
        double dx = (u - 0.5) * 1.7777778, dy = v - 0.5;
        double ring = std::abs(std::sqrt(dx * dx + dy * dy) - 0.18);
        Rgba c = mix(base, {0.9, 0.55, 0.15, 1}, 1.0 - smoothstep(0.002, 0.006, ring));
        if (v > 0.75 && v < 0.76 && u > 0.35 && u < 0.65) c = {0.5, 0.5, 0.55, 1};
        return c;
    });
}

Picture skyPicture() {
    return draw("rsrc/images/sky.png", 1920, 1080, 3, [](double u, double v) {
        Rgba top{0.02, 0.03, 0.12, 1}, horizon{0.55, 0.2, 0.35, 1}, ground{0.05, 0.02, 0.05, 1};
        Rgba c = v < 0.7 ? mix(top, horizon, std::pow(v / 0.7, 2.0))
                         : mix(horizon, ground, std::min(1.0, (v - 0.7) * 10.0));
        int sx = int(u * 1920), sy = int(v * 1080);
        if (v < 0.6 && hash(sx, sy) > 0.9985) c = mix(c, {1, 1, 1, 1}, 0.6 + 0.4 * hash(sy, sx));
        // A low sun sitting on the horizon.
        double dx = (u - 0.5) * 1.7777778, dy = v - 0.68;
        double d = std::sqrt(dx * dx + dy * dy);
        if (v < 0.7) c = mix(c, {1.0, 0.75, 0.35, 1}, 1.0 - smoothstep(0.11, 0.115, d));
        return c;
    });
}

Picture orbPicture() {
    return draw("rsrc/images/orb.png", 512, 512, 4, [](double u, double v) {
        double x = u * 2 - 1, y = v * 2 - 1, r2 = x * x + y * y;
        double alpha = 1.0 - smoothstep(0.94, 1.0, r2);
        double z = std::sqrt(std::max(0.0, 1.0 - r2));
        double light = std::max(0.0, -0.5 * x - 0.6 * y + 0.62 * z);
        Rgba c{0.15 + 0.8 * light, 0.35 + 0.6 * light, 0.6 + 0.4 * light, alpha};
        return c;
    });
}

Picture gridPicture() {
    return draw("rsrc/images/grid.png", 1024, 1024, 3, [](double u, double v) {
        auto line = [](double t) {
            double f = std::abs(t * 16 - std::round(t * 16));
            return 1.0 - smoothstep(0.02, 0.06, f);
        };
        double l = std::max(line(u), line(v));
        return mix(Rgba{0.03, 0.0, 0.08, 1}, Rgba{0.1, 0.9, 1.0, 1}, l);
    });
}

Picture titlePicture() {
    return draw("rsrc/images/title.png", 1024, 320, 4, [](double u, double v) {
        double margin = 0.08;
        double cov = titleCoverage((u - margin) / (1 - 2 * margin), (v - 0.12) / 0.76);
        Rgba c = mix(Rgba{1.0, 0.85, 0.4, 1}, Rgba{1.0, 0.45, 0.2, 1}, v);
        c.a = cov;
        return c;
    });
}

}  // namespace

std::vector<Picture> drawPictures() {
    std::vector<Picture> pictures;
    pictures.push_back(loadingPicture());
    pictures.push_back(skyPicture());
    pictures.push_back(orbPicture());
    pictures.push_back(gridPicture());
    pictures.push_back(titlePicture());
    for (Picture& picture : drawParallaxPictures()) pictures.push_back(std::move(picture));
    return pictures;
}

}  // namespace vorn::demoassets
