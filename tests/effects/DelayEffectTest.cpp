#include "effects/DelayEffect.h"
#include "effects/EffectChain.h"
#include "effects/EffectParameters.h"
#include "effects/SettingsText.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

namespace vindrel {
namespace {

// A straightforward model of the delay for checking the effect bit for bit:
// plain arrays, one channel pair, every step written out.
struct ReferenceDelay {
    double delayMs = 300, offsetMs = 0, feedback = 0.5, cross = 0, high = 10, low = 10, wet = 0.5,
           surround = 0, gain = 1;
    int rate = 48000;
    std::vector<float> line[2], offsetLine[2];
    int pos[2] = {0, 0}, offsetPos[2] = {0, 0};
    double highState[2] = {0, 0}, lowState[2] = {0, 0}, crossValue[2] = {0, 0};
    bool prepared = false;

    static float ReadWrite(std::vector<float>& l, int& p, float v, bool writeFirst) {
        if (l.empty())
            return 0.0f;
        float out = 0.0f;
        if (!writeFirst)
            out = l[p];
        l[p] = v;
        p = (p + 1) % static_cast<int>(l.size());
        if (writeFirst)
            out = l[p];
        return out;
    }

    void Prepare() {
        const int main = static_cast<int>(std::trunc(delayMs / 1000.0 * rate));
        const int off = static_cast<int>(std::trunc(std::fabs(offsetMs) / 1000.0 * rate));
        for (int c = 0; c < 2; ++c) {
            line[c].resize(main, 0.0f);
            offsetLine[c].resize(off, 0.0f);
            pos[c] = main ? pos[c] % main : 0;
            offsetPos[c] = off ? offsetPos[c] % off : 0;
            highState[c] = 0.0;
        }
        prepared = true;
    }

    void Process(std::vector<float>& l, std::vector<float>& r) {
        if (!prepared)
            Prepare();
        std::vector<float>* io[2] = {&l, &r};
        std::vector<float> wetOut[2] = {l, r};
        for (std::size_t f = 0; f < l.size(); ++f) {
            for (int c = 0; c < 2; ++c) {
                double s = (*io[c])[f];
                if ((c == 0 && offsetMs < 0) || (c == 1 && offsetMs > 0))
                    s = ReadWrite(offsetLine[c], offsetPos[c], static_cast<float>(s), true);
                const double d = line[c].empty() ? 0.0 : line[c][pos[c]];
                const double a = high / 100, h = highState[c], m = h * 0.0625;
                highState[c] = h - m + d;
                const double y1 = (1 - a) * d + a * m;
                const double b = low / 100;
                const double y2 = (1 - b) * y1 + b * (y1 - lowState[c]);
                lowState[c] = y1;
                ReadWrite(
                    line[c], pos[c],
                    static_cast<float>(s + feedback * ((1 - cross) * y2 + cross * crossValue[c])),
                    false);
                crossValue[c == 0 ? 1 : 0] = y2;
                wetOut[c][f] = static_cast<float>(y2);
            }
        }
        if (surround != 0.0) {
            const float mp = static_cast<float>(-surround);
            const float norm = static_cast<float>(1.0 / (1.0 - surround));
            for (std::size_t f = 0; f < l.size(); ++f) {
                const float wl = wetOut[0][f], wr = wetOut[1][f];
                float nl = (mp * wr) + wl, nr = (mp * wl) + wr;
                if (!(surround > 0)) {
                    nl = norm * nl;
                    nr = norm * nr;
                }
                wetOut[0][f] = nl;
                wetOut[1][f] = nr;
            }
        }
        const float wetGain = static_cast<float>(gain * wet);
        const float dryGain = static_cast<float>((1 - wet) * gain);
        for (int c = 0; c < 2; ++c) {
            for (std::size_t f = 0; f < l.size(); ++f) {
                float w = wetOut[c][f], dry = (*io[c])[f];
                if (wetGain != 1.0f)
                    w = wetGain == 0.0f ? 0.0f : wetGain * w;
                if (dryGain != 1.0f)
                    dry = dryGain == 0.0f ? 0.0f : dryGain * dry;
                (*io[c])[f] = w + dry;
            }
        }
    }
};

struct Fixture {
    EffectChain chain;
    DelayEffect* delay = nullptr;

    explicit Fixture(const std::u16string& settings) {
        chain.BuildFromSettings(settings);
        delay = static_cast<DelayEffect*>(chain.EffectAt(0));
    }

