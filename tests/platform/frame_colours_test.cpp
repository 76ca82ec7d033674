#include "platform/frame_colours.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>
#include <vector>

// Every pixel looked up, whatever the size, the pitch and the number of
// workers; the bytes between a row's end and the next row stay untouched.
TEST(FrameColours, EveryPixelTakesItsColourAndNothingElseIsWritten)
{
    std::mt19937 rng(3);
    std::vector<uint32_t> colours(256);
    for (uint32_t& c : colours) c = rng();
    for (const auto& [w, h, spare] : {std::tuple{1, 1, 0}, {7, 3, 4}, {640, 480, 0}, {333, 1000, 12}})
        for (const int32_t count : {1, 2, 5}) {
            WorkerPool workers(count);
            std::vector<uint8_t> frame(static_cast<size_t>(w) * static_cast<size_t>(h));
            for (uint8_t& p : frame) p = static_cast<uint8_t>(rng());
            const size_t pitch = static_cast<size_t>(w) * 4 + static_cast<size_t>(spare);
            std::vector<uint8_t> out(pitch * static_cast<size_t>(h), 0xEE);
            colour_frame(frame.data(), w, h, colours.data(), out.data(), pitch, workers);
            for (int32_t y = 0; y < h; ++y) {
                for (int32_t x = 0; x < w; ++x) {
                    uint32_t got = 0;
                    std::memcpy(&got, &out[y * pitch + static_cast<size_t>(x) * 4], 4);
                    ASSERT_EQ(got, colours[frame[static_cast<size_t>(y * w + x)]])
                        << w << "x" << h << " " << x << "," << y;
                }
                for (int32_t i = 0; i < spare; ++i) ASSERT_EQ(out[y * pitch + static_cast<size_t>(w) * 4 + i], 0xEE);
            }
        }
}
