#pragma once
// The Earth's renderers: this textured globe (an exact path and a fast one
// that gives the same picture), the land and sea fill from shoreline data,
// the border lines, and the map files they read. Built on core/, and on
// raster/ for the decoded image.
#include "core/camera.h"
#include "core/frame_buffer.h"
#include "core/spans.h"
#include "core/workers.h"
#include "earth/globe_lanes.h"
#include "earth/globe_light.h"
#include "raster/gif.h"

// Lists, for every row of the frame, the pixels that fall on the Earth's disc
// (the unit sphere seen from view.viewpos): a row that crosses the disc gets
// exactly two entries, its left end (inclusive) and right end (exclusive),
// clipped to [0, frame_xres]; every other row gets none. Rows beyond the span
// work area get nothing.
void globespans(const Camera& view, const FrameBuffer& frame, Spans& spans);

// Draws every row of the frame: each pixel of a row's span takes the texel at
// the longitude and latitude where its ray meets the sphere, every other pixel
// (and a ray that misses at the rim) becomes 0. Without a picture in the
// texture the whole frame becomes 0. With day's light, each texel is lit by
// the Sun's altitude at its point. One atan2 and one asin per pixel: the
// reference for texglobe.
void texglobe_exact(const Camera& view, const FrameBuffer& frame, const Spans& spans, const Texture& texture,
                    const Daylight& day);

// The same picture, byte for byte, from vectorised angles of known error,
// falling back to the exact ones for a pixel within that error of a texel
// edge; the rows are shared among the pool's threads, each running `kernel`
// on eight rows at a time. Returns how many pixels took the exact angles.
int64_t texglobe(const Camera& view, const FrameBuffer& frame, const Spans& spans, const Texture& texture,
                 const Daylight& day, WorkerPool& workers, RowKernel kernel);
