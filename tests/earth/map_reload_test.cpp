#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "earth/border_lines.h"
#include "earth/map_writer.h"
#include "map_files.h"
#include "platform/scan_codes.h"
#include "support/headless_viewer.h"

namespace {

constexpr uint8_t land_colour = 0x48;

using Pixels = std::set<std::pair<int32_t, int32_t>>;

void write_file(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// A square island around longitude lon on the equator and a border across it.
void write_map(const std::string& shore, const std::string& bords, int32_t lon)
{
    write_file(shore, encode_shore(65536, {{{lon - 2000, -2000}, {lon + 2000, -2000}, {lon + 2000, 2000}, {lon - 2000, 2000}}}));
    write_file(bords, encode_bords(65536, {{{lon - 1500, -1000}, {lon, 0}, {lon + 1500, 1500}}}));
}

// Looks at longitude 0 on the equator from 3 Earth radii, held still.
void hold_view(App& app)
{
    View& v = app.view;
    v.camera.viewpos = {0, 0, -3};
    v.camera.viewright = {1, 0, 0};
    v.camera.viewdown = {0, 1, 0};
    v.camera.viewfwd = {0, 0, 1};
    v.camera.viewvel = {0, 0, 0};
    v.orbit_mode = 0;
    v.auto_level = 0;
    v.texture_loaded = 0;  // the shorelines fill the globe
}

Pixels pixels_of(const HeadlessPlatform& p, uint8_t colour)
{
    Pixels out;
    // Only the disc (radius 113 * tan(asin(1/3)) = 40 pixels round the centre),
    // clear of the status lines and the sky.
    for (int32_t y = 80; y < 160; ++y)
        for (int32_t x = 120; x < 200; ++x)
            if (p.frame_row(y)[x] == colour) out.insert({x, y});
    return out;
}

std::vector<std::string> texts(const HeadlessPlatform& p)
{
    std::vector<std::string> out;
    for (const auto& m : p.messages) out.push_back(m.text);
    return out;
}

}  // namespace

TEST(MapReload, RefusedOrMissingFilesKeepThePreviousMapOnScreen)
{
    const std::string id = std::to_string(::getpid());
    const std::string shore = "shmaptest" + id + ".dat", bords = "bomaptest" + id + ".dat";
    write_map(shore, bords, 0);
    HeadlessViewer viewer({"/320x240", shore, bords});
    EXPECT_TRUE(viewer.platform.messages.empty());
    auto frame = [&](std::initializer_list<uint8_t> keys) {
        hold_view(*viewer.app);
        viewer.frame_with(keys);
    };
    frame({});
    frame({});
    const Pixels land = pixels_of(viewer.platform, land_colour);
    const Pixels lines = pixels_of(viewer.platform, border_colour);
    ASSERT_GT(land.size(), 200u);
    ASSERT_GT(lines.size(), 10u);

    // Malformed files: the first ends early, the second starts with a step.
    std::vector<uint8_t> cut = encode_shore(65536, {{{0, 0}, {100, 0}, {100, 100}}});
    cut.resize(cut.size() - 2);
    write_file(shore, cut);
    BitWriter stepping;
    put_lengths(stepping, {{0, 1}, {1, 1}});
    put_code(stepping, "1");  // a step with nothing to step from
    putbits(stepping, 0, 1);
    write_file(bords, map_file({65536, 1}, stepping));
    frame({dik::l});
    EXPECT_EQ(texts(viewer.platform), (std::vector<std::string>{"Can't load shore", "Can't load bords"}));
    frame({});
    EXPECT_EQ(pixels_of(viewer.platform, land_colour), land);
    EXPECT_EQ(pixels_of(viewer.platform, border_colour), lines);

    std::remove(shore.c_str());
    std::remove(bords.c_str());
    viewer.platform.messages.clear();
    frame({dik::l});
    EXPECT_EQ(texts(viewer.platform), (std::vector<std::string>{"Can't load shore", "Can't load bords"}));
    frame({});
    EXPECT_EQ(pixels_of(viewer.platform, land_colour), land);
    EXPECT_EQ(pixels_of(viewer.platform, border_colour), lines);

    // Good files again, moved east: the reload takes them.
    write_map(shore, bords, 3000);
    viewer.platform.messages.clear();
    frame({dik::l});
    frame({});
    EXPECT_TRUE(viewer.platform.messages.empty());
    const Pixels moved = pixels_of(viewer.platform, land_colour);
    EXPECT_GT(moved.size(), 200u);
    EXPECT_NE(moved, land);
    EXPECT_NE(pixels_of(viewer.platform, border_colour), lines);
    std::remove(shore.c_str());
    std::remove(bords.c_str());
}
