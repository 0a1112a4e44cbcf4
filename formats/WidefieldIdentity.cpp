// WidefieldIdentity.cpp — Widefield as an LV2 plug-in: URIs and its 22 ports.
//
// The symbols are the ports' stable names in saved sessions. The first fifteen
// are the host parameters in their order (port 4 + i drives parameter i); the
// panel-only settings follow, appended so that older sessions keep their ports.
#include "formats/PluginIdentity.h"
#include "stereo/uDoubler.h"
#include "stereo/uStereoMeter.h"

namespace formats {

namespace {

using I = widefield::ParameterIndex;
constexpr float kGainTop = 6.02059991f;  // 20 log10(2): the fader's full gain of 2

constexpr ControlPort kPorts[] = {
    {"invert_left", I::kInvertLeft, PortUnit::toggle, 0.0f, 1.0f},
    {"invert_right", I::kInvertRight, PortUnit::toggle, 0.0f, 1.0f},
    {"mono", I::kMonoOut, PortUnit::toggle, 0.0f, 1.0f},
    {"output_width", I::kOutputWidth, PortUnit::widthPercent, 0.0f, 200.0f},
    {"input_rotation", I::kInputRotation, PortUnit::degrees, -90.0f, 90.0f},
    {"output_rotation", I::kOutputRotation, PortUnit::degrees, -90.0f, 90.0f},
    {"centre", I::kCentreCut, PortUnit::balancePercent, -100.0f, 100.0f},
    {"bypass", I::kBypass, PortUnit::toggle, 0.0f, 1.0f},
    {"delay", I::kDelay, PortUnit::samples, -120.0f, 120.0f},
    {"gain_left", I::kGainLeft, PortUnit::decibels, -120.0f, kGainTop},
    {"gain_right", I::kGainRight, PortUnit::decibels, -120.0f, kGainTop},
    {"meters_off", I::kMetersOff, PortUnit::toggle, 0.0f, 1.0f},
    {"swap", I::kSwapChannels, PortUnit::toggle, 0.0f, 1.0f},
    {"dc_filter", I::kDcFilter, PortUnit::toggle, 0.0f, 1.0f},
    {"balance_left", I::kAsymmetry, PortUnit::balancePercent, -100.0f, 100.0f},
    // The settings only the panel shows a VST 2 host, kept by LV2 hosts as ports.
    {"input_width", I::kInputWidth, PortUnit::widthPercent, 0.0f, 200.0f, "InWidth"},
    {"bass_on", I::kBassOn, PortUnit::toggle, 0.0f, 1.0f, "Bass On"},
    {"bass_frequency", I::kBassFrequency, PortUnit::bassHertz, 0.0f, 1000.0f, "Bass Freq"},
    {"bass_boost", I::kBassBoost, PortUnit::percent, 0.0f, 100.0f, "Bass Boost"},
    {"bass_width", I::kBassWidth, PortUnit::bassWidthPercent, -100.0f, 100.0f, "Bass Width"},
    {"pseudo_stereo", I::kPseudoStereo, PortUnit::toggle, 0.0f, 1.0f, "Pseudo St."},
    {"fluorescence", I::kSetFluorescence, PortUnit::toggle, 0.0f, 1.0f, "Fluorescence"},
};
static_assert(sizeof kPorts / sizeof kPorts[0] == widefield::ADoubler::kNumParams + 7,
              "a port per host parameter, then the panel's settings");

AEffect* create(audioMasterCallback host, const platform::Services& services) {
    return createInstance<widefield::ADoubler>(host, services);
}

}  // namespace

const PluginIdentity& widefieldIdentity() {
    static const PluginIdentity identity{
        "urn:brisora:widefield",
        "urn:brisora:widefield:x11-panel",
        "Widefield",
        "SpatialPlugin",
        "A stereo-image processor and meter: width, rotation, three-way balance, bass width, delay and "
        "pseudo-stereo, with an X-Y scope, peak meters and phase display.",
        {kPorts, sizeof kPorts / sizeof kPorts[0]},
        create,
        panelWindowOf<widefield::ADoublerEditor>,
    };
    return identity;
}

}  // namespace formats
