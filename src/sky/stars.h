#pragma once

// The star catalogue: directions and brightnesses.
struct Stars {
};
