#include "sky/sky_table.h"

#include <cmath>

#include "core/constants.h"
#include "sky/ephemeris.h"
#include "sky/orbit.h"

namespace {

double wrap(double value, double turn)
{
    double r = std::fmod(value, turn);
    if (r < 0) r += turn;
    return r < turn ? r : 0;  // a tiny negative remainder rounds up to a whole turn
}

void set_equatorial(SkyRow& row, const Vec3& p)
{
    // The space frame's x is the equatorial y (6h), its y the south pole, its z 12h.
    double xe = -p.z;
    double ye = p.x;
    double ze = -p.y;
    row.ra_hours = wrap(std::atan2(ye, xe) * degrees_per_radian / 15, 24);
    row.dec_degrees = std::atan2(ze, std::hypot(xe, ye)) * degrees_per_radian;
    row.distance_mmiles = length(p);
}

// Altitude and azimuth on the sphere below the viewer: the local vertical is
// the viewer's direction from the Earth's centre.
void set_horizontal(SkyRow& row, const Vec3& p, const Instant& time, const Vec3& viewpos)
{
    Vec3 fixed = orbit::space_to_fixed(p, time.sidereal_angle);
    Vec3 dir = fixed * (1 / length(fixed));
    Vec3 up = viewpos * (1 / length(viewpos));
    row.altitude_degrees = std::asin(std::fmax(-1.0, std::fmin(1.0, dot(dir, up)))) * degrees_per_radian;
    double h = std::hypot(viewpos.x, viewpos.z);
    if (h <= 0) {
        row.azimuth_degrees = 0;
        return;
    }
    Vec3 east = {-viewpos.z / h, 0, viewpos.x / h};
    Vec3 north = cross(up, east);
    row.azimuth_degrees = wrap(std::atan2(dot(dir, east), dot(dir, north)) * degrees_per_radian, 360);
}

}  // namespace

std::vector<SkyRow> sky_table(const Instant& time, const Vec3& viewpos)
{
    std::vector<SkyRow> rows(num_bodies);
    for (int32_t k = 0; k < num_bodies; ++k) {
        Vec3 p = seen_from_viewer(k, time, viewpos);
        rows[k].body = body_names[k];
        set_equatorial(rows[k], p);
        set_horizontal(rows[k], p, time, viewpos);
    }
    return rows;
}
