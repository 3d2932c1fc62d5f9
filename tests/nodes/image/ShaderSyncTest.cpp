// A shader node's "rocket" parameters driven through the engine's sync client:
// from ".track" files in playback, and live from a loopback tracker.
#include "engine/RocketSyncConnection.h"
#include "nodes/image/Shader.h"
#include "sync/TrackFile.h"
#include "tests/nodes/image/ShaderTestSupport.h"
#include "tests/support/FakeTracker.h"

#include <gtest/gtest.h>

#include <chrono>

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

TEST_F(ShaderSync, ALiveTrackerDrivesRocketParameters) {
    FakeTracker tracker;
    engine.syncConnectionFactory = [&](const std::string& base) {
        auto client = std::make_unique<sync::SyncClient>(base);
        client->setTrackerAddress("127.0.0.1", tracker.port());
        return std::make_unique<engine::RocketSyncConnection>(std::move(client));
    };
    auto* probe = addShader("Probe", kRocketProbe);
    auto pending = tracker.acceptAsync();
    ASSERT_TRUE(engine.connectSync());
    TrackerPeer peer = pending.get();
    Bytes requests = requestTrackBytes("Track") + requestTrackBytes("Spare");
    EXPECT_EQ(peer.read(requests.size()), requests);

    peer.send(setKeyCommand(1, 0, 0.125f, 0) + setKeyCommand(0, 0, 0.625f, 0));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (param(*probe, "Track").value != 0.625f && std::chrono::steady_clock::now() < deadline)
        engine.update(0.0f);
    EXPECT_FLOAT_EQ(param(*probe, "Track").value, 0.625f);
    EXPECT_FLOAT_EQ(param(*probe, "Spare").value, 0.125f);
    runFrame(*probe);
    EXPECT_TRUE(closeTo(imagePixel(probe->images[0], 100, 100), {0.0f, 0.0f, 0.125f, 0.625f}, 1e-3f));
}

}  // namespace
}  // namespace vorn::test
