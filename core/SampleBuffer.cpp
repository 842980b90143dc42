#include "SampleBuffer.h"

#include "VectorKernels.h"

#include <algorithm>

namespace vindrel {

namespace {

// Per thread: the UI thread and the audio worker may both ask for a missing
// channel, and the vector is written (emptied) on every use.
ChannelVector& SharedEmptyVector() {
    thread_local ChannelVector empty;
    empty.Resize(0);
    return empty;
}

} // namespace

int SampleBuffer::FrameCount() const {
    if (zeroFrames || channels.empty())
        return 0;
    return static_cast<int>(channels[0].Length());
}

ChannelVector& SampleBuffer::Channel(int i) {
    if (i >= 0 && i < ChannelCount() && !zeroFrames)
        return channels[static_cast<std::size_t>(i)];
    return SharedEmptyVector();
}

const ChannelVector& SampleBuffer::Channel(int i) const {
    return const_cast<SampleBuffer*>(this)->Channel(i);
}

void SampleBuffer::SetChannelArraySize(int n) {
    channels.resize(static_cast<std::size_t>(n));
    if (n == 0)
        channels.shrink_to_fit();
}

bool SampleBuffer::Resize(int frames, int channelCount) {
    if (frames == FrameCount() && channelCount == ChannelCount())
        return true;
    if (static_cast<unsigned>(frames) > static_cast<unsigned>(MaxFrames) ||
        static_cast<unsigned>(channelCount) > static_cast<unsigned>(MaxChannels))
        return false;
    SetChannelArraySize(channelCount);
    for (ChannelVector& channel : channels)
        if (!channel.Resize(static_cast<std::uint32_t>(frames)))
            return false;
    zeroFrames = frames <= 0;
    return true;
}

void SampleBuffer::CopyFrom(const SampleBuffer& source) {
    if (&source == this)
        return;
    if (!Resize(source.FrameCount(), source.ChannelCount()))
        return;
    const int frames = FrameCount();
    if (frames <= 0)
        return;
    for (int i = 0; i < ChannelCount(); ++i) {
        const float* from = source.Channel(i).Data();
        float* to = Channel(i).Data();
        if (from != nullptr && to != nullptr)
            CopyFloats(from, to, frames);
    }
}

bool SampleBuffer::MixFrom(const SampleBuffer& source) {
    if (FrameCount() == 0) {
        CopyFrom(source);
        return true;
    }
    const int sourceFrames = source.FrameCount();
    if (sourceFrames <= 0 || source.ChannelCount() <= 0)
        return true;
    if (!Resize(FrameCount(), std::max(ChannelCount(), source.ChannelCount())))
        return false;
    if (sourceFrames > FrameCount()) {
        const int old = FrameCount();
        if (!Resize(sourceFrames, ChannelCount()))
            return false;
        ZeroRange(old, sourceFrames - old);
    }
    for (int i = 0; i < ChannelCount() && i < source.ChannelCount(); ++i)
        AddInPlace(source.Channel(i).Data(), Channel(i).Data(), sourceFrames);
    return true;
}

void SampleBuffer::Scale(double gain) {
    if (gain == 1.0)
        return;
    if (gain == 0.0) {
        ZeroRange(0, FrameCount());
        return;
    }
    const int frames = FrameCount();
    if (frames <= 0 || ChannelCount() <= 0)
        return;
    for (ChannelVector& channel : channels)
        if (channel.Length() != 0)
            ScaleInPlace(static_cast<float>(gain), channel.Data(), frames);
}

bool SampleBuffer::ZeroRange(int start, int count) {
    if (count == 0)
        return true;
    const int frames = FrameCount();
    if (count < 0 || count > frames || start < 0 || start >= frames || start + count > frames)
        return false;
    for (ChannelVector& channel : channels)
        if (channel.Length() != 0 && channel.Data() != nullptr)
            ZeroFloats(channel.Data() + start, count);
    return true;
}

bool SampleBuffer::SetChannelCount(int n, bool remix) {
    if (!remix)
        return Resize(FrameCount(), n);
    if (static_cast<unsigned>(n) > static_cast<unsigned>(MaxChannels))
        return false;
    if (FrameCount() == 0) {
        SetChannelArraySize(n);
        return true;
    }
    const int old = ChannelCount();
    const int frames = FrameCount();
    if (n == old)
        return true;
    if (old == 2 && n == 1) {
        ChannelVector& left = channels[0];
        ChannelVector& right = channels[1];
        if (left.Length() == 0 || right.Length() == 0)
            return false;
        if (AddInPlace(right.Data(), left.Data(), frames) != StatusOk ||
            ScaleInPlace(0.5f, left.Data(), frames) != StatusOk)
            return false;
        return SetChannelCount(1, false);
    }
    if (n < old)
        return SetChannelCount(n, false);
    if (!SetChannelCount(n, false))
        return false;
    for (int i = old; i < n; ++i) {
        ChannelVector& from = channels[static_cast<std::size_t>(i % old)];
        ChannelVector& to = channels[static_cast<std::size_t>(i)];
        if (from.Length() != 0 && to.Length() != 0 &&
            CopyFloats(from.Data(), to.Data(), frames) != StatusOk)
            return false;
    }
    return true;
}

} // namespace vindrel
