#include "ui/widgets/UI_Position.h"

#include "ui/UI_Master.h"

namespace vorn::ui {

namespace {

// The range a position's slider covers: the unit square and as much again on
// either side, the range its keyframe tracks show.
constexpr float kLow = -1.0f, kHigh = 2.0f;

}  // namespace

UI_Position::UI_Position(const engine::ValueVec2& record, int32_t x, int32_t y, ParameterKeys keys)
    : name(record.name), sliderX("X", 0, y), sliderY("Y", 0, y + 20) {
    this->x = x;
    this->y = y;
    width = 380;
    height = 40;
    for (UI_Slider* slider : {&sliderX, &sliderY}) {
        slider->setPosition(x + UI_Slider::kX - 5, slider->y);
        slider->setSize(UI_Slider::kWidth, 20);
        slider->valueListener = this;
    }
    sliderX.bind(record.target, kLow, kHigh, 3, record.defaultValue[0], keys);
    sliderY.bind(record.target + 1, kLow, kHigh, 3, record.defaultValue[1], keys);
}

void UI_Position::setPosition(int32_t newX, int32_t newY) {
    int32_t dx = newX - x, dy = newY - y;
    UI_Object::setPosition(newX, newY);
    sliderX.setPosition(sliderX.x + dx, sliderX.y + dy);
    sliderY.setPosition(sliderY.x + dx, sliderY.y + dy);
}

void UI_Position::setOwner(UI_Master* master) {
    UI_Object::setOwner(master);
    sliderX.setOwner(master);
    sliderY.setOwner(master);
}

void UI_Position::refresh() {
    sliderX.refresh();
    sliderY.refresh();
    highlight = sliderX.highlight;
}

void UI_Position::valueChanged(UI_Object*) {
    if (valueListener) valueListener->valueChanged(this);
}

void UI_Position::draw() {
    if (!owner) return;
    owner->setColor(owner->palette[3]);
    owner->fillRect(x, y, width, height);
    owner->drawText(0, float(x + 10), float(y + 24), 12, owner->palette[0], name);
    sliderX.draw();
    sliderY.draw();
}

bool UI_Position::handleEvent(const UI_Event& event) {
    UI_Slider* under = sliderX.contains(event.x, event.y) ? &sliderX : sliderY.contains(event.x, event.y) ? &sliderY : nullptr;
    if (!under) return false;
    bool handled = under->handleEvent(event);
    // Both sliders key the one pair: show the keyed state on both.
    if (event.kind == KeyDown) {
        sliderX.highlight = sliderY.highlight = under->highlight;
        highlight = under->highlight;
    }
    return handled;
}

}  // namespace vorn::ui
