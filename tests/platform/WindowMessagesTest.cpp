// Synthetic SDL events through the message pump: numbers, codes and packing as
// the UI reads them. The expected values are the Windows ones, written out.
#include "platform/WindowMessages.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vorn::platform {
namespace {

class WindowMessages : public ::testing::Test {
protected:
    void SetUp() override { clearMessages(); }
    void TearDown() override { clearMessages(); }

    static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

    static void pushKey(Uint32 type, SDL_Keycode key, bool repeat = false) {
        SDL_Event event{};
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        push(event);
    }

    static void pushButton(Uint32 type, Uint8 button, int x, int y, Uint8 clicks = 1) {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = clicks;
        event.button.x = x;
        event.button.y = y;
        push(event);
    }

    static void pushText(const char* utf8) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
        push(event);
    }

    static void pushWheel(int y, bool flipped = false) {
        SDL_Event event{};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.y = y;
        event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        push(event);
    }

    static std::vector<WindowMessage> drain() {
        std::vector<WindowMessage> messages;
        WindowMessage message;
        while (peekMessage(message)) messages.push_back(message);
        return messages;
    }
};

TEST_F(WindowMessages, KeysBecomeKeyDownAndKeyUpWithVirtualKeyCodes) {
    struct Key {
        SDL_Keycode sdl;
        WParam vk;
    };
    const Key keys[] = {
        {SDLK_a, 0x41},     {SDLK_z, 0x5A},      {SDLK_0, 0x30},      {SDLK_9, 0x39},    {SDLK_SPACE, 32},
        {SDLK_LSHIFT, 16},  {SDLK_RSHIFT, 16},   {SDLK_LCTRL, 17},    {SDLK_RCTRL, 17},  {SDLK_F1, 0x70},
        {SDLK_F2, 0x71},    {SDLK_F12, 0x7B},    {SDLK_LEFT, 0x25},   {SDLK_UP, 0x26},   {SDLK_RIGHT, 0x27},
        {SDLK_DOWN, 0x28},  {SDLK_HOME, 0x24},   {SDLK_END, 0x23},    {SDLK_DELETE, 0x2E}, {SDLK_PAGEUP, 0x21},
        {SDLK_KP_0, 0x60},  {SDLK_KP_9, 0x69},   {SDLK_PERIOD, 0xBE}, {SDLK_MINUS, 0xBD},
    };
    for (const Key& key : keys) {
        pushKey(SDL_KEYDOWN, key.sdl);
        pushKey(SDL_KEYUP, key.sdl);
        auto messages = drain();
        ASSERT_EQ(messages.size(), 2u) << SDL_GetKeyName(key.sdl);
        EXPECT_EQ(messages[0].message, 0x100u);
        EXPECT_EQ(messages[0].wParam, key.vk) << SDL_GetKeyName(key.sdl);
        EXPECT_EQ(messages[0].lParam & 0xC0000000, 0);  // a fresh press
        EXPECT_EQ(messages[1].message, 0x101u);
        EXPECT_EQ(messages[1].wParam, key.vk);
        EXPECT_EQ(messages[1].lParam & 0xC0000000, 0xC0000000);  // was down, is being released
    }
}

TEST_F(WindowMessages, ControlKeysAlsoSendTheirCharacter) {
    const std::pair<SDL_Keycode, WParam> keys[] = {{SDLK_RETURN, 13}, {SDLK_ESCAPE, 27}, {SDLK_BACKSPACE, 8}};
    for (auto [sdl, code] : keys) {
        pushKey(SDL_KEYDOWN, sdl);
        auto messages = drain();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].message, 0x100u);
        EXPECT_EQ(messages[0].wParam, code);
        EXPECT_EQ(messages[1].message, 0x102u);
        EXPECT_EQ(messages[1].wParam, code);
    }
}

TEST_F(WindowMessages, AutoRepeatIsMarkedAsAlreadyDown) {
    pushKey(SDL_KEYDOWN, SDLK_b, true);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].lParam & 0x40000000, 0x40000000);
}

TEST_F(WindowMessages, TypedTextBecomesEightBitCharacters) {
    pushText("aZ5.");
    pushText("\xC3\xA9");      // é, Latin-1 0xE9
    pushText("\xE2\x82\xAC");  // the euro sign has no 8-bit code: dropped
    auto messages = drain();
    ASSERT_EQ(messages.size(), 5u);
    const WParam expected[] = {'a', 'Z', '5', '.', 0xE9};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(messages[i].message, 0x102u);
        EXPECT_EQ(messages[i].wParam, expected[i]);
    }
}

