// TonemarkIdentity.cpp — Tonemark as an LV2 plug-in: URIs and its two ports.
#include "formats/PluginIdentity.h"
#include "tuner/DecimationDesign.h"
#include "tuner/uDoubler.h"
#include "tuner/uFFT.h"

namespace formats {

namespace {

constexpr ControlPort kPorts[] = {
    {"reference", tonemark::ADoubler::kReferencePitch, PortUnit::hertz, 425.0f, 453.0f},
    {"accuracy", tonemark::ADoubler::kAccuracy, PortUnit::choice, 0.0f, 2.0f},
};

AEffect* create(audioMasterCallback host, const platform::Services& services) {
    return createInstance<tonemark::ADoubler>(host, services);
}

}  // namespace

const PluginIdentity& tonemarkIdentity() {
    static const PluginIdentity identity{
        "urn:brisora:tonemark",
        "urn:brisora:tonemark:x11-panel",
        "Tonemark",
        "AnalyserPlugin",
        "An instrument tuner: note, octave, MIDI number, frequency and cents against a reference pitch; "
        "the audio passes unchanged.",
        {kPorts, sizeof kPorts / sizeof kPorts[0]},
        create,
        panelWindowOf<tonemark::ADoublerEditor>,
        // Elsewhere the tuner would read wrong notes: the host is refused.
        tonemark::isSupportedSampleRate,
    };
    return identity;
}

}  // namespace formats
