#include "nodes/image/ParallaxRules.h"

#include <algorithm>

namespace vorn::nodes {

int selectScene(std::span<const float> startTimes, std::span<const bool> hasLayers, float sceneTime) {
    int selected = 0;
    std::size_t count = std::min(startTimes.size(), hasLayers.size());
    for (std::size_t n = 0; n < count; ++n) {
        if (!hasLayers[n]) continue;
        if (startTimes[n] >= sceneTime) break;
        selected = int(n);
    }
    return selected;
}

KeyBlend lookupKeys(std::span<const SceneKey> keys, float tau) {
    const std::size_t last = keys.size() - 1;
    // Keys are one per frame from time 0: the frame number is the first guess.
    const float frame = tau * kParallaxKeysPerSecond;
    std::size_t i = 0;
    if (frame >= float(last)) i = last;
    else if (frame > 0.0f) i = std::size_t(frame);

    for (std::size_t steps = 0; steps < keys.size() && i >= 1 && i + 1 <= last; ++steps) {
        const float lower = keys[i - 1].time;
        const float upper = keys[i + 1].time;
        if (lower <= tau && tau <= upper) {
            float f = upper > lower ? (tau - lower) / (upper - lower) : 0.0f;
            return {i, i + 1, f};
        }
        if (lower <= tau) ++i;
        else --i;
    }
    return {i, i, 0.0f};
}

namespace {

float lerp(float a, float b, float f) { return a + (b - a) * f; }
float clipX(float x) { return 2.0f * x / 1920.0f - 1.0f; }
float clipY(float y) { return 2.0f * y / 1080.0f - 1.0f; }

}  // namespace

LayerPlacement placeLayer(std::span<const SceneKey> keys, float tau) {
    KeyBlend blend = lookupKeys(keys, tau);
    const SceneKey& a = keys[blend.i];
    const SceneKey& b = keys[blend.j];
    const float f = blend.f;
    return {lerp(clipX(a.left), clipX(b.left), f), lerp(clipY(a.y0), clipY(b.y0), f),
            lerp(clipX(a.right), clipX(b.right), f), lerp(clipY(a.y1), clipY(b.y1), f),
            lerp(a.opacity, b.opacity, f)};
}

LayerBlend layerBlend(int32_t mode, int sceneIndex) {
    if (mode == 2) return LayerBlend::Over;
    if (mode == 27 && sceneIndex == 11) return LayerBlend::Dodge;
    return LayerBlend::Screen;
}

GlowFactors glowFactors(int sceneIndex) {
    switch (sceneIndex) {
        case 0: return {70.0f, 3.0f};
        case 1: return {62.5f, 6.05f};
        case 2:
        case 3: return {54.0f, 1.9f};
        default: return {54.0f, 7.4f};
    }
}

std::string layerImageName(std::string_view name) {
    if (name.find("Solid") != std::string_view::npos) return "black.png";
    return std::string(name);
}

bool isNeonName(std::string_view imageName) { return imageName.find("Neon") != std::string_view::npos; }

bool isScreenMaskName(std::string_view imageName) {
    // The spellings the scenes' authors used for mask layers, and two layers
    // that were made masks by name.
    static constexpr std::string_view kMarks[] = {
        "Mask-Screen", "screens-mask", "screen-mask", "Screen-Masks", "Screen-masks",
        "Scene_021_0008_Background", "Screen-Mask", "Screen Mask", "Scene_025_0005_Glow-green.png"};
    for (std::string_view mark : kMarks)
        if (imageName.find(mark) != std::string_view::npos) return true;
    return false;
}

}  // namespace vorn::nodes
