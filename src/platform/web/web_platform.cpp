#include "platform/web/web_platform.h"

#include <emscripten.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "core/workers.h"
#include "platform/frame_colours.h"
#include "platform/key_table.h"
#include "platform/page_frame_size.h"
#include "platform/time_zone.h"

namespace {

// The page has no result codes to give; this one says "unspecified failure".
constexpr unsigned long generic_failure = 0x80004005UL;
constexpr const char* canvas = "#canvas";

// The page's hooks (Module.showMessage, showEnd, onFrame) are optional: without
// them the console is all there is.
EM_JS(int, web_canvas_found, (const char* selector), { return document.querySelector(UTF8ToString(selector)) ? 1 : 0; });

// The page asks for a frame that follows its size unless it fixed one.
EM_JS(int, web_follows_page, (), { return Module.globeFollowPage ? 1 : 0; });

EM_JS(void, web_canvas_open, (const char* selector, int width, int height, const uint8_t* frame), {
    const c = document.querySelector(UTF8ToString(selector));
    c.width = width;
    c.height = height;
    c.oncontextmenu = (e) => e.preventDefault();
    Module.globeCanvas = {ctx: c.getContext("2d"), image: new ImageData(width, height)};
    // The 8-bit frame itself, for whoever wants the palette indices.
    Module.globeFrame = {ptr: frame, width: width, height: height};
});

// A heap that is not shared can back the image itself, saving a copy of every
// frame; its view is made anew after the heap grew or the frame moved. A
// shared heap (the threaded build) cannot: its frames are copied.
EM_JS(void, web_canvas_put, (const uint32_t* rgba, int bytes), {
    const g = Module.globeCanvas;
    const d = g.image.data;
    if (typeof SharedArrayBuffer != "undefined" && HEAPU8.buffer instanceof SharedArrayBuffer)
        d.set(HEAPU8.subarray(rgba, rgba + bytes));
    else if (d.buffer !== HEAPU8.buffer || d.byteOffset !== rgba)
        g.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, bytes), g.image.width, g.image.height);
    g.ctx.putImageData(g.image, 0, 0);
    if (Module.onFrame) Module.onFrame();
});

EM_JS(void, web_message, (const char* text, const char* caption), {
    const t = UTF8ToString(text);
    const c = UTF8ToString(caption);
    console.log(c ? c + ": " + t : t);
    if (Module.showMessage) Module.showMessage(t, c);
});

EM_JS(void, web_end, (int code), {
    console.log("globe ended with exit code " + code);
    if (Module.showEnd) Module.showEnd(code);
});

EM_JS(void, web_download, (const char* path), {
    const p = UTF8ToString(path);
    const url = URL.createObjectURL(new Blob([FS.readFile(p)], {type: "image/x-pcx"}));
    const a = document.createElement("a");
    a.href = url;
    a.download = p.split("/").pop();
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
});

// The zone"s short name at an instant in the browser"s language, e.g. EST.
EM_JS(void, web_zone_name, (double ms, char* out, int size), {
    let name = "";
    try {
        const part = new Intl.DateTimeFormat(undefined, {timeZoneName: "short"})
                         .formatToParts(new Date(ms)).find((p) => p.type == "timeZoneName");
        if (part) name = part.value;
    } catch (e) {
    }
    stringToUTF8(name, out, size);
});

// The browser's Date gives the offset and the daylight flag (libc asks it),
// Intl the name.
bool browser_zone_sample(int64_t instant, ZoneSample& sample)
{
    if (!c_library_zone_sample(instant, sample)) return false;
    char name[64];
    web_zone_name(static_cast<double>(instant) * 1000.0, name, sizeof name);
    sample.name = widen_zone_name(name);
    return true;
}

}  // namespace

int WebPlatform::fail(const char* format, const char* reason)
{
    char text[128];
    std::snprintf(text, sizeof text, format, generic_failure);
    web_message(text, "ERROR");
    std::fprintf(stderr, "%sbrowser: %s\n", text, reason);
    return 0;
}

