#pragma once
// The body of the row kernels, included only by the files that compile it for
// one instruction set each. It uses nothing inline from the standard library,
// whose shared copies the linker could take from the wrong one of them: the
// kernel symbols test reads the objects to make sure.
#include "earth/globe_lanes.h"

namespace {

// Lanes provides the vector types V of n doubles, F of 2n floats and I of n
// int32; sqrt, atan2 and asin on V, atan2 on F, narrow (two V into one F),
// widen (half of an F back into a V) and any (whether a lane of an I is set).
// The rays and their hits take exactly the double operations of the exact
// path, in its order; only the angles differ, within their documented bounds.
template <class Lanes>
struct RowKernelBody {
    using V = typename Lanes::V;
    using F = typename Lanes::F;
    using I = typename Lanes::I;
    using M = decltype(V{} < V{});
    static constexpr int32_t n = sizeof(V) / sizeof(double);
    static constexpr int32_t groups = RowRays::lanes / n;

    // The rays of a few steps, and what becomes of them, pass by pass: each
    // pass is a short loop over this block, which stays in the first-level
    // cache, and the calls into SLEEF have little live around them to save.
    // A miss's lanes get harmless values, which stay out of the conversions.
    static constexpr int32_t block_steps = 32;
    static constexpr int32_t size = block_steps * RowRays::lanes;
    struct Block {
        double x0[RowRays::lanes], y0[RowRays::lanes], z0[RowRays::lanes];  // each lane's first ray
        alignas(64) double px[size], py[size], pz[size];
        alignas(64) double longitude[size], latitude[size];
        alignas(64) int64_t hit[size];
    };

    static V load(const double* p)
    {
        V v;
        __builtin_memcpy(&v, p, sizeof v);
        return v;
    }

    template <class T>
    static void store(void* p, T v)
    {
        __builtin_memcpy(p, &v, sizeof v);
    }

    static V abs(V x) { return x < 0.0 ? -x : x; }

    // Steps [0, steps) of every lane from the rays dx, dy, dz on, which it
    // leaves at the next step.
    static void meet(const GlobeScene& r, Block& b, int32_t first, int32_t steps, V* dx, V* dy, V* dz, const I* count)
    {
        const V one = V{} + 1.0;
        for (int32_t g = 0; g < groups; ++g) {
            store(b.x0 + g * n, dx[g]);
            store(b.y0 + g * n, dy[g]);
            store(b.z0 + g * n, dz[g]);
        }
        for (int32_t s = 0; s < steps; ++s)
            for (int32_t g = 0; g < groups; ++g) {
                const int32_t k = s * RowRays::lanes + g * n;
                const V x = dx[g], y = dy[g], z = dz[g];
                const V bb = r.ex * x + r.ey * y + r.ez * z;
                const V dd = x * x + y * y + z * z;
                const V disc = bb * bb - dd * r.lift;
                const M active = __builtin_convertvector(count[g] > first + s, M);
                const M hit = active & (disc >= 0.0) & (dd > 0.0);
                const V root = Lanes::sqrt(hit != 0 ? disc : one);
                const V t = (-bb - root) / (hit != 0 ? dd : one);
                store(b.px + k, r.ex + x * t);
                store(b.py + k, r.ey + y * t);
                store(b.pz + k, r.ez + z * t);
                store(b.hit + k, hit);
                dx[g] = x + r.rx;
                dy[g] = y + r.ry;
                dz[g] = z + r.rz;
            }
    }

    static void angles(const GlobeScene& r, Block& b, int32_t rays)
    {
        for (int32_t k = 0; k < rays; k += 2 * n) {
            const F x = Lanes::narrow(load(b.px + k), load(b.px + k + n));
            const F z = Lanes::narrow(-load(b.pz + k), -load(b.pz + k + n));
            const F longitude = Lanes::atan2(x, z);
            store(b.longitude + k, Lanes::widen(longitude, 0) * r.u_scale);
            store(b.longitude + k + n, Lanes::widen(longitude, 1) * r.u_scale);
        }
        const V one = V{} + 1.0;
        for (int32_t k = 0; k < rays; k += n) {
            const V y = load(b.py + k);
            store(b.latitude + k, Lanes::asin(y < -1.0 ? -one : (y > 1.0 ? one : y)) * r.v_scale);
        }
    }

    // The hits whose float longitude keeps its bound: rounding to float
    // moves a coordinate by 2^-24 of itself, or by 2^-150 below the normal
    // floats, which moves the angle of a point at least 2^-100 from the axis
    // by no more than 2^-50.
    static M float_safe(V x, V z)
    {
        const V ax = abs(x), az = abs(z);
        const V m = ax > az ? ax : az;
        return (m >= 0x1p-100) & (m <= 0x1p100);
    }

    // Truncates s - slack and s + slack; the lanes where they agree truncate
    // every value between them alike, the exact one among them.
    static I truncate(V s, V slack, I& agree)
    {
        const I lo = __builtin_convertvector(s - slack, I);
        agree = lo == __builtin_convertvector(s + slack, I);
        return lo;
    }

