#pragma once

#include <cstdint>

namespace vindrel {

class SampleBuffer;

// Interleaved little-endian integer PCM bytes for one block. The storage stays
// in place (and never shrinks) while a queued wave header points into it.
class PcmBuffer {
public:
    static constexpr int MaxBytesPerFrame = 24;
    static constexpr int MaxChannels = 8;
    static constexpr int MaxFrames = 1048576;

    PcmBuffer() = default;
    ~PcmBuffer();
    PcmBuffer(const PcmBuffer&) = delete;
    PcmBuffer& operator=(const PcmBuffer&) = delete;

    bool Resize(std::uint32_t bytes);
    bool Prepare(int frames, int bytesPerFrame, int channels);

    std::uint32_t Capacity() const { return capacity; }
    std::int32_t Size() const { return size; }
    std::uint8_t* Data() { return data; }
    const std::uint8_t* Data() const { return data; }
    std::int32_t BytesPerFrame() const { return bytesPerFrame; }
    std::int32_t Channels() const { return channels; }

private:
    void ReleaseStorage();

    std::uint32_t capacity = 0;
    std::int32_t size = 0;
    std::uint8_t* data = nullptr;
    std::int32_t bytesPerFrame = 0;
    std::int32_t channels = 0;
};

// Converts a float block into 8/16/24/32-bit interleaved PCM for `channels`
// channels. The source is not modified.
bool FormatPcm(int bytesPerFrame, const SampleBuffer& source, PcmBuffer& destination, int channels);

// Writes count packed little-endian 24-bit samples from floats already scaled by 2^23.
bool Pack24(std::uint8_t* destination, int count, const float* source);

} // namespace vindrel