int WebPlatform::create_window(int32_t, int32_t, int32_t)
{
    canvas_ = web_canvas_found(canvas) != 0;
    if (!canvas_) return fail("Can't open a window: %08lx\n", "the page has no element #canvas");
    emscripten_set_visibilitychange_callback(this, EM_FALSE, on_visibility);
    follow_page_ = web_follows_page() != 0;
    if (follow_page_) emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, on_resize);
    return 1;
}

void WebPlatform::destroy_window()
{
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, nullptr);
    if (follow_page_) emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
    canvas_ = false;
}

int WebPlatform::initkeyboard()
{
    keyboard_ = true;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, on_key);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, on_key);
    return 1;
}

int WebPlatform::initmouse()
{
    mouse_ = true;
    // Pointer lock can only be asked for in answer to the user, so a click takes the mouse.
    emscripten_set_click_callback(canvas, this, EM_FALSE, on_click);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_FALSE, on_mouse);
    emscripten_set_mousedown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_FALSE, on_mouse);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_FALSE, on_mouse);
    emscripten_set_wheel_callback(canvas, this, EM_FALSE, on_wheel);
    emscripten_set_pointerlockchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_FALSE, on_pointer_lock);
    emscripten_set_touchstart_callback(canvas, this, EM_FALSE, on_touch);
    emscripten_set_touchmove_callback(canvas, this, EM_FALSE, on_touch);
    emscripten_set_touchend_callback(canvas, this, EM_FALSE, on_touch);
    emscripten_set_touchcancel_callback(canvas, this, EM_FALSE, on_touch);
    return 1;
}

int WebPlatform::initdirectdraw(int32_t width, int32_t height, const Palette& palette)
{
    if (!canvas_) return fail("initdirectdraw failed: %08lx\n", "the page has no element #canvas");
    if (width <= 0 || height <= 0)
        return fail("initdirectdraw failed: %08lx\n",
                    ("the frame size " + std::to_string(width) + "x" + std::to_string(height) + " is empty").c_str());
    colours_.clear();
    // ImageData holds red, green, blue, alpha bytes: little-endian words.
    for (const PaletteEntry& e : palette)
        colours_.push_back(0xFF000000u | uint32_t{e.blue} << 16 | uint32_t{e.green} << 8 | e.red);
    open_frame(width, height);
    if (follow_page_) follow_canvas_size();
    return 1;
}

void WebPlatform::open_frame(int32_t width, int32_t height)
{
    width_ = width;
    height_ = height;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    frame_.assign(pixels, 0);
    rgba_.assign(pixels, 0);
    web_canvas_open(canvas, width, height, frame_.data());
}

void WebPlatform::follow_canvas_size()
{
    resized_ = false;
    double css_width = 0, css_height = 0;
    emscripten_get_element_css_size(canvas, &css_width, &css_height);
    const PageFrameSize size = page_frame_size(css_width, css_height, emscripten_get_device_pixel_ratio());
    if (size.width != width_ || size.height != height_) open_frame(size.width, size.height);
}

void WebPlatform::uninitdirectdraw()
{
    width_ = height_ = 0;
    frame_.clear();
    rgba_.clear();
}

void WebPlatform::uninitmouse()
{
    if (!mouse_) return;
    acquiremouse(false);
    emscripten_exit_pointerlock();
    emscripten_set_click_callback(canvas, nullptr, EM_FALSE, nullptr);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, nullptr);
    emscripten_set_mousedown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, nullptr);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, nullptr);
    emscripten_set_wheel_callback(canvas, nullptr, EM_FALSE, nullptr);
    emscripten_set_pointerlockchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, nullptr);
    emscripten_set_touchstart_callback(canvas, nullptr, EM_FALSE, nullptr);
    emscripten_set_touchmove_callback(canvas, nullptr, EM_FALSE, nullptr);
    emscripten_set_touchend_callback(canvas, nullptr, EM_FALSE, nullptr);
    emscripten_set_touchcancel_callback(canvas, nullptr, EM_FALSE, nullptr);
    touch_ = TouchGesture{};
    touch_dx_ = touch_dy_ = 0;
    fingers_ = TwoFingers{};
    mouse_ = false;
}

