#pragma once

#include "Effect.h"
#include "core/ChannelVector.h"

#include <atomic>
#include <vector>

namespace vindrel {

// A circular line whose position is both the next read and the next write:
// Read then Write delays by the full length.
class DelayLine {
public:
    bool SetLength(int n);
    int Length() const { return static_cast<int>(samples.Length()); }
    int Position() const { return position; }
    void Write(float v);
    float Read() const;
    ChannelVector& Samples() { return samples; }

private:
    ChannelVector samples;
    int position = 0;
};

// Multichannel feedback delay: high and low damping, cross-feedback within a
// stereo pair, a stereo offset on one side's input, surround cross-mix of the
// wet pairs, wet/dry mix and output gain.
//
// Parameters are written by the UI thread while the audio thread processes:
// they are atomics, and the lengths and damping coefficients are re-read at the
// start of the next block after a change.
class DelayEffect : public Effect {
public:
    explicit DelayEffect(EffectChain* chain);

    bool SetParameter(const std::u16string& key, const std::u16string& value) override;
    bool GetParameter(const std::u16string& key, std::u16string& value) const override;
    std::u16string ToSettingsText() const override;
    void Reset() override;
    bool Process() override;
    std::unique_ptr<Effect> Clone(EffectChain* owner) const override;

    // Shapes the per-channel state for n channels at the chain's rate.
    bool PrepareLines(int n);

    struct DampingStage {
        double coefficient = 1.0;
        double state = 0.0;
    };

    // Read-only views for tests and tools.
    const std::vector<DelayLine>& MainLines() const { return mainLines; }
    const std::vector<DelayLine>& OffsetLines() const { return offsetLines; }
    bool NeedsPrepare() const { return needsPrepare.load(); }

private:
    bool SurroundStep(SampleBuffer& wet);

    std::atomic<double> delayMs{300.0};
    std::atomic<double> stereoOffsetMs{0.0};
    std::atomic<double> feedback{0.5};
    std::atomic<double> crossFeedback{0.0};
    std::atomic<double> highDampPercent{10.0};
    std::atomic<double> lowDampPercent{10.0};
    std::atomic<double> wetFraction{0.5};
    std::atomic<double> surroundFraction{0.0};
    std::atomic<double> gain{1.0};
    std::atomic<bool> needsPrepare{true};

    std::vector<DelayLine> mainLines;
    std::vector<DelayLine> offsetLines;
    std::vector<DampingStage> highDamp;
    std::vector<DampingStage> lowDamp;
    std::vector<double> crossValues;
    SampleBuffer surroundScratch;
    int preparedRate = 0;
};

} // namespace vindrel
