#include "ui/widgets/UI_Direction.h"

#include "platform/WindowMessages.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"

#include <cmath>
#include <cstdio>

namespace vorn::ui {

using namespace platform;

UI_Direction::UI_Direction(std::string name, int32_t x, int32_t y, int32_t width) : name(std::move(name)) {
    this->x = x;
    this->y = y;
    this->width = width;
    height = 200;
}

void UI_Direction::refresh() { highlight = keys.hasKeyframes() ? 1 : 0; }

void UI_Direction::pointAt(int32_t mx, int32_t my) {
    float r = float(std::max(radius(), 1));
    float dx = float(mx - centreX()) / r, dy = float(my - centreY()) / r;
    float length = std::sqrt(dx * dx + dy * dy);
    if (length > 1.0f) {
        dx /= length;
        dy /= length;
        length = 1.0f;
    }
    if (snapping && length > 0.0f) {
        // The nearest of the eight directions 45 degrees apart, at half or full length.
        const float kStep = 0.785398163f;
        float angle = std::round(std::atan2(dy, dx) / kStep) * kStep;
        float snapped = length < 0.5f ? 0.5f : 1.0f;
        dx = snapped * std::cos(angle);
        dy = snapped * std::sin(angle);
    }
    target[0] = dx;
    target[1] = dy;
}

void UI_Direction::draw() {
    if (!owner || !target) return;
    owner->setColor(owner->palette[3]);
    owner->fillRect(x, y, width, height);
    owner->drawText(0, float(x + 10), float(y + 20), 12, owner->palette[0], name);
    char text[48];
    std::snprintf(text, sizeof text, "X: %.2f", double(target[0]));
    owner->drawText(0, float(x + 10), float(y + 45), 12, owner->palette[9], text);
    std::snprintf(text, sizeof text, "Y: %.2f", double(target[1]));
    owner->drawText(0, float(x + 10), float(y + 65), 12, owner->palette[9], text);
    owner->setColor(owner->palette[2]);
    owner->strokeCircle(centreX(), centreY(), radius());
    int32_t tipX = centreX() + int32_t(target[0] * float(radius())), tipY = centreY() + int32_t(target[1] * float(radius()));
    owner->setColor(owner->palette[9]);
    owner->drawLine(2.0f, centreX(), centreY(), tipX, tipY);
    owner->fillRect(tipX - 3, tipY - 3, 7, 7);
    if (highlight) owner->strokeRect(x, y, width, height);
}

bool UI_Direction::handleEvent(const UI_Event& event) {
    if (!target || !owner) return false;
    bool changed = false;
    if (event.kind == KeyDown && event.value == VK_CONTROL) snapping = true;
    if (event.kind == KeyUp && event.value == VK_CONTROL) snapping = false;
    if (event.kind == LeftDown && event.x > x + width / 3 && !owner->capture) {
        owner->capture = this;
        owner->captureOnTop = true;
        dragging_ = true;
        pointAt(event.x, event.y);
        changed = true;
    } else if (event.kind == MouseMove && dragging_) {
        pointAt(event.x, event.y);
        changed = true;
    } else if (event.kind == LeftUp && dragging_) {
        dragging_ = false;
        if (owner->capture == this) owner->capture = nullptr;
    } else if (event.kind == RightUp) {
        target[0] = defaultValue[0];
        target[1] = defaultValue[1];
        changed = true;
    } else if (event.kind == KeyDown && (event.value == 'S' || event.value == 's')) {
        highlight = highlight ? 0 : 1;
        if (highlight) keys.addKeyframe();
        else keys.removeTracks();
    }
    if (changed && valueListener) valueListener->valueChanged(this);
    if ((changed && highlight) || (event.kind == KeyDown && event.value == 'P')) keys.keyNow();
    return false;
}

}  // namespace vorn::ui
