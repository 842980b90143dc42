#include "NoiseGenerator.h"

#include <bit>
#include <cstdlib>

namespace vindrel {

NoiseGenerator& NoiseGenerator::Instance() {
    static NoiseGenerator generator;
    return generator;
}

float NoiseGenerator::Next() {
    std::uint32_t previous = state;
    if (!seeded) {
        seeded = true;
        previous = static_cast<std::uint32_t>(std::rand());
    }
    state = previous * 16807u;
    return std::bit_cast<float>((state >> 9) | 0x40000000u) - 3.0f;
}

} // namespace vindrel
