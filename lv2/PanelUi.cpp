// PanelUi.cpp — the UI side of the adapter.
//
//   create, open, destructor   the features checked, the editor opened and closed
//   portEvent, idle            the host's calls
//   report...                  the panel's changes to the host's ports
//   describeUi                 the C entry points of LV2UI_Descriptor
#include "lv2/PanelUi.h"

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

namespace lv2adapter {

namespace {

constexpr std::uint32_t kFloatProtocol = 0;

const LV2_Feature* findFeature(const LV2_Feature* const* features, const char* uri) {
    if (features == nullptr) return nullptr;
    for (const LV2_Feature* const* f = features; *f != nullptr; ++f)
        if ((*f)->URI != nullptr && std::strcmp((*f)->URI, uri) == 0) return *f;
    return nullptr;
}

const void* featureData(const LV2_Feature* const* features, const char* uri) {
    const LV2_Feature* feature = findFeature(features, uri);
    return feature ? feature->data : nullptr;
}

// The host's ui:scaleFactor option (a float), or 0 when it gives none.
float hostScaleFactor(const LV2_Feature* const* features) {
    const auto* options = static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options));
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    if (options == nullptr || map == nullptr || map->map == nullptr) return 0.0f;
    const LV2_URID scaleFactor = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID atomFloat = map->map(map->handle, LV2_ATOM__Float);
    for (const LV2_Options_Option* o = options; o->key != 0; ++o)
        if (o->key == scaleFactor && o->type == atomFloat && o->size == sizeof(float) && o->value != nullptr) {
            float factor = 0.0f;
            std::memcpy(&factor, o->value, sizeof factor);
            return factor;
        }
    return 0.0f;
}

}  // namespace

PanelUi* PanelUi::create(const PluginIdentity& identity, const char* pluginUri, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    if (pluginUri == nullptr || std::strcmp(pluginUri, identity.uri) != 0) return nullptr;
    if (write == nullptr || widget == nullptr) return nullptr;
    void* parent = const_cast<void*>(featureData(features, LV2_UI__parent));
    auto* instance = static_cast<PluginInstance*>(const_cast<void*>(featureData(features, LV2_INSTANCE_ACCESS_URI)));
    // The panel lives on idle calls: without them it would never draw.
    if (parent == nullptr || instance == nullptr || findFeature(features, LV2_UI__idleInterface) == nullptr)
        return nullptr;
    if (&instance->identity() != &identity) return nullptr;
    const auto* touch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
    auto* panel = new (std::nothrow) PanelUi(*instance, write, controller, touch);
    if (panel == nullptr) return nullptr;
    if (!panel->open(parent, widget, static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize)),
                     hostScaleFactor(features))) {
        delete panel;
        return nullptr;
    }
    return panel;
}

PanelUi::PanelUi(PluginInstance& instance, LV2UI_Write_Function write, LV2UI_Controller controller,
                 const LV2UI_Touch* touch)
    : instance_(instance), write_(write), controller_(controller), touch_(touch) {}

bool PanelUi::open(void* parent, LV2UI_Widget* widget, const LV2UI_Resize* resize, float scaleFactor) {
    resize_ = resize;
    attached_ = instance_.attachPanel(this);
    // A refused second panel leaves the first one's zoom alone.
    if (!attached_) return false;
    AEffect& record = instance_.record();
    // Offered in the panel's zoom menu, as a VST 2 host's scale is.
    if (scaleFactor > 0.0f)
        record.dispatcher(&record, effVendorSpecific, fourCharCode('P', 'r', 'e', 'S'), fourCharCode('A', 'e', 'C', 's'),
                          nullptr, scaleFactor);
    if (record.dispatcher(&record, effEditOpen, 0, 0, parent, 0.0f) != 1) return false;
    void* window = instance_.identity().panelWindow(instance_.effect());
    if (window == nullptr) return false;
    *widget = window;
    ERect* rect = nullptr;
    if (resize && resize->ui_resize && record.dispatcher(&record, effEditGetRect, 0, 0, &rect, 0.0f) == 1 && rect)
        resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
    // The ports hold what the effect holds now; later differences are the panel's.
    for (std::size_t i = 0; i < instance_.identity().controls.size(); ++i)
        instance_.hostValues().settled(i, effectValue(i));
    return true;
}

