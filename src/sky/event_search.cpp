#include "sky/event_search.h"

#include <cmath>

#include "sky/ephemeris.h"

namespace {

// Rising and setting are when the centre is this far below the horizon:
// refraction and the Sun's or Moon's half disc, or refraction alone.
constexpr double sun_moon_h0 = -0.014538592669112765;
constexpr double planet_h0 = -0.01017526953912694;

// Passes after which a search without a crossing gives up: a year by hours
// and the homing in by minutes and seconds, with room to spare.
constexpr int max_passes = 24 * 400 + 200;

struct Search {
    EventKind kind;
    double sign;
    double threshold;
    int levels;
};

double meridian_side(const Vec3& b, const Vec3& p) { return b.z * p.x - b.x * p.z; }

// Only a rising or setting search asks for it, and those are chosen only
// for a body off the eye's meridian plane, so neither vector is zero.
double elevation_cosine(const Vec3& b, const Vec3& p) { return dot(b, p) / (length(b) * length(p)); }

double search_function(const Search& s, int32_t body, const TimeState& time, const Vec3& p)
{
    if (s.kind == EventKind::equinox) return s.sign * viewer_position(time.instant, p).y;
    const Vec3 b = body_direction(body, time.instant, p);
    // The passage functions are signed so that the searched passage is where
    // the function rises through zero, as the search homes in on.
    const bool passage = s.kind == EventKind::transit || s.kind == EventKind::lower_transit;
    return s.sign * (passage ? meridian_side(b, p) : elevation_cosine(b, p));
}

Search choose_rise_set(int32_t body, const TimeState& time, const Vec3& p)
{
    const Vec3 b = body_direction(body, time.instant, p);
    const double s1 = meridian_side(b, p), s2 = dot(b, p);
    const double sin_h0 = std::sin(body == sun_index || body == moon_index ? sun_moon_h0 : planet_h0);
    if (std::fabs(s1) <= std::fabs(s2))
        return s2 > 0 ? Search{EventKind::transit, -1, 0, 3} : Search{EventKind::lower_transit, 1, 0, 3};
    return s1 > 0 ? Search{EventKind::rise, 1, sin_h0, 3} : Search{EventKind::set, -1, -sin_h0, 3};
}

// The field a level steps: the equinox walks from days, the others from hours.
int32_t* level_field(TimeState& time, const Search& s, int level)
{
    int32_t* fields[] = {&time.clock_day, &time.clock_hour, &time.clock_minute, &time.clock_second};
    return fields[level + 4 - s.levels];
}

// The common walk: by the coarsest field towards the crossing where the
// function rises through the threshold, then finer, to the last whole second.
bool walk(const Search& s, int32_t body, TimeState& time, const Vec3& p, const std::function<bool()>& stop)
{
    int level = 0;
    // The first pass has no value before it, so it can see no crossing; a
    // previous value of 0 would make a rising search that starts below the
    // threshold skip the hours and walk by minutes, a week at most.
    double f = s.threshold;
    for (int pass = 0; pass < max_passes; ++pass) {
        const double prev = f;
        f = search_function(s, body, time, p);
        if (f <= s.threshold && s.threshold < prev) {
            if (level == s.levels - 1) return true;
            ++level;
        }
        *level_field(time, s, level) += f >= s.threshold ? -1 : 1;
        update_time(time, 0, CivilTime{});
        if (stop()) return true;
    }
    return false;
}

}  // namespace

EventKind search_event(int32_t body, bool equinox, TimeState& time, const Vec3& viewpos,
                       const std::function<bool()>& stop)
{
    EventKind result = EventKind::none;
    const TimeState start = time;
    // The equinox's quarter: February to April 1, August to October 3.
    const int32_t q = ((time.clock_month + 1) / 3) & 3;
    const Search s =
        equinox ? Search{EventKind::equinox, q == 1 ? 1.0 : -1.0, 0, 4} : choose_rise_set(body, time, viewpos);
    const bool searching = !equinox || (body == sun_index && (q == 1 || q == 3));
    if (searching) {
        if (walk(s, body, time, viewpos, stop)) {
            result = s.kind;
        } else {
            time = start;
        }
    }
    time.time_manual = 1;
    return result;
}
