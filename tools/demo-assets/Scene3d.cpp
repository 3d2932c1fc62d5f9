#include "tools/demo-assets/Scene3d.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>

namespace vorn::demoassets {

namespace {

constexpr double kPi = 3.14159265358979323846;

using Vec3 = std::array<double, 3>;

// An OBJ text under construction: elements are numbered from 1 as they are added.
class ObjText {
public:
    int vertex(const Vec3& p) { return add("v", p, ++vertices_); }
    int uv(double u, double v) {
        line("vt %.4f %.4f", u, v);
        return ++uvs_;
    }
    int normal(const Vec3& n) { return add("vn", n, ++normals_); }
    void object(const char* name) { text += std::string("o ") + name + "\n"; }
    void material(const char* name) { text += std::string("usemtl ") + name + "\n"; }
    // One face of corners (position, texture coordinate, normal), any count.
    void face(const std::vector<std::array<int, 3>>& corners) {
        text += "f";
        char buffer[48];
        for (const auto& [p, t, n] : corners) {
            std::snprintf(buffer, sizeof buffer, " %d/%d/%d", p, t, n);
            text += buffer;
        }
        text += "\n";
    }
    // A flat polygon: points in order, one normal, uv from the point.
    void polygon(const std::vector<Vec3>& points, const Vec3& n, const std::function<std::array<double, 2>(const Vec3&)>& uvOf) {
        int ni = normal(n);
        std::vector<std::array<int, 3>> corners;
        for (const Vec3& p : points) {
            auto [u, v] = uvOf(p);
            corners.push_back({vertex(p), uv(u, v), ni});
        }
        face(corners);
    }

    std::string text;

private:
    template <class... A>
    void line(const char* format, A... values) {
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, format, values...);
        text += buffer;
        text += "\n";
    }
    int add(const char* key, const Vec3& p, int index) {
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "%s %.5f %.5f %.5f\n", key, p[0], p[1], p[2]);
        text += buffer;
        return index;
    }
    int vertices_ = 0, uvs_ = 0, normals_ = 0;
};

Vec3 onCircle(double radius, double angle, double y) { return {radius * std::cos(angle), y, radius * std::sin(angle)}; }

// A prism of `sides` flat quads between heights y0 and y1 around the y axis
// (corner radius r), with caps as single polygons. Texture coordinates follow
// the perimeter and the height, so the panel maps keep their size.
void prism(ObjText& obj, int sides, double r, double y0, double y1, const char* sideMaterial, const char* capMaterial) {
    obj.material(sideMaterial);
    double edge = 2 * r * std::sin(kPi / sides);
    for (int i = 0; i < sides; ++i) {
        double a0 = 2 * kPi * i / sides, a1 = 2 * kPi * (i + 1) / sides, mid = (a0 + a1) / 2;
        int n = obj.normal({std::cos(mid), 0, std::sin(mid)});
        Vec3 p[4] = {onCircle(r, a0, y0), onCircle(r, a1, y0), onCircle(r, a1, y1), onCircle(r, a0, y1)};
        double u0 = i * edge, u1 = (i + 1) * edge;
        int t[4] = {obj.uv(u0, y0), obj.uv(u1, y0), obj.uv(u1, y1), obj.uv(u0, y1)};
        obj.face({{obj.vertex(p[0]), t[0], n}, {obj.vertex(p[1]), t[1], n}, {obj.vertex(p[2]), t[2], n},
                  {obj.vertex(p[3]), t[3], n}});
    }
    obj.material(capMaterial);
    auto planar = [](const Vec3& p) { return std::array<double, 2>{p[0] * 0.5 + 0.5, p[2] * 0.5 + 0.5}; };
    std::vector<Vec3> top, bottom;
    for (int i = 0; i < sides; ++i) {
        top.push_back(onCircle(r, 2 * kPi * i / sides, y1));
        bottom.push_back(onCircle(r, -2 * kPi * i / sides, y0));
    }
    obj.polygon(top, {0, 1, 0}, planar);
    obj.polygon(bottom, {0, -1, 0}, planar);
}

