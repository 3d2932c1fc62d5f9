#include "platform/AudioOutput.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vorn::platform {
namespace {

TEST(SteppedAudio, ReportsExactlyThePositionItIsGiven) {
    test::TempDir dir;
    dir.write("Rsrc/Track.mp3", "not decoded, only opened");
    auto audio = createSteppedAudio();
    ASSERT_TRUE(audio->createSound(dir.path() + "\\rsrc\\track.mp3"));
    EXPECT_TRUE(audio->hasSound());
    EXPECT_FALSE(audio->hasChannel());
    EXPECT_EQ(audio->positionMs(), 0u);

    audio->standAt(1234);
    EXPECT_EQ(audio->positionMs(), 0u);  // no channel yet
    audio->playSound();
    EXPECT_TRUE(audio->hasChannel());
    EXPECT_EQ(audio->positionMs(), 1234u);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    audio->update();
    EXPECT_EQ(audio->positionMs(), 1234u);  // never advances on its own

    audio->standAt(40);
    EXPECT_EQ(audio->positionMs(), 40u);
    audio->setPositionMs(5000);
    EXPECT_EQ(audio->positionMs(), 5000u);
    audio->setPaused(true);
    EXPECT_TRUE(audio->paused());
    audio->setPaused(false);
    EXPECT_FALSE(audio->paused());
}

TEST(SteppedAudio, AMissingFileLeavesNoSoundAndNoChannel) {
    test::TempDir dir;
    auto audio = createSteppedAudio();
    EXPECT_FALSE(audio->createSound(dir.file("track.mp3")));
    EXPECT_FALSE(audio->createSound(dir.path()));  // a folder cannot be read as a sound
    EXPECT_FALSE(audio->hasSound());
    audio->playSound();
    EXPECT_FALSE(audio->hasChannel());
    audio->setPositionMs(300);
    audio->setPaused(true);
    EXPECT_FALSE(audio->paused());
    EXPECT_EQ(audio->positionMs(), 0u);
}

}  // namespace
}  // namespace vorn::platform
