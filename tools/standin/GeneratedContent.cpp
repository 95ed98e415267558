#include "tools/standin/GeneratedContent.h"

namespace standin {

namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;

std::uint64_t word(std::uint64_t seed, std::uint64_t index) {
    std::uint64_t z = seed + (index + 1) * kGolden;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

void generateBytes(std::uint64_t seed, std::uint64_t offset, char* out, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        std::uint64_t position = offset + done;
        std::uint64_t value = word(seed, position / 8);
        unsigned shift = static_cast<unsigned>(position % 8);
        // Whole words go out byte by byte in little-endian order whatever the host order.
        for (; shift < 8 && done < size; ++shift, ++done) {
            out[done] = static_cast<char>((value >> (8 * shift)) & 0xFF);
        }
    }
}

} // namespace standin
