// MP3 decoding and the music outputs, on tones the build encodes with lame (audio/CMakeLists.txt):
// 2 s of 440 Hz at 44.1 kHz, half scale, silent on the right in stereo. The device output runs on
// SDL's dummy driver (set for every test run) and with no usable driver.
#include "platform/AudioOutput.h"

#include "platform/Debug.h"
#include "platform/Mp3Decoder.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>

namespace vorn::platform {
namespace {

std::string tone(const char* layout) { return test::binaryFolder() + "/tests/platform/audio/tone-" + layout + ".mp3"; }

double rms(const DecodedAudio& audio, int channel, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += std::pow(double(audio.samples[i * 2 + std::size_t(channel)]), 2);
    return std::sqrt(sum / double(to - from));
}

TEST(Mp3Decoding, TheToneKeepsItsRateLengthLevelPitchAndChannels) {
    for (const char* layout : {"stereo", "mono"}) {
        auto bytes = test::readBytes(tone(layout));
        auto audio = decodeMp3(bytes.data(), bytes.size());
        ASSERT_TRUE(audio) << layout;
        EXPECT_EQ(audio->sampleRate, 44100);
        EXPECT_NEAR(double(audio->durationMs()), 2000.0, 80.0);  // give or take the encoder's delay and padding
        // In the middle second the half-scale sine's RMS is 0.5 x 32767 / sqrt(2) = 11585.
        const std::size_t from = 22050, to = 66150;
        EXPECT_NEAR(rms(*audio, 0, from, to), 11585.0, 600.0) << layout;
        const bool mono = layout[0] == 'm';
        EXPECT_NEAR(rms(*audio, 1, from, to), mono ? 11585.0 : 0.0, mono ? 600.0 : 300.0) << layout;
        for (std::size_t i = 0; mono && i < audio->frames(); ++i)
            ASSERT_EQ(audio->samples[i * 2], audio->samples[i * 2 + 1]) << "mono on both channels, frame " << i;
    }
}

TEST(Mp3Decoding, ALongTagIsSteppedOverAndACutStreamKeepsItsStart) {
    auto bytes = test::readBytes(tone("stereo"));
    auto whole = decodeMp3(bytes.data(), bytes.size());
    auto half = decodeMp3(bytes.data(), bytes.size() / 2);
    ASSERT_TRUE(whole && half);
    EXPECT_NEAR(double(half->durationMs()), double(whole->durationMs()) / 2, 100.0);

    // ID3v2.4 with 300000 bytes of padding (18 x 16384 + 39 x 128 + 96), spanning several pieces of input.
    std::vector<uint8_t> tagged = {'I', 'D', '3', 4, 0, 0, 0, 18, 39, 96};
    tagged.resize(tagged.size() + 300000);
    tagged.insert(tagged.end(), bytes.begin(), bytes.end());
    auto audio = decodeMp3(tagged.data(), tagged.size());
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->samples, whole->samples);
    EXPECT_TRUE(probeMp3(tagged.data(), tagged.size()));
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Runs start, waits, and checks that the position has advanced from `from` by
// the wall time that passed. The bounds come from the clock read around each
// call, so a slow machine widens nothing but the wait.
void expectAdvancesInRealTime(AudioOutput& audio, uint32_t from, const std::function<void()>& start) {
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); };
    auto before = Clock::now();
    start();
    auto after = Clock::now();
    sleepMs(150);
    auto readStart = Clock::now();
    double position = audio.positionMs();
    auto readEnd = Clock::now();
    EXPECT_GE(position, from + ms(readStart - after) - 1);
    EXPECT_LE(position, from + ms(readEnd - before) + 1);
}

TEST(DeviceAudio, PlaysInRealTimeFromItsStartPausesSeeksAndStopsAtItsEnd) {
    auto audio = createDeviceAudio();
    ASSERT_TRUE(audio->createSound(tone("stereo")));
    audio->setPositionMs(500);  // no channel yet: nothing happens
    EXPECT_EQ(audio->positionMs(), 0u);
    expectAdvancesInRealTime(*audio, 0, [&] { audio->playSound(); });
    expectAdvancesInRealTime(*audio, 1200, [&] { audio->setPositionMs(1200); });

    audio->setPaused(true);
    uint32_t frozen = audio->positionMs();
    sleepMs(100);
    audio->update();
    EXPECT_EQ(audio->positionMs(), frozen);
    audio->setPositionMs(700);
    EXPECT_EQ(audio->positionMs(), 700u);
    expectAdvancesInRealTime(*audio, 700, [&] { audio->setPaused(false); });
    audio->setPaused(true);
    expectAdvancesInRealTime(*audio, 0, [&] { audio->playSound(); });  // from the beginning, not paused
    EXPECT_FALSE(audio->paused());

    audio->setPositionMs(60000);
    uint32_t end = audio->positionMs();
    EXPECT_NEAR(double(end), 2000.0, 80.0);  // the tone's length
    sleepMs(50);
    EXPECT_EQ(audio->positionMs(), end);
    audio->releaseSound();
    EXPECT_FALSE(audio->hasChannel());
    EXPECT_EQ(audio->positionMs(), 0u);
}

TEST(DeviceAudio, WithoutASoundDeviceItSaysSoAndStillKeepsTime) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    DebugCapture capture;
    std::unique_ptr<AudioOutput> audio = createDeviceAudio();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);  // as every test runs
    EXPECT_TRUE(capture.contains("no sound device")) << capture.text();
    ASSERT_TRUE(audio->createSound(tone("stereo")));
    expectAdvancesInRealTime(*audio, 0, [&] { audio->playSound(); });
}

TEST(AudioOutputs, AFileThatCannotBeUsedLeavesNoSoundNoChannelAndOneLine) {
    test::TempDir dir;
    const std::string absent = dir.file("absent.mp3");
    const std::string text = dir.write("text.mp3", std::string(5000, 'x'));
    std::unique_ptr<AudioOutput> device = createDeviceAudio();
    std::unique_ptr<AudioOutput> stepped = createSteppedAudio();
    const std::pair<AudioOutput*, std::string> cases[] = {
        {device.get(), absent}, {device.get(), text}, {stepped.get(), absent}, {stepped.get(), dir.path()}};
    for (const auto& [audio, path] : cases) {
        ASSERT_TRUE(audio->createSound(tone("stereo")));
        DebugCapture capture;
        EXPECT_FALSE(audio->createSound(path));
        EXPECT_TRUE(capture.contains(path)) << capture.text();
        EXPECT_EQ(capture.text().find('\n'), capture.text().size() - 1) << capture.text();
        EXPECT_FALSE(audio->hasSound()) << path;  // the earlier sound is gone too
        audio->playSound();
        EXPECT_FALSE(audio->hasChannel()) << path;
        audio->setPositionMs(300);
        EXPECT_EQ(audio->positionMs(), 0u) << path;
    }
}

}  // namespace
}  // namespace vorn::platform
