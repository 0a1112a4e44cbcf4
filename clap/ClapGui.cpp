// ClapGui.cpp — the gui and timer-support extensions: the effect's own panel
// embedded in the host's window.
//
//   isGuiApiSupported, createGui   X11 on Linux, Win32 on Windows; never floating
//   setGuiParent                   effEditOpen in the host's window; on Linux the
//                                  idle calls come from a host timer
//   onTimer                        effEditIdle, then the panel's changes that
//                                  went without automation
//   destroyGui                     effEditClose
//   the clap_plugin_gui_t and clap_plugin_timer_support_t entry points
//
// The panel has one size per zoom: can_resize is false, and set_scale offers
// the host's scale to the panel's zoom choice as a VST 2 host's scale is.
#include <cstdint>
#include <cstring>

#include "clap/ClapPlugin.h"
#include "platform/FloatingPoint.h"

namespace clapadapter {

namespace {

#if defined(_WIN32)
const char* const kWindowApi = CLAP_WINDOW_API_WIN32;
#else
const char* const kWindowApi = CLAP_WINDOW_API_X11;
#endif
// The idle rate of the VST 2 hosts the panels were made for.
constexpr std::uint32_t kIdlePeriodMs = 30;

}  // namespace

bool ClapPlugin::isGuiApiSupported(const char* api, bool floating) {
    return !floating && api != nullptr && std::strcmp(api, kWindowApi) == 0;
}

bool ClapPlugin::createGui(const char* api, bool floating) {
    if (guiCreated_ || state_ == State::created || !isGuiApiSupported(api, floating) || !onMainThreadOrUnknown())
        return false;
    if ((record_->flags & effFlagsHasEditor) == 0) return false;
#if !defined(_WIN32)
    // The panel lives on idle calls: without a timer it would never draw.
    const auto* timers = hostExtension<clap_host_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
    if (timers == nullptr || timers->register_timer == nullptr || timers->unregister_timer == nullptr) return false;
#endif
    guiCreated_ = true;
    return true;
}

void ClapPlugin::destroyGui() {
    if (!guiCreated_) return;
    if (timer_ != CLAP_INVALID_ID) {
        const auto* timers = hostExtension<clap_host_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
        if (timers != nullptr && timers->unregister_timer != nullptr) timers->unregister_timer(host_, timer_);
        timer_ = CLAP_INVALID_ID;
    }
    if (guiOpen_) record_->dispatcher(record_, effEditClose, 0, 0, nullptr, 0.0f);
    guiOpen_ = false;
    guiCreated_ = false;
}

bool ClapPlugin::setGuiScale(double scale) {
    if (!guiCreated_ || !(scale > 0.0 && scale <= 100.0)) return false;
    return record_->dispatcher(record_, effVendorSpecific, fourCharCode('P', 'r', 'e', 'S'),
                               fourCharCode('A', 'e', 'C', 's'), nullptr, static_cast<float>(scale)) == 1;
}

bool ClapPlugin::guiSize(std::uint32_t* width, std::uint32_t* height) {
    if (!guiCreated_ || width == nullptr || height == nullptr) return false;
    ERect* rect = nullptr;
    if (record_->dispatcher(record_, effEditGetRect, 0, 0, &rect, 0.0f) != 1 || rect == nullptr) return false;
    if (rect->right <= rect->left || rect->bottom <= rect->top) return false;
    *width = static_cast<std::uint32_t>(rect->right - rect->left);
    *height = static_cast<std::uint32_t>(rect->bottom - rect->top);
    return true;
}

bool ClapPlugin::setGuiParent(const clap_window_t* window) {
    if (!guiCreated_ || guiOpen_ || window == nullptr || !isGuiApiSupported(window->api, false)) return false;
#if defined(_WIN32)
    void* parent = window->win32;
#else
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(window->x11));
#endif
    if (parent == nullptr) return false;
    forgetPanelChanges();
    guiOpen_ = true;  // the editor may ask for automation while it opens
    if (record_->dispatcher(record_, effEditOpen, 0, 0, parent, 0.0f) != 1 || portsOf_.panelWindow(effect()) == nullptr) {
        record_->dispatcher(record_, effEditClose, 0, 0, nullptr, 0.0f);
        guiOpen_ = false;
        return false;
    }
    if (const auto* timers = hostExtension<clap_host_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
        timers != nullptr && timers->register_timer != nullptr) {
        clap_id id = CLAP_INVALID_ID;
        if (timers->register_timer(host_, kIdlePeriodMs, &id)) timer_ = id;
    }
#if !defined(_WIN32)
    if (timer_ == CLAP_INVALID_ID) {
        destroyGui();
        guiCreated_ = true;  // still created; only the parent failed
        return false;
    }
#endif
    return true;
}

