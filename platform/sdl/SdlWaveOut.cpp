#include "SdlWaveOut.h"

#include <SDL.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace vindrel::platform {

namespace {

class SdlWaveOut : public WaveOut {
public:
    SdlWaveOut() = default;
    ~SdlWaveOut() override {
        if (device != 0)
            SDL_CloseAudioDevice(device); // waits for a running callback
    }

    WaveOutResult Open(const WaveFormat& format, std::string& error) {
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(format.samplesPerSec);
        want.channels = static_cast<Uint8>(format.channels);
        want.samples = SdlWaveOutDriver::DeviceBufferFrames;
        want.callback = &SdlWaveOut::Callback;
        want.userdata = this;
        switch (format.bitsPerSample) {
        case 8:
            want.format = AUDIO_U8;
            break;
        case 16:
            want.format = AUDIO_S16LSB;
            break;
        case 32:
            want.format = AUDIO_S32LSB;
            break;
        default:
            error = "unsupported sample width";
            return WaveOutBadFormat;
        }
        silence = format.bitsPerSample == 8 ? 0x80 : 0x00;
        SDL_AudioSpec have{};
        device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device == 0) {
            error = SDL_GetError();
            return WaveOutError;
        }
        SDL_PauseAudioDevice(device, 0);
        return WaveOutOk;
    }

    WaveOutResult Pause() override {
        Locked([&] { paused = true; });
        return WaveOutOk;
    }
    WaveOutResult Restart() override {
        Locked([&] { paused = false; });
        return WaveOutOk;
    }
    WaveOutResult PrepareHeader(WaveHeader& header) override {
        header.flags.fetch_or(HeaderPrepared, std::memory_order_release);
        return WaveOutOk;
    }
    WaveOutResult UnprepareHeader(WaveHeader& header) override {
        header.flags.fetch_and(~HeaderPrepared, std::memory_order_release);
        return WaveOutOk;
    }
    WaveOutResult Write(WaveHeader& header) override {
        WaveOutResult result = WaveOutOk;
        Locked([&] {
            if (count == queue.size()) {
                result = WaveOutError;
                return;
            }
            header.flags.fetch_and(~HeaderDone, std::memory_order_release);
            queue[(head + count) % queue.size()] = &header;
            ++count;
        });
        return result;
    }
    WaveOutResult Reset() override {
        Locked([&] {
            for (std::size_t i = 0; i < count; ++i)
                queue[(head + i) % queue.size()]->flags.fetch_or(HeaderDone,
                                                                 std::memory_order_release);
            head = count = 0;
            offset = 0;
        });
        return WaveOutOk;
    }

private:
    template <typename F> void Locked(F&& f) {
        SDL_LockAudioDevice(device);
        f();
        SDL_UnlockAudioDevice(device);
    }

    // SDL's audio thread, with the device lock held.
    static void SDLCALL Callback(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<SdlWaveOut*>(userdata);
        auto left = static_cast<std::size_t>(length);
        while (left > 0 && !self->paused && self->count > 0) {
            WaveHeader* header = self->queue[self->head];
            const std::size_t available = header->bufferLength - self->offset;
            const std::size_t piece = available < left ? available : left;
            std::memcpy(stream, header->data + self->offset, piece);
            stream += piece;
            left -= piece;
            self->offset += piece;
            if (self->offset == header->bufferLength) {
                self->offset = 0;
                self->head = (self->head + 1) % self->queue.size();
                --self->count;
                header->flags.fetch_or(HeaderDone, std::memory_order_release);
            }
        }
        std::memset(stream, self->silence, left);
    }

    SDL_AudioDeviceID device = 0;
    // A fixed ring: queueing never allocates.
    std::array<WaveHeader*, 32> queue{};
    std::size_t head = 0;
    std::size_t count = 0;
    std::size_t offset = 0;
    bool paused = false;
    int silence = 0;
};

} // namespace

SdlWaveOutDriver::~SdlWaveOutDriver() {
    std::lock_guard<std::mutex> lock(mutex);
    if (initialised)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlWaveOutDriver::EnsureInitialised() {
    if (!initialised) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            lastError = SDL_GetError();
            return false;
        }
        initialised = true;
    }
    return true;
}

int SdlWaveOutDriver::DeviceCount() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!EnsureInitialised())
        return 0;
    const int count = SDL_GetNumAudioDevices(0);
    return count > 0 ? count : 0;
}

WaveOutResult SdlWaveOutDriver::Open(int deviceId, const WaveFormat& format,
                                     std::unique_ptr<WaveOut>& device) {
    std::lock_guard<std::mutex> lock(mutex);
    const WaveOutResult result = OpenLocked(deviceId, format, device);
    // The window shows nothing when there is no sound; say why once the last
    // format the player offers has been refused too.
    if (result != WaveOutOk && format.formatTag == FormatExtensibleTag)
        std::fprintf(stderr, "vindrel: cannot open the sound output: %s\n", lastError.c_str());
    return result;
}

WaveOutResult SdlWaveOutDriver::OpenLocked(int deviceId, const WaveFormat& format,
                                           std::unique_ptr<WaveOut>& device) {
    if (!EnsureInitialised())
        return WaveOutError;
    // The default device is the only one we open; SDL follows the system's choice.
    if (deviceId != WaveMapper && deviceId != 0) {
        lastError = "no such device";
        return WaveOutBadDeviceId;
    }
    if (format.formatTag != FormatPcmTag &&
        !(format.formatTag == FormatExtensibleTag && format.subFormat == SubtypePcm)) {
        lastError = "unsupported format";
        return WaveOutBadFormat;
    }
    auto opened = std::make_unique<SdlWaveOut>();
    const WaveOutResult result = opened->Open(format, lastError);
    if (result != WaveOutOk)
        return result;
    device = std::move(opened);
    return WaveOutOk;
}

std::string SdlWaveOutDriver::LastError() {
    std::lock_guard<std::mutex> lock(mutex);
    return lastError;
}

} // namespace vindrel::platform
