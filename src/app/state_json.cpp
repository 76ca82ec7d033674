#include "app/state_json.h"

#include <cctype>

#include "app/track.h"
#include "core/format.h"
#include "sky/ephemeris.h"

namespace {

void add_vector(std::string& out, const char* name, const Vec3& v)
{
    out += format("\"%s\": [%.17g, %.17g, %.17g], ", name, v.x, v.y, v.z);
}

void add_flag(std::string& out, const char* name, bool on)
{
    out += ", \"";
    out += name;
    out += on ? "\": true" : "\": false";
}

std::string tracked_name(const App& app)
{
    const int32_t body = selected_body(app.controls.key_state);
    if (body < 0) return "null";
    std::string name = "\"";
    for (const char* c = body_names[body]; *c; ++c) name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return name + "\"";
}

}  // namespace

std::string camera_json(const Camera& c, const FrameBuffer& frame, const Instant& instant)
{
    std::string out = "{";
    add_vector(out, "viewpos", c.viewpos);
    add_vector(out, "viewright", c.viewright);
    add_vector(out, "viewdown", c.viewdown);
    add_vector(out, "viewfwd", c.viewfwd);
    return out + format("\"zoom\": %.17g, \"xres\": %d, \"yres\": %d, \"sidereal_angle\": %.17g, \"day_number\": %.17g}",
                  c.zoom, frame.frame_xres, frame.frame_yres, instant.sidereal_angle, instant.day_number);
}

std::string viewer_state_json(const App& app)
{
    std::string out = camera_json(app.view.camera, app.frame, app.time.instant);
    out.pop_back();
    const TimeState& t = app.time;
    out += format(", \"clock\": \"%04d-%02d-%02dT%02d:%02d:%02d\"", t.clock_year, t.clock_month, t.clock_day,
                  t.clock_hour, t.clock_minute, t.clock_second);
    const View& v = app.view;
    add_flag(out, "time_manual", t.time_manual);
    add_flag(out, "show_earth", v.show_earth);
    add_flag(out, "show_borders", v.show_borders);
    add_flag(out, "far_side_lines", v.far_side_lines);
    add_flag(out, "show_labels", v.show_labels);
    add_flag(out, "orbit_mode", v.orbit_mode);
    add_flag(out, "night", v.night);
    add_flag(out, "sky", v.sky);
    add_flag(out, "help", v.show_help);
    return out + ", \"tracking\": " + tracked_name(app) + "}";
}