PanelUi::~PanelUi() {
    // A destroyed instance closed its editor itself.
    if (!attached_ || instanceGone_) return;
    AEffect& record = instance_.record();
    record.dispatcher(&record, effEditClose, 0, 0, nullptr, 0.0f);
    instance_.detachPanel(this);
}

float PanelUi::effectValue(std::size_t control) const {
    AEffect& record = instance_.record();
    return record.getParameter(&record, instance_.identity().controls[control].parameter);
}

void PanelUi::portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer) {
    if (instanceGone_) return;
    if (format != kFloatProtocol || size != sizeof(float) || buffer == nullptr || port < kFirstControlPort) return;
    const std::size_t control = port - kFirstControlPort;
    if (control >= instance_.identity().controls.size()) return;
    // While the plug-in runs, run hands the port to the effect within a block
    // and the panel follows the effect; setting it here too could put back an
    // older value after run took a newer one.
    if (instance_.isActive()) return;
    float value = 0.0f;
    std::memcpy(&value, buffer, sizeof value);
    float converted = 0.0f;
    if (!effectValueOf(instance_.identity().controls[control], value, converted)) return;
    // Nothing runs: the host's setParameter, as a VST 2 host sends it.
    AEffect& record = instance_.record();
    record.setParameter(&record, instance_.identity().controls[control].parameter, converted);
    instance_.hostValues().known(control, effectValue(control));
}

int PanelUi::idle() {
    // The panel went with its instance: to the host, the UI is closed.
    if (instanceGone_) return 1;
    AEffect& record = instance_.record();
    record.dispatcher(&record, effEditIdle, 0, 0, nullptr, 0.0f);
    reportChangedParameters();
    return 0;
}

void PanelUi::reportChangedParameters() {
    for (std::size_t i = 0; i < instance_.identity().controls.size(); ++i)
        if (const float value = effectValue(i); instance_.hostValues().isNews(i, value)) report(i, value);
}

void PanelUi::report(std::size_t control, float value) {
    const float portValue = portValueOf(instance_.identity().controls[control], value);
    write_(controller_, static_cast<std::uint32_t>(kFirstControlPort + control), sizeof portValue, kFloatProtocol,
           &portValue);
    instance_.hostValues().known(control, value);
}

void PanelUi::parameterAutomated(std::int32_t parameter) {
    const int control = instance_.controlOf(parameter);
    if (control >= 0) report(static_cast<std::size_t>(control), effectValue(static_cast<std::size_t>(control)));
}

bool PanelUi::resizeWindow(int width, int height) {
    if (resize_ == nullptr || resize_->ui_resize == nullptr || width <= 0 || height <= 0) return false;
    return resize_->ui_resize(resize_->handle, width, height) == 0;
}

void PanelUi::instanceDestroyed() { instanceGone_ = true; }

void PanelUi::gesture(std::int32_t parameter, bool begins) {
    const int control = instance_.controlOf(parameter);
    if (control < 0 || touch_ == nullptr || touch_->touch == nullptr) return;
    touch_->touch(touch_->handle, static_cast<std::uint32_t>(kFirstControlPort + control), begins);
}

// ---- The LV2UI_Descriptor entry points -------------------------------------------------

namespace {

PanelUi* of(LV2UI_Handle handle) { return static_cast<PanelUi*>(handle); }

LV2UI_Handle instantiate(const LV2UI_Descriptor* descriptor, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
    const auto* described = reinterpret_cast<const DescribedUi*>(descriptor);
    return PanelUi::create(*described->identity, pluginUri, write, controller, widget, features);
}
void cleanup(LV2UI_Handle h) { delete of(h); }
void portEvent(LV2UI_Handle h, std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer) {
    of(h)->portEvent(port, size, format, buffer);
}
int idle(LV2UI_Handle h) { return of(h)->idle(); }
const LV2UI_Idle_Interface kIdleInterface{idle};
const void* extensionData(const char* uri) {
    if (uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdleInterface;
    return nullptr;
}

}  // namespace

DescribedUi describeUi(const PluginIdentity& identity) {
    return DescribedUi{{identity.uiUri, instantiate, cleanup, portEvent, extensionData}, &identity};
}

}  // namespace lv2adapter
