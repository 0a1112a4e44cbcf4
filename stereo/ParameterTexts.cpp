// ParameterTexts.cpp — names, units and value texts of the host parameters, and
// the ADoubler overrides that write them (and the automation answer) for a host.
//
// The value texts come from the same routines as the panel's labels
// (ValueLabels, LevelScale), so a host and the panel read alike.
#include "stereo/ParameterTexts.h"

#include <cstring>

#include "platform/Locale.h"
#include "stereo/LevelScale.h"
#include "stereo/RoundToInt.h"
#include "stereo/ValueLabels.h"
#include "stereo/uDoubler.h"

namespace widefield {

namespace {

enum class Kind { onOff, width, rotation, reversePercent, delay, gain };

struct HostParameter {
    const char* name;
    const char* unit;
    Kind kind;
};

// By index. Where two host parameters share a caption on the panel (the two
// "Rotation" sliders, the two "Bypass" buttons) the section tells them apart.
// Rotations read "deg": a host's 8-bit text has no agreed encoding for "º".
constexpr HostParameter kHostParameters[] = {
    {"L +/-", "", Kind::onOff},                  // invertLeft
    {"R +/-", "", Kind::onOff},                  // invertRight
    {"MONO", "", Kind::onOff},                   // monoOut
    {"OutWidth", "%", Kind::width},              // outputWidth
    {"In Rot.", "deg", Kind::rotation},          // inputRotation
    {"Out Rot.", "deg", Kind::rotation},         // outputRotation
    {"Centre", "%", Kind::reversePercent},       // centreCut
    {"Bypass", "", Kind::onOff},                 // bypass
    {"Delay", "samples", Kind::delay},           // delaySamples
    {"Fader L", "dB", Kind::gain},               // gainLeft
    {"Fader R", "dB", Kind::gain},               // gainRight
    {"MeterByp", "", Kind::onOff},               // metersOff
    {"R<->L", "", Kind::onOff},                  // swapChannels
    {"DCfilter", "", Kind::onOff},               // dcFilterOn
    {"Left", "%", Kind::reversePercent},         // asymmetry, as the "Left" column shows it
};
constexpr std::int32_t kHostParameterCount = sizeof kHostParameters / sizeof kHostParameters[0];
static_assert(kHostParameterCount == ADoubler::kNumParams, "one entry per host parameter");

// The position a 0..100 slider takes for a value (round(value x 100), kept to its range).
int sliderPosition(float value) { return roundToIntLimited(100.0 * static_cast<double>(value), 0, 100, 50); }

// A label's text without the unit it ends with.
std::string numberOf(const ValueLabel& label, const char* unit) {
    const std::size_t unitLength = std::strlen(unit);
    const std::string& text = label.text;
    if (text.size() >= unitLength && text.compare(text.size() - unitLength, unitLength, unit) == 0)
        return text.substr(0, text.size() - unitLength);
    return text;
}

// "L n" when the left channel is delayed, "R n" for the right, "0" for none.
std::string delayText(float value) {
    const std::int32_t samples = roundToIntLimited(240.0 * static_cast<double>(value), 0, 240, 120) - 120;
    const DelayLabels labels = delayLabels(samples + 120);
    if (samples < 0) return "L " + labels.left.text;
    if (samples > 0) return "R " + labels.right.text;
    return "0";
}

// The fader readout's number for the stored gain (twice the parameter value).
std::string gainText(float value, std::string_view decimalSeparator) {
    char text[16];
    formatLevelText(gainToDb(2.0 * static_cast<double>(value)), text, sizeof text, decimalSeparator);
    std::string readout = text;
    const std::size_t unit = readout.rfind("db");
    if (unit != std::string::npos && unit + 2 == readout.size()) readout.erase(unit);
    return readout;
}

}  // namespace

bool isHostParameter(std::int32_t index) { return index >= 0 && index < kHostParameterCount; }

const char* parameterName(std::int32_t index) { return isHostParameter(index) ? kHostParameters[index].name : nullptr; }

const char* parameterUnit(std::int32_t index) { return isHostParameter(index) ? kHostParameters[index].unit : nullptr; }

std::string parameterDisplay(std::int32_t index, float value, std::string_view decimalSeparator) {
    if (!isHostParameter(index)) return "";
    switch (kHostParameters[index].kind) {
        case Kind::onOff: return value == 1.0f ? "On" : "Off";
        case Kind::width: return numberOf(widthLabel(sliderPosition(value)), "%");
        case Kind::rotation: return numberOf(rotationLabel(sliderPosition(value)), "\xBA");
        case Kind::reversePercent: return numberOf(reversePercentLabel(sliderPosition(value)), "%");
        case Kind::delay: return delayText(value);
        case Kind::gain: return gainText(value, decimalSeparator);
    }
    return "";
}

// ---- What the host asks of the effect ------------------------------------------------
// An index outside the host parameters gets nothing written: a host that asks
// beyond numParams has no buffer of ours to fill.

void ADoubler::getParameterName(std::int32_t index, char* text) {
    if (isHostParameter(index)) copyHostText(text, parameterName(index), kMaxParameterTextLength);
}

void ADoubler::getParameterLabel(std::int32_t index, char* label) {
    if (isHostParameter(index)) copyHostText(label, parameterUnit(index), kMaxParameterTextLength);
}

void ADoubler::getParameterDisplay(std::int32_t index, char* text) {
    if (!isHostParameter(index)) return;
    const std::string display = parameterDisplay(index, getParameter(index), platform::decimalSeparator());
    copyHostText(text, display.c_str(), kMaxParameterTextLength);
}

// Every host parameter is a 0..1 value a host's automation lane can carry.
std::int32_t ADoubler::canBeAutomated(std::int32_t index) { return isHostParameter(index) ? 1 : 0; }

}  // namespace widefield
