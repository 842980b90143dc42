#pragma once

#include <cstddef>

namespace vindrel {

// Storage for samples and PCM bytes: aligned to 32 bytes so the widest vector
// variants of the kernels can run on it. Returns null on failure (and for 0 bytes).
void* AlignedAllocate(std::size_t bytes) noexcept;
void AlignedFree(void* block) noexcept;

} // namespace vindrel
