#pragma once

#include <cstdint>

namespace vindrel {

// Result of every kernel: 0 done, positive a warning, negative an error that
// leaves the destination untouched.
using KernelStatus = std::int32_t;

inline constexpr KernelStatus StatusOk = 0;
inline constexpr KernelStatus StatusMisaligned = 2;
inline constexpr KernelStatus StatusBadSize = -6;
inline constexpr KernelStatus StatusNullPointer = -8;
inline constexpr KernelStatus StatusNoMemory = -9;
inline constexpr KernelStatus StatusDivideByZero = -10;
inline constexpr KernelStatus StatusWrongState = -17;
inline constexpr KernelStatus StatusBadOrder = -25;
inline constexpr KernelStatus StatusBadChannelCount = -53;

// Rounding modes of the integer conversions; any value other than 0 and 1
// behaves as RoundHalfAway.
inline constexpr int RoundTowardZero = 0;
inline constexpr int RoundNearestEven = 1;
inline constexpr int RoundHalfAway = 2;

// Opaque single-precision IIR filter state (transposed direct form), made only
// by IirCreate and released only by IirFree.
struct IirState;

KernelStatus CopyBytes(const void* source, void* destination, int n);
KernelStatus CopyFloats(const float* source, float* destination, int n);
KernelStatus ScaleInPlace(float factor, float* p, int n);
KernelStatus ZeroFloats(float* p, int n);
KernelStatus AddInPlace(const float* source, float* destination, int n);
KernelStatus ZeroBytes(void* p, int n);
KernelStatus MultiplyInPlace(const float* source, float* destination, int n);

KernelStatus IirFilterSample(float x, float* output, IirState* state);
// taps: b0..bN then a0..aN (2*order + 2 floats); initialDelayLine: order floats or null.
KernelStatus IirCreate(IirState** state, const float* taps, int order,
                       const float* initialDelayLine);
KernelStatus IirGetDelayLine(const IirState* state, float* destination);
KernelStatus IirFree(IirState* state);

KernelStatus ConvertToInt8(const float* source, std::int8_t* destination, int n, int roundingMode,
                           int scaleFactor);
KernelStatus ConvertToInt16(const float* source, std::int16_t* destination, int n, int roundingMode,
                            int scaleFactor);
KernelStatus InterleaveFloats(const float* const* channels, int channelCount, int frames,
                              float* destination);

} // namespace vindrel
