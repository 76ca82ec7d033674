#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "core/workers.h"
#include "platform/key_queue.h"
#include "platform/platform.h"

// The real screen, keyboard and mouse through SDL2. The 8-bit frame lives in
// memory and is turned into colours through the palette when presented.
class SdlPlatform final : public Platform {
public:
    // The frame's colours are shared among the threads of `workers`.
    explicit SdlPlatform(WorkerPool& workers) : workers_(workers) {}
    ~SdlPlatform() override;

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
    void pump_messages(LoopState& loop) override;
    void post_close() override;
    uint32_t time_ms() override;
    CivilTime local_time() override;
    TimeZoneInfo time_zone() override;
    void message_box(const std::string& text, const char* caption) override;

private:
    WorkerPool& workers_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool video_ = false;
    bool keyboard_ = false;
    bool mouse_ = false;
    bool acquired_ = false;
    bool locked_ = false;
    int32_t width_ = 0, height_ = 0;
    std::vector<uint8_t> frame_;
    std::vector<uint32_t> colours_;  // the palette as ARGB
    KeyQueue keys_;
    int32_t dx_ = 0, dy_ = 0, wheel_ = 0;
    // Window events seen while gathering input, handed to the loop by the pump.
    int32_t active_ = 1;
    bool quit_ = false;

    void gather_events();
    void handle(const SDL_Event& event);
    void queue_key(uint8_t code, bool down);
    void acquiremouse(bool active);
    int fail(const char* format, const std::string& detail = "");
};
