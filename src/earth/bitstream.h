#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The map files' bit stream: bit i is bit (i mod 8) of byte i/8, and an n-bit
// field (0 to 25 bits) takes its least significant bit first.
//
// The reader works on the whole stream in memory. Bits past the end read as
// zero and leave the reader overrun, so a stream that ends early is caught
// afterwards without anything being read outside the buffer.
struct BitReader {
    const uint8_t* data = nullptr;
    size_t size = 0;   // bytes
    uint64_t pos = 0;  // bits from the first byte
};

void initbits(BitReader& reader, std::span<const uint8_t> bytes);
uint32_t peekbits(const BitReader& reader, int n);
uint32_t getbits(BitReader& reader, int n);
void skipbits(BitReader& reader, int n);
// True once more bits were taken than the stream holds.
bool bits_overrun(const BitReader& reader);

// Appends fields in the reader's order.
struct BitWriter {
    std::vector<uint8_t> bytes;
    uint64_t pos = 0;  // bits written
};

void putbits(BitWriter& writer, uint32_t value, int n);
