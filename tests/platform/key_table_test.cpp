#include <gtest/gtest.h>

#include "platform/key_table.h"
#include "platform/scan_codes.h"

TEST(KeyTable, BrowserKeyNamesArriveUnderTheirScanCodes)
{
    const struct {
        const char* name;
        uint8_t code;
    } keys[] = {
        {"Escape", dik::escape},       {"Digit1", dik::key1},         {"Digit0", dik::key0},
        {"BracketLeft", dik::lbracket}, {"BracketRight", dik::rbracket}, {"KeyH", dik::h},
        {"KeyQ", dik::q},              {"KeyZ", dik::z},              {"Backquote", dik::grave},
        {"Backslash", dik::backslash}, {"NumpadMultiply", dik::multiply}, {"NumpadDivide", dik::divide},
        {"Numpad5", dik::numpad5},     {"Numpad0", dik::numpad0},     {"ArrowUp", dik::up},
        {"ArrowLeft", dik::left},      {"ControlRight", dik::rcontrol}, {"AltRight", dik::ralt},
        {"ShiftLeft", dik::lshift},    {"CapsLock", dik::capital},    {"F12", dik::f12},
        {"Space", dik::space},
    };
    for (const auto& key : keys) EXPECT_EQ(scan_code_for_usage(usage_for_code_name(key.name)), key.code) << key.name;
    EXPECT_EQ(usage_for_code_name("NoSuchKey"), 0);
    EXPECT_EQ(usage_for_code_name(""), 0);
    EXPECT_EQ(scan_code_for_usage(0), 0);
    EXPECT_EQ(keypad_alias_for_usage(usage_for_code_name("PageUp")), dik::multiply);
    EXPECT_EQ(keypad_alias_for_usage(usage_for_code_name("PageDown")), dik::divide);
    EXPECT_EQ(keypad_alias_for_usage(usage_for_code_name("Home")), dik::numpad5);
    EXPECT_EQ(keypad_alias_for_usage(usage_for_code_name("Insert")), dik::numpad0);
    EXPECT_EQ(keypad_alias_for_usage(usage_for_code_name("KeyA")), 0);
}
