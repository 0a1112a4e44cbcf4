// ClapPlugin.cpp — the instance's life and its audio call.
//
//   create, init, destructor   the effect made, opened and closed as a VST 2
//                              host does it; the text effect and port facts
//   activate ... reset         rate and block size, resume/suspend
//   process, applyEvents       the block split at each parameter event
//   hostCallback               the effect's calls to its host: automation and
//                              gestures into the panel's ring, window sizes
//   the clap_plugin_t entry points
#include "clap/ClapPlugin.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "formats/EffectCalls.h"
#include "platform/FloatingPoint.h"
#include "platform/Services.h"

namespace clapadapter {

namespace {

bool CLAP_ABI pluginInit(const clap_plugin_t* p) {
    platform::FloatingPointStateGuard keep;
    return ClapPlugin::of(p)->init();
}
void CLAP_ABI pluginDestroy(const clap_plugin_t* p) {
    platform::FloatingPointStateGuard keep;
    delete ClapPlugin::of(p);
}
bool CLAP_ABI pluginActivate(const clap_plugin_t* p, double rate, std::uint32_t minFrames, std::uint32_t maxFrames) {
    platform::FloatingPointStateGuard keep;
    return ClapPlugin::of(p)->activate(rate, minFrames, maxFrames);
}
void CLAP_ABI pluginDeactivate(const clap_plugin_t* p) {
    platform::FloatingPointStateGuard keep;
    ClapPlugin::of(p)->deactivate();
}
bool CLAP_ABI pluginStart(const clap_plugin_t* p) { return ClapPlugin::of(p)->startProcessing(); }
void CLAP_ABI pluginStop(const clap_plugin_t* p) { ClapPlugin::of(p)->stopProcessing(); }
void CLAP_ABI pluginReset(const clap_plugin_t* p) { ClapPlugin::of(p)->reset(); }
clap_process_status CLAP_ABI pluginProcess(const clap_plugin_t* p, const clap_process_t* process) {
    return ClapPlugin::of(p)->process(process);
}
const void* CLAP_ABI pluginExtension(const clap_plugin_t* p, const char* id) { return ClapPlugin::of(p)->extension(id); }
void CLAP_ABI pluginOnMainThread(const clap_plugin_t* p) {
    platform::FloatingPointStateGuard keep;
    ClapPlugin::of(p)->onMainThread();
}

}  // namespace

ClapPlugin* ClapPlugin::create(const ClapIdentity& identity, const clap_plugin_descriptor_t* descriptor,
                               const clap_host_t* host, const platform::Services& services) {
    if (host == nullptr) return nullptr;
    platform::FloatingPointStateGuard keep;
    const PluginIdentity& ports = identity.plugin();
    if (ports.controls.size() > kMaxParams) return nullptr;
    AEffect* record = ports.create(hostCallback, services);
    if (record == nullptr) return nullptr;
    auto* plugin = new (std::nothrow) ClapPlugin(identity, descriptor, host, services, record);
    if (plugin == nullptr) record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    return plugin;
}

ClapPlugin::ClapPlugin(const ClapIdentity& identity, const clap_plugin_descriptor_t* descriptor,
                       const clap_host_t* host, const platform::Services& services, AEffect* record)
    : clapIdentity_(identity), portsOf_(identity.plugin()), host_(host), services_(services), record_(record) {
    plugin_ = clap_plugin_t{descriptor,      this,           pluginInit,  pluginDestroy,   pluginActivate,
                            pluginDeactivate, pluginStart,   pluginStop,  pluginReset,     pluginProcess,
                            pluginExtension, pluginOnMainThread};
    record_->user = this;
    record_->dispatcher(record_, effOpen, 0, 0, nullptr, 0.0f);
}

ClapPlugin::~ClapPlugin() {
    // A host that destroys an active instance or an open panel gets them
    // closed in order first.
    destroyGui();
    if (isActive()) deactivate();
    record_->user = nullptr;
    record_->dispatcher(record_, effClose, 0, 0, nullptr, 0.0f);
    if (texts_ != nullptr) texts_->dispatcher(texts_, effClose, 0, 0, nullptr, 0.0f);
}

ClapPlugin* ClapPlugin::of(const clap_plugin_t* plugin) { return static_cast<ClapPlugin*>(plugin->plugin_data); }

bool ClapPlugin::init() {
    if (state_ != State::created) return false;
    std::string error;
    if (!readPortFacts(portsOf_, services_, facts_, error)) return false;
    texts_ = portsOf_.create(formats::answerVersionOnly, services_);
    if (texts_ == nullptr) return false;
    hostParams_ = hostExtension<clap_host_params_t>(CLAP_EXT_PARAMS);
    if (hostParams_ != nullptr && hostParams_->request_flush == nullptr) hostParams_ = nullptr;
    threadCheck_ = hostExtension<clap_host_thread_check_t>(CLAP_EXT_THREAD_CHECK);
    if (threadCheck_ != nullptr && (threadCheck_->is_main_thread == nullptr || threadCheck_->is_audio_thread == nullptr))
        threadCheck_ = nullptr;
    forgetPanelChanges();
    state_ = State::initialised;
    return true;
}

bool ClapPlugin::onMainThreadOrUnknown() const {
    return threadCheck_ == nullptr || threadCheck_->is_main_thread(host_);
}

bool ClapPlugin::onAudioThreadOrUnknown() const {
    return threadCheck_ == nullptr || threadCheck_->is_audio_thread(host_);
}

bool ClapPlugin::activate(double sampleRate, std::uint32_t, std::uint32_t maxFrames) {
    if (state_ != State::initialised || !onMainThreadOrUnknown()) return false;
    if (!formats::servesRate(clapIdentity_.plugin(), sampleRate)) return false;
    if (maxFrames == 0 || maxFrames > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return false;
    record_->dispatcher(record_, effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    record_->dispatcher(record_, effSetBlockSize, 0, static_cast<VstIntPtr>(maxFrames), nullptr, 0.0f);
    record_->dispatcher(record_, effMainsChanged, 0, 1, nullptr, 0.0f);
    state_ = State::active;
    return true;
}

void ClapPlugin::deactivate() {
    if (!isActive() || !onMainThreadOrUnknown()) return;
    state_ = State::initialised;
    record_->dispatcher(record_, effMainsChanged, 0, 0, nullptr, 0.0f);
}

bool ClapPlugin::startProcessing() {
    if (state_ == State::processing) return true;
    if (state_ != State::active) return false;
    state_ = State::processing;
    return true;
}

void ClapPlugin::stopProcessing() {
    if (state_ == State::processing) state_ = State::active;
}

void ClapPlugin::reset() {
    // The effect clears its history on resume after suspend, as a VST 2 host
    // restarting its transport has it.
    if (!isActive()) return;
    record_->dispatcher(record_, effMainsChanged, 0, 0, nullptr, 0.0f);
    record_->dispatcher(record_, effMainsChanged, 0, 1, nullptr, 0.0f);
}

void ClapPlugin::onMainThread() {}

// ---- The audio call ----------------------------------------------------------------

int ClapPlugin::paramOf(std::int32_t parameter) const {
    for (std::size_t i = 0; i < portsOf_.controls.size(); ++i)
        if (portsOf_.controls[i].parameter == parameter) return static_cast<int>(i);
    return -1;
}

void ClapPlugin::applyEvent(const clap_event_header_t* event) {
    if (event == nullptr || event->space_id != CLAP_CORE_EVENT_SPACE_ID || event->type != CLAP_EVENT_PARAM_VALUE ||
        event->size < sizeof(clap_event_param_value_t))
        return;
    clap_event_param_value_t change;
    std::memcpy(&change, event, sizeof change);
    if (change.param_id >= portsOf_.controls.size() || !std::isfinite(change.value)) return;
    const ControlPort& port = portsOf_.controls[change.param_id];
    float effectValue = 0.0f;
    if (!effectValueOf(port, static_cast<float>(change.value), effectValue)) return;
    record_->setParameter(record_, port.parameter, effectValue);
    hostValues_.applied(change.param_id, record_->getParameter(record_, port.parameter));
}

// Applies the events from index next on whose time is before upTo.
void ClapPlugin::applyEvents(const clap_input_events_t* in, std::uint32_t upTo, std::uint32_t& next,
                             std::uint32_t count) {
    for (; next < count; ++next) {
        const clap_event_header_t* event = in->get(in, next);
        if (event != nullptr && event->time >= upTo) return;
        applyEvent(event);
    }
}

namespace {

bool isStereo(const clap_audio_buffer_t* buffers, std::uint32_t count) {
    return buffers != nullptr && count >= 1 && buffers[0].channel_count >= 2 && buffers[0].data32 != nullptr &&
           buffers[0].data32[0] != nullptr && buffers[0].data32[1] != nullptr;
}

void silence(const clap_audio_buffer_t* buffers, std::uint32_t count, std::uint32_t frames) {
    if (buffers == nullptr || count == 0 || buffers[0].data32 == nullptr) return;
    for (std::uint32_t c = 0; c < buffers[0].channel_count; ++c)
        if (buffers[0].data32[c] != nullptr) std::memset(buffers[0].data32[c], 0, sizeof(float) * frames);
}

}  // namespace

clap_process_status ClapPlugin::process(const clap_process_t* p) {
    if (p == nullptr || state_ != State::processing || !onAudioThreadOrUnknown()) return CLAP_PROCESS_ERROR;
    const std::uint32_t frames = p->frames_count;
    const clap_input_events_t* in = p->in_events;
    const std::uint32_t count = in != nullptr && in->size != nullptr && in->get != nullptr ? in->size(in) : 0;
    std::uint32_t next = 0;
    if (!isStereo(p->audio_inputs, p->audio_inputs_count) || !isStereo(p->audio_outputs, p->audio_outputs_count)) {
        // A host without the stereo pair it was offered gets silence, and its
        // events still reach the effect.
        silence(p->audio_outputs, p->audio_outputs_count, frames);
        applyEvents(in, std::numeric_limits<std::uint32_t>::max(), next, count);
    } else {
        float* const* inputs = p->audio_inputs[0].data32;
        float* const* outputs = p->audio_outputs[0].data32;
        std::uint32_t done = 0;
        while (done < frames) {
            // The first event that falls later than done splits the block there.
            applyEvents(in, done + 1, next, count);
            std::uint32_t until = frames;
            if (next < count)
                if (const clap_event_header_t* event = in->get(in, next); event != nullptr && event->time < frames)
                    until = event->time;
            formats::processInCalls(*record_, inputs, outputs, done, until - done);
            done = until;
        }
        // Events at or past the block's end count for the next block.
        applyEvents(in, std::numeric_limits<std::uint32_t>::max(), next, count);
    }
    sendPanelEvents(p->out_events);
    return CLAP_PROCESS_CONTINUE;
}

// ---- The panel's changes to the host --------------------------------------------------

void ClapPlugin::queuePanelEvent(std::uint16_t type, std::int32_t parameter) {
    const int param = paramOf(parameter);
    if (param < 0) return;
    const std::uint32_t written = ringWritten_.load(std::memory_order_relaxed);
    if (written - ringRead_.load(std::memory_order_acquire) >= kRingSize) return;  // full: the host is not listening
    ring_[written % kRingSize] = PanelEvent{type, static_cast<clap_id>(param), clapValueOf(static_cast<std::size_t>(param))};
    ringWritten_.store(written + 1, std::memory_order_release);
    if (type == CLAP_EVENT_PARAM_VALUE)
        hostValues_.known(static_cast<std::size_t>(param), record_->getParameter(record_, parameter));
    if (hostParams_ != nullptr) hostParams_->request_flush(host_);
}

void ClapPlugin::sendPanelEvents(const clap_output_events_t* out) {
    if (out == nullptr || out->try_push == nullptr) return;
    std::uint32_t read = ringRead_.load(std::memory_order_relaxed);
    const std::uint32_t written = ringWritten_.load(std::memory_order_acquire);
    for (; read != written; ++read) {
        const PanelEvent& e = ring_[read % kRingSize];
        bool sent = false;
        if (e.type == CLAP_EVENT_PARAM_VALUE) {
            clap_event_param_value_t event{};
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, e.type, 0};
            event.param_id = e.param;
            event.note_id = -1;
            event.port_index = event.channel = event.key = -1;
            event.value = e.value;
            sent = out->try_push(out, &event.header);
        } else {
            clap_event_param_gesture_t event{};
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, e.type, 0};
            event.param_id = e.param;
            sent = out->try_push(out, &event.header);
        }
        if (!sent) break;  // the rest at the next chance
    }
    ringRead_.store(read, std::memory_order_release);
}

void ClapPlugin::forgetPanelChanges() {
    for (std::size_t i = 0; i < portsOf_.controls.size(); ++i)
        hostValues_.settled(i, record_->getParameter(record_, portsOf_.controls[i].parameter));
}

// Changes made on the panel without automation ("Send" dark) reach the host
// at the next idle, with no gesture, as in LV2.
void ClapPlugin::reportChangedParameters() {
    for (std::size_t i = 0; i < portsOf_.controls.size(); ++i)
        if (hostValues_.isNews(i, record_->getParameter(record_, portsOf_.controls[i].parameter)))
            queuePanelEvent(CLAP_EVENT_PARAM_VALUE, portsOf_.controls[i].parameter);
}

VstIntPtr VSTCALLBACK ClapPlugin::hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                               VstIntPtr value, void*, float) {
    if (opcode == audioMasterVersion) return formats::kAdapterHostVersion;
    auto* plugin = effect ? static_cast<ClapPlugin*>(effect->user) : nullptr;
    // Only the open panel asks for automation and gestures, on the main thread.
    if (plugin == nullptr || !plugin->guiOpen_) return 0;
    if (opcode == audioMasterAutomate) plugin->queuePanelEvent(CLAP_EVENT_PARAM_VALUE, index);
    if (opcode == audioMasterBeginEdit) plugin->queuePanelEvent(CLAP_EVENT_PARAM_GESTURE_BEGIN, index);
    if (opcode == audioMasterEndEdit) plugin->queuePanelEvent(CLAP_EVENT_PARAM_GESTURE_END, index);
    if (opcode == audioMasterSizeWindow && index > 0 && value > 0) {
        const auto* gui = plugin->hostExtension<clap_host_gui_t>(CLAP_EXT_GUI);
        if (gui == nullptr || gui->request_resize == nullptr) return 0;
        return gui->request_resize(plugin->host_, static_cast<std::uint32_t>(index), static_cast<std::uint32_t>(value))
                   ? 1
                   : 0;
    }
    return 0;  // audioMasterPinConnected: 0 is connected
}

}  // namespace clapadapter
