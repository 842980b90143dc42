#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace vindrel {

// The classic wave-out contract the player drives: open with a format (a
// refused format makes the caller try the next), pause/restart, prepare,
// write and unprepare headers, reset (every queued header comes back done),
// close. The device sets a header's done flag once it has consumed it.

using WaveOutResult = std::uint32_t;
inline constexpr WaveOutResult WaveOutOk = 0;
inline constexpr WaveOutResult WaveOutError = 1;
inline constexpr WaveOutResult WaveOutBadDeviceId = 2;
inline constexpr WaveOutResult WaveOutNoDriver = 6;
inline constexpr WaveOutResult WaveOutBadFormat = 32;

inline constexpr int WaveMapper = -1;

inline constexpr std::uint32_t HeaderDone = 1;
inline constexpr std::uint32_t HeaderPrepared = 2;

inline constexpr std::uint16_t FormatPcmTag = 1;
inline constexpr std::uint16_t FormatExtensibleTag = 0xFFFE;
inline constexpr std::array<std::uint8_t, 16> SubtypePcm = {
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct WaveFormat {
    std::uint16_t formatTag = FormatPcmTag;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t cbSize = 0;
    // Extensible part, meaningful when cbSize is 22.
    std::uint16_t validBitsPerSample = 0;
    std::uint32_t channelMask = 0;
    std::array<std::uint8_t, 16> subFormat{};
};

struct WaveHeader {
    const std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;
    // Written by the device's own thread: release on set, acquire on read.
    std::atomic<std::uint32_t> flags{0};
};

// An open device.
class WaveOut {
public:
    virtual ~WaveOut() = default; // closes
    virtual WaveOutResult Pause() = 0;
    virtual WaveOutResult Restart() = 0;
    virtual WaveOutResult PrepareHeader(WaveHeader& header) = 0;
    virtual WaveOutResult UnprepareHeader(WaveHeader& header) = 0;
    virtual WaveOutResult Write(WaveHeader& header) = 0;
    virtual WaveOutResult Reset() = 0;
};

// Opens devices.
class WaveOutDriver {
public:
    virtual ~WaveOutDriver() = default;
    virtual int DeviceCount() = 0;
    virtual WaveOutResult Open(int deviceId, const WaveFormat& format,
                               std::unique_ptr<WaveOut>& device) = 0;
};

} // namespace vindrel
