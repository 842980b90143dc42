#include "effects/EffectChain.h"
#include "effects/DelayControls.h"
#include "effects/DelayEffect.h"

#include <gtest/gtest.h>

#include <vector>

namespace vindrel {
namespace {

SampleBuffer Block(int frames, float first) {
    SampleBuffer b;
    b.Resize(frames, 2);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < frames; ++i)
            b.Channel(c).SampleAt(static_cast<std::uint32_t>(i)) = first + static_cast<float>(i);
    return b;
}

bool SameSamples(const SampleBuffer& a, const SampleBuffer& b) {
    if (a.ChannelCount() != b.ChannelCount() || a.FrameCount() != b.FrameCount())
        return false;
    for (int c = 0; c < a.ChannelCount(); ++c)
        for (int i = 0; i < a.FrameCount(); ++i)
            if (a.Channel(c).Data()[i] != b.Channel(c).Data()[i])
                return false;
    return true;
}

TEST(EffectChain, EmptyChainAndEmptyBlock) {
    EffectChain chain;
    SampleBuffer block = Block(16, 1.0f);
    EXPECT_TRUE(chain.ProcessBlock(block));
    EXPECT_TRUE(SameSamples(block, Block(16, 1.0f)));
    SampleBuffer empty;
    EXPECT_FALSE(chain.ProcessBlock(empty));
    EXPECT_FALSE(chain.BuildFromSettings(u""));
    EXPECT_EQ(chain.EffectCount(), 0);
}

TEST(EffectChain, DefaultTextBuildsOneSilentDelay) {
    EffectChain chain;
    EXPECT_TRUE(chain.BuildFromSettings(defaultEffectSettings));
    ASSERT_EQ(chain.EffectCount(), 1);
    EXPECT_EQ(chain.FindEffect(u"Delay"), 0);
    std::u16string value;
    chain.EffectAt(0)->GetParameter(u"WetDryPercent", value);
    EXPECT_EQ(value, u"0.000000");
    chain.EffectAt(0)->GetParameter(u"StereoOffsetMs", value);
    EXPECT_EQ(value, u"125.000000");
    SampleBuffer block = Block(64, 0.25f);
    EXPECT_TRUE(chain.ProcessBlock(block));
    EXPECT_TRUE(SameSamples(block, Block(64, 0.25f)));

    // Built twice: two effects named Delay, and only the first is found.
    EXPECT_TRUE(chain.BuildFromSettings(defaultEffectSettings));
    EXPECT_EQ(chain.EffectCount(), 2);
    EXPECT_TRUE(SetDelayEnabled(chain, true));
    chain.EffectAt(0)->GetParameter(u"WetDryPercent", value);
    EXPECT_EQ(value, u"50.000000");
    chain.EffectAt(1)->GetParameter(u"WetDryPercent", value);
    EXPECT_EQ(value, u"0.000000");
}

TEST(EffectChain, UnknownSectionsAreSkipped) {
    EffectChain chain;
    chain.BuildFromSettings(u"[delay]\r\nName=a\r\n[Echo]\r\nName=b\r\n[Delay]\r\nName=c");
    ASSERT_EQ(chain.EffectCount(), 1);
    EXPECT_EQ(chain.EffectAt(0)->name, u"c");
    EXPECT_EQ(chain.FindEffect(u"a"), -1);
    EXPECT_FALSE(chain.SetEffectParameter(u"a", u"DelayMs", 5));
}

TEST(EffectChain, Routing) {
    // Wet only, 1 ms, no damping, no feedback: each delay shifts its input by 48 frames.
    const std::u16string shift =
        u"DelayMs=1\r\nWetDryPercent=100\r\nHighDamp=0\r\nLowDamp=0\r\nFeedBackPercent=0";
    struct Case {
        const char* name;
        std::u16string text;
        int expectedShift; // -1: the block leaves empty
    };
    const Case cases[] = {
        {"B fed by A",
         u"[Delay]\r\nName=A\r\n" + shift + u"\r\n[Delay]\r\nName=B\r\nSrcName=A\r\n" + shift, 96},
        {"B without source",
         u"[Delay]\r\nName=A\r\n" + shift + u"\r\n[Delay]\r\nName=B\r\n" + shift, -1},
        {"B names a missing effect",
         u"[Delay]\r\nName=A\r\n" + shift + u"\r\n[Delay]\r\nName=B\r\nSrcName=Z\r\n" + shift, -1},
        {"one effect", u"[Delay]\r\nName=A\r\n" + shift, 48},
    };
    for (const Case& c : cases) {
        EffectChain chain;
        chain.BuildFromSettings(c.text);
        SampleBuffer block;
        block.Resize(256, 2);
        block.Channel(0).SampleAt(0) = 1.0f;
        ASSERT_TRUE(chain.ProcessBlock(block)) << c.name;
        if (c.expectedShift < 0) {
            EXPECT_EQ(block.FrameCount(), 0) << c.name;
            EXPECT_EQ(block.ChannelCount(), 0) << c.name;
            continue;
        }
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(block.Channel(0).SampleAt(static_cast<std::uint32_t>(i)),
                      i == c.expectedShift ? 1.0f : 0.0f)
                << c.name << " " << i;
    }
}

TEST(EffectChain, ResolveSourcesAllowsSelfAndRepeats) {
    EffectChain chain;
    chain.BuildFromSettings(u"[Delay]\r\nName=A\r\nSrcName=A,A,Q");
    EXPECT_EQ(chain.EffectAt(0)->sources.size(), 2u);
    EXPECT_FALSE(chain.ResolveSources(1));
    EXPECT_FALSE(chain.ResolveSources(-1));
}

TEST(EffectChain, SampleRateRange) {
    EffectChain chain;
    struct Case {
        int rate;
        bool ok;
    };
    const Case cases[] = {{48000, false}, {3999, false},  {192001, false},
                          {4000, true},   {192000, true}, {192000, false}};
    for (const Case& c : cases)
        EXPECT_EQ(chain.SetSampleRate(c.rate), c.ok) << c.rate;
    EXPECT_EQ(chain.SampleRate(), 192000);
}

TEST(EffectChain, SliderSendsTimeAndHalfOffset) {
    struct Case {
        int position;
        const char16_t* delay;
        const char16_t* offset;
    };
    const Case cases[] = {{1, u"1.000000", u"0.000000"},
                          {251, u"251.000000", u"125.000000"},
                          {1000, u"1000.000000", u"500.000000"}};
    for (const Case& c : cases) {
        EffectChain chain;
        chain.BuildFromSettings(defaultEffectSettings);
        SetDelayTime(chain, c.position);
        std::u16string value;
        chain.EffectAt(0)->GetParameter(u"DelayMs", value);
        EXPECT_EQ(value, c.delay);
        chain.EffectAt(0)->GetParameter(u"StereoOffsetMs", value);
        EXPECT_EQ(value, c.offset);
    }
}

} // namespace
} // namespace vindrel
