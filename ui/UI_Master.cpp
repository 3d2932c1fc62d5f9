#include "ui/UI_Master.h"

#include "platform/Timer.h"
#include "render/FontFiles.h"
#include "ui/ui.frag.glsl.h"
#include "ui/ui.vert.glsl.h"

#include <algorithm>
#include <cstddef>
#include <cmath>

namespace vorn::ui {

using namespace platform;

namespace {

// Vertex attributes of the UI program, in the order its inputs are bound.
enum Attribute : GLuint { kPosition = 0, kUv = 1, kColour = 2, kTextured = 3 };

// Every quad is the fan (0, 1, 2), (0, 2, 3) of its four corners, as a
// four-corner triangle fan draws it.
constexpr int kFanOrder[6] = {0, 1, 2, 0, 2, 3};

}  // namespace

render::Mat4 uiProjection(int width, int height) {
    render::Mat4 m{};
    m[0] = 2.0f / float(width);
    m[5] = -2.0f / float(height);
    m[10] = -1.0f;
    m[12] = -1.0f;
    m[13] = 1.0f;
    m[15] = 1.0f;
    return m;
}

UI_Master::UI_Master() = default;

UI_Master::~UI_Master() {
    if (buffer_) glDeleteBuffers(1, &buffer_);
    if (vertexArray_) glDeleteVertexArrays(1, &vertexArray_);
}

void UI_Master::init(int width, int height) {
    screenWidth = width;
    screenHeight = height;
    uiShader = std::make_unique<render::ShaderProgram>("uiShader", glsl_ui_vert, nullptr, glsl_ui_frag,
                                                       std::vector<std::string>{"vertex", "uv", "colour", "textured"}, 1);
    if (!vertexArray_) {
        glGenVertexArrays(1, &vertexArray_);
        glGenBuffers(1, &buffer_);
        glBindVertexArray(vertexArray_);
        glBindBuffer(GL_ARRAY_BUFFER, buffer_);
        const GLsizei stride = sizeof(Vertex);
        glEnableVertexAttribArray(kPosition);
        glVertexAttribPointer(kPosition, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, x)));
        glEnableVertexAttribArray(kUv);
        glVertexAttribPointer(kUv, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, u)));
        glEnableVertexAttribArray(kColour);
        glVertexAttribPointer(kColour, 4, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(offsetof(Vertex, colour)));
        glEnableVertexAttribArray(kTextured);
        glVertexAttribPointer(kTextured, 1, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(offsetof(Vertex, textured)));
        glBindVertexArray(0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    palette = kPalette;
    fonts[0] = std::make_unique<render::TextRenderer>(render::fontFileFor(render::kVerdanaFile, "Verdana"));
    fonts[1] = std::make_unique<render::TextRenderer>(render::fontFileFor(render::kCourierFile, "Courier"));
    clipRect = {-1000, -1000, 999999, 999999};
}

void UI_Master::addTopLevel(UI_Object* widget) {
    widget->setOwner(this);
    topLevel.push_back(widget);
}

void UI_Master::removeTopLevel(UI_Object* widget) {
    std::erase(topLevel, widget);
    if (capture == widget) capture = nullptr;
}

void UI_Master::beginFrame() {
    stats_ = {};
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    loadScreenSpace();
}

void UI_Master::loadScreenSpace() {
    glViewport(0, 0, screenWidth, screenHeight);
    if (!uiShader || !uiShader->program) return;
    render::Mat4 projection = uiProjection(screenWidth, screenHeight);
    glUseProgram(uiShader->program);
    glUniformMatrix4fv(render::UniformLocation(*uiShader, "projectionMatrix"), 1, GL_FALSE, projection.data());
    const char* samplers[] = {"tex", "tex1", "tex2", "tex3"};
    for (GLint unit = 0; unit < GLint(kTextureSlots); ++unit)
        glUniform1i(render::UniformLocation(*uiShader, samplers[unit]), unit);
    glUseProgram(0);
}

