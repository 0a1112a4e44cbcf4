// LevelScale.cpp — the knots of the level scale and its conversions.
#include "stereo/LevelScale.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace widefield {

namespace {

struct Knot {
    std::int32_t row;
    double db;
};

// Rows 65 and 66 are two knots at the same level: +1 dB.
constexpr Knot kKnots[] = {{0, 6.0},     {30, 3.0},    {65, 1.0},    {66, 1.0},   {74, 0.5},
                           {83, 0.1},    {90, 0.0},    {97, -0.1},   {106, -0.5}, {115, -1.0},
                           {147, -3.0},  {189, -6.0},  {230, -24.0}, {288, -96.0}};
constexpr int kKnotCount = sizeof kKnots / sizeof kKnots[0];

// Segment (index of its lower knot) for a fader row. Where a row is a knot the
// two neighbouring segments agree, so the first one that reaches it is used.
int segmentOfRow(std::int32_t row) {
    for (int k = 1; k < kKnotCount; ++k)
        if (row <= kKnots[k].row) return k - 1;
    return kKnotCount - 2;
}

// Segment for n = round(100 x dB), by the hundredths that bound each one.
int segmentOfHundredths(std::int64_t n) {
    if (n >= 300) return 0;
    if (n >= 100) return 1;
    if (n >= 50) return 3;
    if (n >= 10) return 4;
    if (n >= 1) return 5;
    if (n >= -9) return 6;  // n = 0 is handled before
    if (n >= -49) return 7;
    if (n >= -99) return 8;
    if (n >= -299) return 9;
    if (n >= -599) return 10;
    if (n >= -2399) return 11;
    return 12;
}

}  // namespace

double dbToGain(double db) { return std::pow(10.0, db / 20.0); }

double gainToDb(double gain) { return gain > 0.0 ? 20.0 * std::log10(gain) : -120.0; }

double faderGain(std::int32_t row) {
    if (row == kUnityRow) return 1.0;
    if (row >= kSilenceRow) return 0.0;
    if (row < 0) row = 0;
    const int s = segmentOfRow(row);
    const Knot& a = kKnots[s];
    const Knot& b = kKnots[s + 1];
    const double db = a.db + (static_cast<double>(row) - a.row) * (b.db - a.db) / (b.row - a.row);
    return dbToGain(db);
}

std::int32_t levelRow(double level) {
    if (level == 0.0) return kSilenceRow;
    if (level == 1.0) return kUnityRow;
    const double db = gainToDb(level);
    if (db > 6.0) return 0;
    if (!(db >= -96.0)) return kSilenceRow;  // also NaN
    const std::int64_t n = static_cast<std::int64_t>(std::nearbyint(100.0 * db));
    if (n <= -9600) return kSilenceRow;
    if (n == 0) return kUnityRow;
    const int s = segmentOfHundredths(n);
    const Knot& a = kKnots[s];
    const Knot& b = kKnots[s + 1];
    return static_cast<std::int32_t>(std::nearbyint(a.row + (db - a.db) * (b.row - a.row) / (b.db - a.db)));
}

double faderDb(std::int32_t row) { return gainToDb(faderGain(row)); }

std::int32_t dbToFaderPosition(double db) { return levelRow(dbToGain(db)); }

void formatLevelText(double db, char* text, std::size_t size, std::string_view decimalSeparator) {
    if (text == nullptr || size == 0) return;
    char buffer[48];
    std::size_t separatorAt = 0;
    if (decimalSeparator.size() > 8) decimalSeparator = ".";
    if (!(db >= -119.0)) {
        std::strcpy(buffer, "-inf");
    } else {
        // Three significant digits, at most two decimals: the number of decimals
        // kept follows the magnitude.
        const double magnitude = std::fabs(db);
        double scale = 100.0;
        if (magnitude >= 99.95) scale = 1.0;
        else if (magnitude >= 9.995) scale = 10.0;
        const double rounded = std::nearbyint(db * scale) / scale;
        // Hundredths as an integer, so that the text needs no locale and no
        // further rounding; -0.00 is written as 0.00.
        const long long hundredths = static_cast<long long>(std::nearbyint(std::fabs(rounded) * 100.0));
        const bool negative = rounded < 0.0 && hundredths != 0;
        const int whole = std::snprintf(buffer, sizeof buffer, "%s%lld", negative ? "-" : "", hundredths / 100);
        separatorAt = whole > 0 ? static_cast<std::size_t>(whole) : 0;
        std::snprintf(buffer + separatorAt, sizeof buffer - separatorAt, "%.*s%02llddb",
                      static_cast<int>(decimalSeparator.size()), decimalSeparator.data(), hundredths % 100);
    }
    std::size_t length = std::strlen(buffer);
    if (length > size - 1) {
        length = size - 1;
        // A cut inside the separator would leave part of a character.
        if (separatorAt > 0 && length > separatorAt && length < separatorAt + decimalSeparator.size())
            length = separatorAt;
    }
    std::memcpy(text, buffer, length);
    text[length] = '\0';
}

}  // namespace widefield
