// ParameterTable.h — every Widefield setting described once.
//
//   ParameterIndex      the indices of the host parameters, the panel-only
//                       settings and the commands on setParameter
//   StereoSettings      the settings as relaxed atomics: written by the host (on
//                       either thread) and the panel, read by the audio thread
//   BlockSettings       a plain copy of all of them, taken once per block, so a
//                       block never mixes two settings
//   SettingDescription  one setting: index, field, kind, scale, default
//   settingTable        the descriptions in index order; findSetting, and the
//                       three uses: storeSetting, readSetting, resetSettings
//   roundedValue        the whole number of a host value (delay, commands)
//
// setParameter, getParameter and ResetAll go through the table only, so the
// conversions and the defaults cannot drift apart between them.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace widefield {

struct ParameterIndex {
    enum : std::int32_t {
        kInvertLeft = 0, kInvertRight, kMonoOut, kOutputWidth, kInputRotation, kOutputRotation, kCentreCut,
        kBypass, kDelay, kGainLeft, kGainRight, kMetersOff, kSwapChannels, kDcFilter, kAsymmetry,
        kInputWidth = 15, kUnused16, kBassOn, kBassFrequency, kBassBoost, kBassWidth, kPseudoStereo,
        kSetScopeBlockDivider = 23, kSetFluorescence = 40, kSetLatency = 50, kResetPhaseRange = 55,
        kResetPeakHolds = 56, kScaleGains = 57, kRefreshPanel = 100, kResync = 108, kAudioWatchdog = 109,
        kSaveLatency = 120, kLoadLatency = 121, kResetAll = 150
    };
};

struct BlockSettings {
    bool invertLeft, invertRight, swapChannels;
    float inputWidth, inputRotation, centreCut, asymmetry;
    bool bassOn;
    float bassFrequency, bassBoost, bassWidth;
    std::int32_t delaySamples;
    bool pseudoStereo;
    float outputRotation, outputWidth;
    bool monoOut;
    float gainLeft, gainRight;
    bool dcFilterOn, bypass, metersOff;
};

class StereoSettings {
public:
    StereoSettings();  // every setting at its default
    BlockSettings snapshot() const;

    std::atomic<bool> invertLeft{false}, invertRight{false}, swapChannels{false};
    std::atomic<float> inputWidth{0.0f}, inputRotation{0.0f}, centreCut{0.0f}, asymmetry{0.0f};
    std::atomic<bool> bassOn{false};
    std::atomic<float> bassFrequency{0.0f}, bassBoost{0.0f}, bassWidth{0.0f};
    std::atomic<std::int32_t> delaySamples{0};
    std::atomic<bool> pseudoStereo{false};
    std::atomic<float> outputRotation{0.0f}, outputWidth{0.0f};
    std::atomic<bool> monoOut{false};
    std::atomic<float> gainLeft{0.0f}, gainRight{0.0f};
    std::atomic<bool> dcFilterOn{false}, bypass{false}, metersOff{false};
};

enum class SettingKind {
    onOff,       // on exactly at 1.0; reads back 1.0 or 0.0
    continuous,  // 0..1 times scale; NaN and infinities change nothing
    delay,       // round(240 x value) - 120 samples, within the delay rings
};

struct SettingDescription {
    std::int32_t index;
    const char* field;
    SettingKind kind;
    float scale;         // continuous: stored value = scale x host value
    float defaultValue;  // the host value that ResetAll sets
    // The one field the kind uses; the others are null.
    std::atomic<bool> StereoSettings::*onOffField;
    std::atomic<float> StereoSettings::*continuousField;
    std::atomic<std::int32_t> StereoSettings::*samplesField;
};

struct SettingTable {
    const SettingDescription* begin() const { return first; }
    const SettingDescription* end() const { return first + count; }
    std::size_t size() const { return count; }
    const SettingDescription* first;
    std::size_t count;
};

SettingTable settingTable();
// The description of a setting's index; null for commands and unused indices.
const SettingDescription* findSetting(std::int32_t index);

// The host value into the field, converted as the kind says.
void storeSetting(StereoSettings& settings, const SettingDescription& setting, float value);
// The field as a host value.
float readSetting(const StereoSettings& settings, const SettingDescription& setting);
// Every setting to its default.
void resetSettings(StereoSettings& settings);

// round(value) within the int32 range; false for NaN and infinities, which
// leave a setting as it is.
bool roundedValue(double value, std::int32_t& result);

}  // namespace widefield