void ClapPlugin::onTimer(clap_id timer) {
    if (!guiOpen_ || timer != timer_ || timer == CLAP_INVALID_ID) return;
    record_->dispatcher(record_, effEditIdle, 0, 0, nullptr, 0.0f);
    reportChangedParameters();
}

namespace {

ClapPlugin* of(const clap_plugin_t* p) { return ClapPlugin::of(p); }

bool CLAP_ABI isApiSupported(const clap_plugin_t*, const char* api, bool floating) {
    return ClapPlugin::isGuiApiSupported(api, floating);
}
bool CLAP_ABI preferredApi(const clap_plugin_t*, const char** api, bool* floating) {
    if (api == nullptr || floating == nullptr) return false;
    *api = kWindowApi;
    *floating = false;
    return true;
}
bool CLAP_ABI create(const clap_plugin_t* p, const char* api, bool floating) {
    platform::FloatingPointStateGuard keep;
    return of(p)->createGui(api, floating);
}
void CLAP_ABI destroy(const clap_plugin_t* p) {
    platform::FloatingPointStateGuard keep;
    of(p)->destroyGui();
}
bool CLAP_ABI setScale(const clap_plugin_t* p, double scale) {
    platform::FloatingPointStateGuard keep;
    return of(p)->setGuiScale(scale);
}
bool CLAP_ABI getSize(const clap_plugin_t* p, std::uint32_t* width, std::uint32_t* height) {
    platform::FloatingPointStateGuard keep;
    return of(p)->guiSize(width, height);
}
bool CLAP_ABI canResize(const clap_plugin_t*) { return false; }
// Asked by hosts even of a panel that cannot resize: neither way, no ratio.
bool CLAP_ABI resizeHints(const clap_plugin_t*, clap_gui_resize_hints_t* hints) {
    if (hints == nullptr) return false;
    *hints = clap_gui_resize_hints_t{false, false, false, 1, 1};
    return true;
}
bool CLAP_ABI adjustSize(const clap_plugin_t* p, std::uint32_t* width, std::uint32_t* height) {
    platform::FloatingPointStateGuard keep;
    return of(p)->guiSize(width, height);
}
bool CLAP_ABI setSize(const clap_plugin_t* p, std::uint32_t width, std::uint32_t height) {
    platform::FloatingPointStateGuard keep;
    std::uint32_t w = 0, h = 0;
    return of(p)->guiSize(&w, &h) && w == width && h == height;
}
bool CLAP_ABI setParent(const clap_plugin_t* p, const clap_window_t* window) {
    platform::FloatingPointStateGuard keep;
    return of(p)->setGuiParent(window);
}
bool CLAP_ABI setTransient(const clap_plugin_t*, const clap_window_t*) { return false; }
void CLAP_ABI suggestTitle(const clap_plugin_t*, const char*) {}
bool CLAP_ABI show(const clap_plugin_t*) { return true; }
bool CLAP_ABI hide(const clap_plugin_t*) { return true; }

void CLAP_ABI onTimer(const clap_plugin_t* p, clap_id timer) {
    platform::FloatingPointStateGuard keep;
    of(p)->onTimer(timer);
}

}  // namespace

extern const clap_plugin_gui_t kGuiExtension{isApiSupported, preferredApi, create,    destroy,      setScale,
                                             getSize,        canResize,    resizeHints, adjustSize, setSize,
                                             setParent,      setTransient, suggestTitle, show,      hide};
extern const clap_plugin_timer_support_t kTimerExtension{onTimer};

}  // namespace clapadapter
