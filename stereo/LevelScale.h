// LevelScale.h — the 289-row dB scale of the faders and the level meters.
//
// Rows 0 (top, +6 dB) to 288 (silence), piecewise linear in dB between knots,
// fine near 0 dB (row 90) and coarse towards silence. Pure functions without
// state: the panel calls them, and the meters also from the audio thread.
//
//   dbToGain, gainToDb      10^(d/20) and 20 log10 g (-120 for g <= 0)
//   faderGain, faderDb      row → linear gain / dB
//   levelRow                linear level → row
//   dbToFaderPosition       dB → row
//   formatLevelText         the readout: "-inf" below -119 dB, otherwise the dB
//                           value to at most three significant digits and two
//                           decimals, always with two decimals, then "db"
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace widefield {

constexpr std::int32_t kLevelRows = 289;
constexpr std::int32_t kUnityRow = 90;
constexpr std::int32_t kSilenceRow = 288;

double dbToGain(double db);
double gainToDb(double gain);
double faderGain(std::int32_t row);
std::int32_t levelRow(double level);
double faderDb(std::int32_t row);
std::int32_t dbToFaderPosition(double db);

// Writes at most size - 1 bytes and the terminating zero (16 is enough with a
// separator of up to 8 bytes); a cut never splits the separator.
void formatLevelText(double db, char* text, std::size_t size, std::string_view decimalSeparator = ".");
inline void formatLevelText(double db, char* text, std::size_t size, char decimalSeparator) {
    formatLevelText(db, text, size, std::string_view(&decimalSeparator, 1));
}

}  // namespace widefield
