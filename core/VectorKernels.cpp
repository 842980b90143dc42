#include "VectorKernels.h"

#include "AlignedMemory.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

// Plain loops: they are the reference. Processor-specific variants, if they
// come, are picked once at start-up and must produce the same bits.

namespace vindrel {

namespace {

constexpr std::uint32_t kIirTag = 0x49493031;

} // namespace

struct IirState {
    std::uint32_t tag;
    int order;
    float* taps;      // b0..bN, a1..aN, all divided by a0
    float* delayLine; // d0..dN-1 and a trailing 0
};

namespace {

// The tag is read as raw bytes: callers may hand us any object.
bool HasIirTag(const IirState* state) {
    std::uint32_t tag;
    std::memcpy(&tag, state, sizeof tag);
    return tag == kIirTag;
}

template <typename Int>
KernelStatus ConvertToInt(const float* source, Int* destination, int n, int roundingMode,
                          int scaleFactor) {
    if (source == nullptr || destination == nullptr)
        return StatusNullPointer;
    if (n <= 0)
        return StatusBadSize;
    constexpr double lo = std::numeric_limits<Int>::min();
    constexpr double hi = std::numeric_limits<Int>::max();
    // A float times a power of two is exact in double for every scale we use.
    const double scale = std::ldexp(1.0, -scaleFactor);
    for (int i = 0; i < n; ++i) {
        const double v = static_cast<double>(source[i]) * scale;
        double r;
        if (v > hi) {
            r = hi;
        } else if (v < lo) {
            r = lo;
        } else if (std::isnan(v)) {
            r = 0.0;
        } else if (roundingMode == RoundTowardZero) {
            r = std::trunc(v);
        } else {
            const double shifted = v < 0.0 ? v - 0.5 : v + 0.5;
            r = std::trunc(shifted);
            if (roundingMode == RoundNearestEven && shifted == r && std::fmod(r, 2.0) != 0.0)
                r += r > 0.0 ? -1.0 : 1.0;
        }
        destination[i] = static_cast<Int>(r);
    }
    return StatusOk;
}

bool Aligned16(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) % 16 == 0;
}

} // namespace

KernelStatus CopyBytes(const void* source, void* destination, int n) {
    if (source == nullptr || destination == nullptr)
        return StatusNullPointer;
    if (n <= 0)
        return StatusBadSize;
    std::memcpy(destination, source, static_cast<std::size_t>(n));
    return StatusOk;
}

KernelStatus CopyFloats(const float* source, float* destination, int n) {
    if (source == nullptr || destination == nullptr)
        return StatusNullPointer;
    if (n <= 0)
        return StatusBadSize;
    std::memmove(destination, source, static_cast<std::size_t>(n) * sizeof(float));
    return StatusOk;
}

KernelStatus ScaleInPlace(float factor, float* p, int n) {
    if (p == nullptr)
        return StatusNullPointer;
    if (n <= 0)
        return StatusBadSize;
    if (factor == 1.0f)
        return StatusOk;
    if (factor == 0.0f)
        return ZeroFloats(p, n);
    for (int i = 0; i < n; ++i)
        p[i] = factor * p[i];
    return StatusOk;
}

KernelStatus ZeroFloats(float* p, int n) {
    if (p == nullptr)
        return StatusNullPointer;
    if (n <= 0)
        return StatusBadSize;
    for (int i = 0; i < n; ++i)
        p[i] = 0.0f;
    return StatusOk;
}

KernelStatus AddInPlace(const float* source, float* destination, int n) {
    if (source == nullptr || destination == nullptr)
        return StatusNullPointer;
    if (n <= 0)
        return StatusBadSize;
    for (int i = 0; i < n; ++i)
        destination[i] = source[i] + destination[i];
    return StatusOk;
}

KernelStatus ZeroBytes(void* p, int n) {
    if (p == nullptr)
        return StatusNullPointer;
    if (n <= 0)
        return StatusBadSize;
    std::memset(p, 0, static_cast<std::size_t>(n));
    return StatusOk;
}

