#include "WaveOutPlayer.h"

#include "core/VectorKernels.h"

#include <mutex>

namespace vindrel {

namespace {
using Guard = std::lock_guard<platform::RecursiveLock>;
}

WaveOutPlayer::WaveOutPlayer(WaveOutDriver& driver, int deviceId, int sampleRate, int bitsPerSample,
                             int channels)
    : driver(driver), deviceId(deviceId), sampleRate(sampleRate), bitsPerSample(bitsPerSample),
      channels(channels) {}

WaveOutPlayer::~WaveOutPlayer() {
    worker.reset();
    CloseDevice();
}

WaveFormat WaveOutPlayer::PlainFormat() const {
    WaveFormat f;
    f.formatTag = FormatPcmTag;
    f.channels = static_cast<std::uint16_t>(channels);
    f.samplesPerSec = static_cast<std::uint32_t>(sampleRate);
    f.blockAlign = static_cast<std::uint16_t>(channels * bitsPerSample / 8);
    f.avgBytesPerSec = static_cast<std::uint32_t>(f.blockAlign) * f.samplesPerSec;
    f.bitsPerSample = static_cast<std::uint16_t>(bitsPerSample);
    f.cbSize = 0;
    return f;
}

WaveFormat WaveOutPlayer::ExtensibleFormat() const {
    WaveFormat f = PlainFormat();
    f.formatTag = FormatExtensibleTag;
    f.cbSize = 22;
    f.validBitsPerSample = static_cast<std::uint16_t>(bitsPerSample);
    f.channelMask = 0x3F;
    f.subFormat = SubtypePcm;
    return f;
}

WaveOutResult WaveOutPlayer::Start() {
    Guard control(controlLock);
    Stop();
    Guard render(renderLock);
    // Signed: WAVE_MAPPER (-1) passes even with no devices.
    if (!(deviceId >= -1 && deviceId < driver.DeviceCount()))
        return WaveOutNoDriver;
    std::unique_ptr<WaveOut> opened;
    WaveOutResult result = driver.Open(deviceId, PlainFormat(), opened);
    if (result != WaveOutOk)
        result = driver.Open(deviceId, ExtensibleFormat(), opened);
    if (result != WaveOutOk)
        return result;
    device.store(opened.release(), std::memory_order_release);
    worker.reset();
    // Its first step waits for the render lock: streaming begins after we return.
    worker = std::make_unique<WorkerThread>(this, &WaveOutPlayer::StreamLoop);
    return WaveOutOk;
}

bool WaveOutPlayer::Stop() {
    Guard control(controlLock);
    worker.reset();
    // A stream that an error ended left its device open: close it now, so no
    // header outlives its buffer. A finished stream has closed it already.
    CloseDevice();
    return true;
}

void WaveOutPlayer::CloseDevice() {
    Guard render(renderLock);
    WaveOut* open = device.load(std::memory_order_acquire);
    if (open == nullptr)
        return;
    open->Reset();
    for (WaveHeader& header : headers)
        Unprepare(header);
    device.store(nullptr, std::memory_order_release);
    delete open;
}

void WaveOutPlayer::StreamLoop(WorkerThread& worker) {
    {
        Guard render(renderLock);
        framePosition = 0;
        blockIndex = 0;
    }
    {
        Guard render(renderLock);
        WaveOut* open = device.load(std::memory_order_acquire);
        open->Pause();
        for (int i = 0; i < QueueLength; ++i)
            FillBlock();
        open->Restart();
    }
    while (!worker.stopRequested.load(std::memory_order_acquire)) {
        const WaveHeader& oldest = headers[static_cast<std::size_t>(blockIndex % QueueLength)];
        if ((oldest.flags.load(std::memory_order_acquire) & HeaderDone) == 0) {
            platform::SleepMilliseconds(1);
            continue;
        }
        Guard render(renderLock);
        FillBlock();
        if (AllHeadersDone())
            break; // nothing queued any more: the renderer has stopped supplying blocks
    }
    CloseDevice();
}

bool WaveOutPlayer::AllHeadersDone() const {
    for (const WaveHeader& header : headers)
        if ((header.flags.load(std::memory_order_acquire) & HeaderDone) == 0)
            return false;
    return true;
}

void WaveOutPlayer::Unprepare(WaveHeader& header) {
    if ((header.flags.load(std::memory_order_acquire) & HeaderPrepared) != 0)
        if (WaveOut* open = device.load(std::memory_order_acquire))
            open->UnprepareHeader(header);
}

void WaveOutPlayer::ShapeBlock(SampleBuffer& block) {
    if ((block.FrameCount() == BlockFrames && block.ChannelCount() == channels) ||
        channels > SampleBuffer::MaxChannels)
        return;
    const int oldFrames = block.FrameCount();
    // Resize keeps the samples below the old frame count and zeroes the rest.
    block.Resize(oldFrames, channels);
    block.Resize(BlockFrames, channels);
}

void WaveOutPlayer::FillBlock() {
    SampleBuffer& block = blocks[static_cast<std::size_t>(blockIndex)];
    WaveHeader& header = headers[static_cast<std::size_t>(blockIndex % QueueLength)];
    ShapeBlock(block);
    if (OnRenderBlock(framePosition, block)) {
        PcmBuffer& pcm = pcmBuffers[static_cast<std::size_t>(blockIndex % QueueLength)];
        Unprepare(header);
        // Submitted whatever it holds, as the device expects a buffer per slot.
        FormatPcm(channels * bitsPerSample / 8, block, pcm, channels);
        Submit(pcm, header);
    } else {
        Unprepare(header);
        header.flags.store(HeaderDone, std::memory_order_release);
    }
    blockIndex = blockIndex + 1 == BlockSlots ? 0 : blockIndex + 1;
    framePosition += BlockFrames;
}

void WaveOutPlayer::Submit(PcmBuffer& pcm, WaveHeader& header) {
    Unprepare(header);
    if (pcm.Size() > 0) {
        header.bufferLength = static_cast<std::uint32_t>(pcm.Size());
        header.data = pcm.Data();
        header.flags.store(0, std::memory_order_release);
        WaveOut* open = device.load(std::memory_order_acquire);
        open->PrepareHeader(header);
        open->Write(header);
    } else {
        header.flags.store(HeaderDone, std::memory_order_release);
    }
}

} // namespace vindrel
