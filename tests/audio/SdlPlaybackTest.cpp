// The real player through SDL's disk driver: what reaches the file must be
// exactly the PCM the renderer produced, paced in real time.

#include "audio/PcmBuffer.h"
#include "audio/WaveOutPlayer.h"
#include "effects/EffectChain.h"
#include "platform/sdl/SdlWaveOut.h"
#include "synth/ToneGenerator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

namespace vindrel {
namespace {

constexpr int kBlocks = 94; // 96256 frames: a little over 2 s

class SinePlayer : public WaveOutPlayer {
public:
    explicit SinePlayer(WaveOutDriver& driver) : WaveOutPlayer(driver) {
        settings.frequencyChecked[4] = true; // 528 Hz
    }
    ~SinePlayer() { Stop(); }
    std::vector<std::uint8_t> Expected() {
        // The same blocks, rendered and formatted offline.
        ToneGenerator offline;
        EffectChain offlineChain;
        SampleBuffer block;
        PcmBuffer pcm;
        std::vector<std::uint8_t> bytes;
        for (int b = 0; b < kBlocks; ++b) {
            block.Resize(1024, 2);
            offline.Render(b * 1024, block, settings, offlineChain, 48000);
            FormatPcm(4, block, pcm, 2);
            bytes.insert(bytes.end(), pcm.Data(), pcm.Data() + pcm.Size());
        }
        return bytes;
    }
    ToneSettings settings;

protected:
    bool OnRenderBlock(std::int64_t position, SampleBuffer& block) override {
        if (position >= kBlocks * 1024)
            return false; // the stream drains and ends by itself
        return generator.Render(position, block, settings, chain, SampleRate());
    }

private:
    EffectChain chain;
    ToneGenerator generator;
};

TEST(SdlPlayback, DiskDriverGetsExactlyTheRenderedPcmInRealTime) {
    char dir[] = "/tmp/vindrel-sdl-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    unsetenv("SDL_DISKAUDIODELAY");

    std::vector<std::uint8_t> expected;
    double seconds = 0;
    {
        platform::SdlWaveOutDriver driver;
        SinePlayer player(driver);
        expected = player.Expected();
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(player.Start(), WaveOutOk) << driver.LastError();
        while (player.IsDeviceOpen())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> written((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
    std::remove(file.c_str());
    rmdir(dir);

    // Leading silence (frame-aligned), the stream, then only silence.
    // The first frame of the sine is 0; find the first non-zero frame instead.
    std::size_t firstSound = 0;
    while (firstSound < written.size() && written[firstSound] == 0)
        ++firstSound;
    ASSERT_LT(firstSound, written.size()) << "nothing but silence was written";
    const std::size_t lead = (firstSound / 4) * 4 - 4; // the sine's first frame is (0, 0)
    ASSERT_GE(written.size(), lead + expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), written.begin() + lead));
    for (std::size_t i = lead + expected.size(); i < written.size(); ++i)
        ASSERT_EQ(written[i], 0) << "byte " << i << " after the stream";
    // 2.005 s of sound plus start-up and the device buffers.
    EXPECT_GT(seconds, 1.9);
    EXPECT_LT(seconds, 3.5);
    RecordProperty("wall_seconds", std::to_string(seconds));
    std::printf("played %.3f s of sound in %.3f s; leading silence %zu frames\n",
                kBlocks * 1024 / 48000.0, seconds, lead / 4);
}

} // namespace
} // namespace vindrel
