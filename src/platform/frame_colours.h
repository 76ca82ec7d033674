#pragma once
#include <cstddef>
#include <cstdint>

#include "core/workers.h"

// Turns the 8-bit frame into the screen's 32-bit colours: each of the
// width x height indices at in (rows `width` apart) is looked up in colours
// and stored at out, whose rows lie out_pitch bytes apart. The rows are
// shared among the pool's threads.
void colour_frame(const uint8_t* in, int32_t width, int32_t height, const uint32_t* colours, uint8_t* out,
                  size_t out_pitch, WorkerPool& workers);
