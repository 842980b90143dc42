#include "audio/WaveOutPlayer.h"

#include "TestWaveOut.h"
#include "audio/PcmBuffer.h"
#include "effects/DelayControls.h"
#include "platform/WarningBox.h"
#include "synth/ToneGenerator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace vindrel {
namespace {

using testing::TestWaveOutDriver;

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Plays n queued buffers, waiting while the player still pre-fills (the
// device is paused until all eight are queued).
bool Play(TestWaveOutDriver& driver, int n) {
    int played = 0;
    return WaitUntil([&] {
        played += driver.Advance(n - played);
        return played == n;
    });
}

// Renders through a function the test sets, and records every call.
class ScriptedPlayer : public WaveOutPlayer {
public:
    using Render = std::function<bool(std::int64_t, SampleBuffer&)>;
    ScriptedPlayer(WaveOutDriver& driver, Render render, int deviceId = WaveMapper)
        : WaveOutPlayer(driver, deviceId), render(std::move(render)) {}
    ~ScriptedPlayer() { Stop(); }

    struct Call {
        std::int64_t position;
        const SampleBuffer* slot;
        float firstSampleOnEntry;
        int frames, channels;
    };
    std::vector<Call> Calls() {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }

protected:
    bool OnRenderBlock(std::int64_t position, SampleBuffer& block) override {
        {
            std::lock_guard<std::mutex> lock(mutex);
            calls.push_back({position, &block, block.Channel(0).SampleAt(0), block.FrameCount(),
                             block.ChannelCount()});
        }
        return render(position, block);
    }

private:
    Render render;
    std::mutex mutex;
    std::vector<Call> calls;
};

// Marks the block with its position so slots can be told apart.
bool MarkPosition(std::int64_t position, SampleBuffer& block) {
    for (int c = 0; c < block.ChannelCount(); ++c)
        for (std::uint32_t i = 0; i < 1024; ++i)
            block.Channel(c).SampleAt(i) = static_cast<float>(position) / (1 << 24);
    return true;
}

TEST(WaveOutPlayer, PositionsAndSlotsRunInTurn) {
    TestWaveOutDriver driver;
    ScriptedPlayer player(driver, MarkPosition);
    ASSERT_EQ(player.Start(), WaveOutOk);
    // Pre-filled and playing: eight buffers queued, the device restarted.
    ASSERT_TRUE(WaitUntil([&] { return driver.QueuedCount() == 8 && !driver.Paused(); }));
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(WaitUntil([&] { return driver.QueuedCount() == 8; }));
        ASSERT_TRUE(Play(driver, 1));
    }
    ASSERT_TRUE(WaitUntil([&] { return player.Calls().size() == 20; }));
    player.Stop();
    const auto calls = player.Calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].position, static_cast<std::int64_t>(i) * 1024);
        EXPECT_EQ(calls[i].slot, calls[i % 16].slot);
        EXPECT_EQ(calls[i].frames, 1024);
        EXPECT_EQ(calls[i].channels, 2);
        if (i < 16) {
            EXPECT_NE(calls[i].slot, calls[(i + 1) % 16].slot);
        }
    }
    // The 17th block comes in the 1st slot with what was rendered there.
    EXPECT_EQ(calls[16].firstSampleOnEntry, 0.0f);
    EXPECT_EQ(calls[17].firstSampleOnEntry, 1024.0f / (1 << 24));
    for (const auto& buffer : driver.Written())
        EXPECT_EQ(buffer.size(), 4096u);
    EXPECT_EQ(driver.closes.load(), 1);
    EXPECT_EQ(driver.preparedNow.load(), 0);
}

TEST(WaveOutPlayer, DeclinedBlocksStillCountPositions) {
    TestWaveOutDriver driver;
    ScriptedPlayer player(driver, [](std::int64_t p, SampleBuffer& b) {
        return (p / 1024) % 3 != 1 && MarkPosition(p, b);
    });
    ASSERT_EQ(player.Start(), WaveOutOk);
    ASSERT_TRUE(WaitUntil([&] { return player.Calls().size() >= 8; }));
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(Play(driver, 1));
        const std::size_t before = player.Calls().size();
        ASSERT_TRUE(WaitUntil([&] { return player.Calls().size() > before; }));
    }
    player.Stop();
    const auto calls = player.Calls();
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].position, static_cast<std::int64_t>(i) * 1024);
    std::size_t rendered = 0;
    for (const auto& c : calls)
        rendered += (c.position / 1024) % 3 != 1;
    EXPECT_EQ(driver.Written().size(), rendered);
}

