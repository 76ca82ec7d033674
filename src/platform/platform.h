#pragma once
// The platform contract, with core/ below the rest: the window, keyboard,
// mouse, clock and zone the viewer asks for. SDL, the browser and a headless
// double for tests implement it in the folders below this one.
#include <cstdint>
#include <string>

#include "platform/clock_types.h"
#include "platform/palette.h"

// What the main loop learns from the platform's message pump.
struct LoopState {
    int32_t app_active = 1;
    int32_t quit_requested = 0;
    int32_t exit_code = 0;
};

// What two fingers on the screen did since the last poll.
struct TwoFingers {
    double spread = 1;  // the ratio by which their distance grew
    double twist = 0;   // radians they turned, clockwise on the screen
    bool down = false;  // both are still on the screen
};

// Window, display, input, clocks and message boxes: the only boundary between
// the viewer and the machine. Set-up calls return 1 on success, 0 after they
// showed their failure message.
class Platform {
public:
    virtual ~Platform() = default;

    virtual int create_window(int32_t xres, int32_t yres, int32_t fullscreen) = 0;
    virtual void destroy_window() = 0;

    // The input set-up that keyboard and mouse share; a platform whose input
    // needs none keeps these.
    virtual int initdirectinput() { return 1; }
    virtual void uninitdirectinput() {}
    virtual int initkeyboard() = 0;
    virtual int initmouse() = 0;
    virtual int initdirectdraw(int32_t width, int32_t height, const Palette& palette) = 0;
    virtual void uninitdirectdraw() = 0;
    virtual void uninitmouse() = 0;
    virtual void uninitkeyboard() = 0;

    virtual int lockframe(uint8_t** pixels, int32_t* pitch, int32_t* width, int32_t* height) = 0;
    virtual void unlockframe() = 0;
    virtual void presentframe() = 0;

    // Applies the key events queued since the last poll, in order.
    virtual void poll_keyboard(uint8_t key_state[256]) = 0;
    virtual void poll_mouse(int32_t* dx, int32_t* dy, int32_t* buttons) = 0;
    // Wheel notches since the last call, positive away from the user.
    virtual int32_t poll_wheel() = 0;
    // Platforms without a touch screen never see two fingers.
    virtual TwoFingers poll_two_fingers() { return {}; }

    // Drains pending window events once; activation, close and quit land in loop.
    virtual void pump_messages(LoopState& loop) = 0;
    // Asks the window to close; the quit arrives through a later pump.
    virtual void post_close() = 0;

    virtual uint32_t time_ms() = 0;
    virtual CivilTime local_time() = 0;
    virtual TimeZoneInfo time_zone() = 0;

    // caption == nullptr is the default caption of a plain notice.
    virtual void message_box(const std::string& text, const char* caption) = 0;
};
