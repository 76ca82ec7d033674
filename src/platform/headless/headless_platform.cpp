#include "platform/headless/headless_platform.h"

#include <cstdio>

#include "platform/touch_gesture.h"

HeadlessPlatform::HeadlessPlatform()
{
    zone.StandardName = L"Coordinated Universal Time";
    zone.DaylightName = L"Coordinated Universal Time";
}

HeadlessPlatform::FrameInput& HeadlessPlatform::next_input()
{
    if (script.empty()) script.emplace_back();
    return script.front();
}

void HeadlessPlatform::press(std::initializer_list<uint8_t> keys)
{
    for (uint8_t k : keys) next_input().keys.push_back({k, true});
}

void HeadlessPlatform::release(std::initializer_list<uint8_t> keys)
{
    for (uint8_t k : keys) next_input().keys.push_back({k, false});
}

int HeadlessPlatform::create_window(int32_t, int32_t, int32_t)
{
    calls.emplace_back("create_window");
    return fail_window ? 0 : 1;
}

void HeadlessPlatform::destroy_window() { calls.emplace_back("destroy_window"); }

int HeadlessPlatform::initdirectinput()
{
    calls.emplace_back("initdirectinput");
    if (!fail_directinput) return 1;
    message_box("initdirectinput failed: 80004005\n", "ERROR");
    return 0;
}

int HeadlessPlatform::initkeyboard()
{
    calls.emplace_back("initkeyboard");
    if (!fail_keyboard) return 1;
    message_box("initdirectinput(keyboard) failed: 80004005\n", "ERROR");
    return 0;
}

int HeadlessPlatform::initmouse()
{
    calls.emplace_back("initmouse");
    if (!fail_mouse) return 1;
    message_box("initdirectinput(mouse) failed: 80004005\n", "ERROR");
    return 0;
}

int HeadlessPlatform::initdirectdraw(int32_t w, int32_t h, const Palette&)
{
    calls.emplace_back("initdirectdraw");
    if (fail_directdraw || w <= 0 || h <= 0) {
        message_box("initdirectdraw failed: 80004005\n", "ERROR");
        return 0;
    }
    width = w;
    height = h;
    pitch = w + extra_pitch;
    pixels.assign(static_cast<size_t>(pitch) * static_cast<size_t>(h), 0);
    display_ready_ = true;
    return 1;
}

void HeadlessPlatform::uninitdirectdraw()
{
    calls.emplace_back("uninitdirectdraw");
    display_ready_ = false;
}

void HeadlessPlatform::uninitmouse() { calls.emplace_back("uninitmouse"); }
void HeadlessPlatform::uninitkeyboard() { calls.emplace_back("uninitkeyboard"); }
void HeadlessPlatform::uninitdirectinput() { calls.emplace_back("uninitdirectinput"); }

int HeadlessPlatform::lockframe(uint8_t** out_pixels, int32_t* out_pitch, int32_t* out_width, int32_t* out_height)
{
    mid_frame_ = false;
    if (locked_ || fail_lock || !display_ready_) return 0;
    locked_ = true;
    *out_pixels = pixels.data();
    *out_pitch = pitch;
    *out_width = width;
    *out_height = height;
    return 1;
}

void HeadlessPlatform::unlockframe() { locked_ = false; }

void HeadlessPlatform::presentframe() { ++presents; }

void HeadlessPlatform::poll_keyboard(uint8_t key_state[256])
{
    if (mid_frame_) {
        ++mid_frame_polls;
        if (mid_frame_keys.empty()) return;
        queue_key(keys_, mid_frame_keys.front().scan_code, mid_frame_keys.front().down);
        mid_frame_keys.pop_front();
        apply_keys(keys_, key_state);
        return;
    }
    ++frames_polled;
    clock_ms += ms_per_frame;
    current_ = script.empty() ? FrameInput{} : script.front();
    if (!script.empty()) script.pop_front();
    for (const KeyEvent& e : current_.keys) queue_key(keys_, e.scan_code, e.down);
    apply_keys(keys_, key_state);
    if (close_after_frames > 0 && frames_polled >= close_after_frames) close_posted_ = true;
}

void HeadlessPlatform::poll_mouse(int32_t* dx, int32_t* dy, int32_t* buttons)
{
    mid_frame_ = true;
    *dx = current_.dx;
    *dy = current_.dy;
    *buttons = current_.buttons;
}

int32_t HeadlessPlatform::poll_wheel()
{
    const int32_t w = current_.wheel;
    current_.wheel = 0;
    return w;
}

TwoFingers HeadlessPlatform::poll_two_fingers()
{
    return take_two_fingers(current_.fingers);
}

void HeadlessPlatform::pump_messages(LoopState& loop)
{
    if (!close_posted_) return;
    close_posted_ = false;
    loop.quit_requested = 1;
    loop.exit_code = 0;
}

void HeadlessPlatform::post_close() { close_posted_ = true; }

uint32_t HeadlessPlatform::time_ms() { return clock_ms; }

CivilTime HeadlessPlatform::local_time() { return local_clock; }

TimeZoneInfo HeadlessPlatform::time_zone() { return zone; }

void HeadlessPlatform::message_box(const std::string& text, const char* caption)
{
    messages.push_back({text, caption ? caption : ""});
}
