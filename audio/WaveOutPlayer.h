#pragma once

#include "PcmBuffer.h"
#include "WaveOut.h"
#include "WorkerThread.h"
#include "core/SampleBuffer.h"
#include "platform/Kernel.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace vindrel {

// Streams blocks that a subclass renders to a wave-out device, eight buffers
// deep, from a worker thread that polls the oldest buffer every millisecond.
// A subclass must call Stop in its destructor, so no render reaches a partly
// destroyed object.
class WaveOutPlayer {
public:
    static constexpr int BlockFrames = 1024;
    static constexpr int QueueLength = 8;
    static constexpr int BlockSlots = 16;

    explicit WaveOutPlayer(WaveOutDriver& driver, int deviceId = WaveMapper, int sampleRate = 48000,
                           int bitsPerSample = 16, int channels = 2);
    ~WaveOutPlayer();
    WaveOutPlayer(const WaveOutPlayer&) = delete;
    WaveOutPlayer& operator=(const WaveOutPlayer&) = delete;

    // Stops any stream, opens the device (plain format, then extensible) and
    // starts a new stream at position 0. 0, 6 for a bad device id, or the
    // device's error for the extensible format.
    WaveOutResult Start();
    // Ends the stream and returns after its thread has ended and the device is closed.
    bool Stop();
    bool IsDeviceOpen() const { return device.load(std::memory_order_acquire) != nullptr; }
    int SampleRate() const { return sampleRate; }
    int Channels() const { return channels; }

    WaveFormat PlainFormat() const;
    WaveFormat ExtensibleFormat() const;

protected:
    // Called on the worker thread with the render lock held. `block` is slot
    // (n mod 16), shaped to channels x 1024 frames and still holding what was
    // rendered there 16 blocks earlier. False declines the block.
    virtual bool OnRenderBlock(std::int64_t framePosition, SampleBuffer& block) = 0;

private:
    void StreamLoop(WorkerThread& worker);
    void FillBlock();
    void Submit(PcmBuffer& pcm, WaveHeader& header);
    void ShapeBlock(SampleBuffer& block);
    void Unprepare(WaveHeader& header);
    bool AllHeadersDone() const;
    // Resets, unprepares every header and closes the device, if one is open.
    void CloseDevice();

    WaveOutDriver& driver;
    platform::RecursiveLock renderLock;
    platform::RecursiveLock controlLock;
    std::array<WaveHeader, QueueLength> headers;
    std::array<SampleBuffer, BlockSlots> blocks;
    std::array<PcmBuffer, QueueLength> pcmBuffers;
    std::unique_ptr<WorkerThread> worker;
    int blockIndex = 0;
    std::atomic<WaveOut*> device{nullptr};
    const int deviceId;
    const int sampleRate;
    const int bitsPerSample;
    const int channels;
    std::int64_t framePosition = 0;
};

} // namespace vindrel
