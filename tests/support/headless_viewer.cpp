#include "headless_viewer.h"

#include "app/frame.h"
#include "app/startup.h"

HeadlessViewer::HeadlessViewer(std::vector<std::string> args, const TimeZoneInfo* zone, CivilTime local)
{
    platform.local_clock = local;
    if (zone) platform.zone = *zone;
    app->settings.data_dir = GLOBE_SOURCE_DATA_DIR;
    std::vector<char*> argv{const_cast<char*>("globe")};
    for (auto& a : args) argv.push_back(a.data());
    startup(*app, platform, static_cast<int>(argv.size()), argv.data());
    platform.initdirectdraw(app->settings.xres, app->settings.yres, app->settings.bpp, app->palette);
}

void HeadlessViewer::frame() { run_frame(*app, platform); }

void HeadlessViewer::frame_with(std::initializer_list<uint8_t> keys)
{
    platform.press(keys);
    frame();
    platform.release(keys);
}

uint64_t HeadlessViewer::digest() const
{
    uint64_t h = 14695981039346656037u;
    for (int32_t y = 0; y < platform.height; ++y)
        for (int32_t x = 0; x < platform.width; ++x) h = (h ^ platform.frame_row(y)[x]) * 1099511628211u;
    return h;
}
