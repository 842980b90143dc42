#pragma once

#include "core/ChannelVector.h"

#include <cstdint>

namespace vindrel {

struct IirState;

// One voice. Sine and square are computed from the absolute sample position
// set before every block, so blocks join without a seam whatever happened in
// between; only the band-passed noise keeps memory, in its filter.
class ToneOscillator {
public:
    ToneOscillator() = default;
    ~ToneOscillator();
    ToneOscillator(ToneOscillator&& other) noexcept;
    ToneOscillator& operator=(ToneOscillator&& other) noexcept;
    ToneOscillator(const ToneOscillator&) = delete;
    ToneOscillator& operator=(const ToneOscillator&) = delete;

    bool SetFrequency(double f);
    bool SetPosition(std::int64_t p);
    void SetSampleRate(int rate);

    // Add Length() samples into the target from index 0; position is not advanced.
    bool RenderSine(ChannelVector& target);
    bool RenderSquare(ChannelVector& target);
    bool RenderNoise(ChannelVector& target);

    bool DesignBandPass(double normalizedFrequency, double qExponent);
    bool SetTap(int k, float value);
    // Ends the running filter, keeping its memory for the next one.
    void ReleaseFilter();

    double Frequency() const { return frequency; }
    int SampleRate() const { return sampleRate; }
    std::int64_t Position() const { return position; }
    bool NeedsRedesign() const { return needsRedesign; }
    float Tap(int k) const { return taps[k]; }
    bool HasFilter() const { return filterState != nullptr; }
    float SavedDelayLine(int k) const { return savedDelayLine[k]; }

private:
    float taps[6] = {0, 0, 0, 0, 0, 0};
    float savedDelayLine[2] = {0, 0};
    IirState* filterState = nullptr;
    int sampleRate = 48000;
    double frequency = 1000.0;
    std::int64_t position = 0;
    bool needsRedesign = true;
};

} // namespace vindrel
