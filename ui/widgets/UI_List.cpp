#include "ui/widgets/UI_List.h"

#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"

#include <algorithm>

namespace vorn::ui {

UI_List::UI_List(std::string title, int32_t x, int32_t y, int32_t width, int32_t height) : title(std::move(title)) {
    this->x = x;
    this->y = y;
    this->width = width;
    this->height = height;
}

void UI_List::setItems(std::vector<std::string> newItems) {
    items = std::move(newItems);
    firstRow = std::clamp(firstRow, 0, std::max(0, int32_t(items.size()) - visibleRows()));
    if (selected >= int32_t(items.size())) selected = -1;
}

int32_t UI_List::rowAt(int32_t px, int32_t py) const {
    if (px < x || px > x + width || py < y + kRowHeight || py >= y + kRowHeight + visibleRows() * kRowHeight)
        return -1;
    int32_t row = firstRow + (py - y - kRowHeight) / kRowHeight;
    return row < int32_t(items.size()) ? row : -1;
}

void UI_List::draw() {
    if (!owner) return;
    owner->setColor(owner->palette[4]);
    owner->fillRect(x, y, width, height);
    owner->setColor(owner->palette[3]);
    owner->fillRect(x, y, width, kRowHeight);
    owner->drawText(0, float(x + 6), float(y + 13), 12, owner->palette[9], title);
    int32_t hover = rowAt(owner->mouseX, owner->mouseY);
    int32_t last = std::min(int32_t(items.size()), firstRow + visibleRows());
    for (int32_t row = firstRow; row < last; ++row) {
        int32_t top = rowTop(row);
        if (row == selected || row == hover) {
            owner->setColor(owner->palette[row == selected ? 5 : 8]);
            owner->fillRect(x, top, width, kRowHeight);
        }
        owner->drawText(0, float(x + 8), float(top + 13), 12, owner->palette[0], items[std::size_t(row)]);
    }
    if (int32_t(items.size()) > visibleRows()) {
        // Where the shown rows sit in the whole list.
        int32_t trackHeight = visibleRows() * kRowHeight;
        int32_t barHeight = std::max(10, trackHeight * visibleRows() / int32_t(items.size()));
        int32_t barTop = y + kRowHeight + (trackHeight - barHeight) * firstRow /
                                              std::max(1, int32_t(items.size()) - visibleRows());
        owner->setColor(owner->palette[2]);
        owner->fillRect(x + width - 4, barTop, 3, barHeight);
    }
}

bool UI_List::handleEvent(const UI_Event& event) {
    if (event.kind == Wheel) {
        int32_t maxFirst = std::max(0, int32_t(items.size()) - visibleRows());
        firstRow = std::clamp(firstRow - event.value / 40, 0, maxFirst);
        return true;
    }
    if (event.kind == LeftUp) {
        int32_t row = rowAt(event.x, event.y);
        if (row < 0) return false;
        selected = row;
        if (valueListener) valueListener->onWidgetEvent(this, row);
        return true;
    }
    return event.kind == LeftDown && rowAt(event.x, event.y) >= 0;
}

}  // namespace vorn::ui
