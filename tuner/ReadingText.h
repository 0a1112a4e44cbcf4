// ReadingText.h — what the tuner panel writes for one reading, as plain values.
//
//   NoteName          letter and sharp sign of a pitch class
//   noteName          the note table (C, C#, D ... B)
//   accuracyName      "Economy", "Normal", "Super"
//   formatFrequency   the frequency text of an accuracy setting
//   formatCents       the cents text of an accuracy setting
//   pointerLeft       the pointer's left edge on the cents scale
//
// No widgets here, so the panel's texts can be checked without a window.
#pragma once

#include <string>
#include <string_view>

namespace tonemark {

struct NoteName {
    const char* letter;
    const char* sharp;  // "#" or a single blank
};

// pitchClass is n mod 12, 0 = C up to 11 = B; other values give C.
NoteName noteName(int pitchClass);

// The name of an accuracy setting, or nullptr for a value outside 0 to 2.
const char* accuracyName(int accuracy);

// Fixed point with 1, 2 or 3 decimals for accuracy 0, 1, 2; at least one integer
// digit, no grouping, halves away from zero. False (text untouched) for an
// accuracy outside 0 to 2 or a value that is not finite.
// The separator may take several bytes (UTF-8).
bool formatFrequency(float frequency, int accuracy, std::string_view decimalSeparator, std::string& text);
inline bool formatFrequency(float frequency, int accuracy, char decimalSeparator, std::string& text) {
    return formatFrequency(frequency, accuracy, std::string_view(&decimalSeparator, 1), text);
}

// Whole cents for accuracy 0 and 1, one decimal for 2; always signed, and a
// value that rounds to zero reads "+0" or "+0.0". False as formatFrequency.
bool formatCents(float cents, int accuracy, std::string_view decimalSeparator, std::string& text);
inline bool formatCents(float cents, int accuracy, char decimalSeparator, std::string& text) {
    return formatCents(cents, accuracy, std::string_view(&decimalSeparator, 1), text);
}

// round(scaleWidth * (cents + 50) / 100) + scaleLeft - 1, ties to even: 0 at
// -50 cents, 200 at 0, 400 at +50 on the panel's 400-pixel scale at left 1.
int pointerLeft(float cents, int scaleLeft, int scaleWidth);

}  // namespace tonemark
