#pragma once

#include <cstdint>

namespace vindrel {

// Multiplicative congruential white noise shared by every noise voice. The
// first draw of the process starts from the C library's rand(), which nobody
// seeds, so every run plays the same noise.
class NoiseGenerator {
public:
    static NoiseGenerator& Instance();

    // The next state as a float in [-1, 1): its top 23 bits become the mantissa.
    float Next();
    std::uint32_t State() const { return state; }

private:
    bool seeded = false;
    std::uint32_t state = 0;
};

} // namespace vindrel
