#include "platform/Mp3Decoder.h"

#include "tests/platform/AudioFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn::platform {
namespace {

std::optional<DecodedAudio> decodeFile(const std::string& path, std::string* whyNot = nullptr) {
    auto bytes = test::readBytes(path);
    return decodeMp3(bytes.data(), bytes.size(), whyNot);
}

double rms(const DecodedAudio& audio, int channel, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += std::pow(double(audio.samples[i * 2 + std::size_t(channel)]), 2);
    return std::sqrt(sum / double(to - from));
}

TEST(Mp3Decoding, DecodesTheToneWithItsRateLengthAndChannels) {
    auto audio = decodeFile(test::stereoToneMp3());
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->sampleRate, 44100);
    // 2 s, give or take the encoder's start delay and end padding.
    EXPECT_NEAR(double(audio->durationMs()), 2000.0, 80.0);

    // Half-scale sine: RMS 0.5 * 32767 / sqrt(2) = 11585 on the left, silence on the right.
    const std::size_t from = 22050, to = 66150;  // the middle second
    EXPECT_NEAR(rms(*audio, 0, from, to), 11585.0, 600.0);
    EXPECT_LT(rms(*audio, 1, from, to), 300.0);

    // 440 Hz crosses zero upwards 440 times a second.
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i)
        if (audio->samples[(i - 1) * 2] < 0 && audio->samples[i * 2] >= 0) ++crossings;
    EXPECT_NEAR(crossings, 440, 2);
}

TEST(Mp3Decoding, MonoComesOutOnBothChannels) {
    auto audio = decodeFile(test::monoToneMp3());
    ASSERT_TRUE(audio);
    ASSERT_GT(audio->frames(), 44100u);
    for (std::size_t i = 0; i < audio->frames(); ++i) ASSERT_EQ(audio->samples[i * 2], audio->samples[i * 2 + 1]) << i;
    EXPECT_NEAR(rms(*audio, 0, 22050, 66150), 11585.0, 600.0);
}

TEST(Mp3Decoding, ACutStreamKeepsWhatCameBeforeTheCut) {
    auto bytes = test::readBytes(test::stereoToneMp3());
    auto whole = decodeMp3(bytes.data(), bytes.size());
    auto half = decodeMp3(bytes.data(), bytes.size() / 2);
    ASSERT_TRUE(whole);
    ASSERT_TRUE(half);
    EXPECT_NEAR(double(half->durationMs()), double(whole->durationMs()) / 2, 100.0);
}

TEST(Mp3Decoding, ATagSpanningSeveralPiecesOfInputIsSteppedOver) {
    auto tone = test::readBytes(test::stereoToneMp3());
    auto plain = decodeMp3(tone.data(), tone.size());
    ASSERT_TRUE(plain);
    // ID3v2.4 with a 300000-byte body of padding: 18 x 16384 + 39 x 128 + 96 in 7-bit bytes.
    std::vector<uint8_t> tagged = {'I', 'D', '3', 4, 0, 0, 0, 18, 39, 96};
    tagged.resize(tagged.size() + 300000);
    tagged.insert(tagged.end(), tone.begin(), tone.end());
    auto audio = decodeMp3(tagged.data(), tagged.size());
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->samples, plain->samples);
    EXPECT_TRUE(probeMp3(tagged.data(), tagged.size()));
}

TEST(Mp3Decoding, DataWithoutFramesYieldsNothing) {
    std::string whyNot;
    std::vector<uint8_t> text(4000, 'a');
    EXPECT_FALSE(decodeMp3(text.data(), text.size(), &whyNot));
    EXPECT_FALSE(whyNot.empty());
    EXPECT_FALSE(probeMp3(text.data(), text.size()));
    EXPECT_FALSE(decodeMp3(nullptr, 0));
}

}  // namespace
}  // namespace vorn::platform
