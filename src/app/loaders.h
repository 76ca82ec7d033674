#pragma once
#include "app/app.h"
#include "platform/platform.h"

// Each loader reports its own problems through the platform's message box and
// leaves the data loaded before in place when the file is refused.
void load_map_data(App& app, Platform& platform);
// All five at start-up: the picture, the shoreline and the rest (the city
// lights last) load on the machine's first two cores side by side; the
// reports come in the same order as the loaders' one after another. Then the
// tables of day and night are made from the final palette.
void load_all_data(App& app, Platform& platform);
