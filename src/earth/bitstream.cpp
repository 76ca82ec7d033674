#include "earth/bitstream.h"

void initbits(BitReader& reader, std::span<const uint8_t> bytes)
{
    reader.data = bytes.data();
    reader.size = bytes.size();
    reader.pos = 0;
}

uint32_t peekbits(const BitReader& reader, int n)
{
    const uint64_t byte = reader.pos >> 3;
    uint32_t word = 0;
    // Four bytes hold any field of up to 25 bits at any bit offset.
    for (uint64_t i = 0; i < 4 && byte + i < reader.size; ++i)
        word |= static_cast<uint32_t>(reader.data[byte + i]) << (8 * i);
    word >>= reader.pos & 7;
    return n >= 32 ? word : word & ((uint32_t{1} << n) - 1);
}

uint32_t getbits(BitReader& reader, int n)
{
    const uint32_t value = peekbits(reader, n);
    reader.pos += static_cast<uint64_t>(n);
    return value;
}

void skipbits(BitReader& reader, int n)
{
    reader.pos += static_cast<uint64_t>(n);
}

bool bits_overrun(const BitReader& reader)
{
    return reader.pos > static_cast<uint64_t>(reader.size) * 8;
}

void putbits(BitWriter& writer, uint32_t value, int n)
{
    for (int i = 0; i < n; ++i, ++writer.pos) {
        if ((writer.pos & 7) == 0) writer.bytes.push_back(0);
        if ((value >> i) & 1) writer.bytes.back() |= static_cast<uint8_t>(1u << (writer.pos & 7));
    }
}
