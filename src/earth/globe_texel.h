#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

#include "core/camera.h"
#include "core/frame_buffer.h"
#include "core/spans.h"
#include "earth/globe_light.h"
#include "raster/gif.h"

// The exact mapping from a ray to its texel, shared by the per-pixel path and
// by the fast path's pixels that lie too near a texel edge to trust.

// Maps a point of the unit sphere to its texel: the image's first row at the
// -y pole, its centre column on the meridian through -z, columns growing
// towards +x. Both angles truncate towards zero. A hit on the +y pole is kept
// in the last row and one on the back meridian wraps to the first column.
struct Sampler {
    const Texture& texture;
    double u_scale = texture.pic_width / (2 * std::numbers::pi);
    double v_scale = texture.pic_height / std::numbers::pi;

    size_t texel(Vec3 p) const
    {
        const int32_t w = texture.pic_width;
        const int32_t h = texture.pic_height;
        const auto u = static_cast<int32_t>(std::atan2(p.x, -p.z) * u_scale);
        const auto v = static_cast<int32_t>(std::asin(std::clamp(p.y, -1.0, 1.0)) * v_scale);
        int32_t col = std::clamp(u + w / 2, 0, w);
        if (col == w) col = 0;
        const int32_t row = std::clamp(v + h / 2, 0, h - 1);
        return static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(col);
    }
};

// The frame's constants; the lights' grades only where they were made for
// this picture.
inline GlobeScene scene_of(const Camera& view, const Sampler& sampler, const Daylight& day)
{
    const Vec3 e = view.viewpos;
    const Vec3 r = view.viewright;
    const Texture& t = sampler.texture;
    GlobeScene scene{r.x, r.y, r.z, e.x, e.y, e.z, dot(e, e) - 1, sampler.u_scale, sampler.v_scale, t.pic_width,
                     t.pic_height, t.pic.data(), day.sun.x, day.sun.y, day.sun.z, nullptr, nullptr, nullptr, nullptr};
    if (const GlobeLight* light = day.light) {
        scene.bounds = light->bounds;
        scene.shades = light->shades.data();
        if (light->grades.size() == t.pic.size()) scene.grades = light->grades.data();
    }
    return scene;
}

// The exact path's pixel for a hit p on the sphere.
inline uint8_t exact_pixel(const Sampler& sampler, const GlobeScene& scene, Vec3 p)
{
    const size_t t = sampler.texel(p);
    if (!scene.shades) return sampler.texture.pic[t];
    return lit_texel(scene, t, light_level(scene, (p.x * scene.sx + p.y * scene.sy) + p.z * scene.sz));
}

inline bool has_picture(const Texture& t)
{
    return t.pic_width > 0 && t.pic_height > 0 &&
           t.pic.size() >= static_cast<size_t>(t.pic_width) * static_cast<size_t>(t.pic_height);
}

// Clears row y of the frame outside its disc span and gives the span's ends;
// false when the row has no span (or there is no picture) and is all cleared.
inline bool clear_around_span(const FrameBuffer& frame, const Spans& spans, bool picture, int32_t y, int32_t& x0,
                              int32_t& x1)
{
    const int32_t xres = frame.frame_xres;
    uint8_t* out = frame.row(y);
    if (!picture || y >= spans.rows || spans.xpcnt[static_cast<size_t>(y)] != 2) {
        std::memset(out, 0, static_cast<size_t>(xres));
        return false;
    }
    x0 = std::clamp(spans.row(y)[0], 0, xres);
    x1 = std::clamp(spans.row(y)[1], 0, xres);
    std::memset(out, 0, static_cast<size_t>(x0));
    if (x1 < xres) std::memset(out + x1, 0, static_cast<size_t>(xres - x1));
    return true;
}
