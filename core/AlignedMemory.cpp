#include "AlignedMemory.h"

#include <new>

namespace vindrel {

namespace {
constexpr std::align_val_t kAlignment{32};
}

void* AlignedAllocate(std::size_t bytes) noexcept {
    if (bytes == 0)
        return nullptr;
    return ::operator new(bytes, kAlignment, std::nothrow);
}

void AlignedFree(void* block) noexcept {
    if (block != nullptr)
        ::operator delete(block, kAlignment);
}

} // namespace vindrel
