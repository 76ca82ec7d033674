#pragma once
#include "app/app.h"
#include "platform/platform.h"

// The steps of one frame, in the order run_frame takes them.

struct TurnAngles {
    double roll = 0;
    double pitch = 0;
    double yaw = 0;
};
// The mouse's motion, smoothed in the controls, as turns of the view; no
// frame yet (frame_xres -1) turns nothing but the roll.
TurnAngles smooth_mouse(Controls& controls, const View& view, int32_t frame_xres, int32_t dx, int32_t dy);

// The keys of the clock, of the spin and of the zoom; a key that acts once
// per press is taken from keys.
void time_of_day_keys(uint8_t* keys, TimeState& time);
void date_keys(uint8_t* keys, TimeState& time);
void spin_keys(const uint8_t* keys, Camera& camera);
void zoom_keys(uint8_t* keys, View& view, int32_t frame_xres);
// Each notch up magnifies by 1.1, each notch down reduces; a notch stops at magnification 1.
void zoom_wheel(View& view, int32_t frame_xres, int32_t notches);
// Two fingers twisted roll the view with them (no levelling while they are
// down); spread or pinched they magnify by the ratio of their distances,
// stopping at magnification 1 until they are lifted.
void two_fingers(View& view, int32_t frame_xres, int32_t mouse_buttons, const TwoFingers& fingers, TurnAngles& turn);

// A frame moves the eye by at most this much time, so that a stalled
// process or a hidden page resumes where it stopped...
constexpr int32_t max_motion_ms = 250;
// ...in steps of at most this much, the floor kept at each, so that the
// motion does not depend on the frame rate.
constexpr int32_t motion_step_ms = 16;
void motion_keys(const uint8_t* keys, View& view, int32_t dt);
void preset_and_toggle_keys(App& app, Platform& platform);
void orbit_physics(View& view, int32_t dt);
void keep_above_ground(View& view, int32_t dt);
// The eye's motion of one frame: motion keys, presets and toggles (once),
// orbit physics and the floor, over the frame's motion time.
void move_eye(App& app, Platform& platform);

void free_buffers(App& app);
