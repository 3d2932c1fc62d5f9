// SDL events to window messages. Translation happens when the pump is asked
// for a message; an event watch sees every key press as SDL queues it, which
// gives the asynchronous key-state query its "pressed since the last query" bit
// even while the message queue is not being read.
#include "platform/WindowMessages.h"

#include "platform/Debug.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <deque>
#include <string>

namespace vorn::platform {

namespace {

struct Pump {
    std::deque<WindowMessage> queue;
    bool quitPosted = false;
    int quitCode = 0;
    uint32_t buttons = 0;  // MK_ button flags as the translated events leave them
    int mouseX = 0;
    int mouseY = 0;
    std::array<std::atomic<bool>, 256> pressedSinceQuery{};
    bool ready = false;
};

Pump& pump() {
    static Pump instance;
    return instance;
}

int virtualKeyFor(SDL_Keycode key) {
    if (key >= 'a' && key <= 'z') return int(key - 'a' + 'A');
    if (key >= '0' && key <= '9') return int(key);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + int(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + int(key - SDLK_KP_1);
    switch (key) {
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT: case SDLK_RALT: return VK_MENU;
        case SDLK_PAUSE: return VK_PAUSE;
        case SDLK_CAPSLOCK: return VK_CAPITAL;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_INSERT: return VK_INSERT;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_KP_0: return VK_NUMPAD0;
        case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
        case SDLK_KP_PLUS: return VK_ADD;
        case SDLK_KP_MINUS: return VK_SUBTRACT;
        case SDLK_KP_PERIOD: return VK_DECIMAL;
        case SDLK_KP_DIVIDE: return VK_DIVIDE;
        case SDLK_SEMICOLON: return VK_OEM_1;
        case SDLK_EQUALS: return VK_OEM_PLUS;
        case SDLK_COMMA: return VK_OEM_COMMA;
        case SDLK_MINUS: return VK_OEM_MINUS;
        case SDLK_PERIOD: return VK_OEM_PERIOD;
        case SDLK_SLASH: return VK_OEM_2;
        case SDLK_BACKQUOTE: return VK_OEM_3;
        case SDLK_LEFTBRACKET: return VK_OEM_4;
        case SDLK_BACKSLASH: return VK_OEM_5;
        case SDLK_RIGHTBRACKET: return VK_OEM_6;
        case SDLK_QUOTE: return VK_OEM_7;
        default: return 0;  // no Windows counterpart: the key sends no message
    }
}

int watchKeyPresses(void*, SDL_Event* event) {
    if (event->type == SDL_KEYDOWN) {
        int vk = virtualKeyFor(event->key.keysym.sym);
        if (vk > 0 && vk < 256) pump().pressedSinceQuery[size_t(vk)].store(true);
    }
    return 0;
}

bool ensureReady() {
    Pump& p = pump();
    if (p.ready) return true;
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
        debugLine(std::string("cannot read window events: ") + SDL_GetError());
        return false;
    }
    SDL_AddEventWatch(watchKeyPresses, nullptr);
    p.ready = true;
    return true;
}

uint32_t modifierFlags() {
    SDL_Keymod mod = SDL_GetModState();
    return ((mod & KMOD_SHIFT) ? MK_SHIFT : 0) | ((mod & KMOD_CTRL) ? MK_CONTROL : 0);
}

uint32_t buttonFlag(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return MK_LBUTTON;
        case SDL_BUTTON_RIGHT: return MK_RBUTTON;
        case SDL_BUTTON_MIDDLE: return MK_MBUTTON;
        default: return 0;
    }
}

uint32_t buttonFlagsFromMask(uint32_t mask) {
    return ((mask & SDL_BUTTON_LMASK) ? MK_LBUTTON : 0) | ((mask & SDL_BUTTON_RMASK) ? MK_RBUTTON : 0) |
           ((mask & SDL_BUTTON_MMASK) ? MK_MBUTTON : 0);
}

// Key-message lParam: repeat count 1, previous-state bit 30 (set for a repeat
// and for every release), transition bit 31 (set for a release).
LParam keyLParam(bool release, bool repeat) {
    uint32_t bits = 1;
    if (release || repeat) bits |= 1u << 30;
    if (release) bits |= 1u << 31;
    return LParam(bits);
}

// Text input arrives as UTF-8; the system's texts are 8-bit, so code points up
// to 255 become one character message each and the rest are dropped.
void queueCharacters(std::deque<WindowMessage>& queue, const char* text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    while (*s) {
        uint32_t codePoint;
        int length;
        if (*s < 0x80) codePoint = *s, length = 1;
        else if ((*s & 0xE0) == 0xC0) codePoint = *s & 0x1F, length = 2;
        else if ((*s & 0xF0) == 0xE0) codePoint = *s & 0x0F, length = 3;
        else if ((*s & 0xF8) == 0xF0) codePoint = *s & 0x07, length = 4;
        else { ++s; continue; }  // a stray continuation byte
        int i = 1;
        for (; i < length && (s[i] & 0xC0) == 0x80; ++i) codePoint = (codePoint << 6) | (s[i] & 0x3F);
        s += i;
        if (i != length) continue;  // cut short
        if (codePoint >= 0x20 && codePoint <= 0xFF && codePoint != 0x7F) queue.push_back({WM_CHAR, codePoint, 1});
    }
}

void translate(Pump& p, const SDL_Event& event) {
    auto& queue = p.queue;
    switch (event.type) {
        case SDL_QUIT:
            queue.push_back({WM_CLOSE, 0, 0});
            break;
        case SDL_WINDOWEVENT:
            // SDL follows the last window's close with SDL_QUIT; one WM_CLOSE is enough.
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                queue.push_back({WM_CLOSE, 0, 0});
                SDL_FlushEvent(SDL_QUIT);
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int vk = virtualKeyFor(event.key.keysym.sym);
            if (!vk) break;
            bool release = event.type == SDL_KEYUP;
            queue.push_back({release ? WM_KEYUP : WM_KEYDOWN, WParam(vk), keyLParam(release, event.key.repeat != 0)});
            // Keys that produce control characters get their character message too,
            // as a translated key press does; text input does not report them.
            if (!release && (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE))
                queue.push_back({WM_CHAR, WParam(vk), 1});
            break;
        }
        case SDL_TEXTINPUT:
            queueCharacters(queue, event.text.text);
            break;
        case SDL_MOUSEMOTION:
            p.mouseX = event.motion.x;
            p.mouseY = event.motion.y;
            p.buttons = buttonFlagsFromMask(event.motion.state);
            queue.push_back({WM_MOUSEMOVE, p.buttons | modifierFlags(), makeMouseLParam(p.mouseX, p.mouseY)});
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            uint32_t flag = buttonFlag(event.button.button);
            if (!flag) break;
            bool down = event.type == SDL_MOUSEBUTTONDOWN;
            p.mouseX = event.button.x;
            p.mouseY = event.button.y;
            p.buttons = down ? (p.buttons | flag) : (p.buttons & ~flag);
            uint32_t message;
            if (flag == MK_LBUTTON)
                // Every second click of a series is the double click, as with double-click windows.
                message = !down ? WM_LBUTTONUP : (event.button.clicks % 2 == 0 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
            else if (flag == MK_RBUTTON)
                message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            else
                message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            queue.push_back({message, p.buttons | modifierFlags(), makeMouseLParam(p.mouseX, p.mouseY)});
            break;
        }
        case SDL_MOUSEWHEEL: {
            int notches = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            int delta = std::clamp(notches * WHEEL_DELTA, -32768, 32767);
            if (delta == 0) break;  // sideways scrolling has no message here
            WParam wParam = (WParam(uint16_t(int16_t(delta))) << 16) | (p.buttons | modifierFlags());
            queue.push_back({WM_MOUSEWHEEL, wParam, makeMouseLParam(p.mouseX, p.mouseY)});
            break;
        }
        default:
            break;
    }
}

}  // namespace

