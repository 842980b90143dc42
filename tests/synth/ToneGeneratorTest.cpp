#include "synth/ToneGenerator.h"

#include "core/SampleBuffer.h"
#include "effects/DelayControls.h"
#include "synth/WaveType.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace vindrel {
namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Renderer {
    ToneSettings settings;
    EffectChain chain; // empty: passes blocks unchanged
    ToneGenerator generator;
    SampleBuffer block;

    void Tick(std::initializer_list<int> indexes) {
        for (auto& f : settings.frequencyChecked)
            f = false;
        for (int i : indexes)
            settings.frequencyChecked[static_cast<std::size_t>(i)] = true;
    }
    bool Render(std::int64_t position, int channels = 2) {
        block.Resize(1024, channels);
        for (int c = 0; c < channels; ++c)
            block.Channel(c).SampleAt(7) = 99.0f; // stale content must go
        return generator.Render(position, block, settings, chain, 48000);
    }
    float At(int c, int i) const { return block.Channel(c).Data()[i]; }
};

float Sine(double f, std::int64_t t) {
    return static_cast<float>(std::sin(static_cast<double>(t) * (f * kTwoPi / 48000)));
}

TEST(ToneGenerator, NothingTickedIsSilentWithEmptyVoiceLists) {
    Renderer r;
    ASSERT_TRUE(r.Render(0));
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 1024; ++i)
            ASSERT_EQ(r.At(c, i), 0.0f);
    ASSERT_EQ(r.generator.VoiceLists().size(), 2u);
    EXPECT_TRUE(r.generator.VoiceLists()[0].empty());
}

TEST(ToneGenerator, OneSineAtFullLevel) {
    Renderer r;
    r.Tick({4});
    ASSERT_TRUE(r.Render(2048));
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 1024; ++i)
            ASSERT_EQ(r.At(c, i), 0.0f + Sine(528.0, 2048 + i)) << i;
}

TEST(ToneGenerator, TwoSquaresMixAtHalf) {
    Renderer r;
    r.Tick({0, 4});
    r.settings.waveType = Square;
    ASSERT_TRUE(r.Render(0));
    std::set<float> levels;
    for (int i = 0; i < 1024; ++i)
        levels.insert(r.At(0, i));
    EXPECT_EQ(levels, (std::set<float>{-1.0f, 0.0f, 1.0f}));
}

TEST(ToneGenerator, TickingInTheMiddleRetunesAndAppends) {
    Renderer r;
    r.Tick({0, 4});
    ASSERT_TRUE(r.Render(0));
    r.Tick({0, 1, 4});
    ASSERT_TRUE(r.Render(1024));
    const auto& voices = r.generator.VoiceLists()[1];
    ASSERT_EQ(voices.size(), 3u);
    EXPECT_EQ(voices[1].Frequency(), 285.0);
    EXPECT_EQ(voices[2].Frequency(), 528.0);
    const float third = 1.0f / 3.0f;
    for (int i = 0; i < 1024; i += 97) {
        float sum = 0.0f;
        sum = sum + Sine(174.0, 1024 + i);
        sum = sum + Sine(285.0, 1024 + i);
        sum = sum + Sine(528.0, 1024 + i);
        EXPECT_EQ(r.At(0, i), third * sum) << i;
    }
}

TEST(ToneGenerator, LfoMultipliesByAOneHertzSine) {
    Renderer r;
    r.Tick({4});
    r.settings.lfoEnabled = true;
    ASSERT_TRUE(r.Render(0));
    EXPECT_EQ(r.At(0, 0), 0.0f);
    EXPECT_EQ(r.generator.Lfo().Frequency(), 1.0);
    const std::int64_t quarter = 12000;
    ASSERT_TRUE(r.Render(quarter));
    EXPECT_EQ(r.At(1, 0), Sine(1.0, quarter) * (0.0f + Sine(528.0, quarter)));
    EXPECT_EQ(Sine(1.0, quarter), 1.0f);
    ASSERT_TRUE(r.Render(36000));
    EXPECT_EQ(r.At(0, 5), Sine(1.0, 36005) * (0.0f + Sine(528.0, 36005)));
    EXPECT_LT(Sine(1.0, 36005), -0.99f);
}

TEST(ToneGenerator, UndefinedWaveTypeAddsNothing) {
    Renderer r;
    r.Tick({2, 3});
    r.settings.waveType = 3;
    ASSERT_TRUE(r.Render(0));
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(r.At(0, i), 0.0f);
    EXPECT_EQ(r.generator.VoiceLists()[0].size(), 2u);
}

TEST(ToneGenerator, ChannelCountFollowsTheBlock) {
    Renderer r;
    r.Tick({8});
    ASSERT_TRUE(r.Render(0, 3));
    EXPECT_EQ(r.generator.VoiceLists().size(), 3u);
    EXPECT_EQ(r.At(2, 100), 0.0f + Sine(963.0, 100));
    ASSERT_TRUE(r.Render(1024, 2));
    EXPECT_EQ(r.generator.VoiceLists().size(), 2u);
}

TEST(ToneGenerator, NoiseDiffersBetweenChannels) {
    Renderer r;
    r.Tick({4});
    r.settings.waveType = NoiseBandPass;
    for (int b = 0; b < 4; ++b)
        ASSERT_TRUE(r.Render(b * 1024));
    int differing = 0;
    for (int i = 0; i < 1024; ++i)
        differing += r.At(0, i) != r.At(1, i);
    EXPECT_GT(differing, 1000);
}

TEST(ToneGenerator, EmptyBlockFailsAtTheLfo) {
    Renderer r;
    r.settings.lfoEnabled = true;
    r.block.Resize(0, 2);
    EXPECT_FALSE(r.generator.Render(0, r.block, r.settings, r.chain, 48000));
}

TEST(ToneGenerator, RunsTheChainAfterTheMix) {
    Renderer r;
    r.chain.BuildFromSettings(defaultEffectSettings);
    SetDelayEnabled(r.chain, true);
    SetDelayTime(r.chain, 1);
    r.Tick({4});
    ASSERT_TRUE(r.Render(0));
    // Half dry, half wet: the first 48 frames carry half the tone (wet still silent).
    EXPECT_EQ(r.At(0, 10), 0.5f * (0.0f + Sine(528.0, 10)));
    EXPECT_NE(r.At(0, 100), 0.5f * (0.0f + Sine(528.0, 100)));
}

} // namespace
} // namespace vindrel
