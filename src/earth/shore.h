#pragma once

// Shoreline loops as loaded from the shoreline file.
struct Shore {
};
