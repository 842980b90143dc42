#include "PcmBuffer.h"

#include "core/AlignedMemory.h"
#include "core/Pools.h"
#include "core/VectorKernels.h"

#include <cmath>

namespace vindrel {

namespace {

// Truncates toward zero and saturates; NaN reads as 0.
std::int64_t TruncateClamped(double x, double lo, double hi) {
    if (std::isnan(x))
        return 0;
    if (x > hi)
        return static_cast<std::int64_t>(hi);
    if (x < lo)
        return static_cast<std::int64_t>(lo);
    return static_cast<std::int64_t>(x);
}

void StoreLittleEndian(std::uint8_t* to, std::uint32_t value, int bytes) {
    for (int b = 0; b < bytes; ++b)
        to[b] = static_cast<std::uint8_t>(value >> (8 * b));
}

} // namespace

PcmBuffer::~PcmBuffer() {
    ReleaseStorage();
}

void PcmBuffer::ReleaseStorage() {
    AlignedFree(data);
    data = nullptr;
    capacity = 0;
    size = 0;
}

bool PcmBuffer::Resize(std::uint32_t bytes) {
    if (capacity < bytes) {
        auto* grown = static_cast<std::uint8_t*>(AlignedAllocate(bytes));
        const auto kept = static_cast<std::uint32_t>(size);
        if (data != nullptr && grown != nullptr && kept != 0)
            CopyBytes(data, grown, static_cast<int>(kept));
        ReleaseStorage();
        if (grown == nullptr)
            return false;
        ZeroBytes(grown + kept, static_cast<int>(bytes - kept));
        data = grown;
        capacity = bytes;
    } else if (static_cast<std::uint32_t>(size) < bytes) {
        ZeroBytes(data + size, static_cast<int>(bytes - static_cast<std::uint32_t>(size)));
    }
    size = static_cast<std::int32_t>(bytes);
    return true;
}

bool PcmBuffer::Prepare(int frames, int newBytesPerFrame, int newChannels) {
    const int storedFrames = bytesPerFrame > 0 ? size / bytesPerFrame : 0;
    if (newChannels == channels && newBytesPerFrame == bytesPerFrame && frames == storedFrames)
        return true;
    if (static_cast<unsigned>(newBytesPerFrame) > MaxBytesPerFrame ||
        static_cast<unsigned>(newChannels) > MaxChannels ||
        static_cast<unsigned>(frames) > MaxFrames || newChannels > newBytesPerFrame)
        return false;
    if (!Resize(static_cast<std::uint32_t>(frames) * static_cast<std::uint32_t>(newBytesPerFrame)))
        return false;
    channels = newChannels;
    bytesPerFrame = newBytesPerFrame;
    return true;
}

bool Pack24(std::uint8_t* destination, int count, const float* source) {
    if (count <= 0 || destination == nullptr || source == nullptr)
        return false;
    for (int i = 0; i < count; ++i) {
        const std::int64_t v = TruncateClamped(source[i], -8388608.0, 8388607.0);
        StoreLittleEndian(destination + 3 * i, static_cast<std::uint32_t>(v), 3);
    }
    return true;
}

bool FormatPcm(int bytesPerFrame, const SampleBuffer& source, PcmBuffer& destination,
               int channels) {
    const int frames = source.FrameCount();
    // A frame needs at least one channel: zero channels would leave no bytes per sample.
    if (static_cast<unsigned>(channels) > PcmBuffer::MaxChannels || channels < 1 ||
        bytesPerFrame < 1 || bytesPerFrame > PcmBuffer::MaxBytesPerFrame)
        return false;
    if (!destination.Prepare(frames, bytesPerFrame, channels))
        return false;
    if (frames == 0)
        return false;

    PooledBuffer copy = BufferPool::Instance().Acquire();
    copy->CopyFrom(source);
    if (!copy->SetChannelCount(channels, true))
        return false;
    const int samples = copy->FrameCount() * copy->ChannelCount();
    const int bytesPerSample = destination.BytesPerFrame() / destination.Channels();

    PooledVector interleaved = VectorPool::Instance().Acquire();
    if (!interleaved->Resize(static_cast<std::uint32_t>(samples)))
        return false;
    const float* table[SampleBuffer::MaxChannels] = {};
    for (int c = 0; c < channels; ++c)
        table[c] = copy->Channel(c).Data();
    const KernelStatus interleave = InterleaveFloats(table, channels, frames, interleaved->Data());
    if (interleave != StatusOk && interleave != StatusMisaligned)
        return false;

    float* values = interleaved->Data();
    std::uint8_t* out = destination.Data();
    switch (bytesPerSample) {
    case 1:
        if (ConvertToInt8(values, reinterpret_cast<std::int8_t*>(out), samples, RoundNearestEven,
                          -7) != StatusOk)
            return false;
        for (int i = 0; i < samples; ++i)
            out[i] ^= 0x80; // unsigned 8-bit: silence is 0x80
        return true;
    case 2:
        return ConvertToInt16(values, reinterpret_cast<std::int16_t*>(out), samples,
                              RoundNearestEven, -15) == StatusOk;
    case 3:
        if (ScaleInPlace(8388608.0f, values, samples) != StatusOk)
            return false;
        Pack24(out, samples, values);
        return true;
    case 4:
        for (int i = 0; i < samples; ++i) {
            const double x = static_cast<double>(values[i]) * 2147483648.0;
            const std::int64_t v = TruncateClamped(x, -2147483648.0, 2147483647.0);
            StoreLittleEndian(out + 4 * i, static_cast<std::uint32_t>(v), 4);
        }
        return true;
    default:
        return false;
    }
}

} // namespace vindrel
