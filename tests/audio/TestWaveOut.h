#pragma once

#include "audio/WaveOut.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace vindrel::testing {

// A wave-out device whose clock the test advances by hand: Advance(n) plays
// the n oldest queued buffers and marks them done. It records every buffer
// written and every format offered, and can refuse the plain format.
class TestWaveOutDriver : public WaveOutDriver {
public:
    int DeviceCount() override { return deviceCount; }
    WaveOutResult Open(int deviceId, const WaveFormat& format,
                       std::unique_ptr<WaveOut>& device) override;

    // Plays up to n queued buffers; returns how many were played.
    int Advance(int n);
    std::vector<std::vector<std::uint8_t>> Written();
    std::vector<WaveFormat> Formats();
    int QueuedCount();
    bool Paused();

    int deviceCount = 1;
    bool refusePlain = false;
    bool refuseAll = false;
    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<int> preparedNow{0};

private:
    friend class TestWaveOut;
    std::mutex mutex;
    std::vector<WaveFormat> formats;
    std::vector<std::vector<std::uint8_t>> written;
    std::deque<WaveHeader*> queue;
    bool paused = false;
};

} // namespace vindrel::testing
