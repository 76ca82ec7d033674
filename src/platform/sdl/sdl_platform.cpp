#include "platform/sdl/sdl_platform.h"

#include <cstdio>

#include "core/constants.h"
#include "core/workers.h"
#include "platform/frame_colours.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_signals.h"
#include "platform/time_zone.h"

namespace {

// SDL reports no result codes; this one says "unspecified failure".
constexpr unsigned long generic_failure = 0x80004005UL;

// Largest frame side: the frame tables grow with the frame, so this is the
// bound of the screen's textures rather than of the viewer.
constexpr int32_t max_frame_side = 16384;

void show_box(Uint32 flags, const char* caption, const char* text, SDL_Window* window)
{
    if (quit_signal()) return;
    message_box_shown(true);
    SDL_ShowSimpleMessageBox(flags, caption, text, window);
    message_box_shown(false);
}

}  // namespace

SdlPlatform::~SdlPlatform()
{
    uninitdirectdraw();
    destroy_window();
}

int SdlPlatform::fail(const char* format, const std::string& detail)
{
    char code[128];
    std::snprintf(code, sizeof code, format, generic_failure);
    const std::string text = code + detail;
    std::fprintf(stderr, "%s", text.c_str());
    if (detail.empty()) std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    if (window_) show_box(SDL_MESSAGEBOX_ERROR, "ERROR", text.c_str(), window_);
    return 0;
}

int SdlPlatform::create_window(int32_t xres, int32_t yres, int32_t fullscreen)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail("Can't open a window: %08lx\n");
    video_ = true;
    // Without a display SDL falls back to drivers that show nothing; only a
    // user who asks for one by name gets it.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if ((driver == "offscreen" || driver == "dummy") && !SDL_getenv("SDL_VIDEODRIVER"))
        return fail("Can't open a window: %08lx\n", "There is no display (set DISPLAY, or SDL_VIDEODRIVER=" +
                                                          driver + " to draw where nobody sees it).\n");
    const Uint32 flags = fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    window_ = SDL_CreateWindow(program_title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, xres > 0 ? xres : 1,
                               yres > 0 ? yres : 1, flags);
    if (!window_) return fail("Can't open a window: %08lx\n");
    SDL_ShowCursor(SDL_DISABLE);
    return 1;
}

void SdlPlatform::destroy_window()
{
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    video_ = false;
}

int SdlPlatform::initdirectinput()
{
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return fail("initdirectinput failed: %08lx\n");
    return 1;
}

int SdlPlatform::initkeyboard()
{
    keyboard_ = true;
    return 1;
}

int SdlPlatform::initmouse()
{
    mouse_ = true;
    acquiremouse(true);
    return 1;
}

int SdlPlatform::initdirectdraw(int32_t width, int32_t height, const Palette& palette)
{
    if (width < 1 || height < 1 || width > max_frame_side || height > max_frame_side)
        return fail("initdirectdraw failed: %08lx\n",
                    "The frame size " + std::to_string(width) + "x" + std::to_string(height) +
                        " is outside 1x1 to " + std::to_string(max_frame_side) + "x" +
                        std::to_string(max_frame_side) + ".\n");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_ || SDL_RenderSetLogicalSize(renderer_, width, height) != 0) {
        uninitdirectdraw();
        return fail("initdirectdraw failed: %08lx\n");
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!texture_) {
        uninitdirectdraw();
        return fail("initdirectdraw failed: %08lx\n");
    }
    width_ = width;
    height_ = height;
    frame_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    colours_.clear();
    for (const PaletteEntry& e : palette)
        colours_.push_back(0xFF000000u | uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue);
    return 1;
}

void SdlPlatform::uninitdirectdraw()
{
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

void SdlPlatform::uninitmouse()
{
    if (mouse_) acquiremouse(false);
    mouse_ = false;
}

void SdlPlatform::uninitkeyboard() { keyboard_ = false; }

void SdlPlatform::uninitdirectinput() { SDL_QuitSubSystem(SDL_INIT_EVENTS); }

int SdlPlatform::lockframe(uint8_t** pixels, int32_t* pitch, int32_t* width, int32_t* height)
{
    if (locked_ || !texture_) return 0;
    locked_ = true;
    *pixels = frame_.data();
    *pitch = width_;
    *width = width_;
    *height = height_;
    return 1;
}

void SdlPlatform::unlockframe() { locked_ = false; }

void SdlPlatform::presentframe()
{
    void* target = nullptr;
    int target_pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &target, &target_pitch) != 0) return;
    colour_frame(frame_.data(), width_, height_, colours_.data(), static_cast<uint8_t*>(target),
                 static_cast<size_t>(target_pitch), workers_);
    SDL_UnlockTexture(texture_);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::queue_key(uint8_t code, bool down)
{
    ::queue_key(keys_, code, down);
}

void SdlPlatform::acquiremouse(bool active)
{
    acquired_ = mouse_ && active;
    SDL_SetRelativeMouseMode(acquired_ ? SDL_TRUE : SDL_FALSE);
    dx_ = dy_ = 0;
}

void SdlPlatform::handle(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event.key.repeat || !keyboard_) break;
        queue_key(scan_code_for(event.key.keysym.scancode), event.type == SDL_KEYDOWN);
        queue_key(keypad_alias_for(event.key.keysym.scancode), event.type == SDL_KEYDOWN);
        break;
    case SDL_MOUSEMOTION:
        if (acquired_) {
            dx_ += event.motion.xrel;
            dy_ += event.motion.yrel;
        }
        break;
    case SDL_MOUSEWHEEL:
        if (acquired_) wheel_ += event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            active_ = 1;
            acquiremouse(true);
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            active_ = 0;
            acquiremouse(false);
        }
        break;
    case SDL_QUIT: quit_ = true; break;
    default: break;
    }
}

void SdlPlatform::gather_events()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) handle(event);
}

void SdlPlatform::poll_keyboard(uint8_t key_state[256])
{
    gather_events();
    apply_keys(keys_, key_state);
}

void SdlPlatform::poll_mouse(int32_t* dx, int32_t* dy, int32_t* buttons)
{
    *dx = *dy = *buttons = 0;
    if (!acquired_) return;
    *dx = dx_;
    *dy = dy_;
    dx_ = dy_ = 0;
    const Uint32 state = SDL_GetMouseState(nullptr, nullptr);
    *buttons = ((state & SDL_BUTTON_LMASK) ? 1 : 0) + ((state & SDL_BUTTON_RMASK) ? 2 : 0);
}

int32_t SdlPlatform::poll_wheel()
{
    const int32_t w = wheel_;
    wheel_ = 0;
    return w;
}

void SdlPlatform::pump_messages(LoopState& loop)
{
    gather_events();
    loop.app_active = active_;
    if (quit_) {
        loop.quit_requested = 1;
        loop.exit_code = 0;
    }
    if (const int signo = quit_signal()) {
        loop.quit_requested = 1;
        loop.exit_code = 128 + signo;
    }
}

void SdlPlatform::post_close()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

uint32_t SdlPlatform::time_ms() { return SDL_GetTicks(); }

CivilTime SdlPlatform::local_time() { return machine_local_time(); }

TimeZoneInfo SdlPlatform::time_zone() { return machine_time_zone(); }

void SdlPlatform::message_box(const std::string& text, const char* caption)
{
    std::fprintf(stderr, "%s%s", text.c_str(), text.empty() || text.back() != '\n' ? "\n" : "");
    if (window_) show_box(SDL_MESSAGEBOX_INFORMATION, caption ? caption : "", text.c_str(), window_);
}