void UI_Master::flush() {
    if (vertices_.empty()) return;
    if (!uiShader || !uiShader->program || !vertexArray_) {
        vertices_.clear();
        return;
    }
    double start = platform::threadCpuSeconds();
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    // New storage for the same buffer each time: the driver never waits for
    // the previous draw to finish reading the old contents.
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices_.size() * sizeof(Vertex)), vertices_.data(), GL_STREAM_DRAW);
    glUseProgram(uiShader->program);
    for (std::size_t unit = 0; unit < batchTextureCount_; ++unit) {
        glActiveTexture(GLenum(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_2D, batchTextures_[unit]);
    }
    glDrawArrays(batchMode_, 0, GLsizei(vertices_.size()));
    for (std::size_t unit = 0; unit < batchTextureCount_; ++unit) {
        glActiveTexture(GLenum(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    stats_.draws += 1;
    stats_.vertices += int(vertices_.size());
    stats_.submitSeconds += platform::threadCpuSeconds() - start;
    vertices_.clear();
    batchTextureCount_ = 0;
}

void UI_Master::append(GLenum mode, GLuint texture, const float* xy, int count, const float* uv) {
    // A batch is one primitive kind over at most four textures; anything else starts the next.
    if (mode != batchMode_) flush();
    batchMode_ = mode;
    float slot = 0.0f;
    if (uv) {
        std::size_t unit = std::find(batchTextures_.begin(), batchTextures_.begin() + batchTextureCount_, texture) -
                           batchTextures_.begin();
        if (unit == batchTextureCount_) {
            if (batchTextureCount_ == kTextureSlots) {
                flush();
                unit = 0;
            }
            batchTextures_[unit] = texture;
            batchTextureCount_ = unit + 1;
        }
        slot = float(unit + 1);
    }
    for (int i = 0; i < count; ++i)
        vertices_.push_back(Vertex{xy[2 * i], xy[2 * i + 1], uv ? uv[2 * i] : 0.0f, uv ? uv[2 * i + 1] : 0.0f,
                                   currentColor, slot});
}

void UI_Master::appendTriangleFan(const float* xy, int count, const float* uv, GLuint texture) {
    float triangleXy[2 * 3 * 8], triangleUv[2 * 3 * 8];
    int n = 0;
    for (int i = 1; i + 1 < count && n + 3 <= 24; ++i)
        for (int corner : {0, i, i + 1}) {
            triangleXy[2 * n] = xy[2 * corner];
            triangleXy[2 * n + 1] = xy[2 * corner + 1];
            if (uv) {
                triangleUv[2 * n] = uv[2 * corner];
                triangleUv[2 * n + 1] = uv[2 * corner + 1];
            }
            ++n;
        }
    append(GL_TRIANGLES, texture, triangleXy, n, uv ? triangleUv : nullptr);
}

void UI_Master::setColor(const Color& rgba) { currentColor = rgba; }

void UI_Master::fillRect(int x, int y, int w, int h) {
    const float xy[] = {float(x), float(y), float(x + w), float(y), float(x + w), float(y + h), float(x), float(y + h)};
    appendTriangleFan(xy, 4, nullptr, 0);
}

void UI_Master::drawTexturedRect(int x, int y, int w, int h, bool flip) {
    flush();
    GLint bound = 0;
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    const float xy[] = {float(x), float(y), float(x + w), float(y), float(x + w), float(y + h), float(x), float(y + h)};
    const float uv[] = {0, 0, 1, 0, 1, 1, 0, 1};
    const float flipped[] = {0, 1, 1, 1, 1, 0, 0, 0};
    appendTriangleFan(xy, 4, flip ? flipped : uv, GLuint(bound));
    flush();
    // The caller's binding stays as it was.
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
}

void UI_Master::strokeRect(int x, int y, int w, int h) {
    // The closed strip (x, y) .. (x, y) as its four segments: the same pixels.
    const float corners[] = {float(x), float(y), float(x + w), float(y), float(x + w), float(y + h), float(x), float(y + h)};
    float xy[16];
    for (int i = 0; i < 4; ++i) {
        int next = (i + 1) % 4;
        xy[4 * i] = corners[2 * i];
        xy[4 * i + 1] = corners[2 * i + 1];
        xy[4 * i + 2] = corners[2 * next];
        xy[4 * i + 3] = corners[2 * next + 1];
    }
    append(GL_LINES, 0, xy, 8, nullptr);
}

void UI_Master::fillTriangle(int x1, int y1, int x2, int y2, int x3, int y3) {
    const float xy[] = {float(x1), float(y1), float(x2), float(y2), float(x3), float(y3)};
    append(GL_TRIANGLES, 0, xy, 3, nullptr);
}

void UI_Master::drawLine(float width, int x1, int y1, int x2, int y2) {
    float dx = float(x2 - x1), dy = float(y2 - y1);
    float length = std::sqrt(dx * dx + dy * dy);
    // A zero-length segment has no normal: nothing to draw.
    if (length == 0.0f) return;
    float nx = -dy / length * width * 0.5f;
    float ny = dx / length * width * 0.5f;
    const float xy[] = {float(x1) - nx, float(y1) - ny, float(x1) + nx, float(y1) + ny,
                        float(x2) + nx, float(y2) + ny, float(x2) - nx, float(y2) - ny};
    appendTriangleFan(xy, 4, nullptr, 0);
}

void UI_Master::strokeCircle(int cx, int cy, int r) {
    const int kSegments = 90;
    const double kTwoPi = 6.283185307179586;
    for (int i = 0; i < kSegments; ++i) {
        double a0 = kTwoPi * i / kSegments, a1 = kTwoPi * (i + 1) / kSegments;
        drawLine(1.0f, int(cx + r * std::cos(a0)), int(cy + r * std::sin(a0)), int(cx + r * std::cos(a1)),
                 int(cy + r * std::sin(a1)));
    }
}

void UI_Master::drawText(int font, float x, float y, int pixelSize, const Color& rgba, std::string_view text) {
    if (font < 0 || font > 1 || !fonts[std::size_t(font)] || text.empty()) return;
    textScratch_.assign(text);
    glyphs_.clear();
    GLuint atlas = fonts[std::size_t(font)]->layoutText(x, y, pixelSize, textScratch_.c_str(), glyphs_);
    if (!atlas || glyphs_.empty()) return;
    Color remembered = currentColor;
    currentColor = rgba;
    for (const render::GlyphQuad& q : glyphs_) {
        const float corners[] = {q.left, q.top, q.right, q.top, q.right, q.bottom, q.left, q.bottom};
        const float uv[] = {q.u0, q.v0, q.u1, q.v0, q.u1, q.v1, q.u0, q.v1};
        float xy[12], tri[12];
        for (int i = 0; i < 6; ++i) {
            xy[2 * i] = corners[2 * kFanOrder[i]];
            xy[2 * i + 1] = corners[2 * kFanOrder[i] + 1];
            tri[2 * i] = uv[2 * kFanOrder[i]];
            tri[2 * i + 1] = uv[2 * kFanOrder[i] + 1];
        }
        append(GL_TRIANGLES, atlas, xy, 6, tri);
    }
    currentColor = remembered;
}

int UI_Master::measureText(int font, int pixelSize, std::string_view text) {
    if (font < 0 || font > 1 || !fonts[std::size_t(font)]) return 0;
    textScratch_.assign(text);
    return fonts[std::size_t(font)]->MeasureText(pixelSize, textScratch_.c_str());
}

void UI_Master::setBlendFunc(GLenum source, GLenum destination) {
    flush();
    glBlendFunc(source, destination);
}

void UI_Master::setClip(int x, int y, int w, int h) {
    flush();
    clipRect = {x, y, w, h};
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, screenHeight - 1 - h - y, std::max(w, 0), std::max(h, 0));
}

void UI_Master::clearClip() {
    flush();
    clipRect = {-1000, -1000, 999999, 999999};
    glDisable(GL_SCISSOR_TEST);
}

const std::string& UI_Master::aliasOf(const std::string& nodeName) const {
    auto alias = nameAlias.find(nodeName);
    return alias != nameAlias.end() && !alias->second.empty() ? alias->second : nodeName;
}

bool UI_Master::translate(uint32_t message, WParam wParam, LParam lParam, UI_Event& event) {
    uint32_t kind = 0;
    int32_t value = 0;
    bool movesMouse = false;
    switch (message) {
        case WM_MOUSEMOVE: kind = MouseMove; movesMouse = true; break;
        case WM_LBUTTONDOWN: kind = LeftDown; movesMouse = true; break;
        case WM_LBUTTONUP: kind = LeftUp; movesMouse = true; break;
        case WM_LBUTTONDBLCLK: kind = LeftDoubleClick; movesMouse = true; break;
        case WM_RBUTTONDOWN: kind = RightDown; movesMouse = true; break;
        case WM_RBUTTONUP: kind = RightUp; movesMouse = true; break;
        case WM_MBUTTONDOWN: kind = MiddleDown; movesMouse = true; break;
        case WM_MBUTTONUP: kind = MiddleUp; movesMouse = true; break;
        // The wheel's lParam is a screen position, not the window's: the mouse stays put.
        case WM_MOUSEWHEEL: kind = Wheel; value = wheelDelta(wParam); break;
        case WM_KEYDOWN: kind = KeyDown; value = int32_t(wParam); break;
        case WM_KEYUP: kind = KeyUp; value = int32_t(wParam); break;
        case WM_CHAR: kind = Char; value = int32_t(wParam); break;
        default: return false;
    }
    if (movesMouse) {
        mouseX = lParamX(lParam);
        mouseY = lParamY(lParam);
    }
    if (kind == KeyDown && wParam == WParam(VK_CONTROL)) ctrl = 1;
    if (kind == KeyDown && wParam == WParam(VK_SHIFT)) shift = 1;
    if (kind == KeyUp && wParam == WParam(VK_CONTROL)) ctrl = 0;
    if (kind == KeyUp && wParam == WParam(VK_SHIFT)) shift = 0;

    event = UI_Event{kind, value, mouseX, mouseY, ctrl, shift};
    return true;
}

void UI_Master::dispatch(const UI_Event& event) {
    if (event.kind == 0) return;
    if (capture) {
        capture->handleEvent(event);
        return;
    }
    bool keyEvent = event.kind == KeyDown || event.kind == KeyUp;
    // By index: a handler may add or remove top-level widgets.
    for (std::size_t i = 0; i < topLevel.size(); ++i) {
        UI_Object* widget = topLevel[i];
        if (widget->hidden || (!keyEvent && !widget->contains(event.x, event.y))) continue;
        if (widget->handleEvent(event)) return;
    }
}

}  // namespace vorn::ui
