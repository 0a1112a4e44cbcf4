// ClapHost.cpp — loading a .clap file and the host side of the CLAP calls.
#include "tools/plughost/ClapHost.h"

#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "tools/plughost/PluginInstance.h"

namespace plughost {

bool isClapPath(const std::string& path) {
    return path.size() > 5 && path.compare(path.size() - 5, 5, ".clap") == 0;
}

ClapLibrary::ClapLibrary(const std::string& path) {
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        message_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    handle_ = module;
    entry_ = reinterpret_cast<const clap_plugin_entry_t*>(reinterpret_cast<void*>(GetProcAddress(module, "clap_entry")));
#else
    const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
    handle_ = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* text = dlerror();
        message_ = "cannot load " + path + " (" + (text ? text : "unknown error") + ")";
        return;
    }
    entry_ = static_cast<const clap_plugin_entry_t*>(dlsym(handle_, "clap_entry"));
#endif
    if (entry_ == nullptr) {
        message_ = path + " exports no clap_entry";
        return;
    }
    if (entry_->clap_version.major != 1 || entry_->init == nullptr || entry_->get_factory == nullptr) {
        message_ = path + ": not a CLAP 1 entry";
        return;
    }
    initialised_ = entry_->init(path.c_str());
    if (!initialised_) {
        message_ = path + ": clap_entry.init refused";
        return;
    }
    factory_ = static_cast<const clap_plugin_factory_t*>(entry_->get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (factory_ == nullptr) message_ = path + " has no plug-in factory";
}

ClapLibrary::~ClapLibrary() {
    if (initialised_ && entry_->deinit != nullptr) entry_->deinit();
#if defined(_WIN32)
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
#else
    if (handle_) dlclose(handle_);
#endif
}

// ---- The host ----------------------------------------------------------------------

namespace {

ClapHost& hostOf(const clap_host_t* host) { return *static_cast<ClapHost*>(host->host_data); }

// Every thread but the one process runs on is main: plughost has no other.
thread_local bool onAudioThread = false;
bool CLAP_ABI isMainThread(const clap_host_t*) { return !onAudioThread; }
bool CLAP_ABI isAudioThread(const clap_host_t*) { return onAudioThread; }
const clap_host_thread_check_t kThreadCheck{isMainThread, isAudioThread};

bool CLAP_ABI registerTimer(const clap_host_t* host, std::uint32_t periodMs, clap_id* id) {
    if (id == nullptr) return false;
    auto& timers = hostOf(host).timers;
    *id = timers.empty() ? 1 : timers.back().id + 1;
    timers.push_back({*id, periodMs});
    return true;
}
bool CLAP_ABI unregisterTimer(const clap_host_t* host, clap_id id) {
    auto& timers = hostOf(host).timers;
    for (auto t = timers.begin(); t != timers.end(); ++t)
        if (t->id == id) return timers.erase(t), true;
    return false;
}
const clap_host_timer_support_t kTimers{registerTimer, unregisterTimer};

void CLAP_ABI rescan(const clap_host_t*, std::uint32_t) {}
void CLAP_ABI clear(const clap_host_t*, clap_id, std::uint32_t) {}
void CLAP_ABI requestFlush(const clap_host_t*) {}
const clap_host_params_t kParams{rescan, clear, requestFlush};

void CLAP_ABI hintsChanged(const clap_host_t*) {}
bool CLAP_ABI requestResize(const clap_host_t* host, std::uint32_t width, std::uint32_t height) {
    ClapHost& h = hostOf(host);
    ++h.resizeRequests;
    h.requestedWidth = width;
    h.requestedHeight = height;
    return true;
}
bool CLAP_ABI requestShowOrHide(const clap_host_t*) { return false; }
void CLAP_ABI closed(const clap_host_t*, bool) {}
const clap_host_gui_t kGui{hintsChanged, requestResize, requestShowOrHide, requestShowOrHide, closed};

void CLAP_ABI markDirty(const clap_host_t*) {}
const clap_host_state_t kState{markDirty};

void CLAP_ABI request(const clap_host_t*) {}

}  // namespace

ClapHost::ClapHost()
    : host_{kClapVersion, this, "plughost", "Brisora", "", "1.0", extension, request, request, request} {}

const void* CLAP_ABI ClapHost::extension(const clap_host_t*, const char* id) {
    if (id == nullptr) return nullptr;
    if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0) return &kThreadCheck;
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &kTimers;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &kParams;
    if (std::strcmp(id, CLAP_EXT_GUI) == 0) return &kGui;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0) return &kState;
    return nullptr;
}

AudioThreadMark::AudioThreadMark() { onAudioThread = true; }
AudioThreadMark::~AudioThreadMark() { onAudioThread = false; }

void ParamEvents::add(std::uint32_t time, clap_id id, double value) {
    clap_event_param_value_t e{};
    e.header = {sizeof e, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    e.param_id = id;
    e.note_id = -1;
    e.port_index = e.channel = e.key = -1;
    e.value = value;
    events.push_back(e);
}
std::uint32_t CLAP_ABI ParamEvents::size(const clap_input_events_t* list) {
    return static_cast<std::uint32_t>(static_cast<ParamEvents*>(list->ctx)->events.size());
}
const clap_event_header_t* CLAP_ABI ParamEvents::get(const clap_input_events_t* list, std::uint32_t index) {
    auto& events = static_cast<ParamEvents*>(list->ctx)->events;
    return index < events.size() ? &events[index].header : nullptr;
}

bool CLAP_ABI OutputEvents::push(const clap_output_events_t* list, const clap_event_header_t* event) {
    auto* self = static_cast<OutputEvents*>(list->ctx);
    if (event == nullptr) return false;
    if (event->type == CLAP_EVENT_PARAM_GESTURE_BEGIN) ++self->gestureBegins;
    if (event->type == CLAP_EVENT_PARAM_GESTURE_END) ++self->gestureEnds;
    if (event->type == CLAP_EVENT_PARAM_VALUE) ++self->values;
    return true;
}

// ---- The instance ------------------------------------------------------------------

std::unique_ptr<ClapInstance> ClapInstance::open(const std::string& path, int& status) {
    std::unique_ptr<ClapInstance> instance(new ClapInstance());
    instance->library_ = std::make_unique<ClapLibrary>(path);
    const clap_plugin_factory_t* factory = instance->library_->factory();
    if (factory == nullptr) {
        std::fprintf(stderr, "plughost: %s\n", instance->library_->error().c_str());
        status = kExitNoLibrary;
        return nullptr;
    }
    if (factory->get_plugin_count(factory) < 1 ||
        (instance->descriptor_ = factory->get_plugin_descriptor(factory, 0)) == nullptr) {
        std::fprintf(stderr, "plughost: %s offers no plug-in\n", path.c_str());
        status = kExitRefused;
        return nullptr;
    }
    instance->plugin_ = factory->create_plugin(factory, instance->host_.host(), instance->descriptor_->id);
    if (instance->plugin_ == nullptr || !instance->plugin_->init(instance->plugin_)) {
        std::fprintf(stderr, "plughost: %s refused to create or init %s\n", path.c_str(), instance->descriptor_->id);
        status = kExitRefused;
        return nullptr;
    }
    return instance;
}

ClapInstance::~ClapInstance() {
    if (plugin_ != nullptr) plugin_->destroy(plugin_);
}

}  // namespace plughost
