#include "earth/globe.h"

#include <algorithm>
#include <cmath>

#include "earth/globe_texel.h"

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
    return static_cast<int32_t>(std::clamp<double>(x, 0, xres));
}

// One ray per pixel from the eye; the nearer hit on the sphere gives the texel.
void draw_span(const Camera& view, const Sampler& sampler, const GlobeScene& scene, double y, int32_t x0, int32_t x1,
               uint8_t* out)
{
    const Vec3 e = view.viewpos;
    Vec3 dir = pixel_ray(view, x0, y);
    for (int32_t x = x0; x < x1; ++x, dir = dir + view.viewright) {
        double t{};
        out[x] = nearer_hit(e, scene.lift, dir, t) ? exact_pixel(sampler, scene, e + dir * t) : 0;
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

void texglobe_exact(const Camera& view, const FrameBuffer& frame, const Spans& spans, const Texture& texture,
                    const Daylight& day)
{
    const bool picture = has_picture(texture);
    const Sampler sampler{texture};
    const GlobeScene scene = scene_of(view, sampler, day);
    for (int32_t y = 0; y < frame.frame_yres; ++y) {
        int32_t x0{}, x1{};
        if (clear_around_span(frame, spans, picture, y, x0, x1))
            draw_span(view, sampler, scene, y, x0, x1, frame.row(y));
    }
}