// A five-pointed star prism: concave caps of ten corners, ten side quads.
void star(ObjText& obj, double outer, double inner, double y0, double y1) {
    std::vector<Vec3> rim;
    for (int i = 0; i < 10; ++i) rim.push_back(onCircle(i % 2 ? inner : outer, kPi / 2 + 2 * kPi * i / 10, 0));
    auto planar = [](const Vec3& p) { return std::array<double, 2>{p[0] * 0.5 + 0.5, p[2] * 0.5 + 0.5}; };
    std::vector<Vec3> top, bottom;
    for (int i = 0; i < 10; ++i) {
        top.push_back({rim[i][0], y1, rim[i][2]});
        bottom.push_back({rim[9 - i][0], y0, rim[9 - i][2]});
    }
    obj.polygon(top, {0, 1, 0}, planar);
    obj.polygon(bottom, {0, -1, 0}, planar);
    double u = 0;
    for (int i = 0; i < 10; ++i) {
        const Vec3& a = rim[i];
        const Vec3& b = rim[(i + 1) % 10];
        double dx = b[0] - a[0], dz = b[2] - a[2], length = std::sqrt(dx * dx + dz * dz);
        int n = obj.normal({dz / length, 0, -dx / length});
        Vec3 p[4] = {{a[0], y0, a[2]}, {b[0], y0, b[2]}, {b[0], y1, b[2]}, {a[0], y1, a[2]}};
        int t[4] = {obj.uv(u, y0), obj.uv(u + length, y0), obj.uv(u + length, y1), obj.uv(u, y1)};
        obj.face({{obj.vertex(p[0]), t[0], n}, {obj.vertex(p[1]), t[1], n}, {obj.vertex(p[2]), t[2], n},
                  {obj.vertex(p[3]), t[3], n}});
        u += length;
    }
}

// A ring about the y axis at height y, tilted about x: smooth normals, quads.
void torus(ObjText& obj, double major, double minor, double y, double tilt, int around, int across) {
    auto point = [&](int i, int j, bool asNormal) {
        double a = 2 * kPi * (i % around) / around, b = 2 * kPi * (j % across) / across;
        double r = asNormal ? std::cos(b) : major + minor * std::cos(b);
        double h = asNormal ? std::sin(b) : minor * std::sin(b);
        double x = r * std::cos(a), z = r * std::sin(a);
        return Vec3{x, h * std::cos(tilt) - z * std::sin(tilt) + (asNormal ? 0 : y), h * std::sin(tilt) + z * std::cos(tilt)};
    };
    for (int i = 0; i < around; ++i)
        for (int j = 0; j < across; ++j) {
            std::vector<std::array<int, 3>> corners;
            for (auto [di, dj] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 0}})
                corners.push_back({obj.vertex(point(i + di, j + dj, false)),
                                   obj.uv(double(i + di) * 8 / around, double(j + dj) / across),
                                   obj.normal(point(i + di, j + dj, true))});
            obj.face(corners);
        }
}

std::string relicObj() {
    ObjText obj;
    obj.text = "# The bundled demo's relic. Faces are quads and polygons; usemtl splits the\n"
               "# pedestal into its stone sides and trimmed caps.\nmtllib relic.mtl\n";
    obj.object("Floor");
    obj.material("stone");
    std::vector<Vec3> disc;
    for (int i = 0; i < 24; ++i) disc.push_back(onCircle(4.5, -2 * kPi * i / 24, 0));
    obj.polygon(disc, {0, 1, 0}, [](const Vec3& p) { return std::array<double, 2>{p[0] / 1.5, p[2] / 1.5}; });
    obj.object("Pedestal");
    prism(obj, 8, 1.3, 0.0, 0.35, "stone", "trim");
    obj.object("Column");
    prism(obj, 6, 0.32, 0.35, 2.1, "stone", "trim");
    obj.object("Crown");
    obj.material("trim");
    star(obj, 0.85, 0.38, 2.1, 2.35);
    obj.object("Ring");
    obj.material("ring");
    torus(obj, 1.0, 0.07, 1.25, 0.35, 32, 8);
    return obj.text;
}

