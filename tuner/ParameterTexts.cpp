// ParameterTexts.cpp — names, units and value texts of Tonemark's parameters,
// and the ADoubler overrides that write them for a host.
//
// The strip's arrows keep to their ranges (425..453 Hz, settings 0..2) and show
// a stored value outside them as the nearest end; the host's texts do the same,
// so a host and the strip read alike.
#include "tuner/ParameterTexts.h"

#include <cmath>

#include "tuner/ReadingText.h"
#include "tuner/uDoubler.h"

namespace tonemark {

namespace {

constexpr std::int32_t kReferenceIndex = 0;
constexpr std::int32_t kAccuracyIndex = 1;
constexpr int kLowestReference = 425;
constexpr int kHighestReference = 453;

bool isHostParameter(std::int32_t index) { return index == kReferenceIndex || index == kAccuracyIndex; }

// The arrow position for a stored value: nearest whole number, kept to the
// range (NaN, which the effect never stores, reads as the low end).
int arrowPosition(float value, int low, int high) {
    const double v = static_cast<double>(value);
    if (!(v > low)) return low;
    if (v >= high) return high;
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

const char* parameterName(std::int32_t index) {
    switch (index) {
        case kReferenceIndex: return "Ref. A3";
        case kAccuracyIndex: return "Accuracy";
        default: return nullptr;
    }
}

const char* parameterUnit(std::int32_t index) {
    switch (index) {
        case kReferenceIndex: return "Hz";
        case kAccuracyIndex: return "";
        default: return nullptr;
    }
}

std::string parameterDisplay(std::int32_t index, float value) {
    switch (index) {
        case kReferenceIndex: return std::to_string(arrowPosition(value, kLowestReference, kHighestReference));
        case kAccuracyIndex: return accuracyName(arrowPosition(value, 0, 2));
        default: return "";
    }
}

// ---- What the host asks of the effect ------------------------------------------------
// An index outside the two parameters gets nothing written.

void ADoubler::getParameterName(std::int32_t index, char* text) {
    if (isHostParameter(index)) copyHostText(text, tonemark::parameterName(index), kMaxParameterTextLength);
}

void ADoubler::getParameterLabel(std::int32_t index, char* label) {
    if (isHostParameter(index)) copyHostText(label, parameterUnit(index), kMaxParameterTextLength);
}

void ADoubler::getParameterDisplay(std::int32_t index, char* text) {
    if (!isHostParameter(index)) return;
    copyHostText(text, parameterDisplay(index, getParameter(index)).c_str(), kMaxParameterTextLength);
}

}  // namespace tonemark
