#include "platform/Debug.h"

#include <cstdio>

namespace vorn::platform {

namespace {
DebugCapture* activeCapture = nullptr;
}

void debugOutput(std::string_view text) {
    if (activeCapture) activeCapture->captured_.append(text);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void debugLine(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 1);
    for (char c : text) line.push_back(c == '\n' || c == '\r' ? ' ' : c);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    line.push_back('\n');
    debugOutput(line);
}

DebugCapture::DebugCapture() { activeCapture = this; }
DebugCapture::~DebugCapture() {
    if (activeCapture == this) activeCapture = nullptr;
}

}  // namespace vorn::platform