bool peekMessage(WindowMessage& message, bool remove) {
    Pump& p = pump();
    if (!ensureReady()) return false;
    if (p.queue.empty()) {
        SDL_Event event;
        while (p.queue.empty() && SDL_PollEvent(&event)) translate(p, event);
    }
    if (!p.queue.empty()) {
        message = p.queue.front();
        if (remove) p.queue.pop_front();
        return true;
    }
    if (p.quitPosted) {
        message = {WM_QUIT, WParam(uint32_t(p.quitCode)), 0};
        if (remove) p.quitPosted = false;
        return true;
    }
    return false;
}

void postQuitMessage(int exitCode) {
    Pump& p = pump();
    p.quitPosted = true;
    p.quitCode = exitCode;
}

int16_t asyncKeyState(int virtualKey) {
    if (virtualKey <= 0 || virtualKey >= 256 || !ensureReady()) return 0;
    SDL_PumpEvents();  // brings the keyboard state up to date and runs the watch
    bool down = false;
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    for (int scancode = 0; scancode < count && !down; ++scancode)
        if (keys[scancode] && virtualKeyFor(SDL_GetKeyFromScancode(SDL_Scancode(scancode))) == virtualKey) down = true;
    bool pressed = pump().pressedSinceQuery[size_t(virtualKey)].exchange(false);
    return int16_t((down ? 0x8000 : 0) | (pressed ? 1 : 0));
}

void clearMessages() {
    Pump& p = pump();
    if (ensureReady()) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    p.queue.clear();
    p.quitPosted = false;
    p.buttons = 0;
    for (auto& pressed : p.pressedSinceQuery) pressed.store(false);
}

}  // namespace vorn::platform
