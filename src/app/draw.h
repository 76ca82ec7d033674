#pragma once
#include "app/app.h"

// Draws the globe (textured, or filled in land and sea), the border lines and,
// without the texture, the sky into the locked frame.
void draw_scene(App& app);