TEST(WaveOutPlayer, ThreeBlocksThenDeclineEndsByItself) {
    TestWaveOutDriver driver;
    ScriptedPlayer player(
        driver, [](std::int64_t p, SampleBuffer& b) { return p < 3 * 1024 && MarkPosition(p, b); });
    ASSERT_EQ(player.Start(), WaveOutOk);
    ASSERT_TRUE(WaitUntil([&] { return driver.QueuedCount() == 3; }));
    EXPECT_TRUE(player.IsDeviceOpen());
    ASSERT_TRUE(Play(driver, 3));
    ASSERT_TRUE(WaitUntil([&] { return !player.IsDeviceOpen(); }));
    EXPECT_EQ(driver.Written().size(), 3u);
    EXPECT_EQ(driver.closes.load(), 1);
    EXPECT_TRUE(player.Stop());
}

TEST(WaveOutPlayer, AlwaysDecliningEndsAtTheFirstPoll) {
    TestWaveOutDriver driver;
    ScriptedPlayer player(driver, [](std::int64_t, SampleBuffer&) { return false; });
    ASSERT_EQ(player.Start(), WaveOutOk);
    ASSERT_TRUE(WaitUntil([&] { return !player.IsDeviceOpen(); }));
    EXPECT_EQ(player.Calls().size(), 9u); // the pre-fill and one refill
    EXPECT_TRUE(driver.Written().empty());
    EXPECT_EQ(driver.closes.load(), 1);
}

TEST(WaveOutPlayer, StartWhileStreamingRestartsAtZero) {
    TestWaveOutDriver driver;
    ScriptedPlayer player(driver, MarkPosition);
    ASSERT_EQ(player.Start(), WaveOutOk);
    ASSERT_TRUE(WaitUntil([&] { return player.Calls().size() == 8; }));
    ASSERT_TRUE(Play(driver, 2));
    ASSERT_TRUE(WaitUntil([&] { return player.Calls().size() == 10; }));
    ASSERT_EQ(player.Start(), WaveOutOk);
    EXPECT_EQ(driver.closes.load(), 1);
    ASSERT_TRUE(WaitUntil([&] { return player.Calls().size() == 18; }));
    EXPECT_EQ(player.Calls()[10].position, 0);
    EXPECT_EQ(player.Calls()[17].position, 7 * 1024);
    EXPECT_EQ(driver.opens.load(), 2);
}

TEST(WaveOutPlayer, StopWithoutAStreamReturnsAtOnce) {
    TestWaveOutDriver driver;
    ScriptedPlayer player(driver, MarkPosition);
    EXPECT_TRUE(player.Stop());
    EXPECT_FALSE(player.IsDeviceOpen());
    EXPECT_EQ(driver.opens.load(), 0);
}

TEST(WaveOutPlayer, Formats) {
    TestWaveOutDriver driver;
    driver.refusePlain = true;
    ScriptedPlayer player(driver, MarkPosition);
    ASSERT_EQ(player.Start(), WaveOutOk);
    player.Stop();
    const auto formats = driver.Formats();
    ASSERT_EQ(formats.size(), 2u);
    const WaveFormat& plain = formats[0];
    EXPECT_EQ(plain.formatTag, 1);
    EXPECT_EQ(plain.channels, 2);
    EXPECT_EQ(plain.samplesPerSec, 48000u);
    EXPECT_EQ(plain.avgBytesPerSec, 192000u);
    EXPECT_EQ(plain.blockAlign, 4);
    EXPECT_EQ(plain.bitsPerSample, 16);
    EXPECT_EQ(plain.cbSize, 0);
    const WaveFormat& ext = formats[1];
    EXPECT_EQ(ext.formatTag, 0xFFFE);
    EXPECT_EQ(ext.cbSize, 22);
    EXPECT_EQ(ext.validBitsPerSample, 16);
    EXPECT_EQ(ext.channelMask, 0x3Fu);
    EXPECT_EQ(ext.subFormat, SubtypePcm);
    EXPECT_EQ(ext.avgBytesPerSec, 192000u);
}

TEST(WaveOutPlayer, DeviceRefusals) {
    TestWaveOutDriver driver;
    ScriptedPlayer bad(driver, MarkPosition, 1); // one device: id 0 only
    EXPECT_EQ(bad.Start(), WaveOutNoDriver);
    EXPECT_TRUE(driver.Formats().empty());

    TestWaveOutDriver none;
    none.deviceCount = 0;
    none.refuseAll = true;
    ScriptedPlayer mapper(none, MarkPosition);
    EXPECT_EQ(mapper.Start(), WaveOutBadFormat); // the mapper passes the check, the open fails
    EXPECT_EQ(none.Formats().size(), 2u);
    EXPECT_FALSE(mapper.IsDeviceOpen());
}

