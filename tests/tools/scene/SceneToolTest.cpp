#include "tools/scene/SceneTool.h"

#include "nodes/image/SceneFile.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <limits>

namespace vorn::test {
namespace {

ToolRun run(const std::vector<std::string>& args) { return runTool(tools::runSceneTool, args); }

TEST(SceneToolTest, DumpThenBuildGivesTheSameBytes) {
    TempDir dir;
    const float nan = std::bit_cast<float>(0x7FC00001u), inf = std::numeric_limits<float>::infinity();
    std::vector<nodes::SceneLayerRecord> layers = {
        {"Scene_021_0008_Background.png", "\xCC\xCC\x01", 27, {{3.0f, 0.1f, -0.0f, 1e-45f, 1919.5f, 1080, 0.3f}}},
        {std::string(512, 'n'), "", -1, {{nan, inf, -inf, 0, 0, 0, 1}, {std::bit_cast<float>(0x3F800001u)}}},
        {"caf\xE9 Neon.png", "", 2, {}},
    };
    std::vector<uint8_t> original = nodes::writeSceneFile(layers);

    ToolRun dumped = run({"dump", dir.write("a.scn", original)});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_NE(dumped.out.find("\"caf\xC3\xA9 Neon.png\""), std::string::npos) << "names are shown as UTF-8";
    EXPECT_NE(dumped.out.find("\"time\":0.1,"), std::string::npos) << "floats in their shortest form";
    ToolRun built = run({"build", dir.write("a.json", dumped.out), "-o", dir.file("b.scn")});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(readBytes(dir.file("b.scn")), original);
}

TEST(SceneToolTest, DamagedInputGetsOneLineAndAFailingStatus) {
    TempDir dir;
    std::vector<uint8_t> cut = nodes::writeSceneFile({{"a.png", "", 2, {{}, {}}}});
    cut.resize(cut.size() - 1);
    std::string longName = R"({"layers":[{"name":")" + std::string(513, 'a') + R"(","mode":2,"keys":[]}]})";
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"dump", dir.write("cut.scn", cut)}, 1, "damaged at byte 548"},
        {{"build", dir.write("key.json", R"({"layers":[{"name":"a","mode":2,"keys":[{"time":1}]}]})"), "-o",
          dir.file("x.scn")},
         1, "layers[0].keys[0]: missing \"left\""},
        {{"build", dir.write("long.json", longName), "-o", dir.file("x.scn")}, 1, "at most 512 bytes"},
        {{"build", dir.file("key.json")}, 2, "usage"},
    };
    for (const auto& [args, status, says] : cases) {
        ToolRun result = run(args);
        EXPECT_EQ(result.status, status) << says;
        EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
        EXPECT_TRUE(result.oneLine()) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST(SceneToolTest, PerFrameKeysBlendTheWaypointsAtSixtyASecond) {
    TempDir dir;
    // Left from 0 to 30 and opacity from 0 to 1 over 3 frames; then a jump at
    // 0.1 s (two waypoints at one time): from frame 6 on, left is 90.
    std::string json = dir.write("w.json", R"({"layers":[{"name":"a","mode":2,"keys":[
        {"time":0,    "left":0,  "y0":0,"right":10,"y1":20,"opacity":0},
        {"time":0.05, "left":30, "y0":0,"right":10,"y1":20,"opacity":1},
        {"time":0.1,  "left":30, "y0":0,"right":10,"y1":20,"opacity":1},
        {"time":0.1,  "left":90, "y0":0,"right":10,"y1":20,"opacity":1}]}]})");
    ASSERT_EQ(run({"build", json, "-o", dir.file("w.scn"), "--per-frame"}).status, 0);
    nodes::SceneFileRead read = nodes::readSceneFile(readBytes(dir.file("w.scn")));
    ASSERT_EQ(read.layers.size(), 1u);
    const std::vector<nodes::SceneKey>& keys = read.layers[0].keys;
    ASSERT_EQ(keys.size(), 7u);  // frames 0 ... 6
    const float left[] = {0, 10, 20, 30, 30, 30, 90};
    const float opacity[] = {0, 1 / 3.0f, 2 / 3.0f, 1, 1, 1, 1};
    for (int frame = 0; frame < 7; ++frame) {
        EXPECT_FLOAT_EQ(keys[frame].unused, float(frame));
        EXPECT_FLOAT_EQ(keys[frame].time, frame / 60.0f);
        EXPECT_NEAR(keys[frame].left, left[frame], 1e-4f) << frame;
        EXPECT_NEAR(keys[frame].opacity, opacity[frame], 1e-6f) << frame;
        EXPECT_EQ(keys[frame].y1, 20.0f);
    }
}

}  // namespace
}  // namespace vorn::test
