#include "platform/Debug.h"

#include <cstdio>

namespace vorn::platform {

namespace {
DebugCapture* activeCapture = nullptr;
bool silenced = false;
}  // namespace

void debugOutput(std::string_view text) {
    if (activeCapture) activeCapture->captured_.append(text);
    if (silenced) return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void silenceDiagnostics() { silenced = true; }

void debugLine(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 1);
    for (char c : text) line.push_back((unsigned char)c < 0x20 || c == 0x7F ? ' ' : c);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    line.push_back('\n');
    debugOutput(line);
}

std::string shortenMiddle(std::string_view text, std::size_t maxChars) {
    static constexpr std::string_view kGap = "...";
    if (text.size() <= maxChars) return std::string(text);
    if (maxChars < kGap.size()) return std::string(text.substr(0, maxChars));
    auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    std::size_t kept = maxChars - kGap.size();
    std::size_t headEnd = (kept + 1) / 2;
    std::size_t tailStart = text.size() - (kept - headEnd);
    while (headEnd > 0 && continuation(headEnd)) --headEnd;
    while (tailStart < text.size() && continuation(tailStart)) ++tailStart;
    std::string shown(text.substr(0, headEnd));
    shown += kGap;
    shown += text.substr(tailStart);
    return shown;
}

DebugCapture::DebugCapture() { activeCapture = this; }
DebugCapture::~DebugCapture() {
    if (activeCapture == this) activeCapture = nullptr;
}

}  // namespace vorn::platform
