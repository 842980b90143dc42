#pragma once

#include "audio/WaveOut.h"

#include <mutex>
#include <string>

namespace vindrel::platform {

// Wave-out devices over SDL's audio callback: the callback copies bytes from
// the queued headers in order and marks each done once fully copied; it plays
// silence while paused or when nothing is queued. SDL picks the back end
// itself (PipeWire, PulseAudio, ALSA, or whatever SDL_AUDIODRIVER names).
class SdlWaveOutDriver : public WaveOutDriver {
public:
    // Frames per device buffer (about 43 ms at 48000 Hz).
    static constexpr int DeviceBufferFrames = 2048;

    ~SdlWaveOutDriver() override;
    int DeviceCount() override;
    WaveOutResult Open(int deviceId, const WaveFormat& format,
                       std::unique_ptr<WaveOut>& device) override;
    // SDL's message for the last failure, for reports and diagnostics.
    std::string LastError();

private:
    bool EnsureInitialised();
    WaveOutResult OpenLocked(int deviceId, const WaveFormat& format,
                             std::unique_ptr<WaveOut>& device);

    std::mutex mutex;
    bool initialised = false;
    std::string lastError;
};

} // namespace vindrel::platform
