#include "platform/GlWindow.h"

#include "platform/Debug.h"

#include <GL/glew.h>
#include <SDL2/SDL.h>

#include <string>

namespace vorn::platform {

namespace {

void requestPixelFormat(int depthBits) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
}

void requestContextVersion(int major, int minor) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
}

// On X11 the pixel format is fixed when the window is made, so the depth
// fallback means making the window again.
SDL_Window* createWindowWithDepth(Uint32 flags, int& depthBits) {
    for (int depth : {32, 24}) {
        requestPixelFormat(depth);
        if (SDL_Window* window = SDL_CreateWindow("vorn", 0, 0, GlWindow::kWidth, GlWindow::kHeight, flags)) {
            depthBits = depth;
            return window;
        }
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<GlWindow> GlWindow::create(WindowMode mode) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        debugLine(std::string("cannot open the window: ") + SDL_GetError());
        return nullptr;
    }
    std::unique_ptr<GlWindow> result(new GlWindow);

    requestContextVersion(3, 1);
    int requestedDepth = 0;
    SDL_Window* window = createWindowWithDepth(SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN, requestedDepth);
    if (!window) {
        debugLine(std::string("cannot open the window: ") + SDL_GetError());
        return nullptr;  // the destructor releases the video subsystem
    }
    result->window_ = window;

    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        // Without context-creation attributes the driver still offers its
        // legacy context, which is what the player falls back to.
        requestContextVersion(2, 1);
        context = SDL_GL_CreateContext(window);
    }
    if (!context) {
        debugLine(std::string("cannot create an OpenGL context: ") + SDL_GetError());
        return nullptr;  // the destructor closes the window
    }
    result->context_ = context;
    SDL_GL_MakeCurrent(window, context);

    glewExperimental = GL_TRUE;
    GLenum glewResult = glewInit();
    if (glewResult != GLEW_OK) {
        // GLEW loads through GLX; a context made some other way (a Wayland-only session) it cannot use.
        std::string reason = glewResult == GLEW_ERROR_NO_GLX_DISPLAY
                                 ? "no GLX display (an X server is needed)"
                                 : reinterpret_cast<const char*>(glewGetErrorString(glewResult));
        debugLine("cannot load the OpenGL entry points: " + reason);
        return nullptr;
    }
    while (glGetError() != GL_NO_ERROR) {
    }  // GLEW's probing may leave an error behind

    glGetIntegerv(GL_MAJOR_VERSION, &result->glMajor_);
    glGetIntegerv(GL_MINOR_VERSION, &result->glMinor_);
    while (glGetError() != GL_NO_ERROR) {
    }  // a legacy context does not know these queries
    if (SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &result->depthBits_) != 0) result->depthBits_ = requestedDepth;

    SDL_GL_SetSwapInterval(1);  // refused on some drivers; frames then run unsynchronised

    if (mode == WindowMode::Hidden) return result;

    SDL_ShowWindow(window);
    if (mode == WindowMode::FullScreen) {
        SDL_DisplayMode displayMode{SDL_PIXELFORMAT_RGB888, kWidth, kHeight, 0, nullptr};
        result->fullscreen_ = SDL_SetWindowDisplayMode(window, &displayMode) == 0 &&
                              SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
        if (!result->fullscreen_) SDL_SetWindowPosition(window, 0, 0);
    }
    SDL_ShowCursor(SDL_DISABLE);
    result->cursorHidden_ = true;
    SDL_RaiseWindow(window);
    return result;
}

GlWindow::~GlWindow() {
    auto* window = static_cast<SDL_Window*>(window_);
    if (cursorHidden_) SDL_ShowCursor(SDL_ENABLE);
    if (context_) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
    }
    if (window) SDL_DestroyWindow(window);  // also puts the display mode back
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GlWindow::swapBuffers() { SDL_GL_SwapWindow(static_cast<SDL_Window*>(window_)); }

void GlWindow::makeCurrent() {
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window_), static_cast<SDL_GLContext>(context_));
}

}  // namespace vorn::platform
