#include <gtest/gtest.h>

#include <set>

#include "platform/scan_codes.h"
#include "platform/sdl/sdl_keymap.h"

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
    EXPECT_GE(seen.size(), 43u);
    EXPECT_EQ(scan_code_for(SDL_SCANCODE_KP_MULTIPLY), dik::multiply);
    EXPECT_EQ(scan_code_for(SDL_SCANCODE_BACKSLASH), dik::backslash);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_PAGEUP), dik::multiply);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_INSERT), dik::numpad0);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_A), 0);
    EXPECT_EQ(scan_code_for(SDL_SCANCODE_UNKNOWN), 0);
}
