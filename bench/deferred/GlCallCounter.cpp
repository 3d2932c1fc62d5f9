#include "bench/deferred/GlCallCounter.h"

#include <GL/glew.h>
#include <GL/glx.h>

#include <type_traits>

namespace vorn::bench {

namespace {

GlCallCounter* active = nullptr;

// Tallies the call on the live counter; true when it should reach the driver.
bool tallyCall(const char* function) {
    if (!active) return true;
    active->tally(function);
    return active->mode() == GlCallCounter::Mode::Forward;
}

// Entry points that GLEW loads are pointers (glFoo is a macro for __glewFoo):
// the counter swaps in a wrapper and keeps the driver's function to forward to.
template <auto* Slot, class F = std::remove_pointer_t<decltype(Slot)>>
struct PointerHook;

template <auto* Slot, class R, class... A>
struct PointerHook<Slot, R(GLAPIENTRY*)(A...)> {
    static inline R(GLAPIENTRY* real)(A...) = nullptr;
    static inline const char* name = nullptr;

    static R GLAPIENTRY call(A... args) {
        if (tallyCall(name)) return real(args...);
        return R();
    }
    static void install(const char* function) {
        name = function;
        real = *Slot;
        *Slot = &call;
    }
    static void remove() { *Slot = real; }
};

template <class... Hooks>
struct HookSet {
    static void install(const char* const* names) {
        int i = 0;
        (Hooks::install(names[i++]), ...);
    }
    static void remove() { (Hooks::remove(), ...); }
};

#define VORN_POINTER_HOOKS(X)                                                                                  \
    X(glUseProgram) X(glUniform1i) X(glUniform1f) X(glUniform2f) X(glUniform3fv) X(glUniform4fv)                \
    X(glUniformMatrix4fv) X(glBindFramebuffer) X(glDrawBuffers) X(glClearBufferfv) X(glBindVertexArray)         \
    X(glActiveTexture) X(glBindBuffer) X(glGenerateMipmap) X(glGetUniformLocation)
#define VORN_AS_HOOK(function) PointerHook<&function>,
#define VORN_AS_NAME(function) #function,

struct NoHook {
    static void install(const char*) {}
    static void remove() {}
};
using PointerHooks = HookSet<VORN_POINTER_HOOKS(VORN_AS_HOOK) NoHook>;
constexpr const char* kPointerHookNames[] = {VORN_POINTER_HOOKS(VORN_AS_NAME) ""};

template <class F>
F driverFunction(const char* name) {
    return reinterpret_cast<F>(glXGetProcAddress(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

GlCallCounter::GlCallCounter(Mode mode) : mode_(mode) {
    active = this;
    PointerHooks::install(kPointerHookNames);
}

GlCallCounter::~GlCallCounter() {
    PointerHooks::remove();
    active = nullptr;
}

int GlCallCounter::count(const std::string& function) const {
    auto found = calls_.find(function);
    return found == calls_.end() ? 0 : found->second;
}

int GlCallCounter::total() const {
    int sum = 0;
    for (const auto& [function, n] : calls_) sum += n;
    return sum;
}

}  // namespace vorn::bench

// The entry points of OpenGL 1.1 are exported by the GL library itself, not
// loaded by GLEW: definitions here take their place in the executable and
// forward to the driver's.
#define VORN_INTERPOSE(R, function, parameters, arguments)                                                  \
    extern "C" R GLAPIENTRY function parameters {                                                           \
        static auto real = vorn::bench::driverFunction<R(GLAPIENTRY*) parameters>(#function);               \
        if (vorn::bench::tallyCall(#function)) return real arguments;                                        \
        return R();                                                                                         \
    }

VORN_INTERPOSE(void, glBindTexture, (GLenum target, GLuint texture), (target, texture))
VORN_INTERPOSE(void, glClear, (GLbitfield mask), (mask))
VORN_INTERPOSE(void, glClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))
VORN_INTERPOSE(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))
VORN_INTERPOSE(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices),
               (mode, count, type, indices))
VORN_INTERPOSE(void, glEnable, (GLenum capability), (capability))
VORN_INTERPOSE(void, glDisable, (GLenum capability), (capability))
VORN_INTERPOSE(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))
