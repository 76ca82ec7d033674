// The textured globe in single precision, four pixels of a row side by side:
// the ray, its hit and both angles in float, each pixel with a bound on how
// far its float hit may lie from the exact path's double one. A pixel whose
// texel, or whose hit or miss, that bound leaves in doubt goes to the exact
// path. Needs no instruction set beyond the compiler's generic vectors.
#include "earth/float_lanes.h"
#include "earth/globe_lanes.h"

namespace {

using float_lanes::F;
using float_lanes::I;

constexpr double ulp = 0x1p-24;  // float's unit roundoff

struct Frame {
    F ex, ey, ez, lift, rx, ry, rz;
    float us, vs;
    double e;  // the eye's distance from the centre
};

// Bounds on one row's float errors, from the first-order sums below, each
// doubled for the second-order terms and the operations' order. With d a
// ray, |d| >= dmin over the row and every |d0|, i |r| <= g:
// - the ray d0 + i r lies within 4 ulp g / dmin = eps of its exact
//   direction, relative to |d|, which covers the double path's stepping too;
// - b = e.d within (4 ulp + eps) |e| |d|, d.d within (3 ulp + 2 eps) |d|^2;
// - so disc = b^2 - |d|^2 lift within |d|^2 |e|^2 (15 ulp + 4 eps), the
//   margin kept from the rim: disc over |d|^2 is h^2, h the cosine of the
//   ray's incidence, and a hit goes to the exact path unless h^2 is four
//   times its error, so that its square root's error is first-order;
// - the hit within a + b / h: a = |e| (21 ulp + 7 eps) + ulp from e, t and
//   the final sums, b = |e|^2 (7.5 ulp + 2 eps) from h's error over 2 h.
// The double path's own roundings are far smaller; `dbl` bounds them
// generously, with the row's length and the eye's distance, and joins each.
struct Row {
    F x0, y0, z0;
    F tol, a, b, dbl;
};

Row row_bounds(const RowRays& r, const Frame& f, int32_t j)
{
    const double x = r.x[j], y = r.y[j], z = r.z[j];
    const double rr = r.rx * r.rx + r.ry * r.ry + r.rz * r.rz;
    const double along = rr > 0 ? (x * r.rx + y * r.ry + z * r.rz) / rr : 0;
    const double mx = x - along * r.rx, my = y - along * r.ry, mz = z - along * r.rz;
    const double dmin = __builtin_sqrt(mx * mx + my * my + mz * mz);
    const double g = __builtin_sqrt(x * x + y * y + z * z) + r.count[j] * __builtin_sqrt(rr);
    const double eps = 4 * ulp * g / dmin;
    const double e = f.e;
    const double dbl = 0x1p-44 * (1 + r.count[j]) * (g / dmin) * (1 + e) * (1 + e);
    const auto splat = [](double v) { return F{} + static_cast<float>(v); };
    return {splat(x),
            splat(y),
            splat(z),
            splat(2 * (e * e * (15 * ulp + 4 * eps) + dbl)),
            splat(2 * (e * (21 * ulp + 7 * eps) + ulp + dbl)),
            splat(2 * (e * e * (7.5 * ulp + 2 * eps) + dbl)),
            splat(2 * dbl)};
}

// Truncates s - slack and s + slack: the rounded ends keep every integer
// between the true ones, so where they agree no texel edge lies between.
I truncate(F s, F slack, I& agree)
{
    const I lo = __builtin_convertvector(s - slack, I);
    agree = lo == __builtin_convertvector(s + slack, I);
    return lo;
}

// Where the pixels of a row left to the exact path get their rays: stepped
// on from the last one handed over, as the exact path steps them.
struct ExactRays {
    double x, y, z;
    int32_t at = 0;

