#include "tools/capture/CaptureClock.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

TEST(CaptureClock, TheChannelStandsWhereTheCaptureSaysOncePlaybackStarted) {
    capture::CaptureClock clock;
    clock.standAt(500);
    EXPECT_EQ(clock.positionMs(), 0u);  // not started: no channel yet
    EXPECT_FALSE(clock.hasChannel());
    clock.playSound();
    EXPECT_TRUE(clock.hasChannel());
    EXPECT_EQ(clock.positionMs(), 500u);
    clock.standAt(1250);
    EXPECT_EQ(clock.positionMs(), 1250u);
    clock.setPositionMs(40);
    EXPECT_EQ(clock.positionMs(), 40u);
}

TEST(CaptureClock, ASoundIsKeptWhenTheFileExistsButTheClockRunsWithoutOne) {
    TempDir folder;
    std::string track = folder.write("track.mp3", std::string("ID3"));
    capture::CaptureClock clock;
    EXPECT_FALSE(clock.createSound(folder.file("missing.mp3")));
    EXPECT_FALSE(clock.hasSound());
    clock.playSound();
    clock.standAt(90);
    EXPECT_EQ(clock.positionMs(), 90u);
    EXPECT_TRUE(clock.createSound(track));
    EXPECT_TRUE(clock.hasSound());
}

}  // namespace
}  // namespace vorn::test
