#pragma once
// The application, on top: the viewer's state and frame loop, its keys,
// status lines, tracking and screenshots. It drives the renderers in earth/
// and sky/ through a Platform and owns every piece of state they are given.

#include "app/controls.h"
#include "app/settings.h"
#include "core/spans.h"
#include "core/workers.h"
#include "app/view.h"
#include "earth/borders.h"
#include "earth/globe_lanes.h"
#include "earth/globe_light.h"
#include "earth/shore.h"
#include "core/frame_buffer.h"
#include "platform/palette.h"
#include "platform/platform.h"
#include "raster/gif.h"
#include "sky/clock.h"
#include "sky/sky_behind.h"
#include "sky/stars.h"

// Everything the viewer keeps for the run, grouped by owner.
struct App {
    Settings settings;
    Palette palette;
    LoopState loop;
    Controls controls;
    View view;
    FrameBuffer frame;
    Spans spans;
    TimeState time;
    Texture texture;
    Shore shore;
    Borders borders;
    Stars stars;
    SkyLayer sky_layer;
    GlobeLight light;
    // The fast globe's kernel, asked of the processor once.
    RowKernel globe_kernel = best_row_kernel();
    // The threads that share a frame's globe and its colours, kept between frames.
    WorkerPool workers{core_count()};
};