TEST_F(WindowMessages, MousePositionIsPackedAsSignedWords) {
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = -5;
    move.motion.y = 1079;
    push(move);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 300, -2);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, 0x200u);
    EXPECT_EQ(messages[0].lParam, 0x0437FFFB);  // y 1079 = 0x437 high, x -5 = 0xFFFB low
    EXPECT_EQ(lParamX(messages[0].lParam), -5);
    EXPECT_EQ(lParamY(messages[0].lParam), 1079);
    EXPECT_EQ(messages[1].lParam, 0xFFFE012C);  // y -2 = 0xFFFE, x 300 = 0x12C
    EXPECT_EQ(lParamY(messages[1].lParam), -2);
}

TEST_F(WindowMessages, ButtonsMapToTheirMessagesAndFlags) {
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20, 1);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 20, 1);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20, 2);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 20, 2);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 20);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 10, 20);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 10, 20);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 10, 20);
    auto messages = drain();
    const uint32_t expected[] = {0x201, 0x202, 0x203, 0x202, 0x204, 0x205, 0x207, 0x208};
    ASSERT_EQ(messages.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(messages[i].message, expected[i]) << i;
        EXPECT_EQ(lParamX(messages[i].lParam), 10);
        EXPECT_EQ(lParamY(messages[i].lParam), 20);
    }
    // Button flags: the pressed button is held in its down message, released in its up message.
    EXPECT_EQ(messages[0].wParam & 0x13, 0x01u);
    EXPECT_EQ(messages[1].wParam & 0x13, 0x00u);
    EXPECT_EQ(messages[4].wParam & 0x13, 0x02u);
    EXPECT_EQ(messages[6].wParam & 0x13, 0x10u);
    EXPECT_EQ(messages[7].wParam & 0x13, 0x00u);
}

TEST_F(WindowMessages, WheelDeltaIsSignedInTheHighWord) {
    pushWheel(1);
    pushWheel(-2);
    pushWheel(1, true);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    for (const auto& m : messages) EXPECT_EQ(m.message, 0x20Au);
    EXPECT_EQ(messages[0].wParam >> 16, 0x0078u);  // +120
    EXPECT_EQ(messages[1].wParam >> 16, 0xFF10u);  // -240
    EXPECT_EQ(messages[2].wParam >> 16, 0xFF88u);  // flipped: -120
    EXPECT_EQ(wheelDelta(messages[1].wParam), -240);
}

TEST_F(WindowMessages, ClosingSendsOneCloseThenTheQuitOnceAsked) {
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    push(close);
    SDL_Event quit{};
    quit.type = SDL_QUIT;  // what SDL adds after the last window's close
    push(quit);

    WindowMessage message;
    ASSERT_TRUE(peekMessage(message));
    EXPECT_EQ(message.message, 0x10u);
    postQuitMessage(3);
    ASSERT_TRUE(peekMessage(message));
    EXPECT_EQ(message.message, 0x12u);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(peekMessage(message));
}

TEST_F(WindowMessages, TheQuitMessageWaitsForEarlierMessages) {
    pushKey(SDL_KEYDOWN, SDLK_q);
    postQuitMessage(0);
    pushKey(SDL_KEYUP, SDLK_q);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, 0x100u);
    EXPECT_EQ(messages[1].message, 0x101u);
    EXPECT_EQ(messages[2].message, 0x12u);
}

TEST_F(WindowMessages, PeekingWithoutRemovingLeavesTheMessage) {
    pushKey(SDL_KEYDOWN, SDLK_c);
    WindowMessage first, second;
    ASSERT_TRUE(peekMessage(first, false));
    ASSERT_TRUE(peekMessage(second, true));
    EXPECT_EQ(first.wParam, 0x43u);
    EXPECT_EQ(second.wParam, 0x43u);
    EXPECT_FALSE(peekMessage(second));
}

TEST_F(WindowMessages, AsyncKeyStateReportsAPressOnceEvenBeforeMessagesAreRead) {
    const std::pair<SDL_Keycode, int> keys[] = {
        {SDLK_ESCAPE, 27}, {SDLK_F1, 0x70}, {SDLK_F2, 0x71}, {SDLK_LSHIFT, 16}, {SDLK_RCTRL, 17}};
    for (auto [sdl, vk] : keys) {
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
