// VSTUtils.cpp — AudioEffect's number-to-text routines for parameter displays.
//
// Every text is cut to the VST 2 parameter-text length (8 characters plus the
// zero), the size hosts are required to provide.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/DAudioE.h"
#include "platform/Locale.h"

namespace {

void writeBounded(char* text, const char* formatted) { copyHostText(text, formatted, kMaxParameterTextLength); }

}  // namespace

void AudioEffect::formatFixedTwoDecimals(double value, char* text) {
    if (text == nullptr) return;
    if (std::isnan(value)) return writeBounded(text, "NAN");
    if (std::isinf(value)) return writeBounded(text, "INF");
    char buffer[64];
    if (std::fabs(value) >= 1e18)
        std::snprintf(buffer, sizeof buffer, "%.2E", value);
    else
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
    writeBounded(text, platform::withSeparator(buffer, platform::decimalSeparator(), kMaxParameterTextLength).c_str());
}

void AudioEffect::float2string(float value, char* text) { formatFixedTwoDecimals(static_cast<double>(value), text); }

void AudioEffect::long2string(std::int32_t value, char* text) {
    if (text == nullptr) return;
    if (value >= 100000000) return writeBounded(text, " Huge!  ");
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%7ld", static_cast<long>(value));
    writeBounded(text, buffer);
}

void AudioEffect::dB2string(float value, char* text) {
    if (text == nullptr) return;
    if (value > 0.0f) {
        const float decibels = static_cast<float>(20.0L * std::log10(static_cast<long double>(value)));
        formatFixedTwoDecimals(static_cast<double>(decibels), text);
        return;
    }
    static const char minusInfinity[] = {' ', ' ', ' ', '-', static_cast<char>(0xB0), ' ', ' ', ' ', '\0'};
    writeBounded(text, minusInfinity);
}

void AudioEffect::Hz2string(float samples, char* text) {
    if (samples == 0.0f || std::isnan(samples)) return float2string(0.0f, text);
    float2string(static_cast<float>(static_cast<double>(getSampleRate()) / static_cast<double>(samples)), text);
}

void AudioEffect::ms2string(float samples, char* text) {
    float2string(static_cast<float>(static_cast<double>(samples) * 1000.0 / static_cast<double>(getSampleRate())), text);
}
