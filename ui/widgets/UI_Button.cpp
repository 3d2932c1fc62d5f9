#include "ui/widgets/UI_Button.h"

#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"

namespace vorn::ui {

UI_Button::UI_Button(std::string label, std::string shortcut, int32_t x, int32_t y, int32_t width, int32_t height)
    : label(std::move(label)), shortcut(std::move(shortcut)) {
    this->x = x;
    this->y = y;
    this->width = width;
    this->height = height;
}

void UI_Button::draw() {
    if (!owner) return;
    bool hover = contains(owner->mouseX, owner->mouseY);
    owner->setColor(pressed ? owner->palette[9] : owner->palette[hover ? 2 : 8]);
    owner->fillRect(x, y, width, height);
    Color text = pressed ? owner->palette[1] : owner->palette[0];
    float baseline = float(y + height / 2 + 5);
    owner->drawText(0, float(x + 8), baseline, 12, text, label);
    if (!shortcut.empty()) {
        int32_t hintWidth = owner->measureText(0, 10, shortcut);
        Color dim = pressed ? owner->palette[3] : owner->palette[6];
        owner->drawText(0, float(x + width - hintWidth - 6), baseline, 10, dim, shortcut);
    }
}

bool UI_Button::handleEvent(const UI_Event& event) {
    if (event.kind == LeftUp) {
        if (valueListener) valueListener->onWidgetEvent(this, 0);
        return true;
    }
    return event.kind == LeftDown || event.kind == LeftDoubleClick;
}

}  // namespace vorn::ui