    // A unit impulse at frame 0 of both channels, through the effect.
    std::pair<std::vector<float>, std::vector<float>> Impulse(std::size_t frames) {
        std::vector<float> l(frames, 0.0f), r(frames, 0.0f);
        l[0] = 1.0f;
        r[0] = 1.0f;
        Run(l, r);
        return {l, r};
    }

    // Runs one stereo block through the effect.
    void Run(std::vector<float>& l, std::vector<float>& r) {
        delay->buffer.Resize(static_cast<int>(l.size()), 2);
        for (std::uint32_t i = 0; i < l.size(); ++i) {
            delay->buffer.Channel(0).SampleAt(i) = l[i];
            delay->buffer.Channel(1).SampleAt(i) = r[i];
        }
        delay->Process();
        for (std::uint32_t i = 0; i < l.size(); ++i) {
            l[i] = delay->buffer.Channel(0).SampleAt(i);
            r[i] = delay->buffer.Channel(1).SampleAt(i);
        }
    }
};

std::vector<float> Noise(std::size_t n, unsigned seed) {
    std::vector<float> v(n);
    for (auto& x : v) {
        seed = seed * 1664525u + 1013904223u;
        x = static_cast<float>(static_cast<int>(seed >> 8) % 20001 - 10000) / 10000.0f;
    }
    return v;
}

TEST(DelayEffect, MatchesTheReferenceBitForBit) {
    struct Case {
        const char* name;
        std::u16string settings;
        ReferenceDelay ref;
    };
    auto ref = [](double delayMs, double offsetMs, double fb, double cross, double high, double low,
                  double wet, double surround, double gainDb) {
        ReferenceDelay r;
        r.delayMs = delayMs;
        r.offsetMs = offsetMs;
        r.feedback = fb;
        r.cross = cross;
        r.high = high;
        r.low = low;
        r.wet = wet;
        r.surround = surround;
        r.gain = std::pow(10.0, gainDb / 20.0);
        return r;
    };
    const Case cases[] = {
        {"program default, delay ticked",
         u"[Delay]\r\nDelayMs=250.0\r\nStereoOffsetMs=125.0\r\nWetDryPercent=50",
         ref(250, 125, 0.5, 0, 10, 10, 0.5, 0, 0)},
        {"short lines, cross feedback, negative offset",
         u"[Delay]\r\nDelayMs=3\r\nStereoOffsetMs=-1\r\nCrossFeedBackPercent=40\r\n"
         u"FeedBackPercent=-70\r\nHighDamp=100\r\nLowDamp=0\r\nWetDryPercent=100",
         ref(3, -1, -0.7, 0.4, 100, 0, 1.0, 0, 0)},
        {"surround positive and gain",
         u"[Delay]\r\nDelayMs=2\r\nSurroundPercent=60\r\nGaindB=-6\r\nLowDamp=100",
         ref(2, 0, 0.5, 0, 10, 100, 0.5, 0.6, -6)},
        {"surround negative",
         u"[Delay]\r\nDelayMs=1.5\r\nStereoOffsetMs=0.5\r\nSurroundPercent=-100\r\nHighDamp=0",
         ref(1.5, 0.5, 0.5, 0, 0, 10, 0.5, -1.0, 0)},
        {"zero delay", u"[Delay]\r\nDelayMs=0\r\nWetDryPercent=75",
         ref(0, 0, 0.5, 0, 10, 10, 0.75, 0, 0)},
    };
    for (const Case& c : cases) {
        Fixture fx(c.settings);
        ReferenceDelay r = c.ref;
        for (unsigned block = 0; block < 6; ++block) {
            std::vector<float> l = Noise(1024, block * 2 + 1), rr = Noise(1024, block * 2 + 2);
            std::vector<float> el = l, er = rr;
            fx.Run(l, rr);
            r.Process(el, er);
            ASSERT_EQ(l, el) << c.name << " block " << block;
            ASSERT_EQ(rr, er) << c.name << " block " << block;
        }
    }
}

TEST(DelayEffect, LineLengthsAtTheProgramDefaults) {
    Fixture fx(u"[Delay]\r\nName=Delay\r\nDelayMs=250.0\r\nStereoOffsetMs=125.0\r\n"
               u"FeedBackPercent=50.0\r\nWetDryPercent=0.0");
    std::vector<float> l(1024, 0.0f), r(1024, 0.0f);
    fx.Run(l, r);
    ASSERT_EQ(fx.delay->MainLines().size(), 2u);
    EXPECT_EQ(fx.delay->MainLines()[0].Length(), 12000);
    EXPECT_EQ(fx.delay->OffsetLines()[1].Length(), 6000);
    // Dry only: the output is the input.
    std::vector<float> in = Noise(1024, 9), l2 = in, r2 = in;
    fx.Run(l2, r2);
    EXPECT_EQ(l2, in);
    EXPECT_EQ(r2, in);
}

// An impulse on each channel, dry off, no damping and no feedback: the left
// echo comes after the main delay, the right one after main + offset - 1.
TEST(DelayEffect, OffsetDelaysTheOddChannel) {
    Fixture fx(u"[Delay]\r\nDelayMs=1\r\nStereoOffsetMs=0.5\r\nWetDryPercent=100\r\n"
               u"HighDamp=0\r\nLowDamp=0\r\nFeedBackPercent=0");
    auto [l, r] = fx.Impulse(128);
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(l[i], i == 48 ? 1.0f : 0.0f) << i;
        EXPECT_EQ(r[i], i == 48 + 23 ? 1.0f : 0.0f) << i;
    }
}

TEST(DelayEffect, ParameterRefusalsAndRoundTrip) {
    DelayEffect d(nullptr);
    struct Case {
        const char16_t* key;
        const char16_t* value;
        bool accepted;
    };
    const Case cases[] = {
        {u"FeedBackPercent", u"150", false}, {u"HighDamp", u"101", false},
        {u"FeedBackPercent", u"-100", true}, {u"LowDamp", u"0", true},
        {u"LowDamp", u"0", false},           {u"WetDryPercent", u"-1", false},
        {u"SurroundPercent", u"-100", true}, {u"DelayMs", u"300", false},
        {u"DelayMs", u"-1", true},           {u"GaindB", u"0", false},
        {u"delayms", u"5", false},           {u"CrossFeedBackPercent", u"100.5", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(d.SetParameter(c.key, c.value), c.accepted)
            << std::u16string(c.key).size() << " " << c.accepted;

    DelayEffect fresh(nullptr);
    fresh.SetParameter(u"Name", u"Delay");
    EXPECT_EQ(fresh.ToSettingsText(),
              u"[Delay]\r\nName=Delay\r\nDelayMs=300.000000\r\nFeedBackPercent=50.000000\r\n"
              u"StereoOffsetMs=0.000000\r\nCrossFeedBackPercent=0.000000\r\nHighDamp=10.000000\r\n"
              u"LowDamp=10.000000\r\nWetDryPercent=50.000000\r\nSurroundPercent=0.000000\r\n"
              u"GaindB=0.000000");

    // Written text reads back to the same values.
    DelayEffect odd(nullptr);
    for (auto [k, v] : {std::pair{u"DelayMs", u"12.5"},
                        {u"GaindB", u"-6"},
                        {u"CrossFeedBackPercent", u"-33"},
                        {u"HighDamp", u"0.1"}})
        odd.SetParameter(k, v);
    SettingsText text;
    ASSERT_TRUE(text.Parse(odd.ToSettingsText()));
    ASSERT_EQ(text.SectionCount(), 1);
    EXPECT_EQ(text.SectionAt(0).EntryCount(), 10);
    DelayEffect back(nullptr);
    for (int i = 0; i < text.SectionAt(0).EntryCount(); ++i)
        back.SetParameter(text.SectionAt(0).EntryAt(i).first, text.SectionAt(0).EntryAt(i).second);
    for (const char16_t* key : {u"DelayMs", u"CrossFeedBackPercent", u"HighDamp"}) {
        std::u16string a, b;
        odd.GetParameter(key, a);
        back.GetParameter(key, b);
        EXPECT_EQ(a, b);
    }
    std::u16string gainText;
    back.GetParameter(u"GaindB", gainText);
    EXPECT_EQ(gainText.substr(0, 6), u"-6.000");

    auto clone = odd.Clone(nullptr);
    std::u16string a, b;
    odd.GetParameter(u"DelayMs", a);
    clone->GetParameter(u"DelayMs", b);
    EXPECT_EQ(a, b);
    EXPECT_TRUE(clone->name.empty());
}

TEST(DelayEffect, GrowingAndShrinkingKeepsContentAndWrapsThePosition) {
    Fixture fx(u"[Delay]\r\nDelayMs=250\r\nWetDryPercent=0");
    std::vector<float> l = Noise(1024, 3), r = Noise(1024, 4);
    for (int i = 0; i < 13; ++i) // 13312 frames: the 12000-sample line has wrapped once
        fx.Run(l, r);
    const DelayLine& before = fx.delay->MainLines()[0];
    const int position = before.Position();
    EXPECT_EQ(position, 13312 % 12000);
    std::vector<float> old(12000);
    for (int i = 0; i < 12000; ++i)
        old[i] = const_cast<DelayLine&>(before).Samples().SampleAt(i);

    ASSERT_TRUE(SetParameterInteger(*fx.delay, u"DelayMs", 500));
    EXPECT_TRUE(fx.delay->NeedsPrepare());
    ASSERT_TRUE(fx.delay->PrepareLines(2));
    DelayLine& grown = const_cast<DelayLine&>(fx.delay->MainLines()[0]);
    EXPECT_EQ(grown.Length(), 24000);
    EXPECT_EQ(grown.Position(), position);
    for (int i = 0; i < 24000; ++i)
        ASSERT_EQ(grown.Samples().SampleAt(i), i < 12000 ? old[i] : 0.0f) << i;

    for (int i = 0; i < 20; ++i) // 20480 frames more: position 1312 + 20480 = 21792
        fx.Run(l, r);
    ASSERT_TRUE(SetParameterInteger(*fx.delay, u"DelayMs", 250));
    ASSERT_TRUE(fx.delay->PrepareLines(2));
    EXPECT_EQ(fx.delay->MainLines()[0].Length(), 12000);
    EXPECT_EQ(fx.delay->MainLines()[0].Position(), 21792 % 12000);
}

TEST(DelayEffect, UnusableDelayPassesTheBlockThrough) {
    Fixture fx(u"[Delay]\r\nDelayMs=-1\r\nWetDryPercent=100\r\nGaindB=6");
    std::vector<float> in = Noise(256, 5), l = in, r = in;
    fx.Run(l, r);
    EXPECT_EQ(l, in);
    EXPECT_TRUE(fx.delay->NeedsPrepare());
    SetParameterInteger(*fx.delay, u"DelayMs", 1);
    l = in;
    r = in;
    fx.Run(l, r);
    EXPECT_NE(l, in);
    EXPECT_FALSE(fx.delay->NeedsPrepare());
}

TEST(DelayEffect, TinyOffsetStarvesTheOddChannelOfNewEchoes) {
    Fixture fx(u"[Delay]\r\nDelayMs=1\r\nStereoOffsetMs=0.01\r\nWetDryPercent=100\r\n"
               u"HighDamp=0\r\nLowDamp=0");
    auto [l, r] = fx.Impulse(256);
    EXPECT_EQ(fx.delay->OffsetLines()[1].Length(), 0);
    EXPECT_EQ(l[48], 1.0f);
    EXPECT_EQ(l[96], 0.5f);
    for (float x : r)
        EXPECT_EQ(x, 0.0f);
}

TEST(DelayEffect, MonoBlockFeedsItsOwnOutputBack) {
    Fixture fx(u"[Delay]\r\nDelayMs=1\r\nCrossFeedBackPercent=100\r\nFeedBackPercent=100\r\n"
               u"WetDryPercent=100\r\nHighDamp=0\r\nLowDamp=0");
    fx.delay->buffer.Resize(200, 1);
    fx.delay->buffer.Channel(0).SampleAt(0) = 1.0f;
    fx.delay->Process();
    // cross = 1: the channel's own previous output feeds the line.
    EXPECT_EQ(fx.delay->buffer.Channel(0).SampleAt(48), 1.0f);
    EXPECT_EQ(fx.delay->buffer.Channel(0).SampleAt(49), 0.0f);
    EXPECT_EQ(fx.delay->buffer.Channel(0).SampleAt(97), 1.0f);
}

// The UI thread changes the delay time while the audio thread processes: the
// last change is in effect from the next block on, whatever the interleaving.
TEST(DelayEffect, ChangesFromAnotherThreadAreNeverLost) {
    Fixture fx(u"[Delay]\r\nDelayMs=250\r\nWetDryPercent=50");
    std::atomic<bool> done{false};
    std::thread ui([&] {
        for (int ms = 1; ms <= 400; ++ms) {
            SetParameterInteger(*fx.delay, u"DelayMs", ms);
            SetParameterInteger(*fx.delay, u"StereoOffsetMs", ms / 2);
            std::this_thread::yield();
        }
        done = true;
    });
    std::vector<float> l = Noise(256, 1), r = Noise(256, 2);
    while (!done)
        fx.Run(l, r);
    ui.join();
    fx.Run(l, r);
    EXPECT_EQ(fx.delay->MainLines()[0].Length(), 400 * 48);
    EXPECT_EQ(fx.delay->OffsetLines()[1].Length(), 200 * 48);
}

} // namespace
} // namespace vindrel
