#pragma once
#include <cstddef>
#include <cstdint>

namespace standin {

// The bytes of a generated package: pseudo-random, the same for the same
// seed, and computable at any offset so that nothing is held in memory.
// Byte i is byte (i % 8) of the little-endian splitmix64 output for the
// counter seed + (i / 8 + 1) * 0x9E3779B97F4A7C15.
void generateBytes(std::uint64_t seed, std::uint64_t offset, char* out, std::size_t size);

} // namespace standin
