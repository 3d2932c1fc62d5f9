#include "tests/support/GlObjectCount.h"

#include <GL/glew.h>
#include <dlfcn.h>

namespace vorn::test {

namespace {

bool counting = false;
int createdCount = 0;
int deletedCount = 0;

int nonZero(GLsizei n, const GLuint* names) {
    int count = 0;
    for (GLsizei i = 0; i < n; ++i) count += names[i] != 0;
    return count;
}

template <class Fn>
Fn libraryFunction(const char* name) {
    static_assert(sizeof(Fn) == sizeof(void*));
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

// One original and one wrapper per GLEW entry point, for glGen*/glDelete* pairs.
#define VORN_COUNT_PAIR(Gen, Delete, GenType, DeleteType)                  \
    GenType original##Gen = nullptr;                                         \
    DeleteType original##Delete = nullptr;                                   \
    void GLAPIENTRY counting##Gen(GLsizei n, GLuint* names) {                \
        original##Gen(n, names);                                             \
        if (counting && n > 0) createdCount += n;                            \
    }                                                                        \
    void GLAPIENTRY counting##Delete(GLsizei n, const GLuint* names) {       \
        if (counting && n > 0) deletedCount += nonZero(n, names);            \
        original##Delete(n, names);                                          \
    }

VORN_COUNT_PAIR(GenBuffers, DeleteBuffers, PFNGLGENBUFFERSPROC, PFNGLDELETEBUFFERSPROC)
VORN_COUNT_PAIR(GenVertexArrays, DeleteVertexArrays, PFNGLGENVERTEXARRAYSPROC, PFNGLDELETEVERTEXARRAYSPROC)
VORN_COUNT_PAIR(GenFramebuffers, DeleteFramebuffers, PFNGLGENFRAMEBUFFERSPROC, PFNGLDELETEFRAMEBUFFERSPROC)
VORN_COUNT_PAIR(GenRenderbuffers, DeleteRenderbuffers, PFNGLGENRENDERBUFFERSPROC, PFNGLDELETERENDERBUFFERSPROC)
#undef VORN_COUNT_PAIR

PFNGLCREATEPROGRAMPROC originalCreateProgram = nullptr;
PFNGLDELETEPROGRAMPROC originalDeleteProgram = nullptr;
PFNGLCREATESHADERPROC originalCreateShader = nullptr;
PFNGLDELETESHADERPROC originalDeleteShader = nullptr;
GLuint GLAPIENTRY countingCreateProgram() {
    if (counting) ++createdCount;
    return originalCreateProgram();
}
void GLAPIENTRY countingDeleteProgram(GLuint name) {
    if (counting && name) ++deletedCount;
    originalDeleteProgram(name);
}
GLuint GLAPIENTRY countingCreateShader(GLenum type) {
    if (counting) ++createdCount;
    return originalCreateShader(type);
}
void GLAPIENTRY countingDeleteShader(GLuint name) {
    if (counting && name) ++deletedCount;
    originalDeleteShader(name);
}

template <class Fn>
void swap(Fn& entry, Fn& original, Fn wrapper) {
    original = entry;
    entry = wrapper;
}

}  // namespace

GlObjectCount::GlObjectCount() {
    createdCount = deletedCount = 0;
    counting = true;
    swap(__glewGenBuffers, originalGenBuffers, countingGenBuffers);
    swap(__glewDeleteBuffers, originalDeleteBuffers, countingDeleteBuffers);
    swap(__glewGenVertexArrays, originalGenVertexArrays, countingGenVertexArrays);
    swap(__glewDeleteVertexArrays, originalDeleteVertexArrays, countingDeleteVertexArrays);
    swap(__glewGenFramebuffers, originalGenFramebuffers, countingGenFramebuffers);
    swap(__glewDeleteFramebuffers, originalDeleteFramebuffers, countingDeleteFramebuffers);
    swap(__glewGenRenderbuffers, originalGenRenderbuffers, countingGenRenderbuffers);
    swap(__glewDeleteRenderbuffers, originalDeleteRenderbuffers, countingDeleteRenderbuffers);
    swap(__glewCreateProgram, originalCreateProgram, countingCreateProgram);
    swap(__glewDeleteProgram, originalDeleteProgram, countingDeleteProgram);
    swap(__glewCreateShader, originalCreateShader, countingCreateShader);
    swap(__glewDeleteShader, originalDeleteShader, countingDeleteShader);
}

GlObjectCount::~GlObjectCount() {
    counting = false;
    __glewGenBuffers = originalGenBuffers;
    __glewDeleteBuffers = originalDeleteBuffers;
    __glewGenVertexArrays = originalGenVertexArrays;
    __glewDeleteVertexArrays = originalDeleteVertexArrays;
    __glewGenFramebuffers = originalGenFramebuffers;
    __glewDeleteFramebuffers = originalDeleteFramebuffers;
    __glewGenRenderbuffers = originalGenRenderbuffers;
    __glewDeleteRenderbuffers = originalDeleteRenderbuffers;
    __glewCreateProgram = originalCreateProgram;
    __glewDeleteProgram = originalDeleteProgram;
    __glewCreateShader = originalCreateShader;
    __glewDeleteShader = originalDeleteShader;
}

int GlObjectCount::created() const { return createdCount; }
int GlObjectCount::deleted() const { return deletedCount; }

}  // namespace vorn::test

// The GL library's own texture entry points, wrapped for every caller in the
// executable; they count only while a GlObjectCount is alive.
extern "C" {

void GLAPIENTRY glGenTextures(GLsizei n, GLuint* textures) {
    static auto original = vorn::test::libraryFunction<void(GLAPIENTRY*)(GLsizei, GLuint*)>("glGenTextures");
    original(n, textures);
    if (vorn::test::counting && n > 0) vorn::test::createdCount += n;
}

void GLAPIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
    static auto original =
        vorn::test::libraryFunction<void(GLAPIENTRY*)(GLsizei, const GLuint*)>("glDeleteTextures");
    if (vorn::test::counting && n > 0) vorn::test::deletedCount += vorn::test::nonZero(n, textures);
    original(n, textures);
}

}
