#include "nodes/image/ShaderUniforms.h"

#include "render/ShaderProgram.h"

#include <cstring>

namespace vorn::nodes {

CachedUniform::CachedUniform(GLuint program, const char* name) : location_(render::UniformLocation(program, name)) {}

bool CachedUniform::changed(const void* data, std::size_t bytes) {
    if (location_ < 0) return false;
    // Compared bit for bit: -0 and NaN payloads count as changes, never as equal.
    if (hasValue_ && size_ == bytes && std::memcmp(last_.data(), data, bytes) == 0) return false;
    std::memcpy(last_.data(), data, bytes);
    size_ = bytes;
    hasValue_ = true;
    return true;
}

void CachedUniform::set1f(float value) {
    if (changed(&value, sizeof value)) glUniform1f(location_, value);
}

void CachedUniform::set1i(int32_t value) {
    if (changed(&value, sizeof value)) glUniform1i(location_, value);
}

void CachedUniform::set2f(float x, float y) {
    const float values[2] = {x, y};
    if (changed(values, sizeof values)) glUniform2f(location_, x, y);
}

void CachedUniform::set4fv(const float* values) {
    if (changed(values, 4 * sizeof(float))) glUniform4fv(location_, 1, values);
}

void CachedUniform::setMatrix4(const float* columnMajor) {
    if (changed(columnMajor, 16 * sizeof(float))) glUniformMatrix4fv(location_, 1, GL_FALSE, columnMajor);
}

EffectUniforms::EffectUniforms(GLuint program)
    : textureMatrix_(program, "textureMatrix"),
      time_(program, "ng_time"),
      aspectRatio_(program, "ng_aspectRatio"),
      sampleSize_(program, "ng_sampleSize") {}

void EffectUniforms::set(const render::Mat4& textureMatrix, float time, const render::GL_Image& output) {
    textureMatrix_.setMatrix4(textureMatrix.data());
    time_.set1f(time);
    aspectRatio_.set1f(float(output.width) / float(output.height));
    sampleSize_.set2f(1.0f / float(output.width), 1.0f / float(output.height));
}

}  // namespace vorn::nodes
