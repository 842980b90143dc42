#pragma once

#include "ChannelVector.h"

#include <vector>

namespace vindrel {

// Up to MaxChannels planar channels of equal length (MaxFrames at most).
class SampleBuffer {
public:
    static constexpr int MaxChannels = 8;
    static constexpr int MaxFrames = 1048576;

    int FrameCount() const;
    int ChannelCount() const { return static_cast<int>(channels.size()); }
    // Outside the buffer (or with zero frames): a shared empty vector, emptied
    // on every such call, so whatever is written into it is discarded.
    ChannelVector& Channel(int i);
    const ChannelVector& Channel(int i) const;

    bool Resize(int frames, int channelCount);
    void CopyFrom(const SampleBuffer& source);
    bool MixFrom(const SampleBuffer& source);
    void Scale(double gain);
    bool ZeroRange(int start, int count);
    bool SetChannelCount(int n, bool remix);

private:
    void SetChannelArraySize(int n);

    std::vector<ChannelVector> channels;
    bool zeroFrames = false;
};

} // namespace vindrel
