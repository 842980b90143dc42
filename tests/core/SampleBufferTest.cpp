#include "core/SampleBuffer.h"

#include "core/MakeBuffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace vindrel {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

std::vector<float> Samples(const ChannelVector& v) {
    if (v.Data() == nullptr)
        return {};
    return std::vector<float>(v.Data(), v.Data() + v.Length());
}

void Fill(ChannelVector& v, std::vector<float> values) {
    ASSERT_TRUE(v.Resize(static_cast<std::uint32_t>(values.size())));
    for (std::uint32_t i = 0; i < values.size(); ++i)
        v.SampleAt(i) = values[i];
}

using testing::MakeBuffer;

TEST(ChannelVector, GrowKeepsSamplesAndAppendsZeros) {
    ChannelVector v;
    EXPECT_EQ(v.Data(), nullptr);
    Fill(v, {1, 2, 3});
    ASSERT_TRUE(v.Resize(5));
    EXPECT_THAT(Samples(v), ElementsAre(1, 2, 3, 0, 0));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(v.Data()) % 32, 0u);
    EXPECT_EQ(v.Capacity(), 5u);
}

TEST(ChannelVector, ShrinkThenGrowGivesZerosNotStaleSamples) {
    ChannelVector v;
    Fill(v, {1, 2, 3, 4});
    const float* storage = v.Data();
    ASSERT_TRUE(v.Resize(1));
    ASSERT_TRUE(v.Resize(4));
    EXPECT_EQ(v.Data(), storage); // within capacity: no new storage
    EXPECT_THAT(Samples(v), ElementsAre(1, 0, 0, 0));
    ASSERT_TRUE(v.Resize(0));
    EXPECT_EQ(v.Data(), nullptr);
    EXPECT_EQ(v.Capacity(), 4u);
}

TEST(ChannelVector, SampleAtOutsideReadsZeroAndLosesWrites) {
    ChannelVector v;
    Fill(v, {1, 2});
    EXPECT_EQ(v.SampleAt(2), 0.0f);
    v.SampleAt(2) = 5.0f;
    EXPECT_EQ(v.SampleAt(2), 0.0f);
    ASSERT_TRUE(v.Resize(3));
    EXPECT_THAT(Samples(v), ElementsAre(1, 2, 0));
}

TEST(ChannelVector, MoveTakesTheStorage) {
    ChannelVector a;
    Fill(a, {4, 5});
    ChannelVector b(std::move(a));
    EXPECT_EQ(a.Length(), 0u);
    EXPECT_THAT(Samples(b), ElementsAre(4, 5));
    a = std::move(b);
    EXPECT_THAT(Samples(a), ElementsAre(4, 5));
}

TEST(SampleBuffer, FreshBufferAndZeroFrames) {
    SampleBuffer b;
    EXPECT_EQ(b.FrameCount(), 0);
    EXPECT_EQ(b.ChannelCount(), 0);
    EXPECT_EQ(b.Channel(0).Length(), 0u);

    ASSERT_TRUE(b.Resize(1024, 2));
    EXPECT_EQ(b.FrameCount(), 1024);
    EXPECT_THAT(Samples(b.Channel(1)), Each(0.0f));
    EXPECT_EQ(Samples(b.Channel(1)).size(), 1024u);

    ASSERT_TRUE(b.Resize(0, 2));
    EXPECT_EQ(b.FrameCount(), 0);
    EXPECT_EQ(b.ChannelCount(), 2);
    ChannelVector& empty = b.Channel(0);
    EXPECT_EQ(empty.Length(), 0u);
    empty.Resize(3); // written into the shared empty vector: discarded at next use
    EXPECT_EQ(b.Channel(5).Length(), 0u);
}

TEST(SampleBuffer, ResizeLimits) {
    struct Case {
        int frames, channels;
        bool ok;
    };
    const Case cases[] = {{1048576, 1, true}, {1048577, 1, false}, {16, 9, false},
                          {-1, 2, false},     {16, -1, false},     {16, 8, true}};
    for (const Case& c : cases) {
        SampleBuffer b = MakeBuffer({{1, 2, 3}});
        EXPECT_EQ(b.Resize(c.frames, c.channels), c.ok) << c.frames << "x" << c.channels;
        if (!c.ok) {
            EXPECT_EQ(b.FrameCount(), 3);
            EXPECT_EQ(b.ChannelCount(), 1);
            EXPECT_THAT(Samples(b.Channel(0)), ElementsAre(1, 2, 3));
        }
    }
}

TEST(SampleBuffer, Scale) {
    SampleBuffer b = MakeBuffer({{1.0f, -0.0f, 0.3f}, {2.0f, 3.0f, -4.0f}});
    b.Scale(1.0);
    EXPECT_THAT(Samples(b.Channel(0)), ElementsAre(1.0f, -0.0f, 0.3f));
    b.Scale(-0.5);
    EXPECT_THAT(Samples(b.Channel(0)), ElementsAre(-0.5f, 0.0f, 0.3f * -0.5f));
    EXPECT_THAT(Samples(b.Channel(1)), ElementsAre(-1.0f, -1.5f, 2.0f));
    b.Scale(0.0);
    EXPECT_THAT(Samples(b.Channel(0)), Each(0.0f));
    EXPECT_THAT(Samples(b.Channel(1)), Each(0.0f));
}

