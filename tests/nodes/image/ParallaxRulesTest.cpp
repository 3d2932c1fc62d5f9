#include "nodes/image/ParallaxRules.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace vorn::nodes {
namespace {

std::vector<SceneKey> keysAt(std::vector<float> times) {
    std::vector<SceneKey> keys;
    for (float t : times) keys.push_back({0, t, 0, 0, 0, 0, 0});
    return keys;
}

// times[k] = k / perSecond for k = 0 ... count-1.
std::vector<float> evenly(int count, float perSecond) {
    std::vector<float> times;
    for (int k = 0; k < count; ++k) times.push_back(float(k) / perSecond);
    return times;
}

TEST(ParallaxRules, KeyLookupFindsTheWindowAroundTheTime) {
    struct Case {
        const char* what;
        std::vector<float> times;
        float tau;
        KeyBlend expected;
    };
    const Case cases[] = {
        // Starts at key 30; the window is keys 29 ... 31, tau half way in it.
        {"one key per frame at 0.5 s", evenly(61, 60), 0.5f, {30, 31, 0.5f}},
        // Starts at key 3 (0.05 x 60); walks down to 1, where 0 <= 0.05 <= 0.2.
        {"sparse keys walk down", evenly(10, 10), 0.05f, {1, 2, 0.25f}},
        // Starts at key 2; walks up to 49, where 0.048 <= 0.0495 <= 0.05.
        {"dense keys walk up", evenly(100, 1000), 0.0495f, {49, 50, 0.75f}},
        // 1 -> 2 -> 1 -> 2 -> 1: four steps for four keys, then key 1 alone.
        {"times out of order end the walk", {0, 1, 0, 0}, 0.02f, {1, 1, 0.0f}},
        {"a zero-length window gives f = 0", {0.02f, 0.02f, 0.02f}, 0.02f, {1, 2, 0.0f}},
        {"before the first key", evenly(10, 60), -1.0f, {0, 0, 0.0f}},
        {"after the last key", evenly(10, 60), 5.0f, {9, 9, 0.0f}},
        {"no time at all", evenly(10, 60), NAN, {0, 0, 0.0f}},
    };
    for (const Case& c : cases) {
        std::vector<SceneKey> keys = keysAt(c.times);
        KeyBlend blend = lookupKeys(keys, c.tau);
        EXPECT_EQ(blend.i, c.expected.i) << c.what;
        EXPECT_EQ(blend.j, c.expected.j) << c.what;
        EXPECT_NEAR(blend.f, c.expected.f, 1e-4f) << c.what;
    }
}

TEST(ParallaxRules, PlacementBlendsTheKeysInClipSpace) {
    // At tau = 1/60 the window is keys 0 ... 2 and f = 0.5, between keys 1 and 2.
    std::vector<SceneKey> keys = {{0, 0.0f, 0, 0, 0, 0, 0},
                                  {0, 1 / 60.0f, 0, 0, 1920, 1080, 1},
                                  {0, 2 / 60.0f, 960, 540, 1920, 1080, 0}};
    LayerPlacement place = placeLayer(keys, 1 / 60.0f);
    EXPECT_NEAR(place.left, -0.5f, 1e-5f);
    EXPECT_NEAR(place.y0, -0.5f, 1e-5f);
    EXPECT_NEAR(place.right, 1.0f, 1e-5f);
    EXPECT_NEAR(place.y1, 1.0f, 1e-5f);
    EXPECT_NEAR(place.opacity, 0.5f, 1e-5f);
}

TEST(ParallaxRules, SceneSelectionFollowsTheStartTimesOfScenesWithLayers) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, float>> loaded;  // scene index, start time
        float sceneTime;
        int expected;
    };
    const Case cases[] = {
        {"at a start time the earlier scene still plays", {{0, 0}, {1, 30}}, 30.0f, 0},
        {"just after it the later one", {{0, 0}, {1, 30}}, 30.01f, 1},
        {"before every start", {{0, 5}, {1, 30}}, 1.0f, 0},
        {"empty scenes are passed over", {{5, 10}}, 10.5f, 5},
        {"an empty scene 0 before the first start", {{5, 10}}, 10.0f, 0},
        {"the walk stops at the first later start", {{1, 20}, {2, 5}}, 10.0f, 0},
        {"a later scene with an earlier start wins", {{1, 5}, {2, 3}}, 10.0f, 2},
        {"nothing loaded", {}, 10.0f, 0},
    };
    for (const Case& c : cases) {
        std::array<float, kParallaxSceneCount> starts{};
        std::array<bool, kParallaxSceneCount> hasLayers{};
        for (auto [scene, start] : c.loaded) {
            hasLayers[scene] = true;
            starts[scene] = start;
        }
        EXPECT_EQ(selectScene(starts, hasLayers, c.sceneTime), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace vorn::nodes