TEST(WaveOutPlayer, ErrorInRenderIsReportedOnceAndALaterStartWorks) {
    std::vector<std::u16string> reports;
    std::mutex reportsMutex;
    auto previous = platform::SetWarningBoxHandler(
        [&](const std::u16string& caption, const std::u16string& text) {
            std::lock_guard<std::mutex> lock(reportsMutex);
            reports.push_back(caption + u"|" + text);
        });
    TestWaveOutDriver driver;
    std::atomic<bool> fail{true};
    ScriptedPlayer player(driver, [&](std::int64_t p, SampleBuffer& b) {
        if (fail && p == 2 * 1024)
            throw std::runtime_error("render failed");
        return MarkPosition(p, b);
    });
    ASSERT_EQ(player.Start(), WaveOutOk);
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard<std::mutex> lock(reportsMutex);
        return reports.size() == 1;
    }));
    EXPECT_EQ(reports[0].rfind(
                  u"Exception|An error has occurred. The command will be cancelled.\r\n\r\n", 0),
              0u);
    fail = false;
    // The failed stream left its device open; Start closes it and must not block.
    ASSERT_EQ(player.Start(), WaveOutOk);
    EXPECT_EQ(driver.closes.load(), 1);
    ASSERT_TRUE(WaitUntil([&] { return driver.QueuedCount() == 8; }));
    player.Stop();
    EXPECT_EQ(driver.preparedNow.load(), 0);
    EXPECT_EQ(reports.size(), 1u);
    platform::SetWarningBoxHandler(previous);
}

// The renderer's bytes as the player hands them to the device must be what
// the offline renderer writes for the same settings.
class TonePlayer : public WaveOutPlayer {
public:
    explicit TonePlayer(WaveOutDriver& driver) : WaveOutPlayer(driver) {
        chain.BuildFromSettings(defaultEffectSettings);
    }
    ~TonePlayer() { Stop(); }
    ToneSettings settings;
    EffectChain chain;
    ToneGenerator generator;

protected:
    bool OnRenderBlock(std::int64_t position, SampleBuffer& block) override {
        return generator.Render(position, block, settings, chain, SampleRate());
    }
};

TEST(WaveOutPlayer, SubmitsExactlyWhatTheOfflineRendererWrites) {
    TestWaveOutDriver driver;
    TonePlayer player(driver);
    player.settings.frequencyChecked[4] = true;
    player.settings.frequencyChecked[8] = true;
    player.settings.waveType = 1;
    player.settings.lfoEnabled = true;
    SetDelayEnabled(player.chain, true);
    SetDelayTime(player.chain, 40);
    ASSERT_EQ(player.Start(), WaveOutOk);
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(WaitUntil([&] { return driver.QueuedCount() == 8; }));
        ASSERT_TRUE(Play(driver, 1));
    }
    ASSERT_TRUE(WaitUntil([&] { return driver.Written().size() == 20; }));
    player.Stop();

    std::vector<std::uint8_t> device;
    for (const auto& buffer : driver.Written())
        device.insert(device.end(), buffer.begin(), buffer.end());
    const std::string command = std::string(VINDREL_RENDER_PATH) +
                                " --tones 528,963 --wave square --lfo --delay --delay-ms 40"
                                " --blocks 20 --format s16 --output -";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::uint8_t> offline;
    std::uint8_t chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        offline.insert(offline.end(), chunk, chunk + n);
    ASSERT_EQ(pclose(pipe), 0);
    ASSERT_EQ(offline.size(), 20u * 4096);
    EXPECT_TRUE(device == offline);
}

// Starts and stops 200 times with a real renderer while the device plays on
// its own: no deadlock, every open matched by a close, no header left prepared.
TEST(WaveOutPlayer, StartStopStress) {
    TestWaveOutDriver driver;
    TonePlayer player(driver);
    player.settings.frequencyChecked[0] = true;
    player.settings.waveType = 2;
    std::atomic<bool> playing{true};
    std::thread clock([&] {
        while (playing) {
            driver.Advance(1);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(player.Start(), WaveOutOk);
        if (i % 3 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ASSERT_TRUE(player.Stop());
        ASSERT_FALSE(player.IsDeviceOpen());
    }
    playing = false;
    clock.join();
    EXPECT_EQ(driver.opens.load(), 200);
    EXPECT_EQ(driver.closes.load(), 200);
    EXPECT_EQ(driver.preparedNow.load(), 0);
}

} // namespace
} // namespace vindrel