    // The texels of the hits from their angles. Rounding a hit to float moves
    // its longitude by at most 2^-23 of itself (the point's two coordinates
    // each by 2^-24 of themselves), and the float atan2 lies within 3.5 float
    // ULPs of the rounded point's, or FLT_MIN; the slack is well over the
    // sum. Where that is not enough, the double atan2 decides, its 3.5 double
    // ULPs (with as much again for the exact path's own angle and the
    // scalings' roundings) well inside the slack of 2^-40 also given to the
    // double asin; a lane still too near an edge is left to the exact path.
    static void texels(const GlobeScene& r, const RowRays& rows, RowPixels& out, const Block& b, int32_t first,
                       int32_t rays)
    {
        const V zero{};
        for (int32_t k = 0; k < rays; k += n) {
            M hit;
            __builtin_memcpy(&hit, b.hit + k, sizeof hit);
            const I hits = __builtin_convertvector(hit, I);
            const V px = load(b.px + k);
            V us = hit != 0 ? load(b.longitude + k) : zero;
            I u_agree;
            I u = truncate(us, abs(us) * 0x1p-19 + r.u_scale * 0x1p-40, u_agree);
            if (Lanes::any(hits & ~(u_agree & __builtin_convertvector(float_safe(px, load(b.pz + k)), I)))) {
                us = hit != 0 ? Lanes::atan2(px, -load(b.pz + k)) * r.u_scale : zero;
                u = truncate(us, abs(us) * 0x1p-40, u_agree);
            }
            const V vs = hit != 0 ? load(b.latitude + k) : zero;
            I v_agree;
            const I v = truncate(vs, abs(vs) * 0x1p-40, v_agree);
            // The sign of a zero x decides between the two ends of the back
            // meridian, which the approximations need not keep.
            I sure = u_agree & v_agree & __builtin_convertvector(px != 0.0, I) & hits;
            const I level = r.shades ? levels(r, px, load(b.py + k), load(b.pz + k), sure) : I{};

            // A miss, and a pixel left to the exact path, draw 0 for now.
            const I texel = sure != 0 ? texel_index(r, u, v) : -1;
            const int32_t step = first + k / RowRays::lanes;
            draw(r, rows, out, step, k % RowRays::lanes, texel, level);
            if (Lanes::any(hits & ~sure)) keep_exact_rays(r, out, b, k, step, hits & ~sure);
        }
    }

    // The light levels from the sine of the Sun's altitude, which these
    // double operations give exactly as the exact path's do (the slack only
    // guards that claim); a lane too near a bound is no longer sure. Most
    // vectors lie wholly in the day or wholly in the night.
    static I levels(const GlobeScene& r, V px, V py, V pz, I& sure)
    {
        constexpr double slack = 0x1p-40;
        constexpr int32_t last = light_levels - 2;
        const V sine = (px * r.sx + py * r.sy) + pz * r.sz;
        const I day = __builtin_convertvector(sine > r.bounds[0] + slack, I);
        if (!Lanes::any(~day)) return I{};
        const I night = __builtin_convertvector(sine <= r.bounds[last] - slack, I);
        if (!Lanes::any(~night)) return I{} + last + 1;
        I lo{}, hi{};
        for (int32_t b = 0; b <= last; ++b) {
            lo -= __builtin_convertvector(sine <= r.bounds[b] - slack, I);
            hi -= __builtin_convertvector(sine <= r.bounds[b] + slack, I);
        }
        sure &= lo == hi;
        return lo;
    }

    static void draw(const GlobeScene& r, const RowRays& rows, RowPixels& out, int32_t step, int32_t lane, I texel,
                     I level)
    {
        for (int32_t l = 0; l < n; ++l) {
            if (step >= rows.count[lane + l]) continue;
            const int32_t t = texel[l];
            out.out[lane + l][step] = t < 0 ? 0 : r.shades ? lit_texel(r, t, level[l]) : r.pic[t];
        }
    }

    // A ray is stepped again from its lane's first one in the block, as the
    // exact path steps it.
    static void keep_exact_rays(const GlobeScene& r, RowPixels& out, const Block& b, int32_t k, int32_t step,
                                I exact)
    {
        const int32_t lane = k % RowRays::lanes;
        for (int32_t l = 0; l < n; ++l) {
            if (exact[l] == 0) continue;
            double x = b.x0[lane + l], y = b.y0[lane + l], z = b.z0[lane + l];
            for (int32_t i = 0; i < k / RowRays::lanes; ++i) {
                x = x + r.rx;
                y = y + r.ry;
                z = z + r.rz;
            }
            const int32_t e = out.exact_count++;
            out.exact_at[e] = step * RowRays::lanes + lane + l;
            out.exact_rays[3 * e] = x;
            out.exact_rays[3 * e + 1] = y;
            out.exact_rays[3 * e + 2] = z;
        }
    }

    static void run(const GlobeScene& r, const RowRays& rows, RowPixels& out)
    {
        V dx[groups], dy[groups], dz[groups];
        I count[groups];
        for (int32_t g = 0; g < groups; ++g) {
            dx[g] = load(rows.x + g * n);
            dy[g] = load(rows.y + g * n);
            dz[g] = load(rows.z + g * n);
            __builtin_memcpy(&count[g], rows.count + g * n, sizeof(I));
        }
        // Whole pairs of steps, so that every float atan2 has two vectors.
        const int32_t steps = (rows.steps + 1) / 2 * 2;
        Block b;
        for (int32_t first = 0; first < steps; first += block_steps) {
            const int32_t m = steps - first < block_steps ? steps - first : block_steps;
            const int32_t rays = m * RowRays::lanes;
            meet(r, b, first, m, dx, dy, dz, count);
            angles(r, b, rays);
            texels(r, rows, out, b, first, rays);
        }
    }
};

}  // namespace
