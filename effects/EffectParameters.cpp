#include "EffectParameters.h"

#include "Effect.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vindrel {

namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string Widen(const char* begin, const char* end) {
    return std::u16string(begin, end);
}

} // namespace

double ParseNumber(const std::u16string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        number += static_cast<char>(text[i]);
    if (i < text.size() && text[i] == u'.') {
        number += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits)
            number += static_cast<char>(text[i]);
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when at least one digit follows it.
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            exponent += static_cast<char>(text[j++]);
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent += static_cast<char>(text[j]);
            number += exponent;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow reads as infinity, underflow as zero, as the C library does.
        const bool negative = number[0] == '-';
        const bool tiny = number.find("e-") != std::string::npos;
        value = tiny ? (negative ? -0.0 : 0.0)
                     : (negative ? -std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::infinity());
    }
    return static_cast<double>(static_cast<float>(value));
}

std::u16string FormatNumber(double x) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, 6);
    return Widen(text, result.ptr);
}

std::u16string FormatInteger(int n) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, n);
    return Widen(text, result.ptr);
}

int CountListItems(const std::u16string& text) {
    if (text.empty())
        return 0;
    int commas = 0;
    for (char16_t c : text)
        commas += c == u',';
    return commas + 1;
}

std::u16string ListItem(const std::u16string& text, int i) {
    std::size_t start = 0;
    for (int item = 0; item < i; ++item) {
        const std::size_t comma = text.find(u',', start);
        if (comma == std::u16string::npos)
            return {};
        start = comma + 1;
    }
    const std::size_t end = text.find(u',', start);
    return text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
}

double DecibelsToGain(double dB) {
    return std::pow(10.0, dB / 20.0);
}

double GainToDecibels(double g) {
    if (g <= 0.0)
        return -std::numeric_limits<double>::max();
    return 20.0 * std::log10(g);
}

bool SetParameterNumber(EffectNode& effect, const std::u16string& key, double x) {
    return effect.SetParameter(key, FormatNumber(x));
}

bool SetParameterInteger(EffectNode& effect, const std::u16string& key, int n) {
    return effect.SetParameter(key, FormatInteger(n));
}

} // namespace vindrel
