// ParameterTable.cpp — the descriptions and their three uses.
#include "stereo/ParameterTable.h"

#include <climits>
#include <cmath>

#include "stereo/StereoDelay.h"

namespace widefield {

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
using S = StereoSettings;
using I = ParameterIndex;

constexpr SettingDescription onOff(std::int32_t index, const char* field, std::atomic<bool> S::*member) {
    return {index, field, SettingKind::onOff, 1.0f, 0.0f, member, nullptr, nullptr};
}
constexpr SettingDescription continuous(std::int32_t index, const char* field, std::atomic<float> S::*member,
                                        float defaultValue, float scale = 1.0f) {
    return {index, field, SettingKind::continuous, scale, defaultValue, nullptr, member, nullptr};
}

// In index order; 16 is unused.
constexpr SettingDescription kTable[] = {
    onOff(I::kInvertLeft, "invertLeft", &S::invertLeft),
    onOff(I::kInvertRight, "invertRight", &S::invertRight),
    onOff(I::kMonoOut, "monoOut", &S::monoOut),
    continuous(I::kOutputWidth, "outputWidth", &S::outputWidth, 0.5f),
    continuous(I::kInputRotation, "inputRotation", &S::inputRotation, 0.5f),
    continuous(I::kOutputRotation, "outputRotation", &S::outputRotation, 0.5f),
    continuous(I::kCentreCut, "centreCut", &S::centreCut, 0.5f),
    onOff(I::kBypass, "bypass", &S::bypass),
    {I::kDelay, "delaySamples", SettingKind::delay, 240.0f, 0.5f, nullptr, nullptr, &S::delaySamples},
    continuous(I::kGainLeft, "gainLeft", &S::gainLeft, 0.5f, 2.0f),
    continuous(I::kGainRight, "gainRight", &S::gainRight, 0.5f, 2.0f),
    onOff(I::kMetersOff, "metersOff", &S::metersOff),
    onOff(I::kSwapChannels, "swapChannels", &S::swapChannels),
    onOff(I::kDcFilter, "dcFilterOn", &S::dcFilterOn),
    continuous(I::kAsymmetry, "asymmetry", &S::asymmetry, 0.5f),
    continuous(I::kInputWidth, "inputWidth", &S::inputWidth, 0.5f),
    onOff(I::kBassOn, "bassOn", &S::bassOn),
    continuous(I::kBassFrequency, "bassFrequency", &S::bassFrequency, 0.1f),
    continuous(I::kBassBoost, "bassBoost", &S::bassBoost, 0.0f),
    continuous(I::kBassWidth, "bassWidth", &S::bassWidth, 0.5f),
    onOff(I::kPseudoStereo, "pseudoStereo", &S::pseudoStereo),
};

constexpr std::int32_t kDelayOffset = 120;
}  // namespace

bool roundedValue(double value, std::int32_t& result) {
    if (!std::isfinite(value)) return false;
    const double r = std::nearbyint(value);
    result = r <= -2147483648.0 ? INT32_MIN : (r >= 2147483647.0 ? INT32_MAX : static_cast<std::int32_t>(r));
    return true;
}

StereoSettings::StereoSettings() { resetSettings(*this); }

BlockSettings StereoSettings::snapshot() const {
    BlockSettings s;
    s.invertLeft = invertLeft.load(kRelaxed);
    s.invertRight = invertRight.load(kRelaxed);
    s.swapChannels = swapChannels.load(kRelaxed);
    s.inputWidth = inputWidth.load(kRelaxed);
    s.inputRotation = inputRotation.load(kRelaxed);
    s.centreCut = centreCut.load(kRelaxed);
    s.asymmetry = asymmetry.load(kRelaxed);
    s.bassOn = bassOn.load(kRelaxed);
    s.bassFrequency = bassFrequency.load(kRelaxed);
    s.bassBoost = bassBoost.load(kRelaxed);
    s.bassWidth = bassWidth.load(kRelaxed);
    s.delaySamples = delaySamples.load(kRelaxed);
    s.pseudoStereo = pseudoStereo.load(kRelaxed);
    s.outputRotation = outputRotation.load(kRelaxed);
    s.outputWidth = outputWidth.load(kRelaxed);
    s.monoOut = monoOut.load(kRelaxed);
    s.gainLeft = gainLeft.load(kRelaxed);
    s.gainRight = gainRight.load(kRelaxed);
    s.dcFilterOn = dcFilterOn.load(kRelaxed);
    s.bypass = bypass.load(kRelaxed);
    s.metersOff = metersOff.load(kRelaxed);
    return s;
}

SettingTable settingTable() { return {kTable, sizeof kTable / sizeof kTable[0]}; }

const SettingDescription* findSetting(std::int32_t index) {
    for (const SettingDescription& setting : kTable)
        if (setting.index == index) return &setting;
    return nullptr;
}

void storeSetting(StereoSettings& settings, const SettingDescription& setting, float value) {
    switch (setting.kind) {
        case SettingKind::onOff: (settings.*setting.onOffField).store(value == 1.0f, kRelaxed); break;
        case SettingKind::continuous:
            // The 0..1 range is kept; NaN and infinities leave the setting as it is.
            if (std::isfinite(value)) {
                const float limited = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
                (settings.*setting.continuousField).store(static_cast<float>(setting.scale * limited), kRelaxed);
            }
            break;
        case SettingKind::delay: {
            // A value outside 0..1 would reach beyond the delay rings: limited to
            // +-120 samples; NaN and infinities change nothing.
            std::int32_t rounded = 0;
            if (!roundedValue(static_cast<double>(setting.scale) * static_cast<double>(value), rounded)) break;
            std::int64_t d = static_cast<std::int64_t>(rounded) - kDelayOffset;
            if (d < -StereoDelay::kMaxDelay) d = -StereoDelay::kMaxDelay;
            if (d > StereoDelay::kMaxDelay) d = StereoDelay::kMaxDelay;
            (settings.*setting.samplesField).store(static_cast<std::int32_t>(d), kRelaxed);
            break;
        }
    }
}

float readSetting(const StereoSettings& settings, const SettingDescription& setting) {
    switch (setting.kind) {
        case SettingKind::onOff: return (settings.*setting.onOffField).load(kRelaxed) ? 1.0f : 0.0f;
        case SettingKind::continuous:
            return static_cast<float>(static_cast<double>((settings.*setting.continuousField).load(kRelaxed)) /
                                      static_cast<double>(setting.scale));
        case SettingKind::delay:
            return static_cast<float>(((settings.*setting.samplesField).load(kRelaxed) + kDelayOffset) /
                                      static_cast<double>(setting.scale));
    }
    return 0.0f;
}

void resetSettings(StereoSettings& settings) {
    for (const SettingDescription& setting : kTable) storeSetting(settings, setting, setting.defaultValue);
}

}  // namespace widefield
