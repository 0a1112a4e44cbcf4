// PluginIdentity.h — what the adapter knows of one plug-in beyond its effect.
//
//   PluginIdentity     URIs, names, the control ports, how to make the effect
//                      and where its open panel's window is
//   tonemarkIdentity, widefieldIdentity   the two plug-ins
//   servesRate      whether an adapter may run the plug-in at a sample rate
//   panelWindowOf<Editor>   PluginIdentity::panelWindow for an editor class
//
// The effect classes stay as the VST 2 build has them: the adapter makes them
// through the same createInstance as their exported main, and drives them
// through their AEffect record.
#pragma once

#include "framework/DAudioE.h"
#include "formats/ControlPorts.h"
#include "platform/Services.h"

namespace formats {

struct PluginIdentity {
    const char* uri;
    const char* uiUri;
    const char* name;         // doap:name; also the bundle's and the binary's name
    const char* pluginClass;  // the LV2 class below lv2:Plugin ("AnalyserPlugin")
    const char* comment;
    PortTable controls;
    // createInstance<Effect>: null when the effect cannot be made.
    AEffect* (*create)(audioMasterCallback host, const platform::Services& services);
    // The open panel's native window (an X11 Window id); null while closed.
    void* (*panelWindow)(AudioEffect& effect);
    // The sample rates the effect works at; null for any the adapter takes.
    bool (*servesRate)(double rate) = nullptr;
};

// Whether an adapter may run the plug-in at a rate: a positive rate up to
// 16 MHz (what a 32-bit float carries to the effect exactly enough), and one
// the effect itself reads correctly.
inline bool servesRate(const PluginIdentity& identity, double rate) {
    if (!(rate > 0.0 && rate <= 16.0e6)) return false;
    return identity.servesRate == nullptr || identity.servesRate(rate);
}

template <typename Editor>
void* panelWindowOf(AudioEffect& effect) {
    auto* editor = static_cast<Editor*>(effect.getEditor());
    if (editor == nullptr || editor->getForm() == nullptr || editor->getForm()->window() == nullptr) return nullptr;
    return editor->getForm()->window()->nativeHandle();
}

const PluginIdentity& tonemarkIdentity();
const PluginIdentity& widefieldIdentity();

}  // namespace formats
