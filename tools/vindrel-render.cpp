// Renders the program's exact sound offline: the same renderer, effect chain
// and PCM formatting, 48000 Hz, 2 channels, 1024-frame blocks.

#include "audio/PcmBuffer.h"
#include "core/SampleBuffer.h"
#include "core/VectorKernels.h"
#include "effects/DelayControls.h"
#include "synth/ToneGenerator.h"
#include "synth/WaveType.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vindrel;

constexpr int kRate = 48000;
constexpr int kChannels = 2;
constexpr int kBlockFrames = 1024;
constexpr int kMaxBlocks = 10000000;

const char* const kUsage =
    "usage: vindrel-render [--tones LIST] [--wave sine|square|noise] [--lfo] [--delay]\n"
    "                      [--delay-ms N] [--blocks N] [--format s16|f32] [--output FILE]\n";

struct Options {
    ToneSettings settings;
    bool delay = false;
    std::optional<int> delayMs;
    int blocks = 47;
    bool floatOutput = false;
    std::string output = "-";
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "vindrel-render: %s\n", message.c_str());
    std::exit(2);
}

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string AcceptedTones() {
    std::string list;
    for (int f : toneFrequenciesHz)
        list += (list.empty() ? "" : ",") + std::to_string(f);
    return list;
}

void ParseTones(std::string_view list, ToneSettings& settings) {
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const std::optional<int> hz = ParseInt(item);
        bool known = false;
        for (std::size_t i = 0; hz && i < toneFrequenciesHz.size(); ++i) {
            if (toneFrequenciesHz[i] == *hz) {
                settings.frequencyChecked[i] = true;
                known = true;
            }
        }
        if (!known)
            Fail("unknown tone '" + std::string(item) + "' (accepted: " + AcceptedTones() + ")");
        if (comma == std::string_view::npos)
            return;
        list.remove_prefix(comma + 1);
    }
}

int ParseRange(std::string_view option, std::string_view text, int lo, int hi) {
    const std::optional<int> value = ParseInt(text);
    if (!value || *value < lo || *value > hi)
        Fail(std::string(option) + " takes a whole number from " + std::to_string(lo) + " to " +
             std::to_string(hi) + ", not '" + std::string(text) + "'");
    return *value;
}

void ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= argc)
                Fail(std::string(arg) + " needs a value");
            return argv[++i];
        };
        if (arg == "--tones") {
            ParseTones(value(), o.settings);
        } else if (arg == "--wave") {
            const std::string_view w = value();
            if (w == "sine")
                o.settings.waveType = Sine;
            else if (w == "square")
                o.settings.waveType = Square;
            else if (w == "noise")
                o.settings.waveType = NoiseBandPass;
            else
                Fail("unknown wave '" + std::string(w) + "' (accepted: sine, square, noise)");
        } else if (arg == "--lfo") {
            o.settings.lfoEnabled = true;
        } else if (arg == "--delay") {
            o.delay = true;
        } else if (arg == "--delay-ms") {
            o.delayMs = ParseRange(arg, value(), 1, 1000);
        } else if (arg == "--blocks") {
            o.blocks = ParseRange(arg, value(), 1, kMaxBlocks);
        } else if (arg == "--format") {
            const std::string_view f = value();
            if (f != "s16" && f != "f32")
                Fail("unknown format '" + std::string(f) + "' (accepted: s16, f32)");
            o.floatOutput = f == "f32";
        } else if (arg == "--output") {
            o.output = value();
            if (o.output.empty())
                Fail("--output needs a file name or -");
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else {
            Fail("unknown option '" + std::string(arg) +
                 "' (accepted: --tones, --wave, --lfo, --delay, --delay-ms, --blocks, "
                 "--format, --output)");
        }
    }
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int b = 0; b < bytes; ++b)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
}

std::vector<std::uint8_t> WavHeader(bool floats, std::uint32_t dataBytes) {
    const int bits = floats ? 32 : 16;
    const int blockAlign = kChannels * bits / 8;
    std::vector<std::uint8_t> h;
    auto tag = [&h](const char* t) { h.insert(h.end(), t, t + 4); };
    tag("RIFF");
    PutLe(h, 36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    PutLe(h, 16, 4);
    PutLe(h, floats ? 3 : 1, 2);
    PutLe(h, kChannels, 2);
    PutLe(h, kRate, 4);
    PutLe(h, kRate * blockAlign, 4);
    PutLe(h, blockAlign, 2);
    PutLe(h, bits, 2);
    tag("data");
    PutLe(h, dataBytes, 4);
    return h;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    ParseOptions(argc, argv, o);

    EffectChain chain;
    chain.BuildFromSettings(defaultEffectSettings);
    if (o.delay)
        SetDelayEnabled(chain, true);
    if (o.delayMs)
        SetDelayTime(chain, *o.delayMs);

    const bool toStdout = o.output == "-";
    std::FILE* out = toStdout ? stdout : std::fopen(o.output.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "vindrel-render: cannot write '%s': %s\n", o.output.c_str(),
                     std::strerror(errno));
        return 1;
    }
    const std::uint32_t bytesPerBlock = kBlockFrames * kChannels * (o.floatOutput ? 4 : 2);
    if (EndsWith(o.output, ".wav")) {
        const auto header =
            WavHeader(o.floatOutput, bytesPerBlock * static_cast<std::uint32_t>(o.blocks));
        std::fwrite(header.data(), 1, header.size(), out);
    }

    ToneGenerator generator;
    SampleBuffer block;
    PcmBuffer pcm;
    std::vector<float> interleaved(kBlockFrames * kChannels);
    for (int b = 0; b < o.blocks; ++b) {
        block.Resize(kBlockFrames, kChannels);
        const std::int64_t position = std::int64_t{b} * kBlockFrames;
        if (!generator.Render(position, block, o.settings, chain, kRate))
            continue; // the player would not queue it either
        if (o.floatOutput) {
            const float* channels[kChannels] = {block.Channel(0).Data(), block.Channel(1).Data()};
            InterleaveFloats(channels, kChannels, kBlockFrames, interleaved.data());
            std::fwrite(interleaved.data(), sizeof(float), interleaved.size(), out);
        } else {
            FormatPcm(kChannels * 2, block, pcm, kChannels);
            std::fwrite(pcm.Data(), 1, static_cast<std::size_t>(pcm.Size()), out);
        }
    }
    const bool ok = std::fflush(out) == 0 && !std::ferror(out);
    if (!toStdout)
        std::fclose(out);
    if (!ok) {
        std::fprintf(stderr, "vindrel-render: writing '%s' failed\n", o.output.c_str());
        return 1;
    }
    return 0;
}
