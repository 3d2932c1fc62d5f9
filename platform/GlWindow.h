// The application window and its OpenGL context: one SDL window titled "vorn",
// 1920x1080 at the top-left corner, with a double-buffered RGBA pixel format, a
// depth buffer, and a version 3.1 context (no profile flags) whose entry points
// GLEW has loaded. The context is current on the creating thread, which must do
// all GL work.
//
// Full screen requests a display-mode change; when it is refused the window
// stays an ordinary window and nothing is restored at the end. Destroying the
// window shows the cursor, deletes the context and closes the window (SDL puts
// the display mode back with it).
#pragma once

#include <memory>

namespace vorn::platform {

enum class WindowMode {
    FullScreen,  // the player: display-mode change requested
    Windowed,    // an ordinary window, for users who ask for it
    Hidden,      // never shown; for tests that only need the context
};

class GlWindow {
public:
    static constexpr int kWidth = 1920;
    static constexpr int kHeight = 1080;

    // Null when no window or GL context could be made; the reason has been
    // written to the debug channel as one line.
    static std::unique_ptr<GlWindow> create(WindowMode mode);

    ~GlWindow();
    GlWindow(const GlWindow&) = delete;
    GlWindow& operator=(const GlWindow&) = delete;

    void swapBuffers();
    void makeCurrent();

    // True when the display mode was changed for this window.
    bool fullscreen() const { return fullscreen_; }
    int width() const { return kWidth; }
    int height() const { return kHeight; }
    // The context version actually obtained (informational).
    int glMajorVersion() const { return glMajor_; }
    int glMinorVersion() const { return glMinor_; }
    int depthBits() const { return depthBits_; }

private:
    GlWindow() = default;

    void* window_ = nullptr;   // SDL_Window
    void* context_ = nullptr;  // SDL_GLContext
    bool fullscreen_ = false;
    bool cursorHidden_ = false;
    int glMajor_ = 0;
    int glMinor_ = 0;
    int depthBits_ = 0;
};

}  // namespace vorn::platform
