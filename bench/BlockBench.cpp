#include "audio/PcmBuffer.h"
#include "core/SampleBuffer.h"
#include "effects/DelayControls.h"
#include "synth/ToneGenerator.h"
#include "synth/WaveType.h"

#include <benchmark/benchmark.h>

namespace vindrel {
namespace {

constexpr double kBlockSeconds = 1024.0 / 48000.0;

// One whole block as the player makes it: Render (voices, 1/N, LFO, chain)
// and FormatPcm. "realtime" is seconds of sound per second of CPU.
void RunBlocks(benchmark::State& state, ToneSettings& settings, bool delay) {
    EffectChain chain;
    chain.BuildFromSettings(defaultEffectSettings);
    if (delay) {
        SetDelayEnabled(chain, true);
        SetDelayTime(chain, 1000);
    }
    ToneGenerator generator;
    SampleBuffer block;
    PcmBuffer pcm;
    std::int64_t position = 0;
    for (auto _ : state) {
        block.Resize(1024, 2);
        generator.Render(position, block, settings, chain, 48000);
        FormatPcm(4, block, pcm, 2);
        benchmark::DoNotOptimize(pcm.Data());
        position += 1024;
    }
    state.counters["realtime"] =
        benchmark::Counter(kBlockSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BlockWorstCase(benchmark::State& state) {
    ToneSettings settings;
    for (auto& f : settings.frequencyChecked)
        f = true;
    settings.waveType = static_cast<int>(state.range(0));
    settings.lfoEnabled = true;
    RunBlocks(state, settings, true);
}
BENCHMARK(BM_BlockWorstCase)->ArgName("wave")->Arg(Sine)->Arg(Square)->Arg(NoiseBandPass);

void BM_BlockOneSine(benchmark::State& state) {
    ToneSettings settings;
    settings.frequencyChecked[4] = true;
    RunBlocks(state, settings, false);
}
BENCHMARK(BM_BlockOneSine);

} // namespace
} // namespace vindrel
