#include "engine/MusicPlayer.h"

#include <gtest/gtest.h>

#include "platform/Debug.h"
#include "platform/Paths.h"
#include "tests/engine/FakeAudioOutput.h"

namespace vorn::engine {
namespace {

struct Music {
    test::FakeAudioState audio;
    MusicPlayer music{std::make_unique<test::FakeAudioOutput>(audio)};
};

TEST(MusicPlayerTest, ASoundIsDecodedOncePerFileWhateverItsSpelling) {
    Music m;
    m.music.useFile(platform::currentDirectory() + "\\rsrc\\track.mp3");
    m.music.startPlayback(0.0f);
    m.music.useFile(".\\rsrc\\track.mp3");  // the project's spelling of the same file
    EXPECT_EQ(m.audio.created.size(), 1u);
    EXPECT_FALSE(m.music.started);  // but playback starts afresh, as after a reload
    EXPECT_TRUE(m.audio.isPaused);

    m.music.useFile("b.mp3");
    EXPECT_EQ(m.audio.releases, 1);
    EXPECT_EQ(m.audio.created.back(), "b.mp3");

    m.audio.missingFiles = {"gone.mp3"};
    platform::DebugCapture capture;
    m.music.useFile("gone.mp3");
    m.music.useFile("gone.mp3");  // not retried every frame
    EXPECT_EQ(m.audio.created.size(), 3u);
    EXPECT_EQ(capture.text(), "");  // the output reports it, once
}

TEST(MusicPlayerTest, StartPlaybackPlaysOnceThenResumesAtTheGivenTime) {
    Music m;
    m.music.useFile("a.mp3");
    m.music.startPlayback(2.5f);  // no channel yet: the position cannot be set
    EXPECT_EQ(m.audio.plays, 1);
    EXPECT_EQ(m.music.positionMs(), 0u);
    m.audio.isPaused = true;
    m.music.startPlayback(1.25f);
    EXPECT_EQ(m.audio.plays, 1);
    EXPECT_FALSE(m.audio.isPaused);
    EXPECT_EQ(m.music.positionMs(), 1250u);
}

}  // namespace
}  // namespace vorn::engine
