// The device music output on SDL's dummy driver (set for every test run) and
// with no usable driver at all. Time bounds come from the test's own steady
// clock read around each call, so a slow machine widens nothing but the sleep.
#include "platform/AudioOutput.h"

#include "platform/Debug.h"
#include "tests/platform/AudioFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace vorn::platform {
namespace {

using Clock = std::chrono::steady_clock;

int64_t msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count();
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Plays from `from` (playSound for 0, else setPositionMs right after) and checks
// that after a pause the position has advanced by the wall time that passed.
void expectAdvancesInRealTime(AudioOutput& audio, uint32_t from) {
    auto before = Clock::now();
    if (from == 0) audio.playSound();
    else audio.setPositionMs(from);
    auto after = Clock::now();
    sleepMs(200);
    auto readStart = Clock::now();
    uint32_t position = audio.positionMs();
    auto readEnd = Clock::now();
    EXPECT_GE(int64_t(position), int64_t(from) + msBetween(after, readStart) - 1);
    EXPECT_LE(int64_t(position), int64_t(from) + msBetween(before, readEnd) + 1);
}

class DeviceAudio : public ::testing::Test {
protected:
    std::unique_ptr<AudioOutput> audio = createDeviceAudio();
};

TEST_F(DeviceAudio, ASoundLoadsStoppedPlaysInRealTimeFromItsStartAndReleasesItsChannel) {
    ASSERT_TRUE(audio->createSound(test::stereoToneMp3()));
    EXPECT_FALSE(audio->hasChannel());
    audio->setPositionMs(500);  // no channel: nothing happens
    EXPECT_EQ(audio->positionMs(), 0u);
    expectAdvancesInRealTime(*audio, 0);
    EXPECT_FALSE(audio->paused());
    audio->setPositionMs(1500);
    expectAdvancesInRealTime(*audio, 0);  // playing again starts from the beginning
    audio->releaseSound();
    EXPECT_FALSE(audio->hasChannel());
    EXPECT_EQ(audio->positionMs(), 0u);
}

TEST_F(DeviceAudio, PauseFreezesThePositionAndResumeContinuesFromIt) {
    ASSERT_TRUE(audio->createSound(test::stereoToneMp3()));
    audio->playSound();
    sleepMs(100);
    audio->setPaused(true);
    EXPECT_TRUE(audio->paused());
    uint32_t frozen = audio->positionMs();
    EXPECT_GE(frozen, 100u);
    sleepMs(150);
    audio->update();
    EXPECT_EQ(audio->positionMs(), frozen);

    auto before = Clock::now();
    audio->setPaused(false);
    auto after = Clock::now();
    EXPECT_FALSE(audio->paused());
    sleepMs(100);
    auto readStart = Clock::now();
    uint32_t position = audio->positionMs();
    auto readEnd = Clock::now();
    EXPECT_GE(int64_t(position), int64_t(frozen) + msBetween(after, readStart) - 1);
    EXPECT_LE(int64_t(position), int64_t(frozen) + msBetween(before, readEnd) + 1);
}

TEST_F(DeviceAudio, SetPositionMovesPlaybackWhetherPlayingOrPaused) {
    ASSERT_TRUE(audio->createSound(test::stereoToneMp3()));
    audio->playSound();
    expectAdvancesInRealTime(*audio, 1200);
    audio->setPaused(true);
    audio->setPositionMs(700);
    EXPECT_EQ(audio->positionMs(), 700u);
    audio->setPaused(false);
    EXPECT_GE(audio->positionMs(), 700u);
    EXPECT_LT(audio->positionMs(), 1200u);
}

TEST_F(DeviceAudio, ThePositionStopsAtTheEndOfTheSound) {
    ASSERT_TRUE(audio->createSound(test::stereoToneMp3()));
    audio->playSound();
    audio->setPositionMs(60000);
    uint32_t end = audio->positionMs();
    EXPECT_NEAR(double(end), 2000.0, 80.0);  // the tone's length
    sleepMs(50);
    EXPECT_EQ(audio->positionMs(), end);
}

TEST_F(DeviceAudio, AMissingOrUndecodableFileLeavesNoSound) {
    test::TempDir dir;
    std::string text = dir.write("track.mp3", std::string(5000, 'x'));
    for (const std::string& path : {dir.file("absent.mp3"), text}) {
        ASSERT_TRUE(audio->createSound(test::stereoToneMp3()));
        DebugCapture capture;
        EXPECT_FALSE(audio->createSound(path));
        EXPECT_TRUE(capture.contains(path)) << capture.text();
        EXPECT_FALSE(audio->hasSound());  // the earlier sound is gone too
        audio->playSound();
        EXPECT_FALSE(audio->hasChannel());
        EXPECT_EQ(audio->positionMs(), 0u);
    }
}

TEST(DeviceAudioWithoutDriver, StillAdvancesInRealTime) {
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    std::string saved = previous ? previous : "";
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::unique_ptr<AudioOutput> audio;
    {
        DebugCapture capture;
        audio = createDeviceAudio();
        EXPECT_TRUE(capture.contains("no sound device")) << capture.text();
    }
    if (previous) ::setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else ::unsetenv("SDL_AUDIODRIVER");

    ASSERT_TRUE(audio->createSound(test::stereoToneMp3()));
    expectAdvancesInRealTime(*audio, 0);
    audio->setPaused(true);
    uint32_t frozen = audio->positionMs();
    sleepMs(50);
    EXPECT_EQ(audio->positionMs(), frozen);
}

}  // namespace
}  // namespace vorn::platform
