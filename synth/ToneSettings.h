#pragma once

#include <array>
#include <atomic>

namespace vindrel {

inline constexpr std::array<int, 9> toneFrequenciesHz = {174, 285, 396, 417, 528,
                                                         639, 741, 852, 963};

// What the user chose. Written by the UI thread, read by the audio thread once
// per block (the wave type once per voice): relaxed atomics are enough, a
// change is heard from the next block on.
struct ToneSettings {
    std::array<std::atomic<bool>, 9> frequencyChecked{};
    std::atomic<int> waveType{0};
    std::atomic<bool> lfoEnabled{false};
};

} // namespace vindrel
