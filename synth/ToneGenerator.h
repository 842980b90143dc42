#pragma once

#include "ToneOscillator.h"
#include "ToneSettings.h"
#include "core/ChannelVector.h"

#include <cstdint>
#include <vector>

namespace vindrel {

class EffectChain;
class SampleBuffer;

// Fills each block: one voice per ticked frequency in every channel, mixed at
// 1/N, optionally multiplied by a 1 Hz sine, then run through the effect chain.
class ToneGenerator {
public:
    bool Render(std::int64_t framePosition, SampleBuffer& block, const ToneSettings& settings,
                EffectChain& chain, int sampleRate);

    const std::vector<std::vector<ToneOscillator>>& VoiceLists() const { return voiceLists; }
    const ToneOscillator& Lfo() const { return lfo; }

private:
    std::vector<std::vector<ToneOscillator>> voiceLists;
    ToneOscillator lfo;
    ChannelVector lfoScratch;
};

} // namespace vindrel
