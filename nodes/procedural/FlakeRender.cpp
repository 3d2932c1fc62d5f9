#include "nodes/procedural/FlakeRender.h"

#include "engine/Engine.h"
#include "nodes/procedural/FlakeLayout.h"
#include "nodes/procedural/FlakeRender.frag.glsl.h"
#include "nodes/procedural/FlakeRender.geom.glsl.h"
#include "nodes/procedural/FlakeRender.vert.glsl.h"
#include "nodes/scene/CameraNode.h"
#include "render/ImageFile.h"
#include "render/Quads.h"

#include <cstddef>

namespace vorn::nodes {

namespace {

// value inside minimum ... maximum; NaN counts as the minimum.
float held(float value, float minimum, float maximum) {
    if (!(value >= minimum)) return minimum;
    return value > maximum ? maximum : value;
}

// Eye at (0, 0, 1.5) looking down -z: a plain translation.
constexpr render::Mat4 kDefaultCamera = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -1.5f, 1};
// 60° vertical field of view, 16:9, near 0.1, far 10000.
constexpr float kCotHalfFov = 1.7320508f;  // 1 / tan 30°
constexpr render::Mat4 kDefaultProjection = {
    kCotHalfFov / 1.77777f, 0, 0, 0, 0, kCotHalfFov, 0, 0, 0, 0, -1.0000199f, -1, 0, 0, -0.20000198f, 0,
};

}  // namespace

