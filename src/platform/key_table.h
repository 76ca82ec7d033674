#pragma once
#include <cstdint>
#include <string_view>

// One physical key: its USB HID usage (the value of SDL's scancode), its
// name as a browser's KeyboardEvent.code gives it, and its scan code in the
// key state array (set 1 codes, 0x80 set for extended keys).
struct KeyRow {
    uint16_t usage;
    const char* code_name;
    uint8_t scan_code;
};

// The scan code for a USB HID usage, or 0 for keys without one.
uint8_t scan_code_for_usage(uint16_t usage);
// The USB HID usage for a KeyboardEvent.code name, or 0 for unknown names.
uint16_t usage_for_code_name(std::string_view name);

// Laptop keyboards without a keypad: Page Up, Page Down, Home and Insert also
// report keypad *, keypad /, keypad 5 and keypad 0. 0 when the key has no alias.
uint8_t keypad_alias_for_usage(uint16_t usage);
