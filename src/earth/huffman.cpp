#include "earth/huffman.h"

#include <algorithm>
#include <queue>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

uint32_t reverse_bits(uint32_t value, int n)
{
    uint32_t out = 0;
    for (int i = 0; i < n; ++i) out |= ((value >> i) & 1) << (n - 1 - i);
    return out;
}

// The order of the code. Equal lengths end up in the order this exchange
// procedure leaves them in, which is part of the file format.
void order_symbols(HuffCode& code)
{
    code.count = 0;
    for (int s = 0; s < huff_symbols; ++s)
        if (code.len[s]) code.sorted[code.count++] = static_cast<int16_t>(s);
    for (int j = 1; j < code.count; ++j)
        for (int k = 0; k < j; ++k)
            if (code.len[code.sorted[j]] < code.len[code.sorted[k]]) std::swap(code.sorted[j], code.sorted[k]);
}

// Depth of every leaf of a Huffman tree over the non-zero counts.
std::array<int, huff_symbols> huffman_depths(const std::array<uint64_t, huff_symbols>& counts)
{
    std::vector<int> parent;
    using Node = std::pair<uint64_t, int>;  // weight, node; ties go to the lower node
    std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
    std::array<int, huff_symbols> leaf{};
    for (int s = 0; s < huff_symbols; ++s) {
        leaf[s] = -1;
        if (!counts[s]) continue;
        leaf[s] = static_cast<int>(parent.size());
        queue.push({counts[s], leaf[s]});
        parent.push_back(-1);
    }
    while (queue.size() > 1) {
        const Node a = queue.top();
        queue.pop();
        const Node b = queue.top();
        queue.pop();
        const int joined = static_cast<int>(parent.size());
        parent.push_back(-1);
        parent[static_cast<size_t>(a.second)] = joined;
        parent[static_cast<size_t>(b.second)] = joined;
        queue.push({a.first + b.first, joined});
    }
    std::array<int, huff_symbols> depth{};
    for (int s = 0; s < huff_symbols; ++s) {
        if (leaf[s] < 0) continue;
        for (int n = leaf[s]; parent[static_cast<size_t>(n)] >= 0; n = parent[static_cast<size_t>(n)]) ++depth[s];
        depth[s] = std::max(depth[s], 1);  // a lone symbol still needs one bit
    }
    return depth;
}

}  // namespace

bool buildhuff(HuffCode& code)
{
    for (uint8_t l : code.len)
        if (l > huff_maxbits) return false;
    order_symbols(code);
    code.lookup.fill(-1);
    code.hufshort = 0;
    code.maxlen = code.count ? code.len[code.sorted[code.count - 1]] : 0;

    const uint64_t room = uint64_t{1} << code.maxlen;
    uint64_t value = 0;
    uint32_t fill = 0;
    uint32_t fill_limit = 0;
    for (int j = 0; j < code.count; ++j) {
        const int len = code.len[code.sorted[j]];
        value += uint64_t{1} << (code.maxlen - len);
        if (value > room) return false;
        code.upper[j] = static_cast<uint32_t>(value);
        if (len > huff_shortbits) continue;
        code.hufshort = j + 1;
        fill_limit += 1u << (huff_shortbits - len);
        for (; fill < fill_limit; ++fill) code.lookup[reverse_bits(fill, huff_shortbits)] = code.sorted[j];
    }
    return true;
}

int gethuff(BitReader& reader, const HuffCode& code)
{
    int symbol = code.lookup[peekbits(reader, huff_shortbits)];
    if (symbol < 0) {
        const uint32_t x = reverse_bits(peekbits(reader, code.maxlen), code.maxlen);
        int j = code.hufshort;
        while (j < code.count && x >= code.upper[j]) ++j;
        if (j == code.count) return -1;
        symbol = code.sorted[j];
    }
    skipbits(reader, code.len[symbol]);
    return symbol;
}

bool read_code(BitReader& reader, HuffCode& code)
{
    const int ncols = static_cast<int>(getbits(reader, 5));
    const int nrows = static_cast<int>(getbits(reader, 5));
    if (nrows > huff_rows) return false;
    code.len.fill(0);
    for (int r = 0; r < nrows; ++r)
        for (int c = 0; c < ncols; ++c) {
            const uint32_t len = getbits(reader, 5);
            if (len > huff_maxbits) return false;
            code.len[r * 32 + c] = static_cast<uint8_t>(len);
        }
    return buildhuff(code) && !bits_overrun(reader);
}

void write_code_lengths(BitWriter& writer, const HuffCode& code)
{
    int ncols = 0;
    int nrows = 0;
    for (int s = 0; s < huff_symbols; ++s)
        if (code.len[s]) {
            ncols = std::max(ncols, s % 32 + 1);
            nrows = std::max(nrows, s / 32 + 1);
        }
    if (ncols > 31) throw std::invalid_argument("a symbol of column 31 has no place in the length table");
    putbits(writer, static_cast<uint32_t>(ncols), 5);
    putbits(writer, static_cast<uint32_t>(nrows), 5);
    for (int r = 0; r < nrows; ++r)
        for (int c = 0; c < ncols; ++c) putbits(writer, code.len[r * 32 + c], 5);
}

std::array<uint8_t, huff_symbols> huff_lengths(const std::array<uint64_t, huff_symbols>& counts, int maxbits)
{
    std::array<uint64_t, huff_symbols> scaled = counts;
    const auto used = std::count_if(scaled.begin(), scaled.end(), [](uint64_t c) { return c != 0; });
    if (used > (int64_t{1} << std::min(maxbits, 20)))
        throw std::invalid_argument("too many symbols for the longest code allowed");
    for (;;) {
        const std::array<int, huff_symbols> depth = huffman_depths(scaled);
        if (*std::max_element(depth.begin(), depth.end()) <= maxbits) {
            std::array<uint8_t, huff_symbols> len{};
            for (int s = 0; s < huff_symbols; ++s) len[s] = static_cast<uint8_t>(depth[s]);
            return len;
        }
        // Halving the counts evens them out and so shortens the deepest codes;
        // equal counts give a balanced tree, so this ends.
        for (uint64_t& c : scaled)
            if (c) c = (c >> 1) | 1;
    }
}

std::array<HuffCodeword, huff_symbols> huff_codewords(const HuffCode& code)
{
    std::array<HuffCodeword, huff_symbols> words{};
    uint64_t value = 0;
    for (int j = 0; j < code.count; ++j) {
        const int symbol = code.sorted[j];
        const int len = code.len[symbol];
        words[symbol] = {static_cast<uint32_t>(value >> (code.maxlen - len)), len};
        value += uint64_t{1} << (code.maxlen - len);
    }
    return words;
}

void puthuff(BitWriter& writer, HuffCodeword word)
{
    for (int i = word.len - 1; i >= 0; --i) putbits(writer, (word.bits >> i) & 1, 1);
}
