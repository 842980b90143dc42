#pragma once

#include <string>

namespace vindrel {

class EffectNode;

// Numbers travel as text. Reading: leading white space skipped, the longest
// decimal prefix used, anything else gives 0.0; the result is rounded to float.
// Neither direction depends on the process locale.
double ParseNumber(const std::u16string& text);
// "%f": fixed, six decimals.
std::u16string FormatNumber(double x);
// "%d".
std::u16string FormatInteger(int n);

// Comma lists: empty text has no items; otherwise commas + 1 items, nothing trimmed.
int CountListItems(const std::u16string& text);
std::u16string ListItem(const std::u16string& text, int i);

double DecibelsToGain(double dB);
// For g <= 0: the most negative finite double.
double GainToDecibels(double g);

bool SetParameterNumber(EffectNode& effect, const std::u16string& key, double x);
bool SetParameterInteger(EffectNode& effect, const std::u16string& key, int n);

} // namespace vindrel
