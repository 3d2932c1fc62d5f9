// The base of every immediate-mode widget: a rectangle in window pixels that
// draws itself through its master's primitives and answers events. Shared
// interaction state (capture, modifiers) lives in the master, not here.
#pragma once

#include "ui/UI_Event.h"

#include <cstdint>

namespace vorn::ui {

class UI_Master;
class UI_Evt_ValueChanged;

class UI_Object {
public:
    virtual ~UI_Object() = default;
    virtual void draw() {}
    virtual int32_t preferredHeight() const { return 30; }
    // True when the event is consumed.
    virtual bool handleEvent(const UI_Event& event) { return false; }
    virtual void setPosition(int32_t newX, int32_t newY) {
        x = newX;
        y = newY;
    }
    virtual void setSize(int32_t newWidth, int32_t newHeight) {
        width = newWidth;
        height = newHeight;
    }
    virtual void refresh() {}
    virtual void setOwner(UI_Master* master) { owner = master; }

    // Whether (px, py) lies inside the rectangle, edges included.
    bool contains(int32_t px, int32_t py) const {
        return px >= x && py >= y && px <= x + width && py <= y + height;
    }

    UI_Evt_ValueChanged* valueListener = nullptr;
    // A hidden widget neither draws nor receives events.
    bool hidden = false;
    uint8_t highlight = 0;
    uint8_t secondFlag = 0;
    int32_t x = 0, y = 0, width = 0, height = 0;
    UI_Master* owner = nullptr;
};

}  // namespace vorn::ui