void WebPlatform::uninitkeyboard()
{
    if (!keyboard_) return;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    keyboard_ = false;
}

int WebPlatform::lockframe(uint8_t** pixels, int32_t* pitch, int32_t* width, int32_t* height)
{
    // A new size is taken between frames, never under a locked frame.
    if (resized_ && !locked_) follow_canvas_size();
    if (locked_ || frame_.empty()) return 0;
    locked_ = true;
    *pixels = frame_.data();
    *pitch = width_;
    *width = width_;
    *height = height_;
    return 1;
}

void WebPlatform::unlockframe() { locked_ = false; }

void WebPlatform::presentframe()
{
    colour_frame(frame_.data(), width_, height_, colours_.data(), reinterpret_cast<uint8_t*>(rgba_.data()),
                 static_cast<size_t>(width_) * sizeof(uint32_t), workers_);
    web_canvas_put(rgba_.data(), static_cast<int>(rgba_.size() * sizeof(uint32_t)));
}

void WebPlatform::acquiremouse(bool active)
{
    acquired_ = mouse_ && active;
    dx_ = dy_ = wheel_ = buttons_ = 0;
}

EM_BOOL WebPlatform::on_key(int type, const EmscriptenKeyboardEvent* event, void* self)
{
    auto& p = *static_cast<WebPlatform*>(self);
    const uint16_t usage = usage_for_code_name(event->code);
    if (!p.keyboard_ || usage == 0) return EM_FALSE;
    if (!event->repeat) {
        const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
        queue_key(p.keys_, scan_code_for_usage(usage), down);
        queue_key(p.keys_, keypad_alias_for_usage(usage), down);
        p.input_seen();
    }
    // The viewer's keys are not the page's: no scrolling, no browser shortcuts.
    return EM_TRUE;
}

EM_BOOL WebPlatform::on_click(int, const EmscriptenMouseEvent*, void* self)
{
    auto& p = *static_cast<WebPlatform*>(self);
    if (p.mouse_ && !p.acquired_) emscripten_request_pointerlock(canvas, EM_TRUE);
    return EM_TRUE;
}

EM_BOOL WebPlatform::on_mouse(int type, const EmscriptenMouseEvent* event, void* self)
{
    auto& p = *static_cast<WebPlatform*>(self);
    if (!p.acquired_) return EM_FALSE;
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
        p.dx_ += static_cast<int32_t>(event->movementX);
        p.dy_ += static_cast<int32_t>(event->movementY);
    }
    // The page numbers the right button 2, the middle one 4.
    p.buttons_ = ((event->buttons & 1) ? 1 : 0) + ((event->buttons & 2) ? 2 : 0);
    p.input_seen();
    return EM_TRUE;
}

EM_BOOL WebPlatform::on_wheel(int, const EmscriptenWheelEvent* event, void* self)
{
    auto& p = *static_cast<WebPlatform*>(self);
    if (!p.acquired_) return EM_FALSE;
    // One notch per event, whatever the browser counts in; negative deltaY is away from the user.
    if (event->deltaY < 0) ++p.wheel_;
    else if (event->deltaY > 0) --p.wheel_;
    p.input_seen();
    return EM_TRUE;
}

EM_BOOL WebPlatform::on_pointer_lock(int, const EmscriptenPointerlockChangeEvent* event, void* self)
{
    static_cast<WebPlatform*>(self)->acquiremouse(event->isActive != 0);
    return EM_FALSE;
}

