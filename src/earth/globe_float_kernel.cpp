// The textured globe in single precision, four pixels of a row side by side:
// each eight's first ray, its hit's quadratic and their steps in double, the
// rays, hits and both angles in float, each pixel with a bound on how far its
// float hit may lie from the exact path's double one. A pixel whose texel, or
// whose hit or miss, that bound leaves in doubt goes to the exact path. A
// row goes in blocks, each in passes: the hits, the longitudes, the
// latitudes, the pixels.
// Needs no instruction set beyond the compiler's generic vectors.
#include "earth/float_lanes.h"
#include "earth/globe_lanes.h"

namespace {

using float_lanes::F;
using float_lanes::I;

constexpr double ulp = 0x1p-24;  // float's unit roundoff
// Pixels a group's double set-up serves, four at a time, and its last step.
constexpr int32_t group = 8;
constexpr double last = group - 1;
const F first_four{0, 1, 2, 3};

F splat(double v) { return F{} + static_cast<float>(v); }

// What a row's groups share. The bounds are first-order sums of roundings,
// each a quarter over for the second-order terms; with |e| the eye's
// distance, every hit at most |e| from the eye and L = 7 a group's last
// step:
// - the quadratic disc = b^2 - |d|^2 lift of step k is c0 + k (c1 + k c2),
//   so its float value is within 3 ulp (|disc| + 2L |c1| + 2L^2 |c2|) of
//   the double one, far from the cancellation of b^2 against |d|^2 lift;
// - a ray d, from the group's first ray in double plus k steps, is within
//   eps = 2 ulp (1 + 2L |r| / dmin) of its direction, dmin the shortest ray
//   of the row; b = e.d and |d|^2 come the same way, within 3 ulp of
//   themselves and 2L ulp |e| |r| |d|;
// - so the hit e + t d, t = (-b - sqrt(disc)) / |d|^2, lies within
//   a = |e| (11 ulp + eps) + 2 ulp of the exact path's, plus the error of
//   sqrt(disc) over |d|: that of disc over 2 sqrt(disc) |d|, where a hit is
//   only trusted with disc four times its error.
// `dbl` bounds the double path's own roundings generously, with the row's
// length and the eye's distance, and joins each.
struct Row {
    double rr, dmin, dbl;
    double er, c2;  // e.r, and the quadratic's second difference over 2
    F a;
};

Row row_bounds(const GlobeScene& s, const RowRays& r, int32_t j)
{
    const double x = r.x[j], y = r.y[j], z = r.z[j];
    const double rr = s.rx * s.rx + s.ry * s.ry + s.rz * s.rz;
    const double along = rr > 0 ? (x * s.rx + y * s.ry + z * s.rz) / rr : 0;
    const double mx = x - along * s.rx, my = y - along * s.ry, mz = z - along * s.rz;
    const double dmin = __builtin_sqrt(mx * mx + my * my + mz * mz);
    const double g = __builtin_sqrt(x * x + y * y + z * z) + r.count[j] * __builtin_sqrt(rr);
    const double e = __builtin_sqrt(s.ex * s.ex + s.ey * s.ey + s.ez * s.ez);
    const double eps = 2 * ulp * (1 + 2 * last * __builtin_sqrt(rr) / dmin);
    const double dbl = 0x1p-44 * (1 + r.count[j]) * (g / dmin) * (1 + e) * (1 + e);
    const double er = s.ex * s.rx + s.ey * s.ry + s.ez * s.rz;
    return {rr, dmin, dbl, er, er * er - s.lift * rr, splat(1.25 * (e * (11 * ulp + eps) + 2 * ulp + dbl))};
}

// Truncates s - slack and s + slack: the rounded ends keep every integer
// between the true ones, so where they agree no texel edge lies between.
I truncate(F s, F slack, I& agree)
{
    const I lo = __builtin_convertvector(s - slack, I);
    agree = lo == __builtin_convertvector(s + slack, I);
    return lo;
}

// The light level of each hit from its sine of the Sun's altitude, within
// dp of the exact one (the Sun's direction is a unit vector), the products
// and sums, the float Sun and bounds adding 6 ulps; -1 where a level's bound
// lies within that of the sine.
I light_levels_of(const GlobeScene& s, F px, F py, F pz, F dp)
{
    const F sine = (px * float(s.sx) + py * float(s.sy)) + pz * float(s.sz);
    const F slack = dp + float(6 * ulp);
    I below_lo{}, below_hi{};
    for (int32_t k = 0; k < light_levels - 1; ++k) {
        const float bound = static_cast<float>(s.bounds[k]);
        below_lo -= sine + slack <= bound;
        below_hi -= sine - slack <= bound;
    }
    return below_lo == below_hi ? below_lo : -1;
}

// Where the pixels of a row left to the exact path get their rays: stepped
// on from the last one handed over, as the exact path steps them.
struct ExactRays {
    double x, y, z;
    int32_t at = 0;

