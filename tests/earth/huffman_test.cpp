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

// The codeword as it appears in the stream, first bit first.
std::string stream_bits(HuffCodeword w)
{
    std::string s;
    for (int i = w.len - 1; i >= 0; --i) s += ((w.bits >> i) & 1) ? '1' : '0';
    return s;
}

std::vector<uint8_t> bits_from(const std::string& text)
{
    BitWriter w;
    for (char c : text) putbits(w, c == '1', 1);
    return w.bytes;
}

}  // namespace

TEST(BitStream, FieldsRoundTripAtEveryOffsetAndWidthAndOverrunsAreMarked)
{
    std::mt19937 rng(7);
    BitWriter w;
    std::vector<std::pair<uint32_t, int>> fields;
    for (int i = 0; i < 5000; ++i) {
        const int n = static_cast<int>(rng() % 26);
        const uint32_t v = n ? static_cast<uint32_t>(rng()) & ((1u << n) - 1) : 0;
        fields.push_back({v, n});
        putbits(w, v, n);
    }
    BitReader r;
    initbits(r, w.bytes);
    for (auto [v, n] : fields) {
        ASSERT_EQ(peekbits(r, n), v);
        ASSERT_EQ(getbits(r, n), v);
    }
    EXPECT_FALSE(bits_overrun(r));
    EXPECT_EQ(r.pos, w.pos);

    // Reads past the end give zeros and mark the overrun.
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

TEST(Huffman, EqualLengthsTakeTheExchangeOrderNotAStableOne)
{
    // Lengths 2, 2, 1 for symbols 0, 1, 2: a stable sort would give symbol 0
    // the code 10.
    HuffCode code = built({{0, 2}, {1, 2}, {2, 1}});
    auto words = huff_codewords(code);
    EXPECT_EQ(stream_bits(words[2]), "0");
    EXPECT_EQ(stream_bits(words[1]), "10");
    EXPECT_EQ(stream_bits(words[0]), "11");

    code = built({{0, 1}, {1, 3}, {2, 3}, {3, 2}});
    words = huff_codewords(code);
    EXPECT_EQ(stream_bits(words[0]), "0");
    EXPECT_EQ(stream_bits(words[3]), "10");
    EXPECT_EQ(stream_bits(words[2]), "110");
    EXPECT_EQ(stream_bits(words[1]), "111");

    // And the decoder reads them from the stream, first bit first.
    const auto bytes = bits_from("111" "0" "110" "10" "0");
    BitReader r;
    initbits(r, bytes);
    for (int expected : {1, 0, 2, 3, 0}) EXPECT_EQ(gethuff(r, code), expected);
    EXPECT_EQ(r.pos, 10u);
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

TEST(Huffman, CodesFromCountsStayWithinTheLimitAndDecode)
{
    std::mt19937 rng(11);
    for (int trial = 0; trial < 20; ++trial) {
        std::array<uint64_t, huff_symbols> counts{};
        const bool fibonacci = trial % 2 == 0;  // the worst case for depth
        uint64_t a = 1, b = 1;
        for (int i = 0; i < 60; ++i) {
            const int symbol = static_cast<int>(rng() % 800);
            counts[symbol] = fibonacci ? a : 1 + rng() % 100000;
            const uint64_t c = a + b;
            a = b;
            b = c;
        }
        const int limit = trial < 10 ? huff_maxbits : 8;
        HuffCode code;
        code.len = huff_lengths(counts, limit);
        uint64_t kraft = 0;
        for (int s = 0; s < huff_symbols; ++s) {
            ASSERT_EQ(code.len[s] != 0, counts[s] != 0) << s;
            ASSERT_LE(code.len[s], limit);
            if (code.len[s]) kraft += uint64_t{1} << (32 - code.len[s]);
        }
        EXPECT_LE(kraft, uint64_t{1} << 32);
        ASSERT_TRUE(buildhuff(code));
        const auto words = huff_codewords(code);
        BitWriter w;
        std::vector<int> sent;
        for (int s = 0; s < huff_symbols; ++s)
            if (counts[s]) {
                sent.push_back(s);
                puthuff(w, words[s]);
            }
        BitReader r;
        initbits(r, w.bytes);
        for (int s : sent) ASSERT_EQ(gethuff(r, code), s);
    }

    // A lone symbol still gets a one-bit code.
    std::array<uint64_t, huff_symbols> one{};
    one[0] = 5;
    EXPECT_EQ(huff_lengths(one)[0], 1);
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

TEST(Huffman, LengthTableIsReadRowAfterRow)
{
    // ncols 3, nrows 2: symbols 0, 1, 2, 32, 33, 34.
    BitWriter w;
    putbits(w, 3, 5);
    putbits(w, 2, 5);
    for (int len : {1, 0, 3, 0, 3, 2}) putbits(w, static_cast<uint32_t>(len), 5);
    BitReader r;
    initbits(r, w.bytes);
    HuffCode code;
    code.len[700] = 9;  // stale lengths are cleared
    ASSERT_TRUE(read_code_lengths(r, code));
    EXPECT_EQ(code.len[0], 1);
    EXPECT_EQ(code.len[2], 3);
    EXPECT_EQ(code.len[33], 3);
    EXPECT_EQ(code.len[34], 2);
    EXPECT_EQ(code.len[32], 0);
    EXPECT_EQ(code.len[700], 0);

    // The writer picks the smallest table that holds every length.
    BitWriter again;
    write_code_lengths(again, code);
    EXPECT_EQ(again.bytes, w.bytes);

}