KernelStatus MultiplyInPlace(const float* source, float* destination, int n) {
    if (source == nullptr || destination == nullptr)
        return StatusNullPointer;
    if (n <= 0)
        return StatusBadSize;
    for (int i = 0; i < n; ++i)
        destination[i] = source[i] * destination[i];
    return StatusOk;
}

KernelStatus IirFilterSample(float x, float* output, IirState* state) {
    if (state == nullptr || output == nullptr)
        return StatusNullPointer;
    if (!HasIirTag(state))
        return StatusWrongState;
    const int n = state->order;
    const float* t = state->taps;
    float* d = state->delayLine;
    const float y = t[0] * x + d[0];
    for (int k = 0; k < n; ++k)
        d[k] = (t[k + 1] * x - t[n + k + 1] * y) + d[k + 1];
    *output = y;
    return StatusOk;
}

KernelStatus IirCreate(IirState** state, const float* taps, int order,
                       const float* initialDelayLine) {
    if (state == nullptr || taps == nullptr)
        return StatusNullPointer;
    if (order <= 0)
        return StatusBadOrder;
    // Header, then 2N+1 taps, then N+1 delay-line floats, in one block.
    constexpr std::size_t header = (sizeof(IirState) + 31) / 32 * 32;
    const std::size_t n = static_cast<std::size_t>(order);
    if (n > (std::numeric_limits<std::size_t>::max() - header) / sizeof(float) / 4)
        return StatusNoMemory;
    void* block = AlignedAllocate(header + (3 * n + 2) * sizeof(float));
    if (block == nullptr)
        return StatusNoMemory;
    const float a0 = taps[order + 1];
    if (a0 == 0.0f) {
        AlignedFree(block);
        return StatusDivideByZero;
    }
    auto* s = new (block) IirState{};
    s->taps = reinterpret_cast<float*>(static_cast<char*>(block) + header);
    s->delayLine = s->taps + 2 * n + 1;
    const float r = 1.0f / a0;
    for (int k = 0; k <= order; ++k)
        s->taps[k] = taps[k] * r;
    for (int k = 1; k <= order; ++k)
        s->taps[order + k] = taps[order + 1 + k] * r;
    for (int k = 0; k < order; ++k)
        s->delayLine[k] = initialDelayLine != nullptr ? initialDelayLine[k] : 0.0f;
    s->delayLine[order] = 0.0f;
    s->tag = kIirTag;
    s->order = order;
    *state = s;
    return StatusOk;
}

KernelStatus IirGetDelayLine(const IirState* state, float* destination) {
    if (state == nullptr || destination == nullptr)
        return StatusNullPointer;
    if (!HasIirTag(state))
        return StatusWrongState;
    for (int k = 0; k < state->order; ++k)
        destination[k] = state->delayLine[k];
    return StatusOk;
}

KernelStatus IirFree(IirState* state) {
    if (state == nullptr)
        return StatusNullPointer;
    if (!HasIirTag(state))
        return StatusWrongState;
    state->tag = 0;
    state->~IirState();
    AlignedFree(state);
    return StatusOk;
}

KernelStatus ConvertToInt8(const float* source, std::int8_t* destination, int n, int roundingMode,
                           int scaleFactor) {
    return ConvertToInt(source, destination, n, roundingMode, scaleFactor);
}

KernelStatus ConvertToInt16(const float* source, std::int16_t* destination, int n, int roundingMode,
                            int scaleFactor) {
    return ConvertToInt(source, destination, n, roundingMode, scaleFactor);
}

KernelStatus InterleaveFloats(const float* const* channels, int channelCount, int frames,
                              float* destination) {
    if (channels == nullptr || destination == nullptr)
        return StatusNullPointer;
    if (channelCount < 1)
        return StatusBadChannelCount;
    if (frames <= 0)
        return StatusBadSize;
    bool aligned = Aligned16(destination);
    for (int c = 0; c < channelCount; ++c) {
        if (channels[c] == nullptr)
            return StatusNullPointer;
        aligned = aligned && Aligned16(channels[c]);
    }
    for (int j = 0; j < frames; ++j)
        for (int c = 0; c < channelCount; ++c)
            destination[static_cast<std::size_t>(j) * channelCount + c] = channels[c][j];
    return aligned ? StatusOk : StatusMisaligned;
}

} // namespace vindrel