    void hand_over(const GlobeScene& s, RowPixels& p, int32_t j, int32_t i)
    {
        for (; at < i; ++at) {
            x = x + s.rx;
            y = y + s.ry;
            z = z + s.rz;
        }
        const int32_t n = p.exact_count++;
        p.exact_at[n] = i * RowRays::lanes + j;
        p.exact_rays[3 * n] = x;
        p.exact_rays[3 * n + 1] = y;
        p.exact_rays[3 * n + 2] = z;
    }
};

// A group's first ray, and its hit's quadratic and tolerance, from double.
struct Group {
    F x, y, z;
    F b0, dd0, dr2, disc0, c1, tol0;
};

Group group_at(const GlobeScene& s, const RowRays& r, const Row& w, int32_t j, int32_t i)
{
    const double x = r.x[j] + i * s.rx, y = r.y[j] + i * s.ry, z = r.z[j] + i * s.rz;
    const double b0 = s.ex * x + s.ey * y + s.ez * z;
    const double dd0 = x * x + y * y + z * z, dr = x * s.rx + y * s.ry + z * s.rz;
    const double c1 = 2 * (b0 * w.er - s.lift * dr);
    const double tol0 = 3 * ulp * (2 * last * __builtin_fabs(c1) + 2 * last * last * __builtin_fabs(w.c2)) +
                        w.dbl * (b0 * b0 + dd0 * __builtin_fabs(s.lift));
    return {splat(x), splat(y), splat(z), splat(b0), splat(dd0), splat(2 * dr), splat(b0 * b0 - dd0 * s.lift),
            splat(c1), splat(tol0)};
}

// A row's steps in blocks of this many fours, pass by pass: each pass is a
// short loop over the block, which stays in the first-level cache, with few
// values live, so that they stay in registers.
constexpr int32_t block_fours = 16;

struct Block {
    F px[block_fours], py[block_fours], pz[block_fours];
    F rho[block_fours], dp[block_fours];
    F su[block_fours], sv[block_fours];
    I miss[block_fours], clear[block_fours];
    bool row_known[block_fours];
    int32_t row[block_fours];
};

// Where the rays of four f of the block meet the sphere, steps k of group g,
// and how far those hits may lie from the exact path's.
[[gnu::always_inline]] inline void meet(const GlobeScene& s, const Row& w, const Group& g, F step, Block& b, int32_t f)
{
    const F disc = g.disc0 + step * (g.c1 + step * splat(w.c2));
    const F bb = g.b0 + step * splat(w.er);
    const F dd = g.dd0 + step * (g.dr2 + step * splat(w.rr));
    const F dx = g.x + step * splat(s.rx), dy = g.y + step * splat(s.ry), dz = g.z + step * splat(s.rz);
    const F tol = 1.25f * (g.tol0 + float(3 * ulp) * float_lanes::abs(disc));
    const I clear = disc > 4.0f * tol;
    const F q = float_lanes::sqrt(clear ? disc : 1.0f);
    const F t = (-bb - q) / dd;
    const F px = splat(s.ex) + t * dx, pz = splat(s.ez) + t * dz;
    b.px[f] = px;
    b.py[f] = splat(s.ey) + t * dy;
    b.pz[f] = pz;
    b.rho[f] = float_lanes::sqrt(px * px + pz * pz);
    b.dp[f] = w.a + tol / (2.0f * q * float(w.dmin));
    b.miss[f] = disc < -tol;
    b.clear[f] = clear;
}

// The texels of steps i..i+3 of row j, four f of the block: the texel of
// each sure hit (lit at its level, with day and night), 0 for each sure
// miss; the rest go to the exact path.
[[gnu::always_inline]] inline void four_pixels(const GlobeScene& s, const RowRays& r, const Row& w, const Block& b,
                                               int32_t f, int32_t j, int32_t i, RowPixels& p, ExactRays& exact)
{
    const F px = b.px[f], dp = b.dp[f], su = b.su[f], sv = b.sv[f];
    const F rho_lo = b.rho[f] * (1.0f - 0x1p-22f) - dp;
    // Longitude within dp / rho, latitude within dp and rho's rounding, the
    // double path's asin within its hit's error over rho; both scalings round
    // by 2 ulps of their result. Multiplying by 1 / rho loses an ulp against
    // dividing, which the quarter over in each bound covers.
    const F over_rho = 1.0f / rho_lo;
    const F slack_u = float(s.u_scale) * (float_lanes::atan2_error + dp * over_rho) + float_lanes::abs(su) * 0x1.4p-23f;
    // Every comparison with a NaN fails, so only finite lanes go on; the
    // sign of x, which picks the end of the back meridian, must be sure too.
    const I ok = b.clear[f] & (rho_lo > dp) & (float_lanes::abs(px) > dp) & (slack_u < 0.25f);
    I u_agree, v_agree;
    const I u = truncate(ok ? su : 0.0f, ok ? slack_u : 0.0f, u_agree);
    I v;
    if (b.row_known[f]) {
        v = I{} + b.row[f];
        v_agree = ok;
    } else {
        const F slack_v = float(s.v_scale) * (float_lanes::atan2_error + 0x1p-23f + dp + float(w.dbl) * over_rho) +
                          float_lanes::abs(sv) * 0x1.4p-23f;
        const I ok_v = ok & (slack_v < 0.25f);
        v = truncate(ok_v ? sv : 0.0f, ok_v ? slack_v : 0.0f, v_agree);
        v_agree &= ok_v;
    }
    const I level = s.shades ? light_levels_of(s, px, b.py[f], b.pz[f], dp) : I{};
    const I sure = ok & u_agree & v_agree & (level >= 0);

    const I texel = texel_index(s, u, v);
    uint8_t* out = p.out[j];
    // Mostly all four are sure, unlit hits: no lane need be looked at alone.
    if (!s.shades && i + 4 <= r.count[j] && float_lanes::all(sure)) {
        for (int32_t l = 0; l < 4; ++l) out[i + l] = s.pic[texel[l]];
        return;
    }
    for (int32_t l = 0; l < 4 && i + l < r.count[j]; ++l) {
        out[i + l] = !sure[l] ? 0 : s.shades ? lit_texel(s, static_cast<uint64_t>(texel[l]), level[l]) : s.pic[texel[l]];
        if (!sure[l] && !b.miss[f][l]) exact.hand_over(s, p, j, i + l);
    }
}

// The latitudes of the block's fours, as truncated angles. A four whose
// hits' y all lie inside the band of the row the last four ended in, by more
// than their error and a float's rounding of y - dp, takes that row with no
// arctangent: the exact path's asin of that y truncates to it. The rest
// take atan2, within the bound the pixels' pass gives it.
void latitudes(const GlobeScene& s, Block& b, int32_t fours)
{
    const int32_t top = s.h / 2 + 1;
    int32_t guess{};
    bool have = false;
    for (int32_t f = 0; f < fours; ++f) {
        const F py = b.py[f];
        if (have) {
            const float* band = s.bands + 2 * (guess + top);
            const F margin = b.dp[f] + 0x1p-22f;
            b.row_known[f] = float_lanes::all((py - margin > band[0]) & (py + margin < band[1]));
            b.row[f] = guess;
            if (b.row_known[f]) continue;
        }
        b.row_known[f] = false;
        b.sv[f] = float_lanes::atan2(py, b.rho[f]) * float(s.v_scale);
        const float ends_at = b.sv[f][3];
        have = s.bands && ends_at > float(-top) && ends_at < float(top);  // never for a NaN
        guess = have ? static_cast<int32_t>(ends_at) : 0;
    }
}

// Steps [i, i + 4 fours) of row j: the hits, their longitudes, their
// latitudes, then the pixels. Steps past the row's end are met too and
// left unused.
void block_of_row(const GlobeScene& s, const RowRays& r, const Row& w, int32_t j, int32_t i, int32_t fours, Block& b,
                  RowPixels& p, ExactRays& exact)
{
    for (int32_t f = 0; f < fours; f += group / 4) {
        const Group g = group_at(s, r, w, j, i + 4 * f);
        meet(s, w, g, first_four, b, f);
        meet(s, w, g, first_four + 4.0f, b, f + 1);
    }
    for (int32_t f = 0; f < fours; ++f) b.su[f] = float_lanes::atan2(b.px[f], -b.pz[f]) * float(s.u_scale);
    latitudes(s, b, fours);
    for (int32_t f = 0; f < fours; ++f) four_pixels(s, r, w, b, f, j, i + 4 * f, p, exact);
}

}  // namespace

void row_texels_float(const GlobeScene& shared, const RowRays& rays, RowPixels& pixels)
{
    // The kernel's own copy: the pixels' bytes may alias the caller's scene,
    // which every four would then load again after each store.
    const GlobeScene scene = shared;
    Block block;
    for (int32_t j = 0; j < RowRays::lanes; ++j) {
        if (rays.count[j] <= 0) continue;
        const Row w = row_bounds(scene, rays, j);
        ExactRays exact{rays.x[j], rays.y[j], rays.z[j]};
        for (int32_t i = 0; i < rays.count[j]; i += 4 * block_fours) {
            const int32_t left = (rays.count[j] - i + 3) / 4;
            const int32_t fours = left < block_fours ? (left + 1) / 2 * 2 : block_fours;
            block_of_row(scene, rays, w, j, i, fours, block, pixels, exact);
        }
    }
}
