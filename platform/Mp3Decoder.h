// MP3 to 16-bit stereo PCM, the whole stream at once. Mono streams come out
// with the channel doubled. ID3v2 tags are skipped unread. Used by the device
// music output, the capture's music check and the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn::platform {

struct DecodedAudio {
    int sampleRate = 0;
    std::vector<int16_t> samples;  // interleaved left, right

    std::size_t frames() const { return samples.size() / 2; }
    uint32_t durationMs() const { return sampleRate > 0 ? uint32_t(uint64_t(frames()) * 1000 / uint64_t(sampleRate)) : 0; }
};

// Decoded output larger than this is refused (about 50 minutes at 44.1 kHz).
inline constexpr std::size_t kMaxDecodedAudioBytes = std::size_t(512) << 20;

// Nothing when the bytes hold no decodable MP3 frame; the reason goes to
// *whyNot when given. A stream that breaks off or changes its sample rate part
// way keeps what was decoded before that point.
std::optional<DecodedAudio> decodeMp3(const uint8_t* data, std::size_t size, std::string* whyNot = nullptr);

// Whether decodeMp3 would find audio in the bytes, learnt from the first
// samples alone (quick even for a whole track); the reason when not.
bool probeMp3(const uint8_t* data, std::size_t size, std::string* whyNot = nullptr);

}  // namespace vorn::platform
