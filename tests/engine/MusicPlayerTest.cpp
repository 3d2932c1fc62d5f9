#include "engine/MusicPlayer.h"

#include <gtest/gtest.h>

#include "platform/Debug.h"
#include "platform/Paths.h"
#include "tests/engine/FakeAudioOutput.h"

namespace vorn::engine {
namespace {

TEST(MusicPlayerTest, UseFileLoadsOnlyWhenTheFileChangesAndResetsStarted) {
    test::FakeAudioState audio;
    MusicPlayer music(std::make_unique<test::FakeAudioOutput>(audio));
    music.useFile("a.mp3");
    music.useFile("a.mp3");
    EXPECT_EQ(audio.created, (std::vector<std::string>{"a.mp3"}));
    EXPECT_EQ(music.fileName, "a.mp3");
    music.started = true;
    music.useFile("b.mp3");
    EXPECT_EQ(audio.releases, 1);
    EXPECT_FALSE(music.started);
    EXPECT_EQ(audio.created.back(), "b.mp3");
}

TEST(MusicPlayerTest, AnotherSpellingOfTheSameFileKeepsTheSoundButStartsAfresh) {
    test::FakeAudioState audio;
    MusicPlayer music(std::make_unique<test::FakeAudioOutput>(audio));
    const std::string here = platform::currentDirectory();
    music.useFile(here + "\\rsrc\\track.mp3");
    music.startPlayback(0.0f);
    music.useFile(".\\rsrc\\track.mp3");
    EXPECT_EQ(audio.created.size(), 1u);  // not decoded twice
    EXPECT_EQ(audio.releases, 0);
    EXPECT_EQ(music.fileName, ".\\rsrc\\track.mp3");
    EXPECT_FALSE(music.started);
    EXPECT_TRUE(audio.isPaused);
}

TEST(MusicPlayerTest, AMissingFileLeavesNoSoundAndIsNotRetried) {
    test::FakeAudioState audio;
    audio.missingFiles = {"gone.mp3"};
    MusicPlayer music(std::make_unique<test::FakeAudioOutput>(audio));
    platform::DebugCapture capture;
    music.useFile("gone.mp3");
    EXPECT_FALSE(audio.sound);
    EXPECT_EQ(capture.text(), "");  // the output reports it, once
    music.useFile("gone.mp3");  // not retried every frame
    EXPECT_EQ(audio.created.size(), 1u);
}

TEST(MusicPlayerTest, StartPlaybackPlaysOnceThenResumes) {
    test::FakeAudioState audio;
    MusicPlayer music(std::make_unique<test::FakeAudioOutput>(audio));
    music.useFile("a.mp3");
    music.startPlayback(2.5f);  // no channel yet: the position cannot be set
    EXPECT_TRUE(music.started);
    EXPECT_EQ(audio.plays, 1);
    EXPECT_EQ(music.positionMs(), 0u);

    audio.isPaused = true;
    music.startPlayback(1.25f);
    EXPECT_EQ(audio.plays, 1);
    EXPECT_FALSE(audio.isPaused);
    EXPECT_EQ(music.positionMs(), 1250u);
}

}  // namespace
}  // namespace vorn::engine
