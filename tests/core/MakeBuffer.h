#pragma once

#include "core/SampleBuffer.h"

#include <cstdint>
#include <vector>

namespace vindrel::testing {

// A buffer holding the given channels (all of the first one's length).
inline SampleBuffer MakeBuffer(const std::vector<std::vector<float>>& channels) {
    SampleBuffer b;
    b.Resize(static_cast<int>(channels.at(0).size()), static_cast<int>(channels.size()));
    for (std::size_t c = 0; c < channels.size(); ++c)
        for (std::size_t i = 0; i < channels[c].size(); ++i)
            b.Channel(static_cast<int>(c)).SampleAt(static_cast<std::uint32_t>(i)) = channels[c][i];
    return b;
}

} // namespace vindrel::testing
