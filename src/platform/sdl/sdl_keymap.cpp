#include "platform/sdl/sdl_keymap.h"

#include "platform/key_table.h"

// SDL's scancodes are the USB HID usages of the shared key table.
uint8_t scan_code_for(SDL_Scancode key) { return scan_code_for_usage(static_cast<uint16_t>(key)); }

uint8_t keypad_alias_for(SDL_Scancode key) { return keypad_alias_for_usage(static_cast<uint16_t>(key)); }
