#pragma once
#include <emscripten/html5.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/workers.h"
#include "platform/key_queue.h"
#include "platform/platform.h"
#include "platform/touch_gesture.h"

// The viewer on a web page: the 8-bit frame goes through the palette into
// the canvas, keys and the mouse come from the page's events (the mouse
// through pointer lock), gestures from the canvas's touch events, the clocks
// and the zone from the browser, message boxes onto the page and the
// console. Unless the page asked for a fixed size, the frame follows the
// canvas's size.
class WebPlatform final : public Platform {
public:
    // The frame's colours are shared among the threads of `workers`.
    explicit WebPlatform(WorkerPool& workers) : workers_(workers) {}

    int create_window(int32_t xres, int32_t yres, int32_t fullscreen) override;
    void destroy_window() override;
    int initkeyboard() override;
    int initmouse() override;
    int initdirectdraw(int32_t width, int32_t height, const Palette& palette) override;
    void uninitdirectdraw() override;
    void uninitmouse() override;
    void uninitkeyboard() override;
    int lockframe(uint8_t** pixels, int32_t* pitch, int32_t* width, int32_t* height) override;
    void unlockframe() override;
    void presentframe() override;
    void poll_keyboard(uint8_t key_state[256]) override;
    void poll_mouse(int32_t* dx, int32_t* dy, int32_t* buttons) override;
    int32_t poll_wheel() override;
    TwoFingers poll_two_fingers() override;
    void pump_messages(LoopState& loop) override;
    void post_close() override;
    uint32_t time_ms() override;
    CivilTime local_time() override;
    TimeZoneInfo time_zone() override;
    void message_box(const std::string& text, const char* caption) override;

    // The browser's zone over the year that follows the instant (seconds
    // since 1970 UT), with the names the browser gives it.
    TimeZoneInfo time_zone_at(int64_t instant);
    // The millisecond clock stands still until the first key or mouse input,
    // so that a fixed moment and view stay one still picture.
    void hold_clock();
    // Hands a file of the program's file system to the user as a download
    // and removes it there.
    void offer_download(const std::string& path);
    // Shows on the page that the program has ended.
    void show_end(int exit_code);

private:
    WorkerPool& workers_;
    bool canvas_ = false;
    bool keyboard_ = false;
    bool mouse_ = false;
    bool acquired_ = false;
    bool locked_ = false;
    bool follow_page_ = false;
    bool resized_ = false;
    int32_t width_ = 0, height_ = 0;
    std::vector<uint8_t> frame_;
    std::vector<uint32_t> rgba_;
    std::vector<uint32_t> colours_;  // the palette as canvas pixels
    KeyQueue keys_;
    int32_t dx_ = 0, dy_ = 0, wheel_ = 0, buttons_ = 0;
    TouchGesture touch_;
    double touch_dx_ = 0, touch_dy_ = 0;  // mickeys not yet polled
    TwoFingers fingers_;
    int32_t active_ = 1;
    bool quit_ = false;
    bool clock_held_ = false;
    uint32_t last_ms_ = 0;

    void input_seen() { clock_held_ = false; }
    void acquiremouse(bool active);
    int fail(const char* format, const char* reason);
    void open_frame(int32_t width, int32_t height);
    void follow_canvas_size();

    static EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* event, void* self);
    static EM_BOOL on_click(int type, const EmscriptenMouseEvent* event, void* self);
    static EM_BOOL on_mouse(int type, const EmscriptenMouseEvent* event, void* self);
    static EM_BOOL on_wheel(int type, const EmscriptenWheelEvent* event, void* self);
    static EM_BOOL on_pointer_lock(int type, const EmscriptenPointerlockChangeEvent* event, void* self);
    static EM_BOOL on_touch(int type, const EmscriptenTouchEvent* event, void* self);
    static EM_BOOL on_resize(int type, const EmscriptenUiEvent* event, void* self);
    static EM_BOOL on_visibility(int type, const EmscriptenVisibilityChangeEvent* event, void* self);
};
