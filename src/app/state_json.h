#pragma once
#include <string>

#include "app/app.h"

// The camera as one JSON object on one line: the view vectors, the zoom, the
// frame size and the sky's angle and day, every number exact in 17 digits.
std::string camera_json(const Camera& camera, const FrameBuffer& frame, const Instant& instant);

// The camera with what else the viewer shows: the clock's local time
// (YYYY-MM-DDTHH:MM:SS), whether it is stepped by hand, the display toggles
// and the tracked body's name in lower case (null when none), for a page and
// whatever drives it.
std::string viewer_state_json(const App& app);
