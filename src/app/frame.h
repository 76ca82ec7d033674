#pragma once
#include "app/app.h"
#include "platform/platform.h"

// One frame: input, clock, camera, drawing, status, screenshot, present, Escape.
void run_frame(App& app, Platform& platform);
