// What the parallax renderer decides on the CPU, apart from drawing: which
// scene plays at a time, which keys a layer shows and where, how each layer
// blends, and what a layer's name says about it. Plain functions without GL,
// so that timing and placement can be checked on their own.
#pragma once

#include "nodes/image/SceneFile.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace vorn::nodes {

inline constexpr int kParallaxSceneCount = 30;
inline constexpr float kParallaxKeysPerSecond = 60.0f;

// The scene shown at scene time T: the last scene that has layers and starts
// before T, stopping at the first scene with layers that starts at or after
// T; scenes without layers are passed over. 0 when none qualifies (scene 0 may
// itself be empty: then nothing is drawn).
int selectScene(std::span<const float> startTimes, std::span<const bool> hasLayers, float sceneTime);

// Keys i and j and the blend f between them at scene-local time tau. The walk
// starts at key trunc(tau x 60) and looks for a window time(i - 1) <= tau <=
// time(i + 1); found, it blends keys i and i + 1 by where tau lies in that
// window, else key i is used alone. The walk takes at most one step per key,
// so keys out of order end it; a window of zero length gives f = 0.
struct KeyBlend {
    std::size_t i = 0;
    std::size_t j = 0;
    float f = 0.0f;
};
KeyBlend lookupKeys(std::span<const SceneKey> keys, float tau);  // keys not empty

// A layer's rectangle in clip space (x and y from -1 to 1, y = -1 on the
// frame's first row) and its opacity, blended between the keys found.
struct LayerPlacement {
    float left = 0.0f, y0 = 0.0f, right = 0.0f, y1 = 0.0f;
    float opacity = 0.0f;
};
LayerPlacement placeLayer(std::span<const SceneKey> keys, float tau);  // keys not empty

enum class LayerBlend {
    Over,    // premultiplied over (mode 2)
    Dodge,   // colour dodge against what lies below (mode 27 in the twelfth scene)
    Screen,  // every other mode
};
LayerBlend layerBlend(int32_t mode, int sceneIndex);

// The glow's blur length and strength factors of a scene.
struct GlowFactors {
    float length = 0.0f;
    float alpha = 0.0f;
};
GlowFactors glowFactors(int sceneIndex);

// The file a layer's picture comes from ("Solid" layers share "black.png"),
// and what that name makes the layer: a glow source, a window for the
// "Masked FX" picture. Names are matched case-sensitively.
std::string layerImageName(std::string_view name);
bool isNeonName(std::string_view imageName);
bool isScreenMaskName(std::string_view imageName);

}  // namespace vorn::nodes
