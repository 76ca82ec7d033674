#pragma once
#include "app/app.h"
#include "platform/platform.h"

// Each loader reports its own problems through the platform's message box and
// leaves the data loaded before in place when the file is refused.
void load_map_data(App& app, Platform& platform);
// All four at start-up: the picture, the shoreline and the rest load on the
// machine's first two cores side by side; the reports come in the same order
// as the loaders' one after another.
void load_all_data(App& app, Platform& platform);
