#pragma once
#include "app/app.h"
#include "platform/platform.h"

// The steps of one frame, in the order run_frame takes them.

struct TurnAngles {
    double roll = 0;
    double pitch = 0;
    double yaw = 0;
};
TurnAngles smooth_mouse(App& app, int32_t dx, int32_t dy);

void time_of_day_keys(App& app);
void date_keys(App& app);
void spin_keys(App& app);
void zoom_keys(App& app);
// Each notch up magnifies by 1.1, each notch down reduces; a notch stops at magnification 1.
void zoom_wheel(App& app, int32_t notches);
// Two fingers twisted roll the view with them (no levelling while they are
// down); spread or pinched they magnify by the ratio of their distances,
// stopping at magnification 1 until they are lifted.
void two_fingers(App& app, const TwoFingers& fingers, TurnAngles& turn);

void motion_keys(App& app);
void preset_and_toggle_keys(App& app, Platform& platform);
void orbit_physics(App& app);
void keep_above_ground(App& app);

void free_buffers(App& app);
