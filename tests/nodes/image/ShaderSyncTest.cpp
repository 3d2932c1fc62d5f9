// A shader node's "rocket" parameters driven through the engine's sync client,
// as the player plays ".track" files.
#include "nodes/image/Shader.h"
#include "sync/TrackFile.h"
#include "tests/nodes/image/ShaderTestSupport.h"

#include <gtest/gtest.h>


namespace vorn::test {
namespace {

// Track's value shows in the picture's alpha; Spare is a second rocket parameter.
const char kRocketProbe[] =
    "Name \"Rocket Probe\" \"Rocket Probe\"\n"
    "Param 0, \"Track\" rocket, 0.75\n"
    "Param 1, \"Spare\" rocket, 0.5\n"
    "Source\n"
    "#version 330 core\n"
    "out vec4 frag[1];\n"
    "uniform float Track;\n"
    "uniform float Spare;\n"
    "void main() { frag[0] = vec4(0.0, 0.0, Spare, Track); }\n";

class ShaderSync : public ShaderNodeTest {
protected:
    WorkingDirectory folder;
};

TEST_F(ShaderSync, PlaybackDrivesRocketParametersThatHaveATrackFile) {
    sync::SyncTrack track;
    track.name = "Track";
    track.keys = {{0, 0.25f, sync::Step}};
    ASSERT_TRUE(sync::saveTrackFile(track, sync::trackPath("sync", "Track")));
    auto* probe = addShader("Probe", kRocketProbe);

    ASSERT_TRUE(engine.startTrackPlayback());
    ASSERT_EQ(engine.syncBindings.size(), 1u);
    EXPECT_EQ(engine.syncBindings[0].trackName, "Track");
    engine.update(0.0f);
    EXPECT_FLOAT_EQ(param(*probe, "Track").value, 0.25f);
    EXPECT_FLOAT_EQ(param(*probe, "Spare").value, 0.5f);  // no file: its own value
    runFrame(*probe);
    EXPECT_TRUE(closeTo(imagePixel(probe->images[0], 100, 100), {0.0f, 0.0f, 0.5f, 0.25f}, 1e-3f));
}

}  // namespace
}  // namespace vorn::test
