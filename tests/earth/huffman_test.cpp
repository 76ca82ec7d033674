#include <gtest/gtest.h>

#include <random>
#include <string>

#include "earth/huffman.h"

namespace {

// A code from (symbol, length) pairs; false when it is unusable.
bool build(HuffCode& code, std::initializer_list<std::pair<int, int>> symbol_lengths)
{
    for (auto [symbol, len] : symbol_lengths) code.len[symbol] = static_cast<uint8_t>(len);
    return buildhuff(code);
}

}  // namespace

TEST(Huffman, LongCodesDecodeThroughTheUpperBounds)
{
    // A complete code with lengths 1..24, 25, 25: codes beyond 11 bits need
    // the bound search, and the last two differ only in their 25th bit.
    HuffCode code;
    std::vector<int> symbols;
    for (int i = 0; i < 26; ++i) {
        symbols.push_back(31 * i + 5);  // spread over rows and columns
        code.len[symbols.back()] = static_cast<uint8_t>(i < 25 ? i + 1 : 25);
    }
    ASSERT_TRUE(buildhuff(code));
    const auto words = huff_codewords(code);
    std::mt19937 rng(3);
    std::vector<int> sent;
    BitWriter w;
    for (int i = 0; i < 3000; ++i) {
        sent.push_back(symbols[rng() % symbols.size()]);
        puthuff(w, words[sent.back()]);
    }
    BitReader r;
    initbits(r, w.bytes);
    for (int s : sent) ASSERT_EQ(gethuff(r, code), s);
    EXPECT_EQ(r.pos, w.pos);
}

TEST(Huffman, UnusableCodesAndBitsOutsideTheCodeAreCaught)
{
    HuffCode too_long, crowded, crowded_long, lone, gap;
    EXPECT_FALSE(build(too_long, {{3, 26}}));
    EXPECT_FALSE(build(crowded, {{0, 1}, {1, 1}, {2, 1}}));
    // Over-full only among the long codes.
    EXPECT_FALSE(build(crowded_long, {{0, 1}, {1, 2}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 14}}));

    // Incomplete codes: some bit patterns are no code at all.
    ASSERT_TRUE(build(lone, {{5, 1}}));
    ASSERT_TRUE(build(gap, {{0, 1}, {1, 13}}));  // codes 0 and 1000000000000
    for (auto [code, bits, first] : {std::tuple{&lone, "01", 5}, {&gap, "10000000000001100000000000", 1}}) {
        BitWriter w;
        for (const char* c = bits; *c; ++c) putbits(w, *c == '1', 1);
        BitReader r;
        initbits(r, w.bytes);
        EXPECT_EQ(gethuff(r, *code), first);
        EXPECT_EQ(gethuff(r, *code), -1);
    }
}
