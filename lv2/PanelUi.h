// PanelUi.h — the LV2 X11 UI: the effect's own panel in the host's window.
//
//   PanelUi       opens the effect's editor in ui:parent, runs it from the
//                 host's idle calls and keeps the host's ports in line with it
//   DescribedUi   the LV2UI_Descriptor of a plug-in with the identity it serves
//
// The panel reaches its effect through instance-access, as in VST 2. What it
// changes of a host parameter goes to the host with write_function: at once
// when the panel asks for automation (with ui:touch around a gesture), and
// otherwise at the next idle call, which compares the effect's host parameters
// with what the host's ports were last known to hold. A port changed by the
// host reaches the effect through run while the plug-in is active, and
// through port_event while it is not.
#pragma once

#include <lv2/ui/ui.h>

#include <cstdint>

#include "lv2/PluginInstance.h"

namespace lv2adapter {

class PanelUi final : public PanelLink {
public:
    // Null when the host offers no ui:parent, instance-access or idle
    // interface, when the instance is another plug-in's or already has a
    // panel, or when the panel cannot open.
    static PanelUi* create(const PluginIdentity& identity, const char* pluginUri, LV2UI_Write_Function write,
                           LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features);
    ~PanelUi() override;
    PanelUi(const PanelUi&) = delete;
    PanelUi& operator=(const PanelUi&) = delete;

    void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer);
    // 0: keep going; 1: the panel is gone (the host's idle interface).
    int idle();

    void parameterAutomated(std::int32_t parameter) override;
    void gesture(std::int32_t parameter, bool begins) override;
    bool resizeWindow(int width, int height) override;
    void instanceDestroyed() override;

private:
    PanelUi(PluginInstance& instance, LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch);
    bool open(void* parent, LV2UI_Widget* widget, const LV2UI_Resize* resize, float scaleFactor);
    float effectValue(std::size_t control) const;
    void reportChangedParameters();
    void report(std::size_t control, float value);

    PluginInstance& instance_;
    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    const LV2UI_Touch* touch_;
    const LV2UI_Resize* resize_ = nullptr;
    bool attached_ = false;
    // The host destroyed the instance first: the panel went with its effect.
    bool instanceGone_ = false;
};

struct DescribedUi {
    LV2UI_Descriptor descriptor;
    const PluginIdentity* identity;
};
DescribedUi describeUi(const PluginIdentity& identity);

}  // namespace lv2adapter
