// TonemarkLv2.cpp — the entry points of Tonemark.lv2's binary: the plug-in and its panel.
#include "lv2/PanelUi.h"
#include "lv2/PluginInstance.h"

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index) {
    static const lv2adapter::DescribedPlugin plugin = lv2adapter::describePlugin(lv2adapter::tonemarkIdentity());
    return index == 0 ? &plugin.descriptor : nullptr;
}

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(std::uint32_t index) {
    static const lv2adapter::DescribedUi ui = lv2adapter::describeUi(lv2adapter::tonemarkIdentity());
    return index == 0 ? &ui.descriptor : nullptr;
}
