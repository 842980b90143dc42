#include "Spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>

namespace vindrel::testing {
namespace {

constexpr double kTwoPi = 6.283185307179586;

std::vector<double> Tones(std::vector<std::pair<double, double>> tones, int frames) {
    std::vector<double> x(static_cast<std::size_t>(frames));
    for (int n = 0; n < frames; ++n)
        for (auto [hz, amplitude] : tones)
            x[static_cast<std::size_t>(n)] += amplitude * std::sin(kTwoPi * hz * n / 48000 + 0.3);
    return x;
}

TEST(Spectrum, MeasuresAKnownMix) {
    const auto x = Tones({{528, 0.5}, {174, 0.25}}, 24000);
    EXPECT_NEAR(ToneAmplitude(x, 48000, 528), 0.5, 0.005);
    EXPECT_NEAR(ToneAmplitude(x, 48000, 174), 0.25, 0.005);
    EXPECT_LT(ToneAmplitude(x, 48000, 285), 0.002);
    EXPECT_LT(ResidualFraction(x, 48000, {528, 174}), 0.01);
    EXPECT_GT(ResidualFraction(x, 48000, {528}), 0.15); // 174 Hz is unexplained
}

TEST(Spectrum, NoiseIsResidualAndOnsetIsFound) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.1);
    auto x = Tones({{963, 0.3}}, 24000);
    for (auto& v : x)
        v += noise(random);
    EXPECT_NEAR(ToneAmplitude(x, 48000, 963), 0.3, 0.02);
    // Noise power 0.01 against the tone's 0.045.
    EXPECT_NEAR(ResidualFraction(x, 48000, {963}), 0.01 / 0.055, 0.02);

    std::vector<double> late(48000, 0.0);
    for (int n = 12000; n < 48000; ++n)
        late[static_cast<std::size_t>(n)] = 0.5 * std::sin(kTwoPi * 528 * n / 48000);
    EXPECT_NEAR(OnsetSeconds(late, 48000, 0.02), 0.25, 0.001);
    EXPECT_LT(OnsetSeconds(std::vector<double>(100, 0.0), 48000, 0.02), 0.0);
}

TEST(Spectrum, ReadsStereoCaptures) {
    const std::string path = ::testing::TempDir() + "/spectrum-test.raw";
    {
        std::ofstream out(path, std::ios::binary);
        for (int n = 0; n < 48000; ++n) {
            const auto v = static_cast<std::int16_t>(n < 24000 ? 0 : 16384);
            const unsigned char frame[4] = {static_cast<unsigned char>(v & 0xFF),
                                            static_cast<unsigned char>(v >> 8),
                                            static_cast<unsigned char>(v & 0xFF),
                                            static_cast<unsigned char>(v >> 8)};
            out.write(reinterpret_cast<const char*>(frame), 4);
        }
    }
    const auto quiet = ReadStretch(path, 48000, 0.0, 0.5);
    const auto loud = ReadStretch(path, 48000, 0.5, 0.5);
    ASSERT_EQ(quiet.size(), 24000u);
    EXPECT_EQ(Rms(quiet), 0.0);
    EXPECT_DOUBLE_EQ(Rms(loud), 0.5);
    EXPECT_EQ(ReadStretch(path, 48000, 0.9, 0.5).size(), 4800u);
    std::remove(path.c_str());
}

} // namespace
} // namespace vindrel::testing
