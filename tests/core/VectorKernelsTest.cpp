#include "core/VectorKernels.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace vindrel {
namespace {

using ::testing::ElementsAre;

TEST(VectorKernels, PointerChecksComeBeforeLengthChecks) {
    float f[4] = {};
    std::uint8_t b[4] = {};
    struct Case {
        const char* name;
        KernelStatus status;
        KernelStatus expected;
    };
    const Case cases[] = {
        {"ZeroFloats null, 0", ZeroFloats(nullptr, 0), StatusNullPointer},
        {"ZeroFloats ok, 0", ZeroFloats(f, 0), StatusBadSize},
        {"ZeroFloats ok, -1", ZeroFloats(f, -1), StatusBadSize},
        {"CopyBytes null src", CopyBytes(nullptr, b, 4), StatusNullPointer},
        {"CopyBytes null dst", CopyBytes(b, nullptr, -3), StatusNullPointer},
        {"CopyBytes 0", CopyBytes(b, b + 2, 0), StatusBadSize},
        {"CopyFloats null", CopyFloats(f, nullptr, 1), StatusNullPointer},
        {"CopyFloats -1", CopyFloats(f, f + 1, -1), StatusBadSize},
        {"ScaleInPlace null", ScaleInPlace(2.0f, nullptr, 0), StatusNullPointer},
        {"ScaleInPlace 0", ScaleInPlace(2.0f, f, 0), StatusBadSize},
        {"AddInPlace null", AddInPlace(nullptr, f, 4), StatusNullPointer},
        {"AddInPlace 0", AddInPlace(f, f, 0), StatusBadSize},
        {"MultiplyInPlace null", MultiplyInPlace(f, nullptr, 4), StatusNullPointer},
        {"MultiplyInPlace 0", MultiplyInPlace(f, f, 0), StatusBadSize},
        {"ZeroBytes null", ZeroBytes(nullptr, 4), StatusNullPointer},
        {"ZeroBytes 0", ZeroBytes(b, 0), StatusBadSize},
        {"ConvertToInt8 null", ConvertToInt8(f, nullptr, 4, 1, 0), StatusNullPointer},
        {"ConvertToInt16 0", ConvertToInt16(f, reinterpret_cast<std::int16_t*>(b), 0, 1, 0),
         StatusBadSize},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.status, c.expected) << c.name;
}

TEST(VectorKernels, ErrorsLeaveTheDestinationUntouched) {
    float dst[3] = {7.0f, 8.0f, 9.0f};
    const float src[3] = {1.0f, 2.0f, 3.0f};
    EXPECT_EQ(ZeroFloats(dst, 0), StatusBadSize);
    EXPECT_EQ(CopyFloats(src, dst, -2), StatusBadSize);
    EXPECT_EQ(AddInPlace(src, dst, 0), StatusBadSize);
    EXPECT_THAT(dst, ElementsAre(7.0f, 8.0f, 9.0f));
}

TEST(VectorKernels, ScaleByOneKeepsBitsByZeroWritesPositiveZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    float a[3] = {nan, -0.0f, std::numeric_limits<float>::infinity()};
    std::array<std::uint32_t, 3> before{};
    std::memcpy(before.data(), a, sizeof a);
    ASSERT_EQ(ScaleInPlace(1.0f, a, 3), StatusOk);
    EXPECT_EQ(std::memcmp(before.data(), a, sizeof a), 0);

    ASSERT_EQ(ScaleInPlace(2.0f, a, 3), StatusOk);
    EXPECT_TRUE(std::isnan(a[0]));
    EXPECT_TRUE(std::signbit(a[1]));

    ASSERT_EQ(ScaleInPlace(-0.0f, a, 3), StatusOk); // -0.0 == 0.0: zero-fill
    for (float v : a)
        EXPECT_EQ(std::bit_cast<std::uint32_t>(v), 0u);

    float b[2] = {1.5f, -3.0f};
    ASSERT_EQ(ScaleInPlace(2.0f, b, 2), StatusOk);
    EXPECT_THAT(b, ElementsAre(3.0f, -6.0f));
}

TEST(VectorKernels, AddAndMultiplyUpdateTheSecondArray) {
    float s[3] = {1.0f, 2.0f, 3.0f};
    float d[3] = {10.0f, 20.0f, 30.0f};
    ASSERT_EQ(AddInPlace(s, d, 3), StatusOk);
    EXPECT_THAT(d, ElementsAre(11.0f, 22.0f, 33.0f));
    EXPECT_THAT(s, ElementsAre(1.0f, 2.0f, 3.0f));
    ASSERT_EQ(MultiplyInPlace(d, s, 3), StatusOk);
    EXPECT_THAT(s, ElementsAre(11.0f, 44.0f, 99.0f));
    // Single precision: 0.1f + 0.2f rounded once to float.
    float x = 0.1f, y = 0.2f;
    AddInPlace(&x, &y, 1);
    EXPECT_EQ(y, 0.1f + 0.2f);
}

TEST(VectorKernels, CopyAndZero) {
    const std::uint8_t src[5] = {1, 2, 3, 4, 5};
    std::uint8_t dst[5] = {};
    ASSERT_EQ(CopyBytes(src, dst, 5), StatusOk);
    EXPECT_THAT(dst, ElementsAre(1, 2, 3, 4, 5));
    ASSERT_EQ(ZeroBytes(dst + 1, 3), StatusOk);
    EXPECT_THAT(dst, ElementsAre(1, 0, 0, 0, 5));
    float f[3] = {1.0f, -0.0f, 3.0f};
    float g[3] = {};
    ASSERT_EQ(CopyFloats(f, g, 3), StatusOk);
    EXPECT_EQ(std::memcmp(f, g, sizeof f), 0);
    ASSERT_EQ(ZeroFloats(g, 2), StatusOk);
    EXPECT_THAT(g, ElementsAre(0.0f, 0.0f, 3.0f));
}

struct IirDeleter {
    void operator()(IirState* s) const { IirFree(s); }
};

std::vector<float> Filter(IirState* state, const std::vector<float>& input) {
    std::vector<float> out;
    for (float x : input) {
        float y = -99.0f;
        EXPECT_EQ(IirFilterSample(x, &y, state), StatusOk);
        out.push_back(y);
    }
    return out;
}

TEST(VectorKernels, IirExamples) {
    struct Case {
        std::array<float, 6> taps;
        std::vector<float> input;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {{1, 0, 0, 1, 0, 0}, {0.3f, -1.0f, 7.0f}, {0.3f, -1.0f, 7.0f}},
        {{0.5f, 0, 0, 2, 0, 0}, {1.0f, -2.0f, 0.5f}, {0.25f, -0.5f, 0.125f}},
        {{1, 0, 0, 1, -0.5f, 0}, {1, 0, 0}, {1.0f, 0.5f, 0.25f}},
    };
    for (const Case& c : cases) {
        IirState* raw = nullptr;
        ASSERT_EQ(IirCreate(&raw, c.taps.data(), 2, nullptr), StatusOk);
        std::unique_ptr<IirState, IirDeleter> state(raw);
        EXPECT_EQ(Filter(raw, c.input), c.expected);
    }
}

TEST(VectorKernels, IirDelayLineFollowsTheTransposedForm) {
    const float b0 = 0.3f, b1 = -0.7f, b2 = 0.11f, a1 = -1.3f, a2 = 0.6f;
    const float taps[6] = {b0, b1, b2, 1.0f, a1, a2};
    const float initial[2] = {0.25f, -0.5f};
    IirState* raw = nullptr;
    ASSERT_EQ(IirCreate(&raw, taps, 2, initial), StatusOk);
    std::unique_ptr<IirState, IirDeleter> state(raw);
    float line[2] = {};
    ASSERT_EQ(IirGetDelayLine(raw, line), StatusOk);
    EXPECT_THAT(line, ElementsAre(0.25f, -0.5f));

    const float x = 0.8f;
    float y = 0.0f;
    ASSERT_EQ(IirFilterSample(x, &y, raw), StatusOk);
    const volatile float b0x = b0 * x;
    EXPECT_EQ(y, b0x + 0.25f);
    const volatile float p1 = b1 * x, q1 = a1 * y, p2 = b2 * x, q2 = a2 * y;
    const volatile float d0 = (p1 - q1) - 0.5f;
    const volatile float d1 = p2 - q2;
    ASSERT_EQ(IirGetDelayLine(raw, line), StatusOk);
    EXPECT_EQ(line[0], d0);
    EXPECT_EQ(line[1], d1);
}

TEST(VectorKernels, IirTapsAreNormalisedByOneOverA0) {
    // 1/3 as a float times b, not b/3: the two differ for some values.
    const float a0 = 3.0f;
    const float taps[4] = {0.7f, 0.0f, a0, 0.0f};
    IirState* raw = nullptr;
    ASSERT_EQ(IirCreate(&raw, taps, 1, nullptr), StatusOk);
    std::unique_ptr<IirState, IirDeleter> state(raw);
    float y = 0.0f;
    IirFilterSample(1.0f, &y, raw);
    const volatile float r = 1.0f / a0;
    const volatile float b0 = 0.7f * r;
    EXPECT_EQ(y, b0 * 1.0f + 0.0f);
}

TEST(VectorKernels, IirRefusals) {
    const float taps[6] = {1, 0, 0, 0, 0, 0}; // a0 == 0
    IirState* untouched = reinterpret_cast<IirState*>(0x1234);
    EXPECT_EQ(IirCreate(&untouched, taps, 2, nullptr), StatusDivideByZero);
    EXPECT_EQ(untouched, reinterpret_cast<IirState*>(0x1234));
    EXPECT_EQ(IirCreate(&untouched, taps, 0, nullptr), StatusBadOrder);
    EXPECT_EQ(IirCreate(&untouched, taps, -1, nullptr), StatusBadOrder);
    EXPECT_EQ(IirCreate(nullptr, taps, 2, nullptr), StatusNullPointer);
    EXPECT_EQ(IirCreate(&untouched, nullptr, 0, nullptr), StatusNullPointer);
    EXPECT_EQ(untouched, reinterpret_cast<IirState*>(0x1234));

    alignas(32) std::array<std::uint8_t, 64> notAState{};
    auto* fake = reinterpret_cast<IirState*>(notAState.data());
    float y = 0.0f, line[2];
    EXPECT_EQ(IirFilterSample(1.0f, &y, fake), StatusWrongState);
    EXPECT_EQ(IirGetDelayLine(fake, line), StatusWrongState);
    EXPECT_EQ(IirFree(fake), StatusWrongState);
    EXPECT_EQ(IirFilterSample(1.0f, nullptr, fake), StatusNullPointer);
    EXPECT_EQ(IirFilterSample(1.0f, &y, nullptr), StatusNullPointer);
    EXPECT_EQ(IirGetDelayLine(nullptr, line), StatusNullPointer);
    EXPECT_EQ(IirFree(nullptr), StatusNullPointer);
}

TEST(VectorKernels, ConvertToInt16Rounding) {
    struct Case {
        float in;
        int mode;
        std::int16_t out;
    };
    const Case cases[] = {
        {1.0f, RoundNearestEven, 32767},
        {-1.0f, RoundNearestEven, -32768},
        {0.5f, RoundNearestEven, 16384},
        {2.0f, RoundNearestEven, 32767},
        {-3.0f, RoundNearestEven, -32768},
        {1.5f / 32768, RoundNearestEven, 2},
        {2.5f / 32768, RoundNearestEven, 2},
        {-2.5f / 32768, RoundNearestEven, -2},
        {0.5f / 32768, RoundNearestEven, 0},
        {-0.5f / 32768, RoundNearestEven, 0},
        {2.5f / 32768, RoundHalfAway, 3},
        {-2.5f / 32768, RoundHalfAway, -3},
        {2.5f / 32768, 7, 3},
        {2.7f / 32768, RoundTowardZero, 2},
        {-2.7f / 32768, RoundTowardZero, -2},
        {2.6f / 32768, RoundNearestEven, 3},
        {-32767.5f / 32768, RoundNearestEven, -32768},
    };
    for (const Case& c : cases) {
        std::int16_t out = 99;
        ASSERT_EQ(ConvertToInt16(&c.in, &out, 1, c.mode, -15), StatusOk);
        EXPECT_EQ(out, c.out) << c.in << " mode " << c.mode;
    }
    // Positive scale factors divide.
    const float big = 1024.0f;
    std::int16_t out = 0;
    ConvertToInt16(&big, &out, 1, RoundNearestEven, 3);
    EXPECT_EQ(out, 128);
}

TEST(VectorKernels, ConvertToInt8Rounding) {
    const float in[] = {1.0f, -1.0f, 0.5f, 0.00390625f, 0.01171875f, 0.0f};
    std::int8_t out[6] = {};
    ASSERT_EQ(ConvertToInt8(in, out, 6, RoundNearestEven, -7), StatusOk);
    EXPECT_THAT(out, ElementsAre(127, -128, 64, 0, 2, 0));
}

TEST(VectorKernels, InterleaveFloats) {
    alignas(32) float left[3] = {1, 2, 3};
    alignas(32) float right[3] = {4, 5, 6};
    alignas(32) float dst[8] = {};
    const float* channels[2] = {left, right};
    EXPECT_EQ(InterleaveFloats(channels, 2, 3, dst), StatusOk);
    EXPECT_THAT(std::vector<float>(dst, dst + 6), ElementsAre(1, 4, 2, 5, 3, 6));

    float* odd = dst + 2; // 8 bytes past a 32-byte boundary
    std::fill(dst, dst + 8, 0.0f);
    EXPECT_EQ(InterleaveFloats(channels, 2, 3, odd), StatusMisaligned);
    EXPECT_THAT(std::vector<float>(odd, odd + 6), ElementsAre(1, 4, 2, 5, 3, 6));

    std::fill(dst, dst + 8, -1.0f);
    const float* withNull[2] = {left, nullptr};
    EXPECT_EQ(InterleaveFloats(withNull, 2, 3, dst), StatusNullPointer);
    EXPECT_THAT(dst, ::testing::Each(-1.0f));
    EXPECT_EQ(InterleaveFloats(channels, 0, 3, dst), StatusBadChannelCount);
    EXPECT_EQ(InterleaveFloats(channels, 2, 0, dst), StatusBadSize);
    EXPECT_EQ(InterleaveFloats(nullptr, 0, 0, dst), StatusNullPointer);
    EXPECT_EQ(InterleaveFloats(channels, 2, 3, nullptr), StatusNullPointer);
}

} // namespace
} // namespace vindrel
