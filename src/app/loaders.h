#pragma once
#include "app/app.h"
#include "platform/platform.h"

// Each loader reports its own problems through the platform's message box and
// leaves the data loaded before in place when the file is refused.
void load_texture(App& app, Platform& platform);
void load_map_data(App& app, Platform& platform);
void load_star_catalogue(App& app, Platform& platform);
