#include <gtest/gtest.h>

#include <set>

#include "platform/scan_codes.h"
#include "platform/sdl/sdl_keymap.h"

TEST(SdlKeymap, EveryBoundKeyArrivesUnderItsScanCode)
{
    const struct {
        SDL_Scancode sdl;
        uint8_t code;
    } bound[] = {
        {SDL_SCANCODE_ESCAPE, dik::escape}, {SDL_SCANCODE_1, dik::key1}, {SDL_SCANCODE_9, 0x0A},
        {SDL_SCANCODE_0, dik::key0}, {SDL_SCANCODE_MINUS, dik::minus}, {SDL_SCANCODE_EQUALS, dik::equals},
        {SDL_SCANCODE_LEFTBRACKET, dik::lbracket}, {SDL_SCANCODE_RIGHTBRACKET, dik::rbracket},
        {SDL_SCANCODE_COMMA, dik::comma}, {SDL_SCANCODE_PERIOD, dik::period},
        {SDL_SCANCODE_KP_MULTIPLY, dik::multiply}, {SDL_SCANCODE_KP_DIVIDE, dik::divide},
        {SDL_SCANCODE_KP_5, dik::numpad5}, {SDL_SCANCODE_KP_0, dik::numpad0}, {SDL_SCANCODE_LEFT, dik::left},
        {SDL_SCANCODE_RIGHT, dik::right}, {SDL_SCANCODE_UP, dik::up}, {SDL_SCANCODE_DOWN, dik::down},
        {SDL_SCANCODE_RCTRL, dik::rcontrol}, {SDL_SCANCODE_LSHIFT, dik::lshift}, {SDL_SCANCODE_RSHIFT, dik::rshift},
        {SDL_SCANCODE_LALT, dik::lalt}, {SDL_SCANCODE_RALT, dik::ralt}, {SDL_SCANCODE_C, dik::c},
        {SDL_SCANCODE_D, dik::d}, {SDL_SCANCODE_Z, dik::z}, {SDL_SCANCODE_N, dik::n}, {SDL_SCANCODE_S, dik::s},
        {SDL_SCANCODE_E, dik::e}, {SDL_SCANCODE_W, dik::w}, {SDL_SCANCODE_SLASH, dik::slash},
        {SDL_SCANCODE_R, dik::r}, {SDL_SCANCODE_L, dik::l}, {SDL_SCANCODE_H, dik::h}, {SDL_SCANCODE_B, dik::b},
        {SDL_SCANCODE_T, dik::t}, {SDL_SCANCODE_A, dik::a}, {SDL_SCANCODE_G, dik::g},
        {SDL_SCANCODE_SPACE, dik::space}, {SDL_SCANCODE_GRAVE, dik::grave},
        {SDL_SCANCODE_BACKSLASH, dik::backslash}, {SDL_SCANCODE_F12, dik::f12},
        {SDL_SCANCODE_CAPSLOCK, dik::capital},
    };
    for (const auto& key : bound) EXPECT_EQ(scan_code_for(key.sdl), key.code) << SDL_GetScancodeName(key.sdl);
}

TEST(SdlKeymap, CodesAreDistinctAndLaptopKeysReportTheKeypad)
{
    std::set<uint8_t> seen;
    for (int k = 0; k < SDL_NUM_SCANCODES; ++k) {
        const auto key = static_cast<SDL_Scancode>(k);
        const uint8_t code = scan_code_for(key);
        // The ISO key beside Enter is the same key as backslash on other layouts.
        if (code == 0 || key == SDL_SCANCODE_NONUSHASH) continue;
        EXPECT_TRUE(seen.insert(code).second) << SDL_GetScancodeName(key);
    }
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_PAGEUP), dik::multiply);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_PAGEDOWN), dik::divide);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_HOME), dik::numpad5);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_INSERT), dik::numpad0);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_A), 0);
    EXPECT_EQ(scan_code_for(SDL_SCANCODE_UNKNOWN), 0);
}
