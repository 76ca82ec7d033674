#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <stdexcept>
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

// The length table counts its columns in five bits: a symbol of column 30
// makes 31 of them, one of column 31 has no place and is refused.
TEST(Huffman, TheLengthTableHoldsThirtyOneColumns)
{
    HuffCode last_column, beyond;
    last_column.len[32 + 30] = beyond.len[31] = 1;
    BitWriter w;
    write_code_lengths(w, last_column);
    EXPECT_EQ(w.pos, 10u + 2 * 31 * 5);
    EXPECT_THROW(write_code_lengths(w, beyond), std::invalid_argument);
}

// Counts that double from symbol to symbol would make a code as deep as
// there are symbols; the lengths are flattened under the limit into a code
// the reader takes. A limit of b bits holds 2^b symbols, each then b bits
// long, and no more.
TEST(Huffman, LengthsStayUnderTheLimitWhichHoldsTwoToItsPowerOfSymbols)
{
    for (int maxbits : {1, 4, 9}) {
        for (int used : {(1 << maxbits) / 2 + 1, 1 << maxbits, (1 << maxbits) + 1}) {
            std::array<uint64_t, huff_symbols> counts{};
            for (int s = 0; s < used; ++s) counts[static_cast<size_t>(s * 3 % huff_symbols)] = uint64_t{1} << std::min(s, 40);
            if (used > 1 << maxbits) {
                EXPECT_THROW(huff_lengths(counts, maxbits), std::invalid_argument) << maxbits;
                continue;
            }
            HuffCode code;
            code.len = huff_lengths(counts, maxbits);
            double kraft = 0;
            for (int s = 0; s < huff_symbols; ++s) {
                ASSERT_EQ(code.len[s] > 0, counts[s] > 0) << maxbits << " " << s;
                ASSERT_LE(code.len[s], maxbits);
                ASSERT_TRUE(used < 1 << maxbits || counts[s] == 0 || code.len[s] == maxbits) << maxbits << " " << s;
                if (code.len[s]) kraft += std::ldexp(1.0, -code.len[s]);
            }
            EXPECT_EQ(kraft, 1.0) << maxbits << " " << used;
            EXPECT_TRUE(buildhuff(code));
        }
    }
}
