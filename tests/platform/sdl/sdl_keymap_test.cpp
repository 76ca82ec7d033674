#include <gtest/gtest.h>

#include <set>

#include "platform/scan_codes.h"
#include "platform/sdl/sdl_keymap.h"

// The ISO key beside Enter is the same key as backslash on other layouts; no other two share a code.
TEST(SdlKeymap, CodesAreDistinctAndLaptopKeysReportTheKeypad)
{
    std::set<uint8_t> seen;
    for (int k = 0; k < SDL_NUM_SCANCODES; ++k) {
        const uint8_t code = scan_code_for(static_cast<SDL_Scancode>(k));
        EXPECT_TRUE(!code || k == SDL_SCANCODE_NONUSHASH || seen.insert(code).second) << k;
    }
    EXPECT_GE(seen.size(), 43u);
    EXPECT_EQ(scan_code_for(SDL_SCANCODE_KP_MULTIPLY), dik::multiply);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_PAGEUP), dik::multiply);
    EXPECT_EQ(keypad_alias_for(SDL_SCANCODE_A), 0);
}
