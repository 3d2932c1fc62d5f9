#include "platform/Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace vorn::platform {

namespace {

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};

std::optional<DecodedAudio> fail(std::string* whyNot, std::string reason) {
    if (whyNot) *whyNot = std::move(reason);
    return std::nullopt;
}

// The input is fed in pieces, so the library's own copy of it stays small.
constexpr std::size_t kFeedBytes = std::size_t(64) << 10;

// The whole stream, or (firstSamplesOnly) just enough of it to know it plays.
std::optional<DecodedAudio> decode(const uint8_t* data, std::size_t size, std::string* whyNot, bool firstSamplesOnly) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { mpg123_init(); });  // required by older library versions

    int error = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, &error));
    if (!handle) return fail(whyNot, std::string("cannot start the MP3 decoder: ") + mpg123_plain_strerror(error));
    mpg123_handle* mh = handle.get();
    // Tags are stepped over, not parsed: the library would otherwise reserve
    // whatever size an ID3v2 header declares (up to 256 MiB) before reading it.
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_SKIP_ID3V2, 0.0);

    // One output layout whatever the stream: 16-bit stereo at the stream's own rate.
    mpg123_format_none(mh);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i) mpg123_format(mh, rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16);

    if (mpg123_open_feed(mh) != MPG123_OK)
        return fail(whyNot, std::string("cannot read the stream: ") + mpg123_strerror(mh));
    std::size_t fed = 0;

    DecodedAudio audio;
    std::vector<unsigned char> chunk(1 << 16);
    for (;;) {
        std::size_t done = 0;
        int result = mpg123_read(mh, chunk.data(), chunk.size(), &done);
        if (done > 0 && audio.sampleRate > 0) {
            if ((audio.samples.size() + done / 2) * 2 > kMaxDecodedAudioBytes) return fail(whyNot, "the stream is too long");
            const auto* pcm = reinterpret_cast<const int16_t*>(chunk.data());
            audio.samples.insert(audio.samples.end(), pcm, pcm + done / 2);
            if (firstSamplesOnly) break;
        }
        if (result == MPG123_OK) continue;
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(mh, &rate, &channels, &encoding);
            if (audio.sampleRate != 0 && rate != audio.sampleRate) break;
            audio.sampleRate = int(rate);
            continue;
        }
        if (result == MPG123_NEED_MORE && fed < size) {
            std::size_t piece = std::min(kFeedBytes, size - fed);
            if (mpg123_feed(mh, data + fed, piece) != MPG123_OK)
                return fail(whyNot, std::string("cannot read the stream: ") + mpg123_strerror(mh));
            fed += piece;
            continue;
        }
        if (result == MPG123_NEED_MORE || result == MPG123_DONE) break;  // the end of the data
        if (audio.samples.empty()) return fail(whyNot, std::string("not an MP3 stream: ") + mpg123_strerror(mh));
        break;  // damaged after a good start: keep what played
    }
    audio.samples.resize(audio.frames() * 2);
    if (audio.frames() == 0 || audio.sampleRate <= 0) return fail(whyNot, "no audio frames");
    return audio;
}

}  // namespace

std::optional<DecodedAudio> decodeMp3(const uint8_t* data, std::size_t size, std::string* whyNot) {
    return decode(data, size, whyNot, false);
}

bool probeMp3(const uint8_t* data, std::size_t size, std::string* whyNot) {
    return decode(data, size, whyNot, true).has_value();
}

}  // namespace vorn::platform