EM_BOOL WebPlatform::on_touch(int type, const EmscriptenTouchEvent* event, void* self)
{
    auto& p = *static_cast<WebPlatform*>(self);
    if (!p.mouse_) return EM_FALSE;
    // The fingers that came down on the canvas and are still on it.
    const bool lifting = type == EMSCRIPTEN_EVENT_TOUCHEND || type == EMSCRIPTEN_EVENT_TOUCHCANCEL;
    std::vector<Finger> present;
    for (int i = 0; i < event->numTouches && i < 32; ++i) {
        const EmscriptenTouchPoint& t = event->touches[i];
        if (t.onTarget && !(lifting && t.isChanged))
            present.push_back({static_cast<int32_t>(t.identifier), static_cast<double>(t.targetX), static_cast<double>(t.targetY)});
    }
    const FingerMotion motion = follow_fingers(p.touch_, present);
    double css_width = 0, css_height = 0;
    emscripten_get_element_css_size(canvas, &css_width, &css_height);
    const double scale = frame_pixels_per_css_pixel(p.width_, p.height_, css_width, css_height);
    const Mickeys m = drag_as_mickeys(motion.drag_x * scale, motion.drag_y * scale, p.width_);
    p.touch_dx_ += m.dx;
    p.touch_dy_ += m.dy;
    add_two_finger_motion(p.fingers_, motion, p.touch_.fingers.size() == 2);
    p.input_seen();
    // No scrolling, no page zoom, no mouse events made up from the touches.
    return EM_TRUE;
}

EM_BOOL WebPlatform::on_resize(int, const EmscriptenUiEvent*, void* self)
{
    static_cast<WebPlatform*>(self)->resized_ = true;
    return EM_FALSE;
}

EM_BOOL WebPlatform::on_visibility(int, const EmscriptenVisibilityChangeEvent* event, void* self)
{
    static_cast<WebPlatform*>(self)->active_ = event->hidden ? 0 : 1;
    return EM_FALSE;
}

void WebPlatform::poll_keyboard(uint8_t key_state[256])
{
    apply_keys(keys_, key_state);
}

void WebPlatform::poll_mouse(int32_t* dx, int32_t* dy, int32_t* buttons)
{
    *dx = take_whole_mickeys(touch_dx_);
    *dy = take_whole_mickeys(touch_dy_);
    *buttons = 0;
    if (!acquired_) return;
    *dx += dx_;
    *dy += dy_;
    *buttons = buttons_;
    dx_ = dy_ = 0;
}

int32_t WebPlatform::poll_wheel()
{
    const int32_t w = wheel_;
    wheel_ = 0;
    return w;
}

TwoFingers WebPlatform::poll_two_fingers()
{
    return take_two_fingers(fingers_);
}

void WebPlatform::pump_messages(LoopState& loop)
{
    loop.app_active = active_;
    if (quit_) {
        loop.quit_requested = 1;
        loop.exit_code = 0;
    }
}

void WebPlatform::post_close() { quit_ = true; }

uint32_t WebPlatform::time_ms()
{
    // A 32-bit counter that wraps around, as on the desktop.
    if (!clock_held_) last_ms_ = static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
    return last_ms_;
}

void WebPlatform::hold_clock() { clock_held_ = true; }

CivilTime WebPlatform::local_time() { return machine_local_time(); }

TimeZoneInfo WebPlatform::time_zone_at(int64_t instant) { return time_zone_from_samples(instant, browser_zone_sample); }

TimeZoneInfo WebPlatform::time_zone() { return time_zone_at(static_cast<int64_t>(std::time(nullptr))); }

void WebPlatform::message_box(const std::string& text, const char* caption) { web_message(text.c_str(), caption ? caption : ""); }

void WebPlatform::offer_download(const std::string& path)
{
    web_download(path.c_str());
    unlink(path.c_str());
}

void WebPlatform::show_end(int exit_code) { web_end(exit_code); }
