#include "ui/widgets/UI_Checkbox.h"

#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"

namespace vorn::ui {

UI_Checkbox::UI_Checkbox(std::string label, int32_t x, int32_t y, int32_t width, bool* target, bool defaultValue)
    : label(std::move(label)), target(target), defaultValue(defaultValue) {
    this->x = x;
    this->y = y;
    this->width = width;
    height = 30;
}

bool UI_Checkbox::overBox(int32_t px, int32_t py) const {
    int32_t left = x + width - 25, top = y + height / 2 - 10;
    return px >= left && px <= left + 20 && py >= top && py <= top + 20;
}

void UI_Checkbox::draw() {
    if (!owner) return;
    owner->setColor(owner->palette[3]);
    owner->fillRect(x, y, width, height);
    owner->drawText(0, float(x + 10), float(y + 20), 12, owner->palette[0], label);
    int32_t left = x + width - 25, top = y + height / 2 - 10;
    owner->setColor(owner->palette[7]);
    if (target && *target) {
        owner->fillRect(left, top, 20, 20);
    } else {
        owner->drawLine(1.5f, left, top, left + 20, top);
        owner->drawLine(1.5f, left + 20, top, left + 20, top + 20);
        owner->drawLine(1.5f, left + 20, top + 20, left, top + 20);
        owner->drawLine(1.5f, left, top + 20, left, top);
    }
}

bool UI_Checkbox::handleEvent(const UI_Event& event) {
    if (!target) return false;
    bool changed = false;
    if (event.kind == LeftUp && overBox(event.x, event.y)) {
        *target = !*target;
        changed = true;
    } else if (event.kind == RightUp) {
        *target = defaultValue;
        changed = true;
    }
    if (changed && valueListener) valueListener->valueChanged(this);
    return false;
}

}  // namespace vorn::ui