const char kRelicMtl[] =
    "# Materials of the relic; the renderer takes its maps from PBR_FixMaterial.\n"
    "newmtl stone\nKa 0.1 0.1 0.1\nKd 0.55 0.55 0.6\nKs 0.2 0.2 0.2\nNs 20\nNi 1.5\nd 1\nillum 2\n"
    "map_Kd relic_albedo.png\nmap_bump relic_normal.png\n"
    "newmtl trim\nKa 0.1 0.1 0.1\nKd 0.8 0.6 0.3\nKs 0.9 0.8 0.6\nNs 200\nNi 1.5\nd 1\nillum 3\n"
    "newmtl ring\nKa 0 0 0\nKd 0.9 0.9 0.95\nKs 1 1 1\nNs 400\nNi 1.5\nd 1\nillum 3\n";

// Key lines: frame, then x, y, z and seven unused numbers. The renderer's world
// is y-down and the reader turns (x, y, z) into (x, -z, -y): a file z of -1.5
// holds the relic 1.5 units below its rest. It waits there until its scene
// begins at 46.08 s (frame 2765), rises over two and a half seconds, then bobs.
std::string relicKeys() {
    std::string text;
    char buffer[96];
    auto key = [&](int frame, double z) {
        std::snprintf(buffer, sizeof buffer, "%d 0.0 0.0 %.4f 0 0 0 0 0 0 0\n", frame, z);
        text += buffer;
    };
    const int start = 2765, risen = start + 150, end = 3600;
    key(0, -1.5);
    key(start, -1.5);
    for (int frame = start + 6; frame <= risen; frame += 6) {
        double s = double(frame - start) / (risen - start);
        key(frame, -1.5 * (1 - s * s * (3 - 2 * s)));
    }
    for (int frame = risen + 6; frame <= end; frame += 6) key(frame, 0.06 * std::sin((frame - risen) / 60.0 * 1.3));
    return text;
}

// --- Pictures

