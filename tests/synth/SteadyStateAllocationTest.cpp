// Steady playback must not touch the heap: render, effects and PCM conversion
// over many blocks after warm-up, counted by replacing the global allocator.

#include "audio/PcmBuffer.h"
#include "core/SampleBuffer.h"
#include "effects/DelayControls.h"
#include "synth/ToneGenerator.h"
#include "synth/WaveType.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// The replacements below pair malloc with free behind the compiler's back.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    return operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(n ? n : 1);
}
void* operator new(std::size_t n, std::align_val_t a) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t al = static_cast<std::size_t>(a);
    if (void* p = std::aligned_alloc(al, (n + al - 1) / al * al))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t al = static_cast<std::size_t>(a);
    return std::aligned_alloc(al, (n + al - 1) / al * al);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

namespace vindrel {
namespace {

TEST(SteadyState, RenderingAllocatesNothing) {
    for (int wave : {Sine, Square, NoiseBandPass}) {
        ToneSettings settings;
        for (auto& f : settings.frequencyChecked)
            f = true;
        settings.waveType = wave;
        settings.lfoEnabled = true;
        EffectChain chain;
        chain.BuildFromSettings(defaultEffectSettings);
        SetDelayEnabled(chain, true);
        SetDelayTime(chain, 1000);
        ToneGenerator generator;
        SampleBuffer block;
        PcmBuffer pcm;
        std::int64_t position = 0;
        auto renderBlock = [&] {
            block.Resize(1024, 2);
            ASSERT_TRUE(generator.Render(position, block, settings, chain, 48000));
            ASSERT_TRUE(FormatPcm(4, block, pcm, 2));
            position += 1024;
        };
        for (int i = 0; i < 10; ++i)
            renderBlock();
        const long before = allocations.load();
        for (int i = 0; i < 1000; ++i)
            renderBlock();
        EXPECT_EQ(allocations.load() - before, 0) << "wave type " << wave;
    }
}

} // namespace
} // namespace vindrel
