#include "ChannelVector.h"

#include "AlignedMemory.h"
#include "VectorKernels.h"

#include <utility>

namespace vindrel {

namespace {

// Delay lines may hold more floats than an int counts in bytes: work in pieces.
constexpr std::size_t kChunkBytes = 1u << 30;

void ZeroSamples(float* p, std::size_t count) {
    auto* bytes = reinterpret_cast<unsigned char*>(p);
    for (std::size_t left = count * sizeof(float); left > 0;) {
        const std::size_t piece = left < kChunkBytes ? left : kChunkBytes;
        ZeroBytes(bytes, static_cast<int>(piece));
        bytes += piece;
        left -= piece;
    }
}

void CopySamples(const float* from, float* to, std::size_t count) {
    const auto* src = reinterpret_cast<const unsigned char*>(from);
    auto* dst = reinterpret_cast<unsigned char*>(to);
    for (std::size_t left = count * sizeof(float); left > 0;) {
        const std::size_t piece = left < kChunkBytes ? left : kChunkBytes;
        CopyBytes(src, dst, static_cast<int>(piece));
        src += piece;
        dst += piece;
        left -= piece;
    }
}

// Per thread, so two threads reading outside their vectors never race on it.
thread_local float scratchSample = 0.0f;
} // namespace

ChannelVector::~ChannelVector() {
    ReleaseStorage();
}

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
            CopySamples(data, grown, kept);
        ReleaseStorage();
        if (grown == nullptr)
            return false;
        ZeroSamples(grown + kept, n - kept);
        data = grown;
        capacity = n;
    } else if (length < n) {
        ZeroSamples(data + length, n - length);
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