uint8_t toByte(double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

double smoothstep(double e0, double e1, double x) {
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

double hash(int x, int y) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double(h ^ (h >> 16)) / 4294967295.0;
}

Picture draw(std::string name, int width, int height, const std::function<Vec3(double u, double v)>& shade) {
    Picture p{std::move(name), width, height, 3, {}};
    p.pixels.reserve(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Vec3 c = shade((x + 0.5) / width, (y + 0.5) / height);
            for (double channel : c) p.pixels.push_back(toByte(channel));
        }
    return p;
}

// The relic's surface: a 4 x 4 grid of panels per texture repeat, with
// bevelled seams, some panels bare metal, and a glowing line in each seam.
struct Panel {
    int id;         // which panel
    double seam;    // distance to the nearest seam, in panel widths (0 .. 0.5)
    double dx, dy;  // direction away from that seam
};

Panel panelAt(double u, double v) {
    double gx = u * 4, gy = v * 4;
    int px = int(std::floor(gx)) & 3, py = int(std::floor(gy)) & 3;
    double fx = gx - std::floor(gx), fy = gy - std::floor(gy);
    double ex = std::min(fx, 1 - fx), ey = std::min(fy, 1 - fy);
    if (ex < ey) return {py * 4 + px, ex, fx < 0.5 ? 1.0 : -1.0, 0.0};
    return {py * 4 + px, ey, 0.0, fy < 0.5 ? 1.0 : -1.0};
}

constexpr double kBevel = 0.08;  // panel widths

bool isMetal(int panel) { return hash(panel, 7) > 0.72; }

Picture relicAlbedo() {
    return draw("rsrc/maps/relic_albedo.png", 512, 512, [](double u, double v) {
        Panel p = panelAt(u, v);
        double shade = 0.5 + 0.25 * hash(p.id, 1) + 0.04 * (hash(int(u * 512), int(v * 512)) - 0.5);
        Vec3 stone{shade * 0.82, shade * 0.86, shade};
        Vec3 metal{0.92, 0.8, 0.62};
        Vec3 c = isMetal(p.id) ? metal : stone;
        double groove = 1 - smoothstep(0.0, kBevel, p.seam);
        for (double& channel : c) channel *= 1 - 0.7 * groove;
        return c;
    });
}

Picture relicNormal() {
    return draw("rsrc/maps/relic_normal.png", 512, 512, [](double u, double v) {
        Panel p = panelAt(u, v);
        // The bevel slopes down into the seam: the normal leans away from it.
        double slope = p.seam < kBevel ? 0.6 : 0.0;
        double nx = -p.dx * slope, ny = -p.dy * slope, nz = 1.0;
        double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        return Vec3{nx / length * 0.5 + 0.5, ny / length * 0.5 + 0.5, nz / length * 0.5 + 0.5};
    });
}

Picture relicRoughness() {
    return draw("rsrc/maps/relic_roughness.png", 512, 512, [](double u, double v) {
        Panel p = panelAt(u, v);
        double r = isMetal(p.id) ? 0.15 + 0.15 * hash(p.id, 3) : 0.45 + 0.35 * hash(p.id, 5);
        if (p.seam < kBevel) r = 0.9;
        return Vec3{r, r, r};
    });
}

Picture relicMetalness() {
    return draw("rsrc/maps/relic_metalness.png", 512, 512, [](double u, double v) {
        Panel p = panelAt(u, v);
        double m = isMetal(p.id) && p.seam >= kBevel ? 1.0 : 0.0;
        return Vec3{m, m, m};
    });
}

Picture relicEmission() {
    return draw("rsrc/maps/relic_emission.png", 512, 512, [](double u, double v) {
        Panel p = panelAt(u, v);
        double line = 1 - smoothstep(0.006, 0.014, p.seam);
        // A few panels carry a small amber lamp in their middle.
        double cx = u * 4 - std::floor(u * 4) - 0.5, cy = v * 4 - std::floor(v * 4) - 0.5;
        double lamp = hash(p.id, 11) > 0.8 ? 1 - smoothstep(0.05, 0.07, std::sqrt(cx * cx + cy * cy)) : 0.0;
        return Vec3{0.1 * line + 1.0 * lamp, 0.8 * line + 0.55 * lamp, 1.0 * line + 0.1 * lamp};
    });
}

// Equirectangular: u is the angle around, v runs from straight up (0) to
// straight down (1). An evening sky with a low warm sun over a dusky plain,
// and a bright band along the horizon that the metal picks up.
Picture environment() {
    return draw("rsrc/environments/env-default.jpg", 1024, 512, [](double u, double v) {
        double elevation = (0.5 - v) * kPi;  // +pi/2 up
        Vec3 c;
        if (elevation > 0) {
            double t = std::pow(elevation / (kPi / 2), 0.6);
            Vec3 zenith{0.05, 0.09, 0.25}, horizon{0.85, 0.55, 0.4};
            for (int i = 0; i < 3; ++i) c[i] = horizon[i] + (zenith[i] - horizon[i]) * t;
        } else {
            double t = std::pow(-elevation / (kPi / 2), 0.5);
            Vec3 horizon{0.45, 0.3, 0.25}, nadir{0.08, 0.06, 0.06};
            for (int i = 0; i < 3; ++i) c[i] = horizon[i] + (nadir[i] - horizon[i]) * t;
        }
        double band = std::exp(-std::pow(elevation / 0.05, 2));
        for (int i = 0; i < 3; ++i) c[i] += 0.3 * band;
        // The sun: about 8 degrees across, 12 degrees up, a quarter turn round.
        double du = (u - 0.25) * 2 * kPi, dv = elevation - 0.21;
        double d = std::sqrt(du * du * std::cos(elevation) * std::cos(elevation) + dv * dv);
        double sun = 1 - smoothstep(0.06, 0.08, d), glow = std::exp(-d * d / 0.08);
        c = {c[0] + sun + 0.5 * glow, c[1] + 0.92 * sun + 0.3 * glow, c[2] + 0.75 * sun + 0.1 * glow};
        return c;
    });
}

Picture flat(const char* name, const Vec3& colour) {
    return draw(name, 4, 4, [colour](double, double) { return colour; });
}

}  // namespace

std::vector<TextFile> relicFiles() {
    return {{"rsrc/models/relic.obj", relicObj()}, {"rsrc/models/relic.mtl", kRelicMtl},
            {"rsrc/models/relic.keys", relicKeys()}};
}

std::vector<Picture> relicMaps() {
    return {relicAlbedo(), relicNormal(), relicRoughness(), relicMetalness(), relicEmission()};
}

std::vector<Picture> jpegPictures() {
    return {environment(), flat("rsrc/misc/white.jpg", {1, 1, 1}), flat("rsrc/misc/norm.jpg", {0.5, 0.5, 1}),
            flat("rsrc/misc/black.jpg", {0, 0, 0})};
}

}  // namespace vorn::demoassets
