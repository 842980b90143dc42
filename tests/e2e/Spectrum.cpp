#include "Spectrum.h"

#include <cmath>
#include <cstdint>
#include <fstream>

namespace vindrel::testing {

namespace {
constexpr double kPi = 3.14159265358979323846;

double Hann(std::size_t n, std::size_t size) {
    return 0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(n) / static_cast<double>(size - 1));
}
} // namespace

std::vector<double> ReadStretch(const std::string& path, int rate, double fromSeconds,
                                double lengthSeconds) {
    std::ifstream in(path, std::ios::binary);
    const auto first = static_cast<std::streamoff>(std::llround(fromSeconds * rate)) * 4;
    const auto frames = static_cast<std::size_t>(std::llround(lengthSeconds * rate));
    in.seekg(first);
    std::vector<double> samples;
    samples.reserve(frames);
    unsigned char frame[4];
    while (samples.size() < frames && in.read(reinterpret_cast<char*>(frame), 4)) {
        const auto left = static_cast<std::int16_t>(frame[0] | (frame[1] << 8));
        const auto right = static_cast<std::int16_t>(frame[2] | (frame[3] << 8));
        samples.push_back((left + right) / 2.0 / 32768.0);
    }
    return samples;
}

double ToneAmplitude(const std::vector<double>& samples, int rate, double hz) {
    if (samples.size() < 2)
        return 0.0;
    double re = 0.0, im = 0.0, weight = 0.0;
    const double step = 2.0 * kPi * hz / rate;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        const double w = Hann(n, samples.size());
        re += w * samples[n] * std::cos(step * static_cast<double>(n));
        im -= w * samples[n] * std::sin(step * static_cast<double>(n));
        weight += w;
    }
    return 2.0 * std::hypot(re, im) / weight;
}

double Rms(const std::vector<double>& samples) {
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (double x : samples)
        sum += x * x;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

double ResidualFraction(const std::vector<double>& samples, int rate,
                        const std::vector<double>& tonesHz) {
    const double total = Rms(samples) * Rms(samples);
    if (total == 0.0)
        return 0.0;
    double explained = 0.0;
    for (double hz : tonesHz) {
        const double a = ToneAmplitude(samples, rate, hz);
        explained += a * a / 2.0;
    }
    const double residual = (total - explained) / total;
    return residual < 0.0 ? 0.0 : residual;
}

double OnsetSeconds(const std::vector<double>& samples, int rate, double threshold) {
    for (std::size_t n = 0; n < samples.size(); ++n)
        if (std::fabs(samples[n]) > threshold)
            return static_cast<double>(n) / rate;
    return -1.0;
}

} // namespace vindrel::testing
