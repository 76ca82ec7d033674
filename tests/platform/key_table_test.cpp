#include "platform/key_table.h"

#include <gtest/gtest.h>

#include "platform/scan_codes.h"

TEST(KeyTable, BrowserKeyNamesArriveUnderTheirScanCodes)
{
    const struct {
        const char* name;
        uint8_t code, alias;
    } keys[] = {
        {"Escape", dik::escape, 0},       {"Digit0", dik::key0, 0},        {"Backslash", dik::backslash, 0},
        {"NumpadMultiply", dik::multiply, 0}, {"ControlRight", dik::rcontrol, 0}, {"F12", dik::f12, 0},
        {"PageUp", 0, dik::multiply},     {"PageDown", 0, dik::divide},    {"Home", 0, dik::numpad5},
        {"Insert", 0, dik::numpad0},      {"NoSuchKey", 0, 0},             {"", 0, 0},
    };
    for (const auto& key : keys) {
        if (!key.alias) {
            EXPECT_EQ(scan_code_for_usage(usage_for_code_name(key.name)), key.code) << key.name;
        }
        EXPECT_EQ(keypad_alias_for_usage(usage_for_code_name(key.name)), key.alias) << key.name;
    }
}
