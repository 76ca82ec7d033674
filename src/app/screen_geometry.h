#pragma once
#include "app/app.h"
#include "platform/platform.h"

// Adopts a new locked frame size: row table, screen centre, home view, zoom at
// magnification 1 and a span work area for every row.
void set_screen_geometry(App& app, Platform& platform, int32_t pitch, int32_t xres, int32_t yres);

// Adopts a changed frame size but keeps the eye, the view, the clock and the
// magnification: only the projection takes the new size.
void resize_screen_geometry(App& app, Platform& platform, int32_t pitch, int32_t xres, int32_t yres);
