#include "DelayEffect.h"

#include "EffectChain.h"
#include "EffectParameters.h"
#include "core/Pools.h"
#include "core/VectorKernels.h"

#include <cmath>
#include <limits>

namespace vindrel {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Samples for a time at a rate, truncated toward zero; -1 when it cannot be an int.
int LineLength(double ms, int rate) {
    const double samples = std::trunc(ms / 1000.0 * rate);
    if (!(samples >= 0.0 && samples <= std::numeric_limits<int>::max()))
        return -1;
    return static_cast<int>(samples);
}

} // namespace

bool DelayLine::SetLength(int n) {
    if (n < 0 || !samples.Resize(static_cast<std::uint32_t>(n))) {
        samples.Resize(0);
        position = 0;
        return false;
    }
    position = n == 0 ? 0 : position % n;
    return true;
}

void DelayLine::Write(float v) {
    const int length = Length();
    if (length == 0)
        return;
    samples.Data()[position] = v;
    if (++position == length)
        position = 0;
}

float DelayLine::Read() const {
    if (Length() == 0)
        return 0.0f;
    return samples.Data()[position];
}

DelayEffect::DelayEffect(EffectChain* chain) : Effect(chain) {}

bool DelayEffect::SetParameter(const std::u16string& key, const std::u16string& value) {
    struct Rule {
        const char16_t* key;
        std::atomic<double>* field;
        double lo, hi;
        bool percent, decibels, marked;
    };
    constexpr double any = std::numeric_limits<double>::infinity();
    const Rule rules[] = {
        {u"DelayMs", &delayMs, -any, any, false, false, true},
        {u"StereoOffsetMs", &stereoOffsetMs, -any, any, false, false, true},
        {u"FeedBackPercent", &feedback, -1.0, 1.0, true, false, false},
        {u"CrossFeedBackPercent", &crossFeedback, -1.0, 1.0, true, false, false},
        {u"HighDamp", &highDampPercent, 0.0, 100.0, false, false, true},
        {u"LowDamp", &lowDampPercent, 0.0, 100.0, false, false, true},
        {u"WetDryPercent", &wetFraction, 0.0, 1.0, true, false, false},
        {u"SurroundPercent", &surroundFraction, -1.0, 1.0, true, false, false},
        {u"GaindB", &gain, -any, any, false, true, false},
    };
    for (const Rule& rule : rules) {
        if (key != rule.key)
            continue;
        double x = ParseNumber(value);
        if (rule.percent)
            x /= 100.0;
        if (rule.decibels)
            x = DecibelsToGain(x);
        // NaN fails both bounds and is refused.
        if (!(x >= rule.lo && x <= rule.hi))
            return false;
        if (x == rule.field->load(relaxed))
            return false;
        rule.field->store(x, relaxed);
        if (rule.marked)
            needsPrepare.store(true);
        return true;
    }
    return Effect::SetParameter(key, value);
}

bool DelayEffect::GetParameter(const std::u16string& key, std::u16string& value) const {
    double x;
    if (key == u"DelayMs")
        x = delayMs.load(relaxed);
    else if (key == u"FeedBackPercent")
        x = feedback.load(relaxed) * 100.0;
    else if (key == u"StereoOffsetMs")
        x = stereoOffsetMs.load(relaxed);
    else if (key == u"CrossFeedBackPercent")
        x = crossFeedback.load(relaxed) * 100.0;
    else if (key == u"HighDamp")
        x = highDampPercent.load(relaxed);
    else if (key == u"LowDamp")
        x = lowDampPercent.load(relaxed);
    else if (key == u"WetDryPercent")
        x = wetFraction.load(relaxed) * 100.0;
    else if (key == u"SurroundPercent")
        x = surroundFraction.load(relaxed) * 100.0;
    else if (key == u"GaindB")
        x = GainToDecibels(gain.load(relaxed));
    else
        return false;
    value = FormatNumber(x);
    return true;
}

std::u16string DelayEffect::ToSettingsText() const {
    std::u16string text = u"[Delay]\r\nName=" + name;
    for (const char16_t* key :
         {u"DelayMs", u"FeedBackPercent", u"StereoOffsetMs", u"CrossFeedBackPercent", u"HighDamp",
          u"LowDamp", u"WetDryPercent", u"SurroundPercent", u"GaindB"}) {
        std::u16string value;
        GetParameter(key, value);
        text += u"\r\n";
        text += key;
        text += u"=" + value;
    }
    return text;
}

void DelayEffect::Reset() {
    preparedRate = 0;
    mainLines.clear();
    offsetLines.clear();
    highDamp = {};
    lowDamp = {};
    crossValues = {};
    needsPrepare.store(true);
    Effect::Reset();
}

std::unique_ptr<Effect> DelayEffect::Clone(EffectChain* owner) const {
    auto copy = std::make_unique<DelayEffect>(owner);
    for (auto field :
         {&DelayEffect::delayMs, &DelayEffect::stereoOffsetMs, &DelayEffect::feedback,
          &DelayEffect::crossFeedback, &DelayEffect::highDampPercent, &DelayEffect::lowDampPercent,
          &DelayEffect::wetFraction, &DelayEffect::surroundFraction, &DelayEffect::gain})
        (copy.get()->*field).store((this->*field).load(relaxed), relaxed);
    return copy;
}

