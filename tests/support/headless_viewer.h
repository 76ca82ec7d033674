#pragma once
#include <cctype>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame.h"
#include "app/startup.h"
#include "platform/headless/headless_platform.h"
#include "raster/png.h"

// The viewer started on the headless platform with its display ready, for
// driving whole frames from a test.
struct HeadlessViewer {
    std::unique_ptr<App> app = std::make_unique<App>();
    HeadlessPlatform platform;

    // start_ms is the platform's millisecond clock at start-up.
    explicit HeadlessViewer(std::vector<std::string> args = {"/160x120"}, const TimeZoneInfo* zone = nullptr,
                            CivilTime local = CivilTime{2000, 1, 1, 12, 0, 0}, uint32_t start_ms = 0)
    {
        platform.local_clock = local;
        platform.clock_ms = start_ms;
        if (zone) platform.zone = *zone;
        app->settings.data_dir = GLOBE_SOURCE_DATA_DIR;
        std::vector<char*> argv{const_cast<char*>("globe")};
        for (auto& a : args) argv.push_back(a.data());
        startup(*app, platform, static_cast<int>(argv.size()), argv.data());
        platform.initdirectdraw(app->settings.xres, app->settings.yres, app->palette);
    }
    void frame() { run_frame(*app, platform); }
    // Runs one frame with these keys down, then releases them.
    void frame_with(std::initializer_list<uint8_t> keys)
    {
        platform.press(keys);
        frame();
        platform.release(keys);
    }
    // FNV-1a of the last frame's visible pixels, for comparing with reference frames.
    uint64_t digest() const
    {
        uint64_t h = 14695981039346656037u;
        for (int32_t y = 0; y < platform.height; ++y)
            for (int32_t x = 0; x < platform.width; ++x) h = (h ^ platform.frame_row(y)[x]) * 1099511628211u;
        return h;
    }
    // Writes the last frame as an indexed PNG named after `name` in the working
    // directory, beside the test's output, for a person to look at; returns
    // the file's name.
    std::string save_png(std::string name) const
    {
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        name += ".png";
        std::vector<uint8_t> bytes;
        if (!encode_png(platform.frame_row(0), platform.width, platform.height, platform.pitch, app->palette, bytes).ok())
            return "(not written)";
        std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return name;
    }
};
