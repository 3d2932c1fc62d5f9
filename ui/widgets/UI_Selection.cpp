#include "ui/widgets/UI_Selection.h"

#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"

namespace vorn::ui {

UI_Selection::UI_Selection(std::string name, int32_t, int32_t y, int32_t width) : name(std::move(name)) {
    x = kX;
    this->y = y;
    this->width = width;
    height = 30;
}

void UI_Selection::draw() {
    if (!owner) return;
    owner->setColor(owner->palette[3]);
    owner->fillRect(x, y, width, height);
    owner->drawText(0, float(x + 10), float(y + 20), 12, owner->palette[0], name);
    int32_t current = target ? *target : -1;
    bool valid = current >= 0 && std::size_t(current) < choices.size();
    owner->drawText(0, float(x + width / 3 + 6), float(y + 20), 12, owner->palette[9],
                    valid ? choices[std::size_t(current)] : std::string("No Options"));
    // The drop-down arrow.
    int32_t ax = x + width - 22, ay = y + height / 2 - 3;
    owner->setColor(owner->palette[0]);
    owner->drawLine(1.5f, ax, ay, ax + 12, ay);
    owner->drawLine(1.5f, ax + 12, ay, ax + 6, ay + 7);
    owner->drawLine(1.5f, ax + 6, ay + 7, ax, ay);
    if (!open_) return;
    int32_t listX = x + width / 3, listWidth = width - width / 3;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        int32_t rowY = y + 33 + int32_t(i) * kRowHeight;
        owner->setColor(owner->palette[int32_t(i) == highlighted ? 8 : 4]);
        owner->fillRect(listX, rowY, listWidth, kRowHeight);
        owner->drawText(0, float(listX + 6), float(rowY + 15), 12, owner->palette[0], choices[i]);
    }
}

bool UI_Selection::handleEvent(const UI_Event& event) {
    if (!owner) return false;
    if (event.kind == LeftDown && !owner->capture && event.x > x + width / 3) {
        owner->capture = this;
        owner->captureOnTop = true;
        open_ = true;
        highlighted = target ? *target : -1;
    } else if (event.kind == MouseMove && open_) {
        int32_t count = int32_t(choices.size());
        bool inside = event.x > x + width / 3 && event.x < x + width;
        bool inRows = event.y > y + height && event.y < y + 45 + kRowHeight * count;
        highlighted = inside && inRows ? (event.y - y - 33) / kRowHeight : -1;
    } else if (event.kind == LeftUp && open_) {
        if (owner->capture == this) owner->capture = nullptr;
        open_ = false;
        if (target && highlighted >= 0 && std::size_t(highlighted) < choices.size()) {
            *target = highlighted;
            if (valueListener) valueListener->valueChanged(this);
        }
    } else if (event.kind == RightUp && target) {
        *target = defaultValue;
        if (valueListener) valueListener->valueChanged(this);
    }
    return false;
}

}  // namespace vorn::ui
