#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/key_queue.h"
#include "platform/platform.h"

// A platform without a screen: an in-memory frame buffer, scripted input per
// frame, a settable clock and recorded message boxes. For tests, benchmarks
// and batch rendering.
class HeadlessPlatform final : public Platform {
public:
    struct KeyEvent {
        uint8_t scan_code;
        bool down;
    };
    // What the user does before one frame's poll.
    struct FrameInput {
        std::vector<KeyEvent> keys;
        int32_t dx = 0;
        int32_t dy = 0;
        int32_t buttons = 0;
        int32_t wheel = 0;
        TwoFingers fingers;
    };
    struct Message {
        std::string text;
        std::string caption;
    };

    // Settings a test may change before or between frames.
    int32_t extra_pitch = 0;  // bytes beyond the width in each row
    uint32_t clock_ms = 0;
    uint32_t ms_per_frame = 16;  // the clock advances this much at each keyboard poll
    CivilTime local_clock;
    TimeZoneInfo zone;
    bool fail_window = false, fail_directinput = false, fail_keyboard = false, fail_mouse = false,
         fail_directdraw = false, fail_lock = false;
    // After this many frames (keyboard polls) the window is closed; 0 = never.
    int close_after_frames = 0;

    std::deque<FrameInput> script;
    // Key events delivered one per keyboard poll made inside a frame (after the
    // frame's mouse poll, before its lock), as a long search makes them.
    std::deque<KeyEvent> mid_frame_keys;
    int mid_frame_polls = 0;
    std::vector<Message> messages;
    std::vector<std::string> calls;  // set-up and shutdown calls, in order
    std::vector<uint8_t> pixels;
    int32_t width = 0, height = 0, pitch = 0;
    int frames_polled = 0;
    int presents = 0;

    HeadlessPlatform();

    // Queues key presses (down) or releases (up) for the next frame.
    void press(std::initializer_list<uint8_t> keys);
    void release(std::initializer_list<uint8_t> keys);
    const uint8_t* frame_row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * pitch; }

    int create_window(int32_t xres, int32_t yres, int32_t fullscreen) override;
    void destroy_window() override;
    int initdirectinput() override;
    int initkeyboard() override;
    int initmouse() override;
    int initdirectdraw(int32_t width, int32_t height, const Palette& palette) override;
    void uninitdirectdraw() override;
    void uninitmouse() override;
    void uninitkeyboard() override;
    void uninitdirectinput() override;
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

private:
    FrameInput current_;
    KeyQueue keys_;
    bool locked_ = false;
    bool close_posted_ = false;
    bool display_ready_ = false;
    bool mid_frame_ = false;
    FrameInput& next_input();
};