ImageNode_FlakeRender::ImageNode_FlakeRender(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)),
      flakeShader("flakeShader", glsl_FlakeRender_vert, glsl_FlakeRender_geom, glsl_FlakeRender_frag,
                  {"positionSize", "textureOffset", "randoms"}, 1),
      channelBuffer_(std::make_unique<render::GL_FrameBuffer>(1920, 1080, 1, 16, GL_RGBA, true, false)) {
    setInputCount(2);
    inputNames[0] = "Depth Channel[1]";
    inputNames[1] = "Camera";
    owner.addFloat(*this, "Flake Count", &flakeCount, 10.0f, 10000.0f, 0, 100.0f, false);
    owner.addFloat(*this, "Flake Size", &flakeSize, 0.0f, 10.0f, 3, 0.1f, false);
    owner.addFloat(*this, "Flake Size Variance", &flakeSizeVariance, 0.0f, 1.0f, 4, 0.0f, false);
    owner.addFloat3(*this, "Center", center, -100.0f, 100.0f, 2, {0, 0, 0});
    owner.addFloat3(*this, "Region Size", regionSize, 0.0f, 100.0f, 2, {5, 5, 5});
    owner.addString(*this, "Atlas File", &atlasFile, owner.resourceDirectory + "environments\\flake-default.png");
    owner.addFloat(*this, "Atlas Size", &atlasSize, 1.0f, 20.0f, 0, 10.0f, false);
    owner.addFloat(*this, "Speed", &speed, -5.0f, 5.0f, 2, 0.0f, false);
    owner.addFloat(*this, "Wiggle", &wiggle, -5.0f, 5.0f, 2, 0.0f, false);
    owner.addVec4(*this, "Color", color, {1, 1, 1, 1});
    owner.addFloat(*this, "Col. Variance", &colorVariance, 0.0f, 1.0f, 2, 0.0f, false);
    owner.addFloat(*this, "Depth Alpha", &depthAlpha, 0.0f, 100.0f, 2, 0.0f, true);
    images[0] = channelBuffer_.get();

    const GLuint program = flakeShader.program;
    glUseProgram(program);
    glUniform1i(render::UniformLocation(program, "depth"), 0);
    glUniform1i(render::UniformLocation(program, "atlas"), 1);
    glUseProgram(0);
    uniforms_ = {
        render::UniformLocation(program, "cameraMatrix"),  render::UniformLocation(program, "projectionMatrix"),
        render::UniformLocation(program, "cameraPosition"), render::UniformLocation(program, "speed"),
        render::UniformLocation(program, "time"),          render::UniformLocation(program, "wiggle"),
        render::UniformLocation(program, "flakeSize"),     render::UniformLocation(program, "flakeSizeVariance"),
        render::UniformLocation(program, "center"),        render::UniformLocation(program, "size"),
        render::UniformLocation(program, "color"),         render::UniformLocation(program, "colorVariance"),
        render::UniformLocation(program, "depthAlpha"),
    };

    glGenVertexArrays(1, &vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    const GLsizei stride = sizeof(FlakeVertex);
    const std::size_t offsets[] = {offsetof(FlakeVertex, positionSize), offsetof(FlakeVertex, textureOffset),
                                   offsetof(FlakeVertex, randoms)};
    for (GLuint attribute = 0; attribute < 3; ++attribute) {
        glEnableVertexAttribArray(attribute);
        glVertexAttribPointer(attribute, 4, GL_FLOAT, GL_FALSE, stride, (const void*)offsets[attribute]);
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    // The scene behind flakes without a depth input: an eye distance beyond any flake.
    const float farAway[4] = {0, 0, 0, 1e30f};
    glGenTextures(1, &farScene_);
    glBindTexture(GL_TEXTURE_2D, farScene_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, farAway);
    glBindTexture(GL_TEXTURE_2D, 0);
}

ImageNode_FlakeRender::~ImageNode_FlakeRender() {
    glDeleteTextures(1, &farScene_);
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteVertexArrays(1, &vertexArray_);
}

bool ImageNode_FlakeRender::acceptsInput(int32_t index, const engine::Node& source) const {
    if (index == 0) return source.kind() == engine::NodeKind::Image;
    if (index == 1) return source.kind() == engine::NodeKind::Camera;
    return false;
}

bool ImageNode_FlakeRender::process() {
    images[0] = channelBuffer_.get();
    loadAtlas();
    generate();
    hasError = !flakeShader.valid || !atlas_;
    if (owner->drawingEnabled != 0) draw();
    return true;
}

void ImageNode_FlakeRender::loadAtlas() {
    if (atlasFile == loadedAtlasPath_) return;
    loadedAtlasPath_ = atlasFile;
    atlas_.reset();
    render::LoadedImage image = render::LoadImageFile(atlasFile, false);
    if (image.pixels.empty()) return;
    atlas_ = std::make_unique<render::GL_MemTexture>(image.width, image.height,
                                                     image.channels == 3 ? GL_RGB : GL_RGBA, GL_REPEAT, GL_REPEAT,
                                                     image.pixels.data());
}

void ImageNode_FlakeRender::generate() {
    const int n = int(held(flakeCount, float(kMinFlakes), float(kMaxFlakes)));
    if (n == builtFlakeCount_) return;
    builtFlakeCount_ = n;
    // A zero-cell atlas would leave no cell to pick.
    std::vector<FlakeVertex> flakes = generateFlakes(n, held(atlasSize, 1.0f, 20.0f));
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(flakes.size() * sizeof(FlakeVertex)), flakes.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ImageNode_FlakeRender::draw() {
    render::Mat4 view = kDefaultCamera;
    render::Mat4 projection = kDefaultProjection;
    if (CameraNode* camera = cameraInput(*this, 1)) {
        view = camera->viewMatrix;
        projection = camera->projectionMatrix;
    }
    const render::Mat4 inverseView = render::affineInverse(view);
    ImageNode* scene = imageInput(*this, 0);
    const GLuint depth = scene && scene->depthChannelTexture ? scene->depthChannelTexture : farScene_;

    glUseProgram(flakeShader.program);
    glUniformMatrix4fv(uniforms_.cameraMatrix, 1, GL_FALSE, view.data());
    glUniformMatrix4fv(uniforms_.projectionMatrix, 1, GL_FALSE, projection.data());
    glUniform3f(uniforms_.cameraPosition, inverseView[12], inverseView[13], inverseView[14]);
    glUniform1f(uniforms_.speed, speed);
    glUniform1f(uniforms_.time, owner->time);
    glUniform1f(uniforms_.wiggle, wiggle);
    glUniform1f(uniforms_.flakeSize, flakeSize);
    glUniform1f(uniforms_.flakeSizeVariance, flakeSizeVariance);
    glUniform3fv(uniforms_.center, 1, center);
    glUniform3fv(uniforms_.size, 1, regionSize);
    glUniform4fv(uniforms_.color, 1, color);
    glUniform1f(uniforms_.colorVariance, colorVariance);
    glUniform1f(uniforms_.depthAlpha, depthAlpha);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, depth);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, atlas_ ? atlas_->textures[0] : 0);

    glBindFramebuffer(GL_FRAMEBUFFER, channelBuffer_->framebuffer);
    render::SetDrawBuffers(*channelBuffer_);
    // The fragment stage maps gl_FragCoord onto the whole 1920x1080 frame.
    glViewport(0, 0, channelBuffer_->width, channelBuffer_->height);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);

    glBindVertexArray(vertexArray_);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDrawArrays(GL_POINTS, 0, builtFlakeCount_);
    glDisable(GL_BLEND);

    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
}

}  // namespace vorn::nodes
