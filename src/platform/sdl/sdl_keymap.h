#pragma once
#include <SDL.h>

#include <cstdint>

// The keyboard scan code the key state array uses for an SDL scancode; 0 for
// keys without one.
uint8_t scan_code_for(SDL_Scancode key);

// Laptop keyboards without a keypad: Page Up, Page Down, Home and Insert also
// report keypad *, keypad /, keypad 5 and keypad 0. 0 when the key has no alias.
uint8_t keypad_alias_for(SDL_Scancode key);
