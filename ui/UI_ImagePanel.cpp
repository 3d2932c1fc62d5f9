#include "ui/UI_ImagePanel.h"

#include "render/Quads.h"
#include "ui/UI_Master.h"

#include <cstdlib>

namespace vorn::ui {

namespace {

constexpr Color kShadow{0.0f, 0.0f, 0.0f, 0.8f};

}  // namespace

UI_ImagePanel::UI_ImagePanel(std::string name, int32_t x, int32_t y, int32_t width, int32_t height, bool passive)
    : name(std::move(name)), passive(passive) {
    this->x = x;
    this->y = y;
    this->width = width;
    this->height = height;
}

void UI_ImagePanel::addHandle(Handle handle) {
    handle.panel = this;
    handles.push_back(std::move(handle));
}

void UI_ImagePanel::clearHandles() {
    handles.clear();
    dragging_ = false;
    if (owner && owner->capture == this) owner->capture = nullptr;
}

void UI_ImagePanel::draw() {
    if (!owner) return;
    float x0 = viewX(float(x), float(y)), y0 = viewY(float(x), float(y));
    float x1 = viewX(float(x + width), float(y + height)), y1 = viewY(float(x + width), float(y + height));
    int drawX = int(x0), drawY = int(y0), drawW = int(x1 - x0), drawH = int(y1 - y0);

    if (backgroundSelector && !passive) {
        static const Color kBackgrounds[] = {
            {0, 0, 0, 1}, {1, 1, 1, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
        int32_t selected = *backgroundSelector;
        if (selected >= 0 && selected <= 4) owner->setColor(kBackgrounds[selected]);
        owner->fillRect(drawX, drawY, drawW, drawH);
    }
    if (image && image->textureCount() > 0) {
        // The picture's colours are already weighted by its alpha.
        owner->setBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        owner->setColor({1, 1, 1, 1});
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, image->textures[0]);
        owner->drawTexturedRect(drawX, drawY, drawW, drawH, false);
        render::UnbindImageTextures(*image);
        owner->setBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (passive) return;
    owner->setColor({1, 1, 1, 1});
    owner->strokeRect(drawX, drawY, drawW, drawH);
    const Color& highlightColour = owner->palette[9];
    for (const Handle& handle : handles) {
        float px = float(x) + float(width) * handle.target[0], py = float(y) + float(height) * handle.target[1];
        int hx = int(viewX(px, py)), hy = int(viewY(px, py));
        owner->setColor(kShadow);
        owner->fillRect(hx + 1, hy + 1, 5, 5);
        owner->setColor(highlightColour);
        owner->fillRect(hx, hy, 5, 5);
        owner->drawText(0, float(hx + 8), float(hy + 8), 8, kShadow, handle.label);
        owner->drawText(0, float(hx + 7), float(hy + 7), 8, highlightColour, handle.label);
    }
    if (highlight) {
        owner->setColor(highlightColour);
        owner->strokeRect(drawX, drawY, width, height);
    }
}

bool UI_ImagePanel::handleEvent(const UI_Event& event) {
    // A passive panel takes every event without effect.
    if (passive) return true;

    if (event.kind == Wheel) {
        float f = event.value > 0 ? 1.1f : event.value < 0 ? 0.9f : 1.0f;
        float mx = float(lastMouseX_), my = float(lastMouseY_);
        viewMatrix = render::matrixProduct(
            viewMatrix, render::matrixProduct(render::translationMatrix(mx, my, 0.0f),
                                              render::matrixProduct(render::scaleMatrix(f, f, f),
                                                                    render::translationMatrix(-mx, -my, 0.0f))));
        return true;
    }
    if (!panning_ && !dragging_ && event.kind == LeftDown) {
        for (std::size_t i = 0; i < handles.size(); ++i) {
            const Handle& handle = handles[i];
            float px = float(x) + float(width) * handle.target[0], py = float(y) + float(height) * handle.target[1];
            int dx = event.x - int(viewX(px, py)), dy = event.y - int(viewY(px, py));
            if (dx < -2 || dx > 7 || dy < -2 || dy > 7) continue;
            // The first handle hit wins, also when the capture is taken and nothing starts.
            if (owner) owner->captureOnTop = false;
            if (owner && !owner->capture) {
                owner->capture = this;
                dragX_ = event.x;
                dragY_ = event.y;
                draggedHandle_ = i;
                dragging_ = true;
            }
            return true;
        }
    }
    if (dragging_) return handleDrag(event);

    lastMouseX_ = event.x;
    lastMouseY_ = event.y;
    if (panning_) {
        if (event.kind == MouseMove) {
            viewMatrix = render::matrixProduct(
                viewMatrix, render::translationMatrix(float(event.x - dragX_), float(event.y - dragY_), 0.0f));
            dragX_ = event.x;
            dragY_ = event.y;
        } else if (event.kind == MiddleUp) {
            panning_ = false;
            if (owner && owner->capture == this) owner->capture = nullptr;
        }
    } else if (event.kind == RightDown) {
        viewMatrix = render::identityMatrix();
    } else if (event.kind == MiddleDown && contains(event.x, event.y) && owner) {
        owner->captureOnTop = false;
        if (!owner->capture) {
            owner->capture = this;
            dragX_ = event.x;
            dragY_ = event.y;
            panning_ = true;
        }
    }
    return false;
}

// Moves the dragged handle by the mouse step as seen through the view. Only
// the release counts as handled.
bool UI_ImagePanel::handleDrag(const UI_Event& event) {
    if (event.kind == LeftUp) {
        dragging_ = false;
        if (owner && owner->capture == this) owner->capture = nullptr;
        return true;
    }
    if (event.kind != MouseMove || draggedHandle_ >= handles.size()) return false;
    int dx = event.x - dragX_, dy = event.y - dragY_;
    dragX_ = event.x;
    dragY_ = event.y;
    // Shift keeps the step on the axis it mostly follows.
    if (event.shift) {
        if (std::abs(dx) > std::abs(dy)) dy = 0;
        else dx = 0;
    }
    Handle& handle = handles[draggedHandle_];
    float px = float(width) * handle.target[0], py = float(height) * handle.target[1];
    float sx = viewX(px, py) + float(dx), sy = viewY(px, py) + float(dy);
    render::Mat4 inverse = render::affineInverse(viewMatrix);
    float nx = sx * inverse[0] + sy * inverse[4] + inverse[12];
    float ny = sx * inverse[1] + sy * inverse[5] + inverse[13];
    handle.target[0] = nx / float(width);
    handle.target[1] = ny / float(height);
    if (handle.keyframeHandler) handle.keyframeHandler->setKeyAtCurrentTime(handle.nodeName, handle.parameterName);
    return false;
}

}  // namespace vorn::ui
