#pragma once
#include <array>
#include <cstdint>

#include "earth/bitstream.h"

// The canonical Huffman code of the map files. Symbol r*32 + c stands for a
// step whose y and x magnitudes have r and c bits; 26 rows of 32.
constexpr int huff_symbols = 832;
constexpr int huff_rows = 26;
constexpr int huff_maxbits = 25;
// Codes up to this length are decoded with one table lookup.
constexpr int huff_shortbits = 11;

struct HuffCode {
    std::array<uint8_t, huff_symbols> len{};     // 0: the symbol does not occur
    std::array<int16_t, huff_symbols> sorted{};  // the symbols in code order
    // Entry j: the codes of entries 0..j counted in units of 2^-maxlen, which
    // is also the first code value (left-aligned) that lies beyond entry j.
    std::array<uint32_t, huff_symbols> upper{};
    int count = 0;     // symbols in the code
    int maxlen = 0;
    int hufshort = 0;  // entries of at most huff_shortbits bits
    std::array<int16_t, 1 << huff_shortbits> lookup{};
};

// Builds the code from len. False when a length exceeds 25 bits or the
// lengths claim more codes than there is room for (the table lookup would
// overflow); such a code is unusable.
bool buildhuff(HuffCode& code);

// The next symbol, having skipped its code; -1 when the next bits are not
// the start of any code (the code is incomplete there).
int gethuff(BitReader& reader, const HuffCode& code);

// The code a map stream opens with: ncols, nrows and the 5-bit code lengths,
// built. False for more than 26 rows, a length over 25 bits, an unusable
// code or a table cut short.
bool read_code(BitReader& reader, HuffCode& code);
void write_code_lengths(BitWriter& writer, const HuffCode& code);

// Code lengths of at most maxbits bits for symbols seen counts[s] times
// (0 = absent): a Huffman code, flattened when it would be deeper.
std::array<uint8_t, huff_symbols> huff_lengths(const std::array<uint64_t, huff_symbols>& counts,
                                               int maxbits = huff_maxbits);

// A symbol's code as a len-bit number; its top bit goes first in the stream.
struct HuffCodeword {
    uint32_t bits = 0;
    int len = 0;
};

// The code of every symbol of a built code (len 0 for absent symbols).
std::array<HuffCodeword, huff_symbols> huff_codewords(const HuffCode& code);
void puthuff(BitWriter& writer, HuffCodeword word);
