#pragma once
#include <cstdint>

// Keyboard scan codes as the key state array is indexed.
namespace dik {
constexpr uint8_t escape = 0x01;
constexpr uint8_t key1 = 0x02;  // keys 1..9 are 0x02..0x0A, 0 is 0x0B
constexpr uint8_t key0 = 0x0B;
constexpr uint8_t minus = 0x0C;
constexpr uint8_t equals = 0x0D;
constexpr uint8_t backspace = 0x0E;
constexpr uint8_t tab = 0x0F;
constexpr uint8_t q = 0x10;
constexpr uint8_t w = 0x11;
constexpr uint8_t e = 0x12;
constexpr uint8_t r = 0x13;
constexpr uint8_t t = 0x14;
constexpr uint8_t i = 0x17;
constexpr uint8_t lbracket = 0x1A;
constexpr uint8_t rbracket = 0x1B;
constexpr uint8_t enter = 0x1C;
constexpr uint8_t lcontrol = 0x1D;
constexpr uint8_t a = 0x1E;
constexpr uint8_t s = 0x1F;
constexpr uint8_t d = 0x20;
constexpr uint8_t g = 0x22;
constexpr uint8_t h = 0x23;
constexpr uint8_t k = 0x25;
constexpr uint8_t l = 0x26;
constexpr uint8_t grave = 0x29;
constexpr uint8_t lshift = 0x2A;
constexpr uint8_t backslash = 0x2B;
constexpr uint8_t z = 0x2C;
constexpr uint8_t c = 0x2E;
constexpr uint8_t b = 0x30;
constexpr uint8_t n = 0x31;
constexpr uint8_t comma = 0x33;
constexpr uint8_t period = 0x34;
constexpr uint8_t slash = 0x35;
constexpr uint8_t rshift = 0x36;
constexpr uint8_t multiply = 0x37;  // keypad *
constexpr uint8_t lalt = 0x38;
constexpr uint8_t space = 0x39;
constexpr uint8_t capital = 0x3A;  // Caps Lock
constexpr uint8_t f1 = 0x3B;
constexpr uint8_t numpad5 = 0x4C;
constexpr uint8_t numpad0 = 0x52;
constexpr uint8_t f12 = 0x58;
constexpr uint8_t rcontrol = 0x9D;
constexpr uint8_t divide = 0xB5;  // keypad /
constexpr uint8_t ralt = 0xB8;
constexpr uint8_t up = 0xC8;
constexpr uint8_t left = 0xCB;
constexpr uint8_t right = 0xCD;
constexpr uint8_t down = 0xD0;
}  // namespace dik
