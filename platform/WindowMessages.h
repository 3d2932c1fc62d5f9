// Window messages as the UI and the shell consume them: the window's input
// arrives as (message, wParam, lParam) triples with the numbers, virtual-key
// codes and packing of the original Windows program, so the code above the
// platform handles one message shape.
//
// The pump is process-wide and belongs to the thread that made the window.
// peekMessage gathers the window system's events, translates each into zero or
// more messages and hands them out one at a time. Closing the window yields
// WM_CLOSE; the shell answers it with postQuitMessage, after which the queue
// reports WM_QUIT once every earlier message has been taken.
#pragma once

#include <cstdint>

namespace vorn::platform {

using WParam = uint64_t;
using LParam = int64_t;

// Message numbers.
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;

// Button and modifier flags in the low word of a mouse message's wParam.
inline constexpr uint32_t MK_LBUTTON = 0x0001;
inline constexpr uint32_t MK_RBUTTON = 0x0002;
inline constexpr uint32_t MK_SHIFT = 0x0004;
inline constexpr uint32_t MK_CONTROL = 0x0008;
inline constexpr uint32_t MK_MBUTTON = 0x0010;

// One wheel notch.
inline constexpr int WHEEL_DELTA = 120;

// Virtual-key codes. Letters are their upper-case ASCII codes ('A'..'Z') and
// digits their ASCII codes ('0'..'9').
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_PAUSE = 0x13;
inline constexpr int VK_CAPITAL = 0x14;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;
inline constexpr int VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_NUMPAD0 = 0x60;  // through VK_NUMPAD9 = 0x69
inline constexpr int VK_MULTIPLY = 0x6A;
inline constexpr int VK_ADD = 0x6B;
inline constexpr int VK_SUBTRACT = 0x6D;
inline constexpr int VK_DECIMAL = 0x6E;
inline constexpr int VK_DIVIDE = 0x6F;
inline constexpr int VK_F1 = 0x70;  // through VK_F12 = 0x7B
inline constexpr int VK_F2 = 0x71;
inline constexpr int VK_F12 = 0x7B;
inline constexpr int VK_OEM_1 = 0xBA;       // ;:
inline constexpr int VK_OEM_PLUS = 0xBB;    // =+
inline constexpr int VK_OEM_COMMA = 0xBC;   // ,<
inline constexpr int VK_OEM_MINUS = 0xBD;   // -_
inline constexpr int VK_OEM_PERIOD = 0xBE;  // .>
inline constexpr int VK_OEM_2 = 0xBF;       // /?
inline constexpr int VK_OEM_3 = 0xC0;       // `~
inline constexpr int VK_OEM_4 = 0xDB;       // [{
inline constexpr int VK_OEM_5 = 0xDC;       // backslash |
inline constexpr int VK_OEM_6 = 0xDD;       // ]}
inline constexpr int VK_OEM_7 = 0xDE;       // '"

struct WindowMessage {
    uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// lParam of a mouse message: x in the low word, y in the high word, each a
// signed 16-bit value (positions left of or above the window are negative).
constexpr LParam makeMouseLParam(int x, int y) {
    return LParam(uint32_t(uint16_t(int16_t(x))) | (uint32_t(uint16_t(int16_t(y))) << 16));
}
constexpr int lParamX(LParam lParam) { return int16_t(uint16_t(uint64_t(lParam) & 0xFFFF)); }
constexpr int lParamY(LParam lParam) { return int16_t(uint16_t((uint64_t(lParam) >> 16) & 0xFFFF)); }
// The signed wheel delta in the high word of a WM_MOUSEWHEEL wParam.
constexpr int wheelDelta(WParam wParam) { return int16_t(uint16_t((wParam >> 16) & 0xFFFF)); }

// Takes the next message when one is waiting (remove true) or only looks at it
// (remove false). Returns false when the queue is empty. Never waits.
bool peekMessage(WindowMessage& message, bool remove = true);

// Queues WM_QUIT with the exit code in wParam; it is handed out after every
// message already waiting.
void postQuitMessage(int exitCode);

// Non-zero when the key (a virtual-key code) is down now or has been pressed
// since the previous query for that key, as an asynchronous key-state query
// reports it. Bit 15 set: down now; bit 0 set: pressed since the last query.
int16_t asyncKeyState(int virtualKey);

// Drops every waiting message, the posted quit and the pressed-since latches.
// For tests that reuse one process-wide queue.
void clearMessages();

}  // namespace vorn::platform