TEST(SampleBuffer, ZeroRange) {
    SampleBuffer empty;
    EXPECT_TRUE(empty.ZeroRange(5, 0));
    EXPECT_FALSE(empty.ZeroRange(0, 1));

    SampleBuffer b = MakeBuffer({std::vector<float>(1024, 1.0f)});
    EXPECT_FALSE(b.ZeroRange(1000, 100));
    EXPECT_FALSE(b.ZeroRange(-1, 2));
    EXPECT_FALSE(b.ZeroRange(1024, 1));
    EXPECT_FALSE(b.ZeroRange(0, -1));
    EXPECT_THAT(Samples(b.Channel(0)), Each(1.0f));
    EXPECT_TRUE(b.ZeroRange(1020, 4));
    EXPECT_EQ(b.Channel(0).SampleAt(1019), 1.0f);
    EXPECT_EQ(b.Channel(0).SampleAt(1020), 0.0f);
    EXPECT_EQ(b.Channel(0).SampleAt(1023), 0.0f);
}

TEST(SampleBuffer, CopyFrom) {
    SampleBuffer src = MakeBuffer({{1, 2}, {3, 4}});
    SampleBuffer dst = MakeBuffer({{9, 9, 9}});
    dst.CopyFrom(src);
    EXPECT_EQ(dst.ChannelCount(), 2);
    EXPECT_THAT(Samples(dst.Channel(0)), ElementsAre(1, 2));
    EXPECT_THAT(Samples(dst.Channel(1)), ElementsAre(3, 4));
    dst.CopyFrom(dst);
    EXPECT_THAT(Samples(dst.Channel(1)), ElementsAre(3, 4));
}

TEST(SampleBuffer, MixFromGrowsChannelsAndFrames) {
    std::vector<float> l(512), r(512), old(256);
    for (int i = 0; i < 512; ++i) {
        l[i] = static_cast<float>(i);
        r[i] = static_cast<float>(-i);
    }
    for (int i = 0; i < 256; ++i)
        old[i] = 0.5f;
    SampleBuffer dst = MakeBuffer({old});
    ASSERT_TRUE(dst.MixFrom(MakeBuffer({l, r})));
    ASSERT_EQ(dst.ChannelCount(), 2);
    ASSERT_EQ(dst.FrameCount(), 512);
    for (std::uint32_t i = 0; i < 512; ++i) {
        EXPECT_EQ(dst.Channel(0).SampleAt(i), i < 256 ? 0.5f + l[i] : l[i]) << i;
        EXPECT_EQ(dst.Channel(1).SampleAt(i), r[i]) << i;
    }
    SampleBuffer fresh;
    ASSERT_TRUE(fresh.MixFrom(MakeBuffer({{1, 2}})));
    EXPECT_THAT(Samples(fresh.Channel(0)), ElementsAre(1, 2));
}

TEST(SampleBuffer, RemixChannelCount) {
    SampleBuffer mono = MakeBuffer({{1.0f, 3.0f}, {2.0f, -1.0f}});
    ASSERT_TRUE(mono.SetChannelCount(1, true));
    ASSERT_EQ(mono.ChannelCount(), 1);
    EXPECT_THAT(Samples(mono.Channel(0)), ElementsAre(1.5f, 1.0f));

    SampleBuffer three = MakeBuffer({{1, 2}, {3, 4}});
    ASSERT_TRUE(three.SetChannelCount(3, true));
    EXPECT_THAT(Samples(three.Channel(2)), ElementsAre(1, 2));
    EXPECT_THAT(Samples(three.Channel(1)), ElementsAre(3, 4));

    SampleBuffer dup = MakeBuffer({{5, 6}});
    ASSERT_TRUE(dup.SetChannelCount(2, true));
    EXPECT_THAT(Samples(dup.Channel(1)), ElementsAre(5, 6));

    EXPECT_FALSE(dup.SetChannelCount(9, true));
    EXPECT_FALSE(dup.SetChannelCount(-1, true));
    EXPECT_EQ(dup.ChannelCount(), 2);

    SampleBuffer fewer = MakeBuffer({{1}, {2}, {3}});
    ASSERT_TRUE(fewer.SetChannelCount(2, true));
    EXPECT_THAT(Samples(fewer.Channel(1)), ElementsAre(2));

    SampleBuffer noFrames;
    ASSERT_TRUE(noFrames.SetChannelCount(4, true));
    EXPECT_EQ(noFrames.ChannelCount(), 4);
    EXPECT_EQ(noFrames.FrameCount(), 0);
}

} // namespace
} // namespace vindrel
