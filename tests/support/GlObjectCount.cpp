#include "tests/support/GlObjectCount.h"

#include <GL/glew.h>
#include <dlfcn.h>

#include <algorithm>
#include <type_traits>
#include <utility>
#include <vector>

namespace vorn::test {

namespace {

bool counting = false;
int createdCount = 0;
int deletedCount = 0;
std::vector<std::pair<void**, void*>> swapped;  // GLEW entry, its original value

int nonZero(GLsizei n, const GLuint* names) {
    return int(std::count_if(names, names + std::max(n, 0), [](GLuint name) { return name != 0; }));
}

template <auto& entry>
std::decay_t<decltype(entry)> original = nullptr;

template <auto& entry>
void GLAPIENTRY generate(GLsizei n, GLuint* names) {
    original<entry>(n, names);
    if (counting && n > 0) createdCount += n;
}

template <auto& entry>
void GLAPIENTRY deleteNames(GLsizei n, const GLuint* names) {
    if (counting) deletedCount += nonZero(n, names);
    original<entry>(n, names);
}

template <auto& entry, class... Arguments>
GLuint GLAPIENTRY create(Arguments... arguments) {
    if (counting) ++createdCount;
    return original<entry>(arguments...);
}

template <auto& entry>
void GLAPIENTRY deleteOne(GLuint name) {
    if (counting && name) ++deletedCount;
    original<entry>(name);
}

template <auto& entry>
void swapIn(std::decay_t<decltype(entry)> wrapper) {
    original<entry> = entry;
    swapped.emplace_back(reinterpret_cast<void**>(&entry), reinterpret_cast<void*>(entry));
    entry = wrapper;
}

}  // namespace

GlObjectCount::GlObjectCount() {
    createdCount = deletedCount = 0;
    counting = true;
    // Entry points loaded through GLEW: swapped for counting wrappers.
    swapIn<__glewGenBuffers>(generate<__glewGenBuffers>);
    swapIn<__glewGenVertexArrays>(generate<__glewGenVertexArrays>);
    swapIn<__glewGenFramebuffers>(generate<__glewGenFramebuffers>);
    swapIn<__glewGenRenderbuffers>(generate<__glewGenRenderbuffers>);
    swapIn<__glewDeleteBuffers>(deleteNames<__glewDeleteBuffers>);
    swapIn<__glewDeleteVertexArrays>(deleteNames<__glewDeleteVertexArrays>);
    swapIn<__glewDeleteFramebuffers>(deleteNames<__glewDeleteFramebuffers>);
    swapIn<__glewDeleteRenderbuffers>(deleteNames<__glewDeleteRenderbuffers>);
    swapIn<__glewCreateProgram>(create<__glewCreateProgram>);
    swapIn<__glewCreateShader>(create<__glewCreateShader, GLenum>);
    swapIn<__glewDeleteProgram>(deleteOne<__glewDeleteProgram>);
    swapIn<__glewDeleteShader>(deleteOne<__glewDeleteShader>);
}

GlObjectCount::~GlObjectCount() {
    counting = false;
    for (auto [entry, value] : swapped) *entry = value;
    swapped.clear();
}

int GlObjectCount::created() const { return createdCount; }
int GlObjectCount::deleted() const { return deletedCount; }

}  // namespace vorn::test

// The GL library's own texture entry points, which it exports directly,
// wrapped for every caller in the executable.
extern "C" {

void GLAPIENTRY glGenTextures(GLsizei n, GLuint* textures) {
    static auto original = reinterpret_cast<void(GLAPIENTRY*)(GLsizei, GLuint*)>(dlsym(RTLD_NEXT, "glGenTextures"));
    original(n, textures);
    if (vorn::test::counting && n > 0) vorn::test::createdCount += n;
}

void GLAPIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
    static auto original =
        reinterpret_cast<void(GLAPIENTRY*)(GLsizei, const GLuint*)>(dlsym(RTLD_NEXT, "glDeleteTextures"));
    if (vorn::test::counting) vorn::test::deletedCount += vorn::test::nonZero(n, textures);
    original(n, textures);
}

}
