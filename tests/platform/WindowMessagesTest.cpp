// Synthetic SDL events through the message pump: numbers, codes and packing as
// the UI reads them. The expected values are the Windows ones, written out.
#include "platform/WindowMessages.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vorn::platform {
namespace {

using Summary = std::vector<std::pair<uint32_t, WParam>>;  // message and wParam

class WindowMessages : public ::testing::Test {
protected:
    void SetUp() override { clearMessages(); }
    void TearDown() override { clearMessages(); }

    static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

    static void pushKey(Uint32 type, SDL_Keycode key, bool repeat = false) {
        Uint8 state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        push({.key = {.type = type, .state = state, .repeat = repeat, .keysym = {SDL_GetScancodeFromKey(key), key}}});
    }

    static std::vector<WindowMessage> drain() {
        std::vector<WindowMessage> messages;
        for (WindowMessage message; peekMessage(message);) messages.push_back(message);
        return messages;
    }

    static Summary summary(const std::vector<WindowMessage>& messages) {
        Summary result;
        for (const WindowMessage& m : messages) result.emplace_back(m.message, m.wParam);
        return result;
    }
};

TEST_F(WindowMessages, KeysGoDownAndUpWithVirtualKeyCodesAndControlKeysSendTheirCharacter) {
    struct Key {
        SDL_Keycode sdl;
        WParam vk;
        WParam character;  // 0: none
    };
    const Key keys[] = {
        {SDLK_a, 0x41, 0},    {SDLK_z, 0x5A, 0},      {SDLK_0, 0x30, 0},       {SDLK_9, 0x39, 0},
        {SDLK_SPACE, 32, 0},  {SDLK_LSHIFT, 16, 0},   {SDLK_RSHIFT, 16, 0},    {SDLK_LCTRL, 17, 0},
        {SDLK_RCTRL, 17, 0},  {SDLK_F1, 0x70, 0},     {SDLK_F12, 0x7B, 0},     {SDLK_LEFT, 0x25, 0},
        {SDLK_UP, 0x26, 0},   {SDLK_RIGHT, 0x27, 0},  {SDLK_DOWN, 0x28, 0},    {SDLK_HOME, 0x24, 0},
        {SDLK_END, 0x23, 0},  {SDLK_DELETE, 0x2E, 0}, {SDLK_PAGEUP, 0x21, 0},  {SDLK_KP_0, 0x60, 0},
        {SDLK_KP_9, 0x69, 0}, {SDLK_PERIOD, 0xBE, 0}, {SDLK_MINUS, 0xBD, 0},   {SDLK_RETURN, 13, 13},
        {SDLK_ESCAPE, 27, 27}, {SDLK_BACKSPACE, 8, 8},
    };
    for (const Key& key : keys) {
        pushKey(SDL_KEYDOWN, key.sdl);
        pushKey(SDL_KEYUP, key.sdl);
        auto messages = drain();
        Summary expected = {{0x100, key.vk}, {0x101, key.vk}};
        if (key.character) expected.insert(expected.begin() + 1, {0x102, key.character});
        ASSERT_EQ(summary(messages), expected) << SDL_GetKeyName(key.sdl);
        EXPECT_EQ(messages.front().lParam & 0xC0000000, 0);          // a fresh press
        EXPECT_EQ(messages.back().lParam & 0xC0000000, 0xC0000000);  // was down, is being released
    }
    pushKey(SDL_KEYDOWN, SDLK_b, true);
    auto repeated = drain();
    ASSERT_EQ(repeated.size(), 1u);
    EXPECT_EQ(repeated[0].lParam & 0x40000000, 0x40000000);  // auto-repeat: already down
}

TEST_F(WindowMessages, TypedTextBecomesEightBitCharacters) {
    // é is Latin-1 0xE9; the euro sign has no 8-bit code.
    for (const char* utf8 : {"aZ5.", "\xC3\xA9", "\xE2\x82\xAC"}) {
        SDL_Event event{.text = {.type = SDL_TEXTINPUT}};
        std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
        push(event);
    }
    EXPECT_EQ(summary(drain()), (Summary{{0x102, 'a'}, {0x102, 'Z'}, {0x102, '5'}, {0x102, '.'}, {0x102, 0xE9}}));
}

TEST_F(WindowMessages, MouseMessagesPackPositionsAsSignedWordsButtonsAsFlagsAndTheWheelInTheHighWord) {
    push({.motion = {.type = SDL_MOUSEMOTION, .x = -5, .y = 1079}});
    const std::pair<Uint8, Uint8> clicks[] = {{SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_LEFT, 2}, {SDL_BUTTON_RIGHT, 1},
                                              {SDL_BUTTON_MIDDLE, 1}};
    for (auto [button, count] : clicks)
        for (Uint8 state : {SDL_PRESSED, SDL_RELEASED}) {
            Uint32 type = state == SDL_PRESSED ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            push({.button = {.type = type, .button = button, .state = state, .clicks = count, .x = 300, .y = -2}});
        }
    push({.wheel = {.type = SDL_MOUSEWHEEL, .y = 1, .direction = SDL_MOUSEWHEEL_NORMAL}});
    push({.wheel = {.type = SDL_MOUSEWHEEL, .y = -2, .direction = SDL_MOUSEWHEEL_NORMAL}});
    push({.wheel = {.type = SDL_MOUSEWHEEL, .y = 1, .direction = SDL_MOUSEWHEEL_FLIPPED}});
    auto messages = drain();
    // The buttons held are in the low word (the pressed one in its down message
    // only); the wheel's signed delta, 120 a notch, is in the high word.
    Summary masked;
    for (const WindowMessage& m : messages) masked.emplace_back(m.message, m.wParam & 0xFFFF0013);
    EXPECT_EQ(masked, (Summary{{0x200, 0x00}, {0x201, 0x01}, {0x202, 0x00}, {0x203, 0x01}, {0x202, 0x00},
                               {0x204, 0x02}, {0x205, 0x00}, {0x207, 0x10}, {0x208, 0x00},
                               {0x20A, 0x00780000}, {0x20A, 0xFF100000}, {0x20A, 0xFF880000}}));
    ASSERT_EQ(messages.size(), 12u);
    EXPECT_EQ(messages[0].lParam, 0x0437FFFB);  // y 1079 = 0x437 high, x -5 = 0xFFFB low
    EXPECT_EQ(lParamX(messages[0].lParam), -5);
    EXPECT_EQ(messages[8].lParam, 0xFFFE012C);  // y -2 = 0xFFFE, x 300 = 0x12C
    EXPECT_EQ(lParamY(messages[8].lParam), -2);
    EXPECT_EQ(wheelDelta(messages[10].wParam), -240);
}

TEST_F(WindowMessages, ClosingSendsOneCloseAndTheQuitComesAfterEveryEarlierMessage) {
    push({.window = {.type = SDL_WINDOWEVENT, .event = SDL_WINDOWEVENT_CLOSE}});
    push({.quit = {.type = SDL_QUIT}});  // what SDL adds after the last window's close
    pushKey(SDL_KEYDOWN, SDLK_q);
    pushKey(SDL_KEYUP, SDLK_q);
    WindowMessage peeked;
    ASSERT_TRUE(peekMessage(peeked, false));  // looked at, left in the queue
    EXPECT_EQ(peeked.message, 0x10u);
    postQuitMessage(3);
    EXPECT_EQ(summary(drain()), (Summary{{0x10, 0}, {0x100, 0x51}, {0x101, 0x51}, {0x12, 3}}));
}

TEST_F(WindowMessages, AsyncKeyStateReportsAPressOnceEvenBeforeMessagesAreRead) {
    for (auto [sdl, vk] : {std::pair{SDLK_ESCAPE, 27}, {SDLK_F1, 0x70}, {SDLK_F2, 0x71}, {SDLK_RCTRL, 17}}) {
        EXPECT_EQ(asyncKeyState(vk), 0) << vk;
        pushKey(SDL_KEYDOWN, sdl);
        EXPECT_EQ(asyncKeyState(vk) & 1, 1) << vk;  // pressed since the last query
        EXPECT_EQ(asyncKeyState(vk), 0) << vk;      // reported once; synthetic keys are not held
    }
    pushKey(SDL_KEYDOWN, SDLK_q);
    EXPECT_EQ(asyncKeyState(27), 0);  // another key does not count
}

}  // namespace
}  // namespace vorn::platform
