#include "nodes/image/SceneFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vorn::nodes {
namespace {

SceneLayerRecord layer(std::string name, int32_t mode, int keys) {
    SceneLayerRecord record{std::move(name), "", mode, {}};
    for (int k = 0; k < keys; ++k) record.keys.push_back({0, k / 60.0f, 1, 2, 3, 4, 0.5f});
    return record;
}

void putInt32(std::vector<uint8_t>& bytes, std::size_t at, int32_t value) { std::memcpy(&bytes[at], &value, 4); }

// Two layers: "a.png" with 3 keys (bytes 0-603), "b.png" with 2 (604-1179).
std::vector<uint8_t> twoLayers() { return writeSceneFile({layer("a.png", 2, 3), layer("b.png", 6, 2)}); }

TEST(SceneFile, DamageEndsTheFileAndKeepsWhatWasComplete) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<std::size_t> keysPerLayer;  // of the layers kept
        bool damaged;
        std::size_t offset;
    };
    auto cut = [](std::size_t size) {
        std::vector<uint8_t> bytes = twoLayers();
        bytes.resize(size);
        return bytes;
    };
    std::vector<uint8_t> negative = twoLayers(), huge = twoLayers();
    putInt32(negative, 604 + 516, -1);
    putInt32(huge, 604 + 516, 0x7FFFFFFF);
    const Case cases[] = {
        {"whole", twoLayers(), {3, 2}, false, 0},
        {"empty", {}, {}, false, 0},
        {"name cut", cut(704), {3}, true, 604},
        {"mode cut", cut(604 + 514), {3}, true, 604},
        {"count cut", cut(604 + 518), {3}, true, 604},
        {"second key cut", cut(1124 + 28 + 10), {3, 1}, true, 1152},
        {"negative count", negative, {3}, true, 1120},
        {"count beyond the file", huge, {3, 2}, true, 1180},
    };
    for (const Case& c : cases) {
        SceneFileRead read = readSceneFile(c.bytes);
        std::vector<std::size_t> kept;
        for (const SceneLayerRecord& l : read.layers) kept.push_back(l.keys.size());
        EXPECT_EQ(kept, c.keysPerLayer) << c.what;
        EXPECT_EQ(read.damaged, c.damaged) << c.what;
        if (c.damaged) {
            EXPECT_EQ(read.damageOffset, c.offset) << c.what;
            EXPECT_FALSE(read.problem.empty()) << c.what;
        }
    }
}

}  // namespace
}  // namespace vorn::nodes
