#include "ui/widgets/UI_ColorSelector.h"

#include "ui/UI_Master.h"

namespace vorn::ui {

UI_ColorSelector::UI_ColorSelector(std::string name, int32_t, int32_t y)
    : name(std::move(name)),
      sliders{UI_Slider("Red", 0, y + 5), UI_Slider("Green", 0, y + 35), UI_Slider("Blue", 0, y + 65),
              UI_Slider("Alpha", 0, y + 95)} {
    x = kX;
    this->y = y;
    width = 380;
    height = 130;
    for (UI_Slider& slider : sliders) slider.valueListener = this;
}

void UI_ColorSelector::bind(float* colour, const std::array<float, 4>& defaults, const ParameterKeys& keys) {
    target = colour;
    for (std::size_t i = 0; i < 4; ++i) sliders[i].bind(colour + i, 0.0f, 1.0f, 2, defaults[i], keys);
}

void UI_ColorSelector::setPosition(int32_t newX, int32_t newY) {
    int32_t dx = newX - x, dy = newY - y;
    UI_Object::setPosition(newX, newY);
    for (UI_Slider& slider : sliders) slider.setPosition(slider.x + dx, slider.y + dy);
}

void UI_ColorSelector::setOwner(UI_Master* master) {
    UI_Object::setOwner(master);
    for (UI_Slider& slider : sliders) slider.setOwner(master);
}

void UI_ColorSelector::refresh() {
    for (UI_Slider& slider : sliders) slider.refresh();
    highlight = sliders[0].highlight;
}

void UI_ColorSelector::valueChanged(UI_Object*) {
    if (valueListener) valueListener->valueChanged(this);
}

void UI_ColorSelector::draw() {
    if (!owner) return;
    owner->setColor(owner->palette[3]);
    owner->fillRect(x, y, width, height);
    owner->drawText(0, float(x + 10), float(y + 20), 12, owner->palette[0], name);
    if (target) {
        owner->setColor({target[0], target[1], target[2], target[3]});
        owner->fillRect(x + 10, y + 30, 80, 90);
    }
    for (UI_Slider& slider : sliders) slider.draw();
}

bool UI_ColorSelector::handleEvent(const UI_Event& event) {
    for (UI_Slider& slider : sliders) {
        if (!slider.contains(event.x, event.y)) continue;
        bool handled = slider.handleEvent(event);
        // All four key the one colour: show the keyed state on each.
        if (event.kind == KeyDown) {
            for (UI_Slider& other : sliders) other.highlight = slider.highlight;
            highlight = slider.highlight;
        }
        return handled;
    }
    return false;
}

}  // namespace vorn::ui
