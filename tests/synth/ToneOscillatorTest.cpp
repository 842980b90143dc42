#include "synth/ToneOscillator.h"
#include "synth/NoiseGenerator.h"

#include "core/VectorKernels.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace vindrel {
namespace {

std::vector<float> Render(ToneOscillator& osc, std::int64_t position, std::uint32_t n,
                          bool square) {
    ChannelVector v;
    v.Resize(n);
    osc.SetPosition(position);
    if (square)
        osc.RenderSquare(v);
    else
        osc.RenderSine(v);
    return std::vector<float>(v.Data(), v.Data() + n);
}

TEST(ToneOscillator, DefaultSineSamplesAndSumming) {
    ToneOscillator osc;
    EXPECT_EQ(osc.Frequency(), 1000.0);
    EXPECT_EQ(osc.SampleRate(), 48000);
    ChannelVector v;
    v.Resize(64);
    osc.RenderSine(v);
    const double step = 1000.0 * 6.283185307179586 / 48000;
    for (std::uint32_t i = 0; i < 64; ++i)
        ASSERT_EQ(v.SampleAt(i), static_cast<float>(std::sin(static_cast<double>(i) * step))) << i;
    std::vector<float> once(v.Data(), v.Data() + 64);
    osc.RenderSine(v);
    for (std::uint32_t i = 0; i < 64; ++i)
        ASSERT_EQ(v.SampleAt(i), once[i] + once[i]) << i;
}

TEST(ToneOscillator, BlocksJoinWithoutASeam) {
    for (bool square : {false, true}) {
        for (double f : {174.0, 528.0, 963.0}) {
            ToneOscillator a, b;
            a.SetFrequency(f);
            b.SetFrequency(f);
            std::vector<float> whole = Render(a, 0, 2048, square);
            std::vector<float> first = Render(b, 0, 1024, square);
            std::vector<float> second = Render(b, 1024, 1024, square);
            first.insert(first.end(), second.begin(), second.end());
            EXPECT_EQ(first, whole) << f << (square ? " square" : " sine");
        }
    }
}

TEST(ToneOscillator, SquareSwitchPoints) {
    ToneOscillator osc;
    std::vector<float> s = Render(osc, 0, 96, true);
    for (int i = 0; i < 96; ++i)
        EXPECT_EQ(s[i], (i % 48) < 24 ? 1.0f : -1.0f) << i;

    osc.SetFrequency(174.0);
    s = Render(osc, 1, 300, true); // position 1 so it differs from the last call
    for (int t = 1; t < 301; ++t) {
        const float expected = t <= 137 ? 1.0f : (t <= 275 ? -1.0f : 1.0f);
        EXPECT_EQ(s[t - 1], expected) << t;
    }
}

TEST(ToneOscillator, RefusedSettings) {
    ToneOscillator osc;
    EXPECT_FALSE(osc.SetFrequency(0.0));
    EXPECT_FALSE(osc.SetFrequency(-5.0));
    EXPECT_FALSE(osc.SetFrequency(std::nan("")));
    EXPECT_FALSE(osc.SetFrequency(1000.0));
    EXPECT_EQ(osc.Frequency(), 1000.0);
    ChannelVector v;
    v.Resize(4);
    osc.RenderNoise(v); // clears needsRedesign
    EXPECT_FALSE(osc.NeedsRedesign());
    EXPECT_FALSE(osc.SetPosition(0));
    EXPECT_FALSE(osc.NeedsRedesign());
    EXPECT_TRUE(osc.SetPosition(5));
    EXPECT_TRUE(osc.NeedsRedesign());
    osc.SetSampleRate(-1);
    osc.SetSampleRate(0);
    EXPECT_EQ(osc.SampleRate(), 48000);
}

TEST(NoiseGenerator, StartsFromTheFirstRandValueAndMultipliesBy16807) {
    std::srand(1); // the state an unseeded C library starts in
    const auto first = static_cast<std::uint32_t>(std::rand());
    std::srand(1);
    NoiseGenerator g;
    std::uint32_t expected = first * 16807u;
    for (int i = 0; i < 1000; ++i) {
        const float x = g.Next();
        ASSERT_EQ(g.State(), expected) << i;
        ASSERT_EQ(x, std::bit_cast<float>((expected >> 9) | 0x40000000u) - 3.0f);
        ASSERT_GE(x, -1.0f);
        ASSERT_LT(x, 1.0f);
        expected *= 16807u;
    }
}

TEST(ToneOscillator, BandPassDesign) {
    ToneOscillator osc;
    EXPECT_FALSE(osc.DesignBandPass(0.5, 12));
    EXPECT_FALSE(osc.DesignBandPass(0.0, 12));
    EXPECT_FALSE(osc.DesignBandPass(0.01, 13));
    EXPECT_FALSE(osc.DesignBandPass(0.01, -12.5));
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(osc.Tap(k), 0.0f);

    ASSERT_TRUE(osc.DesignBandPass(0.011, 12));
    const double w = 0.011 * 6.283185307179586;
    const double alpha = std::sin(w) / (2.0 * 4096.0);
    EXPECT_EQ(osc.Tap(0), static_cast<float>(alpha));
    EXPECT_EQ(osc.Tap(1), 0.0f);
    EXPECT_EQ(osc.Tap(2), -osc.Tap(0));
    EXPECT_EQ(osc.Tap(3), static_cast<float>(1.0 + alpha));
    EXPECT_EQ(osc.Tap(4), static_cast<float>(-2.0 * std::cos(w)));
    EXPECT_EQ(osc.Tap(5), static_cast<float>(1.0 - alpha));

    EXPECT_FALSE(osc.SetTap(6, 1.0f));
    EXPECT_FALSE(osc.SetTap(-1, 1.0f));
    EXPECT_FALSE(osc.SetTap(1, 0.0f)); // same value
}

// The noise voice against its own definition: the shared noise sequence
// through a biquad made from the design, scaled by 128.
TEST(ToneOscillator, NoiseIsTheBandPassedSequence) {
    ToneOscillator osc;
    osc.SetFrequency(528.0);
    ChannelVector v;
    v.Resize(512);
    // Peek at the generator's next values through a copy of its seeded state.
    NoiseGenerator::Instance().Next();
    NoiseGenerator peek = NoiseGenerator::Instance();
    osc.RenderNoise(v);

    const float taps[6] = {osc.Tap(0), osc.Tap(1), osc.Tap(2), osc.Tap(3), osc.Tap(4), osc.Tap(5)};
    IirState* ref = nullptr;
    ASSERT_EQ(IirCreate(&ref, taps, 2, nullptr), StatusOk);
    for (std::uint32_t i = 0; i < 512; ++i) {
        float y = 0.0f;
        IirFilterSample(peek.Next(), &y, ref);
        ASSERT_EQ(v.SampleAt(i), 0.0f + y * 128.0f) << i;
    }
    IirFree(ref);
}

TEST(ToneOscillator, RetuningKeepsTheFilterMemory) {
    ToneOscillator osc;
    osc.SetFrequency(528.0);
    ChannelVector v;
    v.Resize(256);
    osc.RenderNoise(v);
    ASSERT_TRUE(osc.HasFilter());

    // Same frequency, new position: the taps come out identical, the filter stays.
    osc.SetPosition(256);
    osc.RenderNoise(v);
    EXPECT_TRUE(osc.HasFilter());

    // A new frequency drops the filter; its two delay-line values are kept.
    osc.SetFrequency(639.0);
    osc.DesignBandPass(639.0 / 48000, 12.0);
    EXPECT_FALSE(osc.HasFilter());
    EXPECT_NE(osc.SavedDelayLine(0), 0.0f);
}

TEST(ToneOscillator, AboveNyquistGivesSilence) {
    ToneOscillator osc;
    osc.SetFrequency(30000.0);
    ChannelVector v;
    v.Resize(64);
    osc.RenderNoise(v);
    for (std::uint32_t i = 0; i < 64; ++i)
        EXPECT_EQ(v.SampleAt(i), 0.0f);
    EXPECT_FALSE(osc.HasFilter());
}

} // namespace
} // namespace vindrel