bool DelayEffect::PrepareLines(int n) {
    if (n <= 0)
        return false;
    const int rate = chain != nullptr ? chain->SampleRate() : 0;
    if (rate <= 0)
        return false;
    if (static_cast<int>(mainLines.size()) == n && !needsPrepare.load() && rate == preparedRate)
        return true;
    // Cleared before the values are read: a change that lands meanwhile sets
    // it again and is picked up at the next block.
    needsPrepare.store(false);
    const auto count = static_cast<std::size_t>(n);
    mainLines.resize(count);
    offsetLines.resize(count);
    highDamp.resize(count);
    lowDamp.resize(count);
    crossValues.resize(count, 0.0);
    const int mainLength = LineLength(delayMs.load(relaxed), rate);
    const int offsetLength = LineLength(std::fabs(stereoOffsetMs.load(relaxed)), rate);
    const double low = lowDampPercent.load(relaxed) / 100.0;
    const double high = highDampPercent.load(relaxed) / 100.0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!mainLines[i].SetLength(mainLength) || !offsetLines[i].SetLength(offsetLength)) {
            needsPrepare.store(true);
            return false;
        }
        lowDamp[i].coefficient = low;
        highDamp[i].coefficient = high;
        highDamp[i].state = 0.0;
    }
    preparedRate = rate;
    return true;
}

bool DelayEffect::Process() {
    TakeInput();
    const int channels = buffer.ChannelCount();
    const int frames = buffer.FrameCount();
    if (channels <= 0 || frames <= 0)
        return true;
    if (!PrepareLines(channels))
        return false;

    PooledBuffer wet = BufferPool::Instance().Acquire();
    wet->CopyFrom(buffer);
    float* wetData[SampleBuffer::MaxChannels];
    for (int c = 0; c < channels; ++c)
        wetData[c] = wet->Channel(c).Data();

    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            double s = wetData[c][f];
            const double offset = stereoOffsetMs.load(relaxed);
            if ((c % 2 == 0 && offset < 0.0) || (c % 2 == 1 && offset > 0.0)) {
                offsetLines[c].Write(static_cast<float>(s));
                s = offsetLines[c].Read();
            }
            const double d = mainLines[c].Read();

            DampingStage& hd = highDamp[c];
            const double a = hd.coefficient;
            const double h = hd.state;
            const double m = h * 0.0625;
            hd.state = h - m + d;
            const double y1 = (1.0 - a) * d + a * m;

            DampingStage& ld = lowDamp[c];
            const double b = ld.coefficient;
            const double y2 = (1.0 - b) * y1 + b * (y1 - ld.state);
            ld.state = y1;

            const double fb = feedback.load(relaxed);
            const double cross = crossFeedback.load(relaxed);
            mainLines[c].Write(
                static_cast<float>(s + fb * ((1.0 - cross) * y2 + cross * crossValues[c])));

            const int slot = c == 0 ? 1 : 0;
            crossValues[slot < channels ? slot : c] = y2;
            wetData[c][f] = static_cast<float>(y2);
        }
    }

    SurroundStep(*wet);
    const double w = wetFraction.load(relaxed);
    const double g = gain.load(relaxed);
    wet->Scale(static_cast<float>(g * w));
    buffer.Scale(static_cast<float>((1.0 - w) * g));
    buffer.MixFrom(*wet);
    return true;
}

bool DelayEffect::SurroundStep(SampleBuffer& wet) {
    const double p = surroundFraction.load(relaxed);
    if (p == 0.0 || wet.FrameCount() == 0)
        return true;
    surroundScratch.CopyFrom(wet);
    const int channels = wet.ChannelCount();
    for (int k = 0; 2 * k + 1 < channels; ++k) {
        const int l = 2 * k, r = 2 * k + 1;
        ChannelVector& sl = surroundScratch.Channel(l);
        ChannelVector& sr = surroundScratch.Channel(r);
        ChannelVector& wl = wet.Channel(l);
        ChannelVector& wr = wet.Channel(r);
        if (sl.Length() == 0 || sr.Length() == 0 || wl.Length() == 0 || wr.Length() == 0)
            return false;
        const int frames = static_cast<int>(wl.Length());
        const auto minusP = static_cast<float>(-p);
        if (ScaleInPlace(minusP, sl.Data(), frames) != StatusOk ||
            ScaleInPlace(minusP, sr.Data(), frames) != StatusOk ||
            AddInPlace(sl.Data(), wr.Data(), frames) != StatusOk ||
            AddInPlace(sr.Data(), wl.Data(), frames) != StatusOk)
            return false;
        if (!(p > 0.0)) {
            const auto norm = static_cast<float>(1.0 / (1.0 - p));
            if (ScaleInPlace(norm, wl.Data(), frames) != StatusOk ||
                ScaleInPlace(norm, wr.Data(), frames) != StatusOk)
                return false;
        }
    }
    return true;
}

} // namespace vindrel
