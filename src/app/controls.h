#pragma once
#include <cstdint>

// Input as the frame controller keeps it between frames.
struct Controls {
    uint8_t key_state[256] = {};
    double mouse_dx_smooth = 0;
    double mouse_dy_smooth = 0;
    int32_t mouse_buttons = 0;
    int32_t prev_frame_ms = 0;
    int32_t start_ms = 0;
    int32_t frame_dt = 0;
    int32_t shot_counter = 0;
    uint32_t rand_seed = 1;
};
