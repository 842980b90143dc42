#include "ToneOscillator.h"

#include "NoiseGenerator.h"
#include "core/VectorKernels.h"

#include <cmath>
#include <utility>

namespace vindrel {

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

ToneOscillator::~ToneOscillator() {
    ReleaseFilter();
}

ToneOscillator::ToneOscillator(ToneOscillator&& other) noexcept {
    *this = std::move(other);
}

ToneOscillator& ToneOscillator::operator=(ToneOscillator&& other) noexcept {
    if (this != &other) {
        ReleaseFilter();
        for (int k = 0; k < 6; ++k)
            taps[k] = other.taps[k];
        savedDelayLine[0] = other.savedDelayLine[0];
        savedDelayLine[1] = other.savedDelayLine[1];
        filterState = std::exchange(other.filterState, nullptr);
        sampleRate = other.sampleRate;
        frequency = other.frequency;
        position = other.position;
        needsRedesign = other.needsRedesign;
    }
    return *this;
}

bool ToneOscillator::SetFrequency(double f) {
    if (!(f > 0.0) || f == frequency)
        return false;
    frequency = f;
    needsRedesign = true;
    return true;
}

bool ToneOscillator::SetPosition(std::int64_t p) {
    if (p == position)
        return false;
    position = p;
    needsRedesign = true;
    return true;
}

void ToneOscillator::SetSampleRate(int rate) {
    if (rate > 0 && rate != sampleRate) {
        sampleRate = rate;
        needsRedesign = true;
    }
}

bool ToneOscillator::RenderSine(ChannelVector& target) {
    const double step = frequency * kTwoPi / sampleRate;
    const std::uint32_t n = target.Length();
    float* out = target.Data();
    for (std::uint32_t i = 0; i < n; ++i) {
        const auto t = static_cast<double>(position + static_cast<std::int64_t>(i));
        out[i] = out[i] + static_cast<float>(std::sin(t * step));
    }
    return true;
}

bool ToneOscillator::RenderSquare(ChannelVector& target) {
    const double period = frequency > 0.0 ? sampleRate / frequency : 0.0;
    const double half = period * 0.5;
    const std::uint32_t n = target.Length();
    float* out = target.Data();
    for (std::uint32_t i = 0; i < n; ++i) {
        const auto t = static_cast<double>(position + static_cast<std::int64_t>(i));
        const auto k = static_cast<std::int64_t>(t / period);
        const double r = t - static_cast<double>(k) * period;
        out[i] = out[i] + (r < half ? 1.0f : -1.0f);
    }
    return true;
}

bool ToneOscillator::RenderNoise(ChannelVector& target) {
    if (needsRedesign) {
        DesignBandPass(frequency / sampleRate, 12.0);
        needsRedesign = false;
    }
    NoiseGenerator& noise = NoiseGenerator::Instance();
    const std::uint32_t n = target.Length();
    float* out = target.Data();
    for (std::uint32_t i = 0; i < n; ++i) {
        const float x = noise.Next();
        float y = 0.0f;
        // Zero taps (no accepted design yet) fail to create: silence, and the
        // next sample tries again.
        if (filterState == nullptr)
            IirCreate(&filterState, taps, 2, savedDelayLine);
        if (filterState != nullptr && IirFilterSample(x, &y, filterState) != StatusOk)
            y = 0.0f;
        out[i] = out[i] + y * 128.0f;
    }
    return true;
}

bool ToneOscillator::DesignBandPass(double nf, double q) {
    if (!(nf > 0.0 && nf < 0.5 && q >= -12.0 && q <= 12.0))
        return false;
    const double w = nf * kTwoPi;
    const double alpha = std::sin(w) / (2.0 * std::pow(2.0, q));
    SetTap(0, static_cast<float>(alpha));
    SetTap(1, 0.0f);
    SetTap(2, static_cast<float>(-alpha));
    SetTap(3, static_cast<float>(1.0 + alpha));
    SetTap(4, static_cast<float>(-2.0 * std::cos(w)));
    SetTap(5, static_cast<float>(1.0 - alpha));
    return true;
}

bool ToneOscillator::SetTap(int k, float value) {
    if (k < 0 || k > 5 || value == taps[k])
        return false;
    taps[k] = value;
    ReleaseFilter();
    return true;
}

void ToneOscillator::ReleaseFilter() {
    if (filterState == nullptr)
        return;
    IirGetDelayLine(filterState, savedDelayLine);
    IirFree(filterState);
    filterState = nullptr;
}

} // namespace vindrel
