#pragma once

// Border polylines as loaded from the border file.
struct Borders {
};
