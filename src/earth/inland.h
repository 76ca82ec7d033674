#pragma once
#include "earth/shore.h"

// 1 when the direction (x, y, z) (any length, shoreline axes: -y north)
// lies inside an odd number of shoreline loops, else 0. Counts the loop
// segments that cross the point's meridian between the point and the North
// Pole, so a loop around the South Pole holds the pole.
int inland(const Shore& shore, double x, double y, double z);
