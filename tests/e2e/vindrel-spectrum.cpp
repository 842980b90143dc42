// Measures a stretch of a 16-bit 48000 Hz stereo capture:
//   vindrel-spectrum FILE --from S --length S [--expect HZ]... [--absent HZ]...
//                    [--silent] [--max-residual F] [--onset-within S] [--steady CHUNK]
// Prints what it measured; exits 0 when every condition holds, 1 otherwise.

#include "Spectrum.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace vindrel::testing;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vindrel-spectrum FILE --from S --length S [conditions]\n");
        return 2;
    }
    const int rate = 48000;
    double from = 0.0, length = 1.0, maxResidual = -1.0, onsetWithin = -1.0, steady = -1.0;
    bool silent = false;
    std::vector<double> expect, absent;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--from" && hasValue)
            from = std::atof(argv[++i]);
        else if (arg == "--length" && hasValue)
            length = std::atof(argv[++i]);
        else if (arg == "--expect" && hasValue)
            expect.push_back(std::atof(argv[++i]));
        else if (arg == "--absent" && hasValue)
            absent.push_back(std::atof(argv[++i]));
        else if (arg == "--max-residual" && hasValue)
            maxResidual = std::atof(argv[++i]);
        else if (arg == "--onset-within" && hasValue)
            onsetWithin = std::atof(argv[++i]);
        else if (arg == "--steady" && hasValue)
            steady = std::atof(argv[++i]);
        else if (arg == "--silent")
            silent = true;
        else {
            std::fprintf(stderr, "vindrel-spectrum: unknown argument '%s'\n", arg.c_str());
            return 2;
        }
    }
    const std::vector<double> samples = ReadStretch(argv[1], rate, from, length);
    bool ok = samples.size() == static_cast<std::size_t>(length * rate + 0.5);
    std::printf("stretch %.3f s + %.3f s: %zu frames, rms %.4f\n", from, length, samples.size(),
                Rms(samples));
    if (silent && Rms(samples) > 0.001) {
        std::printf("  not silent\n");
        ok = false;
    }
    for (double hz : expect) {
        const double a = ToneAmplitude(samples, rate, hz);
        std::printf("  %.0f Hz: %.4f\n", hz, a);
        if (a < 0.05)
            ok = false;
    }
    for (double hz : absent) {
        const double a = ToneAmplitude(samples, rate, hz);
        std::printf("  %.0f Hz (absent): %.4f\n", hz, a);
        if (a > 0.01)
            ok = false;
    }
    if (maxResidual >= 0.0) {
        const double r = ResidualFraction(samples, rate, expect);
        std::printf("  power not in the expected tones: %.4f\n", r);
        if (r > maxResidual)
            ok = false;
    }
    if (onsetWithin >= 0.0) {
        const double onset = OnsetSeconds(samples, rate, 0.02);
        std::printf("  sound begins after %.3f s\n", onset);
        if (onset < 0.0 || onset > onsetWithin)
            ok = false;
    }
    if (steady > 0.0) {
        // No drop-outs: every chunk as loud as the whole stretch, within 10 %.
        const double whole = Rms(samples);
        const auto chunk = static_cast<std::size_t>(steady * rate);
        double quietest = whole;
        double quietestAt = 0.0;
        for (std::size_t start = 0; chunk > 0 && start + chunk <= samples.size(); start += chunk) {
            const std::vector<double> piece(samples.begin() + static_cast<long>(start),
                                            samples.begin() + static_cast<long>(start + chunk));
            const double r = Rms(piece);
            if (r < quietest) {
                quietest = r;
                quietestAt = from + static_cast<double>(start) / rate;
            }
        }
        std::printf("  quietest %.3f s chunk: rms %.4f at %.3f s\n", steady, quietest, quietestAt);
        if (quietest < 0.9 * whole)
            ok = false;
    }
    std::printf("%s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
