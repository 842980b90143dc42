#include "audio/PcmBuffer.h"

#include "core/SampleBuffer.h"

#include "core/MakeBuffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace vindrel {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using testing::MakeBuffer;

std::vector<std::uint8_t> Bytes(const PcmBuffer& p) {
    return std::vector<std::uint8_t>(p.Data(), p.Data() + p.Size());
}

TEST(FormatPcm, ExactValuesPerWidth) {
    struct Case {
        int bytesPerSample;
        float value;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {2, 1.0f, {0xFF, 0x7F}},
        {2, -1.0f, {0x00, 0x80}},
        {2, 0.5f, {0x00, 0x40}},
        {2, 0.0f, {0x00, 0x00}},
        {2, 2.5f / 32768, {0x02, 0x00}}, // ties to even
        {2, 3.5f / 32768, {0x04, 0x00}},
        {1, 0.0f, {0x80}},
        {1, 1.0f, {0xFF}},
        {1, -1.0f, {0x00}},
        {3, 1.0f, {0xFF, 0xFF, 0x7F}},
        {3, -1.0f, {0x00, 0x00, 0x80}},
        {3, 0.5f, {0x00, 0x00, 0x40}},
        {3, 1.9f / 8388608, {0x01, 0x00, 0x00}}, // truncated
        {4, 1.0f, {0xFF, 0xFF, 0xFF, 0x7F}},
        {4, -1.0f, {0x00, 0x00, 0x00, 0x80}},
        {4, 0.5f, {0x00, 0x00, 0x00, 0x40}},
    };
    for (const Case& c : cases) {
        PcmBuffer out;
        ASSERT_TRUE(FormatPcm(c.bytesPerSample, MakeBuffer({{c.value}}), out, 1))
            << c.bytesPerSample << " " << c.value;
        EXPECT_EQ(Bytes(out), c.bytes) << c.bytesPerSample << " " << c.value;
    }
}

TEST(FormatPcm, InterleavesFrameMajor) {
    PcmBuffer out;
    ASSERT_TRUE(FormatPcm(4, MakeBuffer({{0.5f, -0.5f}, {1.0f, 0.0f}}), out, 2));
    EXPECT_THAT(Bytes(out), ElementsAre(0x00, 0x40, 0xFF, 0x7F, 0x00, 0xC0, 0x00, 0x00));
    EXPECT_EQ(out.BytesPerFrame(), 4);
    EXPECT_EQ(out.Channels(), 2);
}

TEST(FormatPcm, ChannelConversion) {
    PcmBuffer out;
    ASSERT_TRUE(FormatPcm(4, MakeBuffer({{0.25f}}), out, 2));
    EXPECT_THAT(Bytes(out), ElementsAre(0x00, 0x20, 0x00, 0x20));
    ASSERT_TRUE(FormatPcm(2, MakeBuffer({{0.5f}, {0.0f}}), out, 1));
    EXPECT_THAT(Bytes(out), ElementsAre(0x00, 0x20));
}

TEST(FormatPcm, SourceIsNotModified) {
    const SampleBuffer src = MakeBuffer({{0.5f, 0.25f}, {0.75f, 1.0f}});
    PcmBuffer out;
    ASSERT_TRUE(FormatPcm(3, src, out, 1));
    EXPECT_EQ(src.ChannelCount(), 2);
    EXPECT_EQ(src.Channel(0).Data()[0], 0.5f);
    EXPECT_EQ(src.Channel(1).Data()[1], 1.0f);
}

TEST(FormatPcm, RefusalsLeaveTheDestinationUntouched) {
    const SampleBuffer src = MakeBuffer({{0.5f, 0.5f}});
    struct Case {
        int bytesPerFrame, channels;
    };
    const Case cases[] = {{0, 1}, {25, 1}, {4, 9}, {4, -1}, {4, 0}, {-2, 1}};
    for (const Case& c : cases) {
        PcmBuffer out;
        ASSERT_TRUE(FormatPcm(2, MakeBuffer({{0.5f}}), out, 1));
        EXPECT_FALSE(FormatPcm(c.bytesPerFrame, src, out, c.channels))
            << c.bytesPerFrame << "/" << c.channels;
        EXPECT_THAT(Bytes(out), ElementsAre(0x00, 0x40));
        EXPECT_EQ(out.BytesPerFrame(), 2);
    }
}

TEST(FormatPcm, ShapeFailures) {
    PcmBuffer out;
    EXPECT_FALSE(FormatPcm(2, MakeBuffer({{0.5f}}), out, 3)); // 3 channels in 2 bytes
    EXPECT_EQ(out.Size(), 0);
    EXPECT_FALSE(FormatPcm(10, MakeBuffer({{0.5f}}), out, 2)); // 5 bytes per sample
    EXPECT_EQ(out.Size(), 10);
    EXPECT_FALSE(FormatPcm(4, SampleBuffer(), out, 2)); // no frames
    EXPECT_EQ(out.Size(), 0);
}

TEST(FormatPcm, SameShapeReusesStorageAndOverwritesEveryByte) {
    std::vector<float> ones(1024, 1.0f), halves(1024, 0.5f);
    PcmBuffer out;
    ASSERT_TRUE(FormatPcm(4, MakeBuffer({ones, ones}), out, 2));
    const std::uint8_t* storage = out.Data();
    ASSERT_TRUE(FormatPcm(4, MakeBuffer({halves, halves}), out, 2));
    EXPECT_EQ(out.Data(), storage);
    EXPECT_EQ(out.Size(), 4096);
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 2048; ++i) {
        expected.push_back(0x00);
        expected.push_back(0x40);
    }
    EXPECT_THAT(Bytes(out), ElementsAreArray(expected));
}

TEST(PcmBuffer, ResizeKeepsBytesAndZeroesTheGrowth) {
    PcmBuffer p;
    ASSERT_TRUE(p.Resize(2));
    p.Data()[0] = 7;
    p.Data()[1] = 8;
    ASSERT_TRUE(p.Resize(4));
    EXPECT_THAT(Bytes(p), ElementsAre(7, 8, 0, 0));
    ASSERT_TRUE(p.Resize(1));
    ASSERT_TRUE(p.Resize(3));
    EXPECT_THAT(Bytes(p), ElementsAre(7, 0, 0));
    EXPECT_EQ(p.Capacity(), 4u);
}

TEST(PcmBuffer, PrepareLimits) {
    PcmBuffer p;
    EXPECT_FALSE(p.Prepare(1048577, 4, 2));
    EXPECT_FALSE(p.Prepare(16, 25, 2));
    EXPECT_FALSE(p.Prepare(16, 24, 9));
    EXPECT_FALSE(p.Prepare(-1, 4, 2));
    EXPECT_FALSE(p.Prepare(16, 2, 3));
    EXPECT_EQ(p.Size(), 0);
    EXPECT_TRUE(p.Prepare(16, 24, 8));
    EXPECT_EQ(p.Size(), 384);
}

TEST(Pack24, RefusalsAndClamping) {
    std::uint8_t out[6] = {1, 1, 1, 1, 1, 1};
    const float values[2] = {1e30f, -1e30f};
    EXPECT_FALSE(Pack24(out, 0, values));
    EXPECT_FALSE(Pack24(nullptr, 2, values));
    EXPECT_FALSE(Pack24(out, 2, nullptr));
    EXPECT_THAT(out, ::testing::Each(1));
    EXPECT_TRUE(Pack24(out, 2, values));
    EXPECT_THAT(out, ElementsAre(0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80));
}

} // namespace
} // namespace vindrel
