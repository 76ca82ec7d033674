#include <gtest/gtest.h>

#include <random>
#include <string>

#include "earth/huffman.h"

namespace {

HuffCode built(std::initializer_list<std::pair<int, int>> symbol_lengths)
{
    HuffCode code;
    for (auto [symbol, len] : symbol_lengths) code.len[symbol] = static_cast<uint8_t>(len);
    EXPECT_TRUE(buildhuff(code));
    return code;
}

std::vector<uint8_t> bits_from(const std::string& text)
{
    BitWriter w;
    for (char c : text) putbits(w, c == '1', 1);
    return w.bytes;
}

}  // namespace

TEST(BitStream, ReadsPastTheEndGiveZerosAndMarkTheOverrun)
{
    BitReader r;
    const std::vector<uint8_t> bytes{0xFF, 0xFF};
    initbits(r, bytes);
    EXPECT_EQ(peekbits(r, 25), 0xFFFFu);  // peeking beyond the end is harmless
    EXPECT_EQ(getbits(r, 16), 0xFFFFu);
    EXPECT_FALSE(bits_overrun(r));  // exactly all bits taken
    EXPECT_EQ(getbits(r, 1), 0u);
    EXPECT_TRUE(bits_overrun(r));

    BitReader empty;
    initbits(empty, {});
    EXPECT_EQ(getbits(empty, 25), 0u);
    EXPECT_TRUE(bits_overrun(empty));
}

TEST(Huffman, LongCodesDecodeThroughTheUpperBounds)
{
    // A complete code with lengths 1..24, 25, 25: codes beyond 11 bits need
    // the bound search, and the last two differ only in their 25th bit.
    HuffCode code;
    std::vector<int> symbols;
    for (int i = 0; i < 26; ++i) {
        const int symbol = 31 * i + 5;  // spread over rows and columns
        symbols.push_back(symbol);
        code.len[symbol] = static_cast<uint8_t>(i < 25 ? i + 1 : 25);
    }
    ASSERT_TRUE(buildhuff(code));
    EXPECT_EQ(code.maxlen, 25);
    EXPECT_EQ(code.hufshort, 11);
    const auto words = huff_codewords(code);
    std::mt19937 rng(3);
    std::vector<int> sent;
    BitWriter w;
    for (int i = 0; i < 3000; ++i) {
        const int s = symbols[rng() % symbols.size()];
        sent.push_back(s);
        puthuff(w, words[s]);
    }
    BitReader r;
    initbits(r, w.bytes);
    for (int s : sent) ASSERT_EQ(gethuff(r, code), s);
    EXPECT_EQ(r.pos, w.pos);
}

TEST(Huffman, UnusableCodesAndBitsOutsideTheCodeAreCaught)
{
    HuffCode too_long;
    too_long.len[3] = 26;
    EXPECT_FALSE(buildhuff(too_long));

    HuffCode crowded;  // three one-bit codes cannot exist
    crowded.len[0] = crowded.len[1] = crowded.len[2] = 1;
    EXPECT_FALSE(buildhuff(crowded));

    HuffCode crowded_long;  // over-full only among the long codes
    crowded_long.len[0] = 1;
    crowded_long.len[1] = 2;
    for (int s = 2; s < 6; ++s) crowded_long.len[s] = 4;
    crowded_long.len[6] = 14;
    EXPECT_FALSE(buildhuff(crowded_long));

    // Incomplete codes: some bit patterns are no code at all.
    HuffCode lone = built({{5, 1}});
    auto bytes = bits_from("0" "1");
    BitReader r;
    initbits(r, bytes);
    EXPECT_EQ(gethuff(r, lone), 5);
    EXPECT_EQ(gethuff(r, lone), -1);

    HuffCode gap = built({{0, 1}, {1, 13}});  // codes 0 and 1000000000000
    bytes = bits_from("1000000000000" "1100000000000");
    initbits(r, bytes);
    EXPECT_EQ(gethuff(r, gap), 1);
    EXPECT_EQ(gethuff(r, gap), -1);
}
