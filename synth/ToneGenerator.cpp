#include "ToneGenerator.h"

#include "WaveType.h"
#include "core/SampleBuffer.h"
#include "core/VectorKernels.h"
#include "effects/EffectChain.h"

#include <algorithm>
#include <new>

namespace vindrel {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

void RenderVoice(ToneOscillator& voice, int wave, ChannelVector& target) {
    switch (wave) {
    case Sine:
        voice.RenderSine(target);
        break;
    case Square:
        voice.RenderSquare(target);
        break;
    case NoiseBandPass:
        voice.RenderNoise(target);
        break;
    default:
        break;
    }
}

} // namespace

bool ToneGenerator::Render(std::int64_t framePosition, SampleBuffer& block,
                           const ToneSettings& settings, EffectChain& chain, int sampleRate) {
    block.ZeroRange(0, block.FrameCount());
    const int channels = block.ChannelCount();
    try {
        voiceLists.resize(static_cast<std::size_t>(channels));
    } catch (const std::bad_alloc&) {
        return false;
    }

    float activeFrequencies[toneFrequenciesHz.size()];
    std::size_t voices = 0;
    for (std::size_t i = 0; i < toneFrequenciesHz.size(); ++i)
        if (settings.frequencyChecked[i].load(relaxed))
            activeFrequencies[voices++] = static_cast<float>(toneFrequenciesHz[i]);

    // Sine and square voices depend only on frequency, rate and position, so
    // every channel computes the same samples as channel 0: copy them instead
    // of computing them again, when channel 0 used one such form for all voices.
    int firstChannelForm = -1;
    for (int ch = 0; ch < channels; ++ch) {
        std::vector<ToneOscillator>& list = voiceLists[static_cast<std::size_t>(ch)];
        try {
            list.resize(voices);
        } catch (const std::bad_alloc&) {
            return false;
        }
        ChannelVector& target = block.Channel(ch);
        for (std::size_t v = 0; v < voices; ++v) {
            ToneOscillator& voice = list[v];
            voice.SetSampleRate(sampleRate);
            voice.SetPosition(framePosition);
            voice.SetFrequency(activeFrequencies[v]);
        }
        const int form = settings.waveType.load(relaxed);
        if (ch > 0 && voices > 0 && form == firstChannelForm && (form == Sine || form == Square)) {
            CopyFloats(block.Channel(0).Data(), target.Data(), static_cast<int>(target.Length()));
            continue;
        }
        for (std::size_t v = 0; v < voices; ++v) {
            const int wave = v == 0 ? form : settings.waveType.load(relaxed);
            if (ch == 0)
                firstChannelForm = v == 0 || wave == firstChannelForm ? wave : -1;
            RenderVoice(list[v], wave, target);
        }
        if (voices > 1)
            ScaleInPlace(1.0f / static_cast<float>(voices), target.Data(),
                         static_cast<int>(target.Length()));
    }

    if (settings.lfoEnabled.load(relaxed)) {
        lfo.SetSampleRate(sampleRate);
        lfo.SetFrequency(1.0);
        lfo.SetPosition(framePosition);
        lfoScratch.Resize(static_cast<std::uint32_t>(block.FrameCount()));
        ZeroBytes(lfoScratch.Data(), static_cast<int>(lfoScratch.Length() * sizeof(float)));
        lfo.RenderSine(lfoScratch);
        for (int ch = 0; ch < channels; ++ch) {
            ChannelVector& target = block.Channel(ch);
            const auto length = static_cast<int>(std::min(lfoScratch.Length(), target.Length()));
            if (MultiplyInPlace(lfoScratch.Data(), target.Data(), length) != StatusOk)
                return false;
        }
    }

    chain.SetSampleRate(sampleRate);
    chain.ProcessBlock(block);
    return true;
}

} // namespace vindrel
