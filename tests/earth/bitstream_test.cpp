#include "earth/bitstream.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// Fields of every width at every bit offset come back as written, the bytes
// hold them least significant bit first, and the reader is overrun only once
// it has taken more bits than the stream holds, an empty one at once.
TEST(BitStream, FieldsRoundTripAndTheEndIsExact)
{
    BitWriter fixed;
    putbits(fixed, 0b101, 3);
    putbits(fixed, 0x1F, 5);
    putbits(fixed, 0x2AB, 10);
    EXPECT_EQ(fixed.bytes, (std::vector<uint8_t>{0xFD, 0xAB, 0x02}));
    EXPECT_EQ(fixed.pos, 18u);

    std::mt19937 rng(5);
    std::vector<std::pair<uint32_t, int>> fields;
    BitWriter w;
    uint64_t bits = 0;
    for (int i = 0; i < 2000; ++i) {
        const int n = static_cast<int>(rng() % 26);
        const uint32_t value = n ? static_cast<uint32_t>(rng()) & ((1u << n) - 1) : 0;
        fields.push_back({value, n});
        putbits(w, value, n);
        bits += static_cast<uint64_t>(n);
    }
    EXPECT_EQ(w.pos, bits);
    EXPECT_EQ(w.bytes.size(), (bits + 7) / 8);

    BitReader r;
    initbits(r, w.bytes);
    for (size_t i = 0; i < fields.size(); ++i) {
        const auto [value, n] = fields[i];
        EXPECT_EQ(peekbits(r, n), value) << i;
        if (i % 2)
            EXPECT_EQ(getbits(r, n), value) << i;
        else
            skipbits(r, n);
        EXPECT_FALSE(bits_overrun(r)) << i;
    }
    // The padding of the last byte reads as zeros; then nothing but zeros.
    const int pad = static_cast<int>(w.bytes.size() * 8 - bits);
    EXPECT_EQ(getbits(r, pad), 0u);
    EXPECT_FALSE(bits_overrun(r));
    EXPECT_EQ(peekbits(r, 25), 0u);
    skipbits(r, 1);
    EXPECT_TRUE(bits_overrun(r));

    // A field near the end takes what is there and zeros beyond.
    const std::vector<uint8_t> two = {0x81, 0xC3};
    initbits(r, two);
    skipbits(r, 7);
    EXPECT_EQ(peekbits(r, 25), 0x187u);
    EXPECT_EQ(peekbits(r, 32), 0x187u);
    EXPECT_EQ(getbits(r, 9), 0x187u);
    EXPECT_FALSE(bits_overrun(r));
    EXPECT_EQ(getbits(r, 1), 0u);
    EXPECT_TRUE(bits_overrun(r));
    initbits(r, {});
    EXPECT_EQ(getbits(r, 25), 0u);
    EXPECT_TRUE(bits_overrun(r));
}
