// What a widget receives: one translated window message with the master's
// mouse position and modifier flags as they stand after it.
#pragma once

#include <cstdint>

namespace vorn::ui {

enum UI_EventKind : uint32_t {
    MouseMove = 1,
    LeftDown = 2,
    LeftUp = 3,
    MiddleDown = 4,
    MiddleUp = 5,
    RightDown = 6,
    RightUp = 7,
    LeftDoubleClick = 8,
    Wheel = 9,
    KeyDown = 10,
    KeyUp = 11,
    Char = 12,
};

struct UI_Event {
    uint32_t kind = 0;  // a UI_EventKind; 0 is never dispatched
    int32_t value = 0;  // virtual-key code, character code or wheel delta
    int32_t x = 0;
    int32_t y = 0;
    uint8_t ctrl = 0;
    uint8_t shift = 0;
};

}  // namespace vorn::ui
