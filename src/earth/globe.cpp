#include "earth/globe.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

// A root of the span quadratic bounds the disc when its tangent ray points
// towards the Earth, i.e. meets the sphere in front of the eye.
bool usable(double x, double ex, double k)
{
    return ex * x + k < 0;
}

// Clamped before the conversion, which truncates towards zero.
int32_t column(double x, double xres)
{
    return static_cast<int32_t>(std::clamp(x, 0.0, xres));
}

// Maps a point of the unit sphere to its texel: the image's first row at the
// -y pole, its centre column on the meridian through -z, columns growing
// towards +x. Both angles truncate towards zero. A hit on the +y pole is kept
// in the last row and one on the back meridian wraps to the first column.
struct Sampler {
    const Texture& texture;
    double u_scale = texture.pic_width / (2 * std::numbers::pi);
    double v_scale = texture.pic_height / std::numbers::pi;

    uint8_t at(Vec3 p) const
    {
        const int32_t w = texture.pic_width;
        const int32_t h = texture.pic_height;
        const auto u = static_cast<int32_t>(std::atan2(p.x, -p.z) * u_scale);
        const auto v = static_cast<int32_t>(std::asin(std::clamp(p.y, -1.0, 1.0)) * v_scale);
        int32_t col = std::clamp(u + w / 2, 0, w);
        if (col == w) col = 0;
        const int32_t row = std::clamp(v + h / 2, 0, h - 1);
        return texture.pic[static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(col)];
    }
};

bool has_picture(const Texture& t)
{
    return t.pic_width > 0 && t.pic_height > 0 &&
           t.pic.size() >= static_cast<size_t>(t.pic_width) * static_cast<size_t>(t.pic_height);
}

// One ray per pixel from the eye; the nearer hit on the sphere gives the texel.
void draw_span(const Camera& view, const Sampler& sampler, double y, int32_t x0, int32_t x1, uint8_t* out)
{
    const Vec3 e = view.viewpos;
    const double lift = dot(e, e) - 1;
    Vec3 dir = view.viewright * (x0 - view.xres_half) + view.viewdown * (y - view.yres_half) +
               view.viewfwd * view.zoom_half;
    for (int32_t x = x0; x < x1; ++x, dir = dir + view.viewright) {
        const double b = dot(e, dir);
        const double dd = dot(dir, dir);
        const double disc = b * b - dd * lift;
        if (!(disc >= 0 && dd > 0)) {
            out[x] = 0;
            continue;
        }
        const double t = (-b - std::sqrt(disc)) / dd;
        out[x] = sampler.at(e + dir * t);
    }
}

}  // namespace

void globespans(const Camera& view, const FrameBuffer& frame, Spans& spans)
{
    std::fill(spans.xpcnt.begin(), spans.xpcnt.end(), 0);
    const Vec3 e = view.viewpos;
    // The eye in camera space; the ray through pixel (x, y) meets the sphere
    // where Q(x) = (ex x + k)^2 + |Dir|^2 (1 - |E|^2) >= 0.
    const double ex = dot(e, view.viewright);
    const double ey = dot(e, view.viewdown);
    const double ez = dot(e, view.viewfwd);
    const double inside = 1 - dot(e, e);
    const double cx = view.xres_half;
    const double cy = view.yres_half;
    const double f = view.zoom_half;
    const double xres = frame.frame_xres;
    const double alpha = ex * ex + inside;
    const int32_t rows = std::min(frame.frame_yres, spans.rows);

    for (int32_t y = 0; y < rows; ++y) {
        const double dy = y - cy;
        const double k = ey * dy + ez * f - ex * cx;
        const double beta = 2 * ex * k - 2 * cx * inside;
        const double gamma = k * k + inside * (cx * cx + dy * dy + f * f);
        const double delta = beta * beta - 4 * alpha * gamma;
        if (!(delta >= 0)) continue;
        // xa = (-beta + sqrt(delta)) / (2 alpha) and xb = (-beta - sqrt(delta)) / (2 alpha),
        // in the form that neither cancels nor divides by a vanishing alpha.
        const double root = std::sqrt(delta);
        const double q = beta >= 0 ? -0.5 * (beta + root) : -0.5 * (beta - root);
        const double xa = beta >= 0 ? gamma / q : q / alpha;
        const double xb = beta >= 0 ? q / alpha : gamma / q;
        const bool ua = usable(xa, ex, k);
        const bool ub = usable(xb, ex, k);

        double lo = 0;
        double hi = xres;
        if (ua && ub) {
            if (!(xa < xres && xb > 0)) continue;
            lo = xa;
            hi = xb;
        } else if (ua) {
            if (!(xa < xres)) continue;
            lo = xa;
        } else if (ub) {
            if (!(xb > 0)) continue;
            hi = xb;
        } else {
            continue;
        }
        spans.push(y, column(lo, xres));
        spans.push(y, column(hi, xres));
    }
}

void texglobe(const Camera& view, const FrameBuffer& frame, const Spans& spans, const Texture& texture)
{
    const int32_t xres = frame.frame_xres;
    const bool picture = has_picture(texture);
    const Sampler sampler{texture};
    for (int32_t y = 0; y < frame.frame_yres; ++y) {
        uint8_t* out = frame.row(y);
        if (!picture || y >= spans.rows || spans.xpcnt[static_cast<size_t>(y)] != 2) {
            std::memset(out, 0, static_cast<size_t>(xres));
            continue;
        }
        const int32_t x0 = std::clamp(spans.row(y)[0], 0, xres);
        const int32_t x1 = std::clamp(spans.row(y)[1], 0, xres);
        std::memset(out, 0, static_cast<size_t>(x0));
        if (x1 < xres) std::memset(out + x1, 0, static_cast<size_t>(xres - x1));
        draw_span(view, sampler, y, x0, x1, out);
    }
}
