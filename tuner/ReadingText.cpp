// ReadingText.cpp — note table, number texts and pointer position of the tuner panel.
#include "tuner/ReadingText.h"

#include <cmath>
#include <cstdio>

namespace tonemark {

namespace {

const NoteName noteTable[12] = {{"C", " "}, {"C", "#"}, {"D", " "}, {"D", "#"}, {"E", " "}, {"F", " "},
                                {"F", "#"}, {"G", " "}, {"G", "#"}, {"A", " "}, {"A", "#"}, {"B", " "}};

// The digits of |value| rounded to `decimals` places, halves away from zero, with
// the separator in place and at least one integer digit; `negative` tells the sign
// of the rounded value (a value that rounds to zero is not negative).
std::string fixedPoint(double value, int decimals, std::string_view separator, bool& negative) {
    double scale = 1.0;
    for (int i = 0; i < decimals; ++i) scale *= 10.0;
    // A float times 1000 needs at most 34 significant bits, so this product is
    // exact and std::round sees the true halves.
    const double rounded = std::round(value * scale);
    negative = rounded < 0.0;
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.0f", std::fabs(rounded));
    std::string text(digits);
    if (decimals == 0) return text;
    while (static_cast<int>(text.size()) <= decimals) text.insert(text.begin(), '0');
    text.insert(text.size() - static_cast<std::size_t>(decimals), separator.data(), separator.size());
    return text;
}

int decimalsOfFrequency(int accuracy) { return accuracy + 1; }

}  // namespace

NoteName noteName(int pitchClass) {
    if (pitchClass < 0 || pitchClass > 11) return noteTable[0];
    return noteTable[pitchClass];
}

const char* accuracyName(int accuracy) {
    switch (accuracy) {
        case 0: return "Economy";
        case 1: return "Normal";
        case 2: return "Super";
        default: return nullptr;
    }
}

bool formatFrequency(float frequency, int accuracy, std::string_view decimalSeparator, std::string& text) {
    if (accuracy < 0 || accuracy > 2 || !std::isfinite(frequency)) return false;
    bool negative = false;
    const std::string digits =
        fixedPoint(static_cast<double>(frequency), decimalsOfFrequency(accuracy), decimalSeparator, negative);
    text = negative ? "-" + digits : digits;
    return true;
}

bool formatCents(float cents, int accuracy, std::string_view decimalSeparator, std::string& text) {
    if (accuracy < 0 || accuracy > 2 || !std::isfinite(cents)) return false;
    bool negative = false;
    const std::string digits = fixedPoint(static_cast<double>(cents), accuracy == 2 ? 1 : 0, decimalSeparator, negative);
    text = (negative ? "-" : "+") + digits;
    return true;
}

int pointerLeft(float cents, int scaleLeft, int scaleWidth) {
    const double position = static_cast<double>(scaleWidth) * (static_cast<double>(cents) + 50.0) / 100.0;
    // Cents of a shown reading lie within ±50; anything else is held to the scale.
    const double clamped = std::fmin(std::fmax(std::nearbyint(position), 0.0), static_cast<double>(scaleWidth));
    return static_cast<int>(clamped) + scaleLeft - 1;
}

}  // namespace tonemark
