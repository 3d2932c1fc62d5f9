#include "ui/widgets/UI_Slider.h"

#include "platform/WindowMessages.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"
#include "ui/widgets/UI_ValueControl.h"

#include <algorithm>
#include <cmath>

namespace vorn::ui {

using namespace platform;

UI_Slider::UI_Slider(std::string name, int32_t, int32_t y) : name(std::move(name)) {
    x = kX;
    this->y = y;
    width = kWidth;
    height = 30;
}

void UI_Slider::bind(float* value, float low, float high, int32_t digits, float fallback, ParameterKeys parameterKeys) {
    target = value;
    minimum = low;
    maximum = high;
    decimals = digits;
    defaultValue = fallback;
    keys = std::move(parameterKeys);
}

void UI_Slider::refresh() { highlight = keys.hasKeyframes() ? 1 : 0; }

void UI_Slider::placeKnob(float offset) {
    float length = float(std::max(trackLength(), 1));
    knob_ = std::clamp(offset, 0.0f, length);
    if (target) *target = knob_ / length * (maximum - minimum) + minimum;
}

void UI_Slider::draw() {
    if (!owner) return;
    int32_t middle = y + height / 2;
    owner->drawText(0, float(x + 10), float(y + std::min(20, height - 5)), 12, owner->palette[0], name);
    owner->drawText(0, float(x + 56), float(y + std::min(20, height - 5)), 12, owner->palette[9],
                    valueText(value(), decimals, false));
    owner->setColor(owner->palette[8]);
    owner->fillRect(trackLeft(), middle - 2, trackLength(), 4);
    float span = maximum - minimum;
    float fraction = span != 0.0f ? std::clamp((value() - minimum) / span, 0.0f, 1.0f) : 0.0f;
    int32_t knobX = trackLeft() + int32_t(fraction * float(trackLength()));
    owner->setColor(owner->palette[owner && owner->capture == this ? 9 : 0]);
    owner->fillRect(knobX - 3, middle - 6, 7, 12);
    if (highlight) {
        owner->setColor(owner->palette[9]);
        owner->strokeRect(x, y, width, height);
    }
    if (secondFlag) {
        owner->setColor(owner->palette[9]);
        owner->fillRect(x, y, 5, height);
    }
}

bool UI_Slider::handleEvent(const UI_Event& event) {
    bool handled = false, changed = false;
    const bool holding = owner && owner->capture == this;
    if (event.kind == LeftDown && !holding && owner && !owner->capture && event.x >= trackLeft() - 4 &&
        event.x <= trackLeft() + trackLength() + 4) {
        owner->capture = this;
        owner->captureOnTop = false;
        lastX_ = event.x;
        placeKnob(float(event.x - trackLeft()));
        changed = handled = true;
    } else if (event.kind == MouseMove && holding) {
        placeKnob(knob_ + float(event.x - lastX_) * dragFactor);
        lastX_ = event.x;
        changed = handled = true;
    } else if (event.kind == LeftUp && holding) {
        owner->capture = nullptr;
        handled = true;
    } else if (event.kind == KeyDown && event.value == VK_CONTROL) {
        dragFactor = 0.05f;
    } else if (event.kind == KeyUp && event.value == VK_CONTROL) {
        dragFactor = 1.0f;
        if (holding) placeKnob(std::floor(knob_));
    } else if (event.kind == RightUp) {
        if (target) *target = defaultValue;
        changed = handled = true;
    } else if (event.kind == KeyDown && keyable && (event.value == 'S' || event.value == 's')) {
        highlight = highlight ? 0 : 1;
        if (highlight) keys.addKeyframe();
        else keys.removeTracks();
        handled = true;
    }
    if (changed && valueListener) valueListener->valueChanged(this);
    if (keyable && ((changed && highlight) || (event.kind == KeyDown && event.value == 'P'))) keys.keyNow();
    return handled;
}

}  // namespace vorn::ui
