#include "ui/widgets/UI_Panel.h"

#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_ImagePanel.h"
#include "ui/UI_Master.h"

#include <algorithm>

namespace vorn::ui {

UI_Panel::UI_Panel(int32_t x, int32_t y, int32_t width, int32_t height, bool closable) : closable(closable) {
    this->x = x;
    this->y = y;
    this->width = width;
    this->height = height;
}

UI_Panel::~UI_Panel() { clearChildren(); }

void UI_Panel::setPosition(int32_t newX, int32_t newY) {
    int32_t dx = newX - x, dy = newY - y;
    UI_Object::setPosition(newX, newY);
    for (UI_Object* child : children_) child->setPosition(child->x + dx, child->y + dy);
}

void UI_Panel::setOwner(UI_Master* master) {
    UI_Object::setOwner(master);
    for (UI_Object* child : children_) child->setOwner(master);
}

void UI_Panel::addChild(UI_Object* child) {
    child->setOwner(owner);
    child->setPosition(child->x + x, child->y + y);
    children_.push_back(child);
}

void UI_Panel::removeChild(UI_Object* child) {
    auto found = std::find(children_.begin(), children_.end(), child);
    if (found == children_.end()) return;
    children_.erase(found);
    if (owner && owner->capture == child) owner->capture = nullptr;
    std::erase_if(owned_, [&](const std::unique_ptr<UI_Object>& kept) { return kept.get() == child; });
}

void UI_Panel::clearChildren() {
    if (owner)
        for (UI_Object* child : children_)
            if (owner->capture == child) owner->capture = nullptr;
    children_.clear();
    owned_.clear();
}

bool UI_Panel::overCloseBox(int32_t px, int32_t py) const {
    return closable && px >= x + width - kTitleHeight && px <= x + width && py >= y && py <= y + kTitleHeight;
}

void UI_Panel::drawFrame() {
    owner->setColor(owner->palette[1]);
    owner->fillRect(x, y, width, height);
}

void UI_Panel::drawChildren() {
    // Scissor rows count from the bottom of the 1080-row window.
    owner->setClip(x, y, width, height);
    for (UI_Object* child : children_)
        if (!child->hidden) child->draw();
    owner->clearClip();
    if (!title.empty()) {
        const std::string& shown = owner->aliasOf(title);
        int tabWidth = owner->measureText(0, 12, shown) + 12;
        owner->setColor(owner->palette[9]);
        owner->fillRect(x, y, tabWidth, kTitleHeight);
        owner->drawText(0, float(x + 6), float(y + 11), 12, {0, 0, 0, 1}, shown);
    }
    if (closable) {
        owner->setColor(owner->palette[8]);
        owner->fillRect(x + width - kTitleHeight, y, kTitleHeight, kTitleHeight);
        owner->drawText(0, float(x + width - kTitleHeight + 3), float(y + 11), 12, owner->palette[0], "X");
    }
}

void UI_Panel::draw() {
    if (hidden || !owner) return;
    drawFrame();
    drawChildren();
}

bool UI_Panel::handleEvent(const UI_Event& event) {
    if (hidden) return false;
    if (overCloseBox(event.x, event.y) && (event.kind == LeftDown || event.kind == LeftUp)) {
        if (event.kind == LeftUp && valueListener) valueListener->onWidgetEvent(this, 0);
        return true;
    }
    // By index: a handler may rebuild the panel.
    UI_Object* under = nullptr;
    for (std::size_t i = 0; i < children_.size(); ++i) {
        UI_Object* child = children_[i];
        if (child->hidden || !child->contains(event.x, event.y)) continue;
        if (child->handleEvent(event)) return true;
        under = child;
        break;
    }
    bool handled = false;
    bool anyImagePanel = false;
    for (std::size_t i = 0; i < children_.size(); ++i)
        if (auto* panel = dynamic_cast<UI_ImagePanel*>(children_[i]); panel && !panel->hidden && panel != under) {
            anyImagePanel = true;
            handled = panel->handleEvent(event);
        }
    if (anyImagePanel && handled) return true;
    return handleOwnEvent(event);
}

}  // namespace vorn::ui
