#pragma once
// Frames, views and shorelines for the land and sea fill tests.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/spans.h"
#include "core/camera.h"
#include "earth/globe.h"
#include "earth/inland.h"
#include "earth/shore.h"
#include "core/frame_buffer.h"

namespace fill_test {

constexpr double deg = 3.141592653589793 / 180;
constexpr uint8_t padding = 0xAA;
constexpr int32_t units = 65536;

// Latitude north positive here; the shoreline axes have -y to the north.
inline Vec3 geo(double lat, double lon)
{
    const double phi = -lat * deg, lam = lon * deg;
    return {std::sin(lam) * std::cos(phi), std::sin(phi), -std::cos(phi) * std::cos(lam)};
}

inline Vec3 unit(Vec3 v) { return v * (1 / length(v)); }

inline MapPoint map_point(double lat, double lon, int32_t per_turn = units)
{
    double l = std::fmod(lon + 180, 360);
    if (l < 0) l += 360;
    int32_t x = static_cast<int32_t>(std::lround((l - 180) * per_turn / 360));
    if (x >= per_turn / 2) x -= per_turn;
    return {x, static_cast<int32_t>(std::lround(-lat * per_turn / 360))};
}

inline MapPoint map_point(Vec3 p, int32_t per_turn = units)
{
    const Vec3 q = p * (1 / length(p));
    return map_point(-std::asin(q.y) / deg, std::atan2(q.x, -q.z) / deg, per_turn);
}

// The outline of a latitude-longitude box in short steps, so that straight
// steps in longitude and latitude and straight lines on the screen agree.
inline std::vector<MapPoint> box(double lat0, double lat1, double lon0, double lon1, double step = 0.25)
{
    std::vector<MapPoint> loop;
    const auto edge = [&](double la0, double lo0, double la1, double lo1) {
        const int n = static_cast<int>(std::ceil(std::max(std::fabs(la1 - la0), std::fabs(lo1 - lo0)) / step));
        for (int i = 0; i < n; ++i)
            loop.push_back(map_point(la0 + (la1 - la0) * i / n, lo0 + (lo1 - lo0) * i / n));
    };
    edge(lat0, lon0, lat0, lon1);
    edge(lat0, lon1, lat1, lon1);
    edge(lat1, lon1, lat1, lon0);
    edge(lat1, lon0, lat0, lon0);
    return loop;
}

// A ring along one parallel: the cap on its polar side, pole included, is land
// when the pole is the South Pole.
inline std::vector<MapPoint> parallel(double lat, double step = 0.5)
{
    std::vector<MapPoint> loop;
    for (double lon = -180; lon < 180; lon += step) loop.push_back(map_point(lat, lon));
    return loop;
}

// The camera at eye looking at target, screen up towards the north as far as
// possible, turned by roll about the line of sight.
inline Camera look(int32_t w, int32_t h, Vec3 eye, Vec3 target, double roll = 0, double mag = 1)
{
    Camera v;
    v.viewpos = eye;
    v.viewfwd = unit(target - eye);
    Vec3 down = Vec3{0, 1, 0} - v.viewfwd * v.viewfwd.y;
    if (length(down) < 1e-9) down = Vec3{1, 0, 0} - v.viewfwd * v.viewfwd.x;
    down = unit(down);
    const Vec3 right = cross(down, v.viewfwd);
    const double c = std::cos(roll * deg), s = std::sin(roll * deg);
    v.viewright = right * c + down * s;
    v.viewdown = down * c - right * s;
    v.zoom = w * mag;
    v.zoom_half = v.zoom * 0.5;
    v.xres_half = w * 0.5;
    v.yres_half = h * 0.5;
    v.corner_dist2 = v.zoom_half * v.zoom_half + v.xres_half * v.xres_half + v.yres_half * v.yres_half;
    return v;
}

// A frame whose rows are wider than the picture, padding filled with a
// marker that no drawing may touch, and a span area for every row.
struct Scene {
    int32_t w, h, pitch;
    std::vector<uint8_t> bytes;
    FrameBuffer frame;
    Spans spans;

    Scene(int32_t width, int32_t height) : w(width), h(height), pitch(width + 8)
    {
        bytes.assign(static_cast<size_t>(pitch) * static_cast<size_t>(h), padding);
        frame.frame_ptr = bytes.data();
        frame.frame_pitch = pitch;
        frame.frame_xres = w;
        frame.frame_yres = h;
        for (int32_t y = 0; y < h; ++y) frame.row_offset.push_back(y * pitch);
        spans.rows = h;
        spans.xp.assign(static_cast<size_t>(h) * Spans::per_row, 0);
        spans.xpcnt.assign(static_cast<size_t>(h), 0);
    }
    uint8_t at(int32_t x, int32_t y) const { return bytes[static_cast<size_t>(y * pitch + x)]; }
    bool padding_intact() const
    {
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = w; x < pitch; ++x)
                if (at(x, y) != padding) return false;
        return true;
    }
};

// The disc ends of every row as globespans gives them; {0, 0} for no disc.
struct DiscRow {
    int32_t x0 = 0, x1 = 0;
};
inline std::vector<DiscRow> disc_rows(const Camera& view, const Scene& scene)
{
    Spans spans = scene.spans;
    globespans(view, scene.frame, spans);
    std::vector<DiscRow> rows(static_cast<size_t>(scene.h));
    for (int32_t y = 0; y < scene.h; ++y)
        if (spans.xpcnt[static_cast<size_t>(y)] == 2) rows[static_cast<size_t>(y)] = {spans.row(y)[0], spans.row(y)[1]};
    return rows;
}

// 1 for land at the point of the sphere seen through (x, y); -1 for a ray
// that misses.
inline int land_seen(const Camera& v, const Shore& shore, double x, double y)
{
    const Vec3 dir = v.viewright * (x - v.xres_half) + v.viewdown * (y - v.yres_half) + v.viewfwd * v.zoom_half;
    const double b = dot(v.viewpos, dir), dd = dot(dir, dir);
    const double disc = b * b - dd * (dot(v.viewpos, v.viewpos) - 1);
    if (disc < 0) return -1;
    const Vec3 p = v.viewpos + dir * ((-b - std::sqrt(disc)) / dd);
    return inland(shore, p.x, p.y, p.z);
}

}  // namespace fill_test
