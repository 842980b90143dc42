#include "ChannelVector.h"

#include "AlignedMemory.h"
#include "VectorKernels.h"

#include <utility>

namespace vindrel {

namespace {
// Per thread, so two threads reading outside their vectors never race on it.
thread_local float scratchSample = 0.0f;
} // namespace

ChannelVector::~ChannelVector() { ReleaseStorage(); }

ChannelVector::ChannelVector(ChannelVector&& other) noexcept
    : capacity(std::exchange(other.capacity, 0)), length(std::exchange(other.length, 0)),
      data(std::exchange(other.data, nullptr)) {}

ChannelVector& ChannelVector::operator=(ChannelVector&& other) noexcept {
    if (this != &other) {
        ReleaseStorage();
        capacity = std::exchange(other.capacity, 0);
        length = std::exchange(other.length, 0);
        data = std::exchange(other.data, nullptr);
    }
    return *this;
}

void ChannelVector::ReleaseStorage() {
    AlignedFree(data);
    data = nullptr;
    capacity = 0;
    length = 0;
}

bool ChannelVector::Resize(std::uint32_t n) {
    if (capacity < n) {
        auto* grown = static_cast<float*>(AlignedAllocate(std::size_t{n} * sizeof(float)));
        const std::uint32_t kept = length;
        if (data != nullptr && grown != nullptr && kept > 0)
            CopyBytes(data, grown, static_cast<int>(kept * sizeof(float)));
        ReleaseStorage();
        if (grown == nullptr)
            return false;
        ZeroBytes(grown + kept, static_cast<int>((n - kept) * sizeof(float)));
        data = grown;
        capacity = n;
    } else if (length < n) {
        ZeroBytes(data + length, static_cast<int>((n - length) * sizeof(float)));
    }
    length = n;
    return true;
}

float& ChannelVector::SampleAt(std::uint32_t i) {
    if (i < length)
        return data[i];
    scratchSample = 0.0f;
    return scratchSample;
}

} // namespace vindrel
