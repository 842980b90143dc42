#include "audio/PcmBuffer.h"
#include "core/SampleBuffer.h"
#include "core/VectorKernels.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace vindrel {
namespace {

// One player block: 2 channels x 1024 frames to 16-bit PCM.
void BM_FormatPcmBlock(benchmark::State& state) {
    SampleBuffer block;
    block.Resize(1024, 2);
    for (int c = 0; c < 2; ++c)
        for (std::uint32_t i = 0; i < 1024; ++i)
            block.Channel(c).SampleAt(i) = static_cast<float>(std::sin(0.01 * i + c));
    PcmBuffer out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatPcm(4, block, out, 2));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_FormatPcmBlock);

// The band-pass voice's biquad, one sample at a time.
void BM_IirFilterSample(benchmark::State& state) {
    const float taps[6] = {0.001f, 0.0f, -0.001f, 1.001f, -1.99f, 0.999f};
    IirState* iir = nullptr;
    IirCreate(&iir, taps, 2, nullptr);
    float x = 0.5f, y = 0.0f;
    for (auto _ : state) {
        IirFilterSample(x, &y, iir);
        x = -x;
        benchmark::DoNotOptimize(y);
    }
    IirFree(iir);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IirFilterSample);

} // namespace
} // namespace vindrel
