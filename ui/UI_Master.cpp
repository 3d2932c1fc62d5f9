#include "ui/UI_Master.h"

#include "render/FontFiles.h"
#include "ui/ui.frag.glsl.h"
#include "ui/ui.vert.glsl.h"
#include "ui/ui_textured.frag.glsl.h"
#include "ui/ui_textured.vert.glsl.h"

#include <cmath>

namespace vorn::ui {

using namespace platform;

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
UI_Master::~UI_Master() = default;

void UI_Master::init(int width, int height) {
    screenWidth = width;
    screenHeight = height;
    uiShader = std::make_unique<render::ShaderProgram>("uiShader", glsl_ui_vert, nullptr, glsl_ui_frag,
                                                       std::vector<std::string>{"vertex"}, 1);
    uiTexturedShader = std::make_unique<render::ShaderProgram>(
        "uiTexturedShader", glsl_ui_textured_vert, nullptr, glsl_ui_textured_frag,
        std::vector<std::string>{"vertex", "uv"}, 1);
    palette = kPalette;
    fonts[0] = std::make_unique<render::TextRenderer>(render::fontFileFor(render::kVerdanaFile, "Verdana"));
    fonts[1] = std::make_unique<render::TextRenderer>(render::fontFileFor(render::kCourierFile, "Courier"));
    clipRect = {-1000, -1000, 999999, 999999};
}

void UI_Master::addTopLevel(UI_Object* widget) {
    widget->setOwner(this);
    topLevel.push_back(widget);
}

void UI_Master::beginFrame() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    loadScreenSpace();
}

void UI_Master::loadScreenSpace() {
    glViewport(0, 0, screenWidth, screenHeight);
    render::Mat4 projection = uiProjection(screenWidth, screenHeight);
    for (const render::ShaderProgram* program : {uiShader.get(), uiTexturedShader.get()}) {
        if (!program || !program->program) continue;
        glUseProgram(program->program);
        glUniformMatrix4fv(render::UniformLocation(*program, "projectionMatrix"), 1, GL_FALSE, projection.data());
    }
    if (uiTexturedShader && uiTexturedShader->program) {
        glUseProgram(uiTexturedShader->program);
        glUniform1i(render::UniformLocation(*uiTexturedShader, "tex"), 0);
    }
    glUseProgram(0);
}

void UI_Master::setColor(const Color& rgba) {
    currentColor = rgba;
    for (const render::ShaderProgram* program : {uiShader.get(), uiTexturedShader.get()}) {
        if (!program || !program->program) continue;
        glUseProgram(program->program);
        glUniform4fv(render::UniformLocation(*program, "color"), 1, rgba.data());
    }
    glUseProgram(0);
}

void UI_Master::drawVertices(const render::ShaderProgram& program, GLenum mode, const float* xy, int count,
                             const float* uv) {
    if (!program.program) return;
    std::vector<float> vertices;
    int stride = uv ? 4 : 2;
    vertices.reserve(std::size_t(count) * stride);
    for (int i = 0; i < count; ++i) {
        vertices.push_back(xy[2 * i]);
        vertices.push_back(xy[2 * i + 1]);
        if (uv) {
            vertices.push_back(uv[2 * i]);
            vertices.push_back(uv[2 * i + 1]);
        }
    }

    GLuint vertexArray = 0, buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(float)), vertices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(render::kAttribVertex);
    glVertexAttribPointer(render::kAttribVertex, 2, GL_FLOAT, GL_FALSE, GLsizei(stride * sizeof(float)), nullptr);
    if (uv) {
        glEnableVertexAttribArray(render::kAttribUv);
        glVertexAttribPointer(render::kAttribUv, 2, GL_FLOAT, GL_FALSE, GLsizei(stride * sizeof(float)),
                              reinterpret_cast<const void*>(2 * sizeof(float)));
    }
    glUseProgram(program.program);
    glDrawArrays(mode, 0, count);
    glUseProgram(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteBuffers(1, &buffer);
}

// Quads are drawn as four-corner triangle fans: the same pixels in a core profile.
void UI_Master::fillRect(int x, int y, int w, int h) {
    const float xy[] = {float(x), float(y), float(x + w), float(y), float(x + w), float(y + h), float(x), float(y + h)};
    if (uiShader) drawVertices(*uiShader, GL_TRIANGLE_FAN, xy, 4, nullptr);
}

void UI_Master::drawTexturedRect(int x, int y, int w, int h, bool flip) {
    const float xy[] = {float(x), float(y), float(x + w), float(y), float(x + w), float(y + h), float(x), float(y + h)};
    const float uv[] = {0, 0, 1, 0, 1, 1, 0, 1};
    const float flipped[] = {0, 1, 1, 1, 1, 0, 0, 0};
    if (uiTexturedShader) drawVertices(*uiTexturedShader, GL_TRIANGLE_FAN, xy, 4, flip ? flipped : uv);
}

void UI_Master::strokeRect(int x, int y, int w, int h) {
    const float xy[] = {float(x),     float(y),     float(x + w), float(y), float(x + w),
                        float(y + h), float(x), float(y + h), float(x),     float(y)};
    if (uiShader) drawVertices(*uiShader, GL_LINE_STRIP, xy, 5, nullptr);
}

void UI_Master::fillTriangle(int x1, int y1, int x2, int y2, int x3, int y3) {
    const float xy[] = {float(x1), float(y1), float(x2), float(y2), float(x3), float(y3)};
    if (uiShader) drawVertices(*uiShader, GL_TRIANGLES, xy, 3, nullptr);
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
    if (uiShader) drawVertices(*uiShader, GL_TRIANGLE_FAN, xy, 4, nullptr);
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
        if (!keyEvent && !widget->contains(event.x, event.y)) continue;
        if (widget->handleEvent(event)) return;
    }
}

}  // namespace vorn::ui
