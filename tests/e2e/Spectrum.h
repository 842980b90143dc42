#pragma once

#include <string>
#include <vector>

namespace vindrel::testing {

// One stretch of a 16-bit stereo capture, as floats (left + right) / 2.
std::vector<double> ReadStretch(const std::string& path, int rate, double fromSeconds,
                                double lengthSeconds);

// The amplitude of a sinusoid at `hz` (Hann-windowed DFT at that frequency).
double ToneAmplitude(const std::vector<double>& samples, int rate, double hz);

double Rms(const std::vector<double>& samples);

// The share of the signal's power that the given tones do not explain.
double ResidualFraction(const std::vector<double>& samples, int rate,
                        const std::vector<double>& tonesHz);

// Seconds from the start of the stretch to the first sample louder than
// `threshold`; negative when there is none.
double OnsetSeconds(const std::vector<double>& samples, int rate, double threshold);

} // namespace vindrel::testing