    void hand_over(const RowRays& r, int32_t j, int32_t i)
    {
        for (; at < i; ++at) {
            x = x + r.rx;
            y = y + r.ry;
            z = z + r.rz;
        }
        const int32_t n = (*r.exact_count)++;
        r.exact_at[n] = i * RowRays::lanes + j;
        r.exact_rays[3 * n] = x;
        r.exact_rays[3 * n + 1] = y;
        r.exact_rays[3 * n + 2] = z;
    }
};

// Steps i..i+3 of row j: the texel of each sure hit, 0 for each sure miss.
void four_pixels(const RowRays& r, const Frame& f, const Row& w, int32_t j, int32_t i, ExactRays& exact)
{
    const F step = F{0, 1, 2, 3} + static_cast<float>(i);
    const F dx = w.x0 + step * f.rx, dy = w.y0 + step * f.ry, dz = w.z0 + step * f.rz;
    const F b = f.ex * dx + f.ey * dy + f.ez * dz;
    const F dd = dx * dx + dy * dy + dz * dz;
    const F disc = b * b - dd * f.lift;
    const F tol = dd * w.tol;
    const I miss = disc < -tol;
    const I clear = disc > 4.0f * tol;
    const F q = float_lanes::sqrt(clear ? disc : 1.0f);
    const F t = (-b - q) / dd;
    const F px = f.ex + t * dx, py = f.ey + t * dy, pz = f.ez + t * dz;
    const F rho = float_lanes::sqrt(px * px + pz * pz);
    const F g = float_lanes::sqrt(dd) / q;  // 1 / h
    const F dp = w.a + w.b * g;
    const F rho_lo = rho * (1.0f - 0x1p-22f) - dp;
    // Longitude within dp / rho, latitude within dp and rho's rounding, the
    // double path's asin within its hit's error over rho; both scalings round
    // by 2 ulps of their result.
    const F su = float_lanes::atan2(px, -pz) * f.us;
    const F sv = float_lanes::atan2(py, rho) * f.vs;
    const F slack_u = f.us * (float_lanes::atan2_error + dp / rho_lo) + float_lanes::abs(su) * 0x1p-22f;
    const F slack_v = f.vs * (float_lanes::atan2_error + 0x1p-23f + dp + w.dbl * (1.0f + g) / rho_lo) +
                      float_lanes::abs(sv) * 0x1p-22f;
    // Every comparison with a NaN fails, so only finite lanes go on; the
    // sign of x, which picks the end of the back meridian, must be sure too.
    const I ok = clear & (rho_lo > dp) & (float_lanes::abs(px) > dp) & (slack_u < 0.25f) & (slack_v < 0.25f);
    I u_agree, v_agree;
    const I u = truncate(ok ? su : 0.0f, ok ? slack_u : 0.0f, u_agree);
    const I v = truncate(ok ? sv : 0.0f, ok ? slack_v : 0.0f, v_agree);
    const I sure = ok & u_agree & v_agree;

    I col = u + r.w / 2;
    col = col < 0 ? 0 : col;
    col = col >= r.w ? 0 : col;
    I row = v + r.h / 2;
    row = row < 0 ? 0 : row;
    row = row > r.h - 1 ? r.h - 1 : row;
    const I texel = row * r.w + col;
    uint8_t* out = r.out[j];
    for (int32_t l = 0; l < 4 && i + l < r.count[j]; ++l) {
        out[i + l] = sure[l] ? r.pic[texel[l]] : 0;
        if (!sure[l] && !miss[l]) exact.hand_over(r, j, i + l);
    }
}

}  // namespace

void row_texels_float(const RowRays& r)
{
    const double e2 = r.ex * r.ex + r.ey * r.ey + r.ez * r.ez;
    const auto splat = [](double v) { return F{} + static_cast<float>(v); };
    const Frame f{splat(r.ex),   splat(r.ey),   splat(r.ez),
                  splat(r.lift), splat(r.rx),   splat(r.ry),
                  splat(r.rz),   static_cast<float>(r.u_scale), static_cast<float>(r.v_scale),
                  __builtin_sqrt(e2)};
    for (int32_t j = 0; j < RowRays::lanes; ++j) {
        if (r.count[j] <= 0) continue;
        const Row w = row_bounds(r, f, j);
        ExactRays exact{r.x[j], r.y[j], r.z[j]};
        for (int32_t i = 0; i < r.count[j]; i += 4) four_pixels(r, f, w, j, i, exact);
    }
}
