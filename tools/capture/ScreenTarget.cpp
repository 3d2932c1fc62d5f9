#include "tools/capture/ScreenTarget.h"

#include <cstring>

namespace vorn::capture {

ScreenTarget::ScreenTarget() : target_(kWidth, kHeight, 1, 8, GL_RGBA, false, false) {}

void ScreenTarget::readRgb(std::vector<uint8_t>& pixels) const {
    const std::size_t rowBytes = std::size_t(kWidth) * 3;
    std::vector<uint8_t> bottomUp(rowBytes * kHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target_.framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    // GL counts rows from the bottom; files start at the top.
    pixels.resize(bottomUp.size());
    for (int row = 0; row < kHeight; ++row)
        std::memcpy(pixels.data() + std::size_t(row) * rowBytes,
                    bottomUp.data() + std::size_t(kHeight - 1 - row) * rowBytes, rowBytes);
}

}  // namespace vorn::capture
