#include "earth/fill_edges.h"

#include <algorithm>
#include <cmath>

#include "core/fixed_point.h"
#include "core/float_bits.h"
#include "core/round.h"

namespace {

constexpr int32_t far_away = 1 << 30;

// A projected segment; entry and exit say that its start or its end was cut
// at the horizon or the near limit.
struct Segment {
    double X0, Y0, X1, Y1;
    bool entry, exit;
};

struct RowLists {
    Spans& spans;
    std::vector<uint8_t>& limbflip;
    int32_t rows;
};

bool on_disc(const RowLists& out, int32_t r)
{
    return r >= 0 && r < out.rows && out.spans.xpcnt[static_cast<size_t>(r)] >= 2;
}

void limb_flip(RowLists& out, int32_t r, double X)
{
    if (!on_disc(out, r)) return;
    const int32_t* row = out.spans.row(r);
    if (2 * X < static_cast<double>(row[0]) + static_cast<double>(row[1])) out.limbflip[static_cast<size_t>(r)] ^= 1;
}

// The segment's x at the centre line of each row in [ylo, yhi): in 18-bit
// fixed point while the ends are near the screen, else in doubles.
void row_crossings(RowLists& out, const Segment& s, int32_t ylo, int32_t yhi)
{
    const double slope = (s.X1 - s.X0) / (s.Y1 - s.Y0);
    const double dy = ylo + 0.5 - s.Y0;
    if (std::fabs(s.X0) >= 4096 || std::fabs(s.X1) >= 4096) {
        double x = s.X0 + dy * slope;
        for (int32_t r = ylo; r < yhi; ++r, x += slope)
            if (on_disc(out, r)) out.spans.push(r, rnd_clamp(x, -far_away, far_away));
        return;
    }
    // Every sample lies within the segment, so the running value stays far
    // inside 32 bits; only a one-row step may be out of range, and it is
    // never added before a sample is taken.
    int64_t x = rnd_clamp(s.X0 * fix_one + dy * slope * fix_one, INT32_MIN, INT32_MAX);
    const int64_t step = rnd_clamp(slope * fix_one, INT32_MIN, INT32_MAX);
    for (int32_t r = ylo; r < yhi; ++r, x += step)
        if (on_disc(out, r)) out.spans.push(r, fix_whole(x));
}

void add_segment(RowLists& out, const Segment& s)
{
    if (hi32(s.Y0) == hi32(s.Y1)) {
        const int32_t r = rnd_clamp(s.Y0, -1, out.rows);
        if (s.entry) limb_flip(out, r, s.X0);
        if (s.exit) limb_flip(out, r, s.X1);
        return;
    }
    const int32_t ylo = rnd_clamp(std::min(s.Y0, s.Y1), 0, out.rows);
    const int32_t yhi = rnd_clamp(std::max(s.Y0, s.Y1), 0, out.rows);
    const bool downwards = s.Y0 < s.Y1;
    if (s.entry) limb_flip(out, downwards ? ylo : yhi, s.X0);
    if (s.exit) limb_flip(out, downwards ? yhi : ylo, s.X1);
    row_crossings(out, s, ylo, yhi);
}

// The walk along the loops: segment prev -> cur of the current loop.
struct Walk {
    const FillGeometry& g;
    const Shore& shore;
    RowLists& out;
    int32_t loop = -1;
    int32_t loop_end = 0;  // one past the current loop's last point
    int32_t prev{};
    int32_t cur{};
    int32_t k = 0;         // the next piece ...
    int32_t b = 0;         // ... and its first point
    bool chain = false;    // prev is the unclipped visible end of the last segment
    Vec3 pv{}, cv{};
    double hp{}, hc{};
    CamPoint cp{}, cc{};
    double X1{}, Y1{};  // the screen position of the last segment's end
};

void load_prev(Walk& w)
{
    w.pv = to_vec3(w.shore.v[static_cast<size_t>(w.prev)]);
    w.hp = above_horizon(w.g.horizon, w.pv);
}

// Loops hold at least one point each and all of them together, as the
// loaders and shore_from_loops make them.
bool next_loop(Walk& w)
{
    if (++w.loop >= w.shore.loopcnt()) return false;
    w.cur = w.loop_end;
    w.loop_end += w.shore.loopnum[static_cast<size_t>(w.loop)];
    w.prev = w.loop_end - 1;
    w.chain = false;
    load_prev(w);
    return true;
}

// Piece k starts at cur: b moves on to the piece after it.
const Piece* enter_piece(Walk& w)
{
    if (w.k >= w.shore.lpscnt()) {
        w.b = -1;
        return nullptr;
    }
    const Piece& p = w.shore.lps[static_cast<size_t>(w.k++)];
    w.b = p.end;
    return &p;
}

enum class Hidden { skip, jump, stop };

// Both ends are behind the horizon. At the start of a piece whose cap is
// hidden too, the walk jumps past the whole piece: to its end, which lies
// inside the loop the piece names, past the walk. The last piece holds the
// rest of the points, so once it is hidden nothing more shows.
Hidden hidden_segment(Walk& w)
{
    if (w.cur != w.b) return Hidden::skip;
    const Piece* p = enter_piece(w);
    if (p == nullptr || piece_visible(w.g, *p)) return Hidden::skip;
    if (p->loop == w.shore.loopcnt()) return Hidden::stop;
    const int32_t start = p->loop_end - w.shore.loopnum[static_cast<size_t>(p->loop)];
    w.loop = p->loop;
    w.loop_end = p->loop_end;
    w.cur = p->end;
    w.prev = p->end == start ? p->loop_end - 1 : p->end - 1;
    load_prev(w);
    return Hidden::jump;
}

void open_segment(Walk& w)
{
    double t_in = -1, t_out = -1;
    if (!w.g.far_side) {
        clip_horizon(w.hp, w.hc, t_in, t_out);
        if (w.cur == w.b) enter_piece(w);
    }
    w.cp = camera(w.g, w.pv);
    w.cc = camera(w.g, w.cv);
    if (!clip_near(w.cp.depth, w.cc.depth, t_in, t_out)) return;
    Segment s{{}, {}, {}, {}, t_in > 0, t_out > 0};
    project(w.g.view, s.entry ? towards(w.cp, w.cc, t_in) : w.cp, s.X0, s.Y0);
    project(w.g.view, s.exit ? towards(w.cc, w.cp, t_out) : w.cc, s.X1, s.Y1);
    w.chain = !s.exit;
    w.X1 = s.X1;
    w.Y1 = s.Y1;
    add_segment(w.out, s);
}

void chained_segment(Walk& w)
{
    // The segment starts where the last one ended unclipped, so only its end
    // can be cut.
    double t_in = -1, t_out = -1;
    if (!w.g.far_side) {
        clip_horizon(w.hp, w.hc, t_in, t_out);
        if (w.cur == w.b) enter_piece(w);
    }
    w.cc = camera(w.g, w.cv);
    clip_near(w.cp.depth, w.cc.depth, t_in, t_out);
    Segment s{w.X1, w.Y1, {}, {}, false, t_out > 0};
    project(w.g.view, s.exit ? towards(w.cc, w.cp, t_out) : w.cc, s.X1, s.Y1);
    w.chain = !s.exit;
    w.X1 = s.X1;
    w.Y1 = s.Y1;
    add_segment(w.out, s);
}

}  // namespace

void shore_crossings(const FillGeometry& g, const Shore& shore, const FrameBuffer& frame, Spans& spans,
                     std::vector<uint8_t>& limbflip)
{
    RowLists out{spans, limbflip, std::min({frame.frame_yres, spans.rows, static_cast<int32_t>(limbflip.size())})};
    Walk w{g, shore, out};
    for (;;) {
        if (w.cur >= w.loop_end && !next_loop(w)) return;
        w.cv = to_vec3(shore.v[static_cast<size_t>(w.cur)]);
        w.hc = g.far_side ? 0 : above_horizon(g.horizon, w.cv);
        if (w.chain) {
            chained_segment(w);
        } else if (!g.far_side && w.hp < 0 && w.hc < 0) {
            const Hidden h = hidden_segment(w);
            if (h == Hidden::stop) return;
            if (h == Hidden::jump) continue;
        } else {
            open_segment(w);
        }
        w.prev = w.cur++;
        w.pv = w.cv;
        w.hp = w.hc;
        w.cp = w.cc;
    }
}
