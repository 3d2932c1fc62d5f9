// The hidden GL context of the procedural benchmarks that need one (run them
// under an X server, xvfb-run), made once and kept.
#pragma once

#include "platform/GlWindow.h"

#include <memory>

namespace vorn::bench {

inline platform::GlWindow* glContext() {
    static std::unique_ptr<platform::GlWindow> window = platform::GlWindow::create(platform::WindowMode::Hidden);
    if (window) window->makeCurrent();
    return window.get();
}

}  // namespace vorn::bench
