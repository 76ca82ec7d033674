#pragma once
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_platform.h"

// The viewer started on the headless platform with its display ready, for
// driving whole frames from a test.
struct HeadlessViewer {
    std::unique_ptr<App> app = std::make_unique<App>();
    HeadlessPlatform platform;

    explicit HeadlessViewer(std::vector<std::string> args = {"/160x120"}, const TimeZoneInfo* zone = nullptr,
                            CivilTime local = CivilTime{2000, 1, 1, 12, 0, 0});

    void frame();
    // Runs one frame with these keys down, then releases them.
    void frame_with(std::initializer_list<uint8_t> keys);
    // FNV-1a of the last frame's visible pixels, for comparing with reference frames.
    uint64_t digest() const;
};
