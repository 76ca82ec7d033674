#pragma once
// The sky: the clock and calendar, the analytic ephemeris and the event
// search, the star catalogue, and the painting of stars and bodies done
// here. Built on core/, and on raster/ for the labels.
#include <cstdint>

#include "core/spans.h"
#include "core/vec3.h"
#include "core/camera.h"
#include "core/frame_buffer.h"
#include "sky/instant.h"
#include "sky/stars.h"

// Paints the stars, the Sun, the Moon and the planets, with their names when
// labels is set, over what the frame already holds. Stars only
// brighten the grey ramp 0..63; bodies use their colours from the body table.
void draw_sky(const Camera& view, const FrameBuffer& frame, Spans& spans, const Instant& time,
              const Stars& stars, bool labels);

// The steps of draw_sky, each usable on its own.

// The camera rows turned into the space frame by the sidereal angle, and the
// cosine of the angle from the line of sight to a screen corner.
struct SkyCamera {
    Vec3 right, down, fwd;
    double corner_cos = 0;
};
SkyCamera sky_camera(const Camera& view, const FrameBuffer& frame, double sidereal_angle);

void draw_stars(const Camera& view, const FrameBuffer& frame, const SkyCamera& camera, const Stars& stars);

// Whether the Earth lies in front at pixel (x, y) of something depth million
// miles ahead of the eye (along viewfwd).
bool earth_covers(const Camera& view, int32_t x, int32_t y, double depth);

// A 3 x 3 dot centred on (sx, sy), only over sky darker than colour AND 63.
void draw_dot(const FrameBuffer& frame, int32_t sx, int32_t sy, uint8_t colour);

// The disc of a body at p (view coordinates: along viewright, viewdown,
// viewfwd; million miles) of the given diameter (miles), lit from the
// direction to_sun (the vector from the body to the Sun; zero for the Sun
// itself, which is lit all over). Its dark side takes colour lit - 8. Only
// the pixels where the Earth is not in front are painted; returns how many.
int32_t draw_disc(const Camera& view, const FrameBuffer& frame, Spans& spans, const Vec3& p,
               const Vec3& to_sun, double diameter, uint8_t lit);

// The name centred 8 rows above (sx, sy) in colour 31, or nothing when it
// would not fit on the screen.
void draw_label(const FrameBuffer& frame, int32_t sx, int32_t sy, const char* name);
