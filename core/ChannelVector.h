#pragma once

#include <cstdint>

namespace vindrel {

// One channel of 32-bit float samples. Storage grows exactly to the requested
// length, never shrinks while the vector lives, and is aligned to 32 bytes.
class ChannelVector {
public:
    ChannelVector() = default;
    ~ChannelVector();
    ChannelVector(ChannelVector&& other) noexcept;
    ChannelVector& operator=(ChannelVector&& other) noexcept;
    ChannelVector(const ChannelVector&) = delete;
    ChannelVector& operator=(const ChannelVector&) = delete;

    // Samples that come into use are zero. False when storage cannot be had;
    // the vector is then empty.
    bool Resize(std::uint32_t n);
    std::uint32_t Length() const { return length; }
    std::uint32_t Capacity() const { return capacity; }
    // Null when the vector is empty, so kernels see an empty channel as null.
    float* Data() { return length != 0 ? data : nullptr; }
    const float* Data() const { return length != 0 ? data : nullptr; }
    // Outside the vector: a scratch float set to 0, so reads give 0.0 and
    // writes are lost.
    float& SampleAt(std::uint32_t i);

private:
    void ReleaseStorage();

    std::uint32_t capacity = 0;
    std::uint32_t length = 0;
    float* data = nullptr;
};

} // namespace vindrel
