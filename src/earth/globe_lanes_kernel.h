#pragma once
// The body of the row kernels, included only by the files that compile it for
// one instruction set each. It uses nothing inline from the standard library,
// whose shared copies the linker could take from the wrong one of them.
#include "earth/globe_lanes.h"

namespace {

// Lanes provides the vector type V of n doubles, its int32 counterpart I, and
// sqrt, atan2 and asin on V. The rays' inputs take exactly the double
// operations of the exact path, in its order; only the two angles differ,
// within their documented bound of 3.5 ULP.
template <class Lanes>
void row_texels(const RowRays& r)
{
    using V = typename Lanes::V;
    using I = typename Lanes::I;
    using M = decltype(V{} < V{});
    constexpr int32_t n = sizeof(V) / sizeof(double);
    // A generous multiple of the angles' error bound (3.5 ULP, and as much
    // again for the exact path's) and of the roundings of the scaling.
    constexpr double margin = 0x1p-40;
    const V zero{};
    const V one = zero + 1.0;
    for (int32_t i = 0; i < r.count; i += n) {
        V dx, dy, dz;
        __builtin_memcpy(&dx, r.dx + i, sizeof dx);
        __builtin_memcpy(&dy, r.dy + i, sizeof dy);
        __builtin_memcpy(&dz, r.dz + i, sizeof dz);
        const V b = r.ex * dx + r.ey * dy + r.ez * dz;
        const V dd = dx * dx + dy * dy + dz * dz;
        const V disc = b * b - dd * r.lift;
        // A miss's lanes get harmless operands, and stay out of the conversions.
        const M hit = (disc >= 0.0) & (dd > 0.0);
        const V root = Lanes::sqrt(hit != 0 ? disc : one);
        const V t = (-b - root) / (hit != 0 ? dd : one);
        const V px = r.ex + dx * t;
        const V py = r.ey + dy * t;
        const V pz = r.ez + dz * t;

        const V clamped = py < -1.0 ? -one : (py > 1.0 ? one : py);
        const V us = hit != 0 ? Lanes::atan2(px, -pz) * r.u_scale : zero;
        const V vs = hit != 0 ? Lanes::asin(clamped) * r.v_scale : zero;
        const V uslack = (us < 0.0 ? -us : us) * margin;
        const V vslack = (vs < 0.0 ? -vs : vs) * margin;
        const I u = __builtin_convertvector(us - uslack, I);
        const I v = __builtin_convertvector(vs - vslack, I);
        // Every value within the slack truncates alike, the exact one too.
        // The sign of a zero x decides between the two ends of the back
        // meridian, which the approximation need not keep.
        const M sure = (px != 0.0) & (hit != 0);
        const I exact_ok = (u == __builtin_convertvector(us + uslack, I)) &
                           (v == __builtin_convertvector(vs + vslack, I)) & __builtin_convertvector(sure, I);
        const I hits = __builtin_convertvector(hit, I);

        I col = u + r.w / 2;
        col = col < 0 ? 0 : col;
        col = col >= r.w ? 0 : col;
        I row = v + r.h / 2;
        row = row < 0 ? 0 : row;
        row = row > r.h - 1 ? r.h - 1 : row;
        const I texel = hits == 0 ? RowRays::miss : (exact_ok != 0 ? row * r.w + col : RowRays::exact);
        __builtin_memcpy(r.texel + i, &texel, sizeof texel);
    }
}

}  // namespace
