#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/spans.h"
#include "earth/fill_geometry.h"
#include "earth/shore.h"
#include "core/frame_buffer.h"

// Walks every shoreline loop, projects the segments on the side that faces
// the eye (every segment with far_side) and appends each segment's crossing
// of a row's centre line to that row's list, behind the two disc ends; rows
// without a disc span get nothing. Where a loop passes the horizon or the
// near limit on the left half of a row's disc, limbflip[row] toggles: the
// colour at the disc's left end changes from that row on.
void shore_crossings(const FillGeometry& g, const Shore& shore, const FrameBuffer& frame, Spans& spans,
                     std::vector<uint8_t>& limbflip);
