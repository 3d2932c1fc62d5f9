// Any bytes through the MP3 decoder used for the music track.
#include <cstdlib>

#include "platform/Mp3Decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto audio = vorn::platform::decodeMp3(data, size);
    if (audio && (audio->sampleRate <= 0 || audio->samples.size() % 2 != 0 || audio->frames() == 0)) std::abort();
    return 0;
}
