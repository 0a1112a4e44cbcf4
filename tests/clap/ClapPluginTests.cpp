// ClapPluginTests.cpp — the CLAP adapter in-process, driven as careless and strict hosts would.
//
//   Entry      the factory's one plug-in, wrong ids and versions, unknown extensions
//   Lifecycle  process before activate, activate twice, rates Tonemark cannot
//              read, destroy while active, missing buffers, the host's MXCSR
//   Events     parameter events at their offsets equal the VST 2 record driven
//              with the same values at the same frames; bad events ignored
//   Params     ranges and defaults in the ports' units, texts both ways
//   State      the chunk's bytes both ways, bad streams change nothing
//   Panel      the panel's drags go out as gesture and value events
//   Audio thread  process neither allocates nor locks
#include <gtest/gtest.h>

#include <xmmintrin.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "clap/ClapEntry.h"
#include "stereo/ParameterTable.h"
#include "tests/alloc/AudioThreadCounter.h"
#include "tests/support/EffectServices.h"

namespace {

using clapadapter::ClapPlugin;

// Parameter ids: the ports' positions (Widefield's are its parameter indices).
constexpr clap_id kWidth = 3, kDelay = 8, kMono = 2, kGainLeft = 9;

struct TestHost {
    clap_host_t host{kClapVersion, this, "test", "", "", "1", extension, request, request, request};
    clap_host_timer_support_t timers{registerTimer, unregisterTimer};
    clap_host_thread_check_t threads{isMain, isAudio};
    int timersRegistered = 0;
    bool audio = false;  // what thread-check says the calling thread is
    static const void* CLAP_ABI extension(const clap_host_t* h, const char* id) {
        auto* self = static_cast<TestHost*>(h->host_data);
        if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0) return &self->threads;
        return std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0 ? &self->timers : nullptr;
    }
    static bool CLAP_ABI isMain(const clap_host_t* h) { return !static_cast<TestHost*>(h->host_data)->audio; }
    static bool CLAP_ABI isAudio(const clap_host_t* h) { return static_cast<TestHost*>(h->host_data)->audio; }
    static void CLAP_ABI request(const clap_host_t*) {}
    static bool CLAP_ABI registerTimer(const clap_host_t* h, std::uint32_t, clap_id* id) {
        *id = 7;
        return ++static_cast<TestHost*>(h->host_data)->timersRegistered > 0;
    }
    static bool CLAP_ABI unregisterTimer(const clap_host_t* h, clap_id) {
        return --static_cast<TestHost*>(h->host_data)->timersRegistered >= 0;
    }
};

struct InputEvents {
    std::vector<clap_event_param_value_t> events;
    clap_input_events_t list{this, size, get};
    void add(std::uint32_t time, clap_id id, double value) {
        clap_event_param_value_t e{};
        e.header = {sizeof e, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
        e.param_id = id;
        e.note_id = -1;
        e.value = value;
        events.push_back(e);
    }
    static std::uint32_t CLAP_ABI size(const clap_input_events_t* l) {
        return static_cast<std::uint32_t>(static_cast<InputEvents*>(l->ctx)->events.size());
    }
    static const clap_event_header_t* CLAP_ABI get(const clap_input_events_t* l, std::uint32_t i) {
        return &static_cast<InputEvents*>(l->ctx)->events[i].header;
    }
};

struct OutputEvents {
    struct Sent {
        std::uint16_t type;
        clap_id id;
        double value;
    };
    std::vector<Sent> sent;
    clap_output_events_t list{this, push};
    static bool CLAP_ABI push(const clap_output_events_t* l, const clap_event_header_t* e) {
        double value = 0.0;
        clap_id id = 0;
        if (e->type == CLAP_EVENT_PARAM_VALUE) {
            const auto* v = reinterpret_cast<const clap_event_param_value_t*>(e);
            id = v->param_id;
            value = v->value;
        } else {
            id = reinterpret_cast<const clap_event_param_gesture_t*>(e)->param_id;
        }
        static_cast<OutputEvents*>(l->ctx)->sent.push_back({e->type, id, value});
        return true;
    }
};

struct Stream {
    Stream() = default;
    Stream(const Stream& other) : bytes(other.bytes), step(other.step) {}  // its own ctx
    std::vector<unsigned char> bytes;
    std::size_t at = 0;
    std::size_t step = 1 << 20;  // the most a read hands over
    bool failing = false;
    clap_ostream_t out{this, write};
    clap_istream_t in{this, read};
    static std::int64_t CLAP_ABI write(const clap_ostream_t* s, const void* data, std::uint64_t size) {
        auto* self = static_cast<Stream*>(s->ctx);
        const std::size_t n = size < self->step ? size : self->step;  // short writes
        self->bytes.insert(self->bytes.end(), static_cast<const unsigned char*>(data),
                           static_cast<const unsigned char*>(data) + n);
        return static_cast<std::int64_t>(n);
    }
    static std::int64_t CLAP_ABI read(const clap_istream_t* s, void* data, std::uint64_t size) {
        auto* self = static_cast<Stream*>(s->ctx);
        if (self->failing) return -1;
        std::size_t n = self->bytes.size() - self->at;
        if (n > size) n = static_cast<std::size_t>(size);
        if (n > self->step) n = self->step;
        std::memcpy(data, self->bytes.data() + self->at, n);
        self->at += n;
        return static_cast<std::int64_t>(n);
    }
};

VstIntPtr VSTCALLBACK referenceHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class Clap : public ::testing::Test, protected test_support::WindowedEffectServices {
protected:
    Clap() : WindowedEffectServices(1000, "claphost") {}
    ~Clap() override {
        for (const clap_plugin_t* p : made) p->destroy(p);
    }

    const clap_plugin_t* make(const clapadapter::ClapIdentity& identity, bool activated = true, double rate = 48000.0) {
        descriptors.push_back(clapadapter::describe(identity));
        ClapPlugin* plugin = ClapPlugin::create(identity, &descriptors.back(), &host.host, services());
        EXPECT_NE(plugin, nullptr);
        const clap_plugin_t* p = plugin->clapPlugin();
        made.push_back(p);
        EXPECT_TRUE(p->init(p));
        if (activated) {
            EXPECT_TRUE(p->activate(p, rate, 1, 4096));
            EXPECT_TRUE(p->start_processing(p));
        }
        return p;
    }
    // The VST 2 record as a VST 2 host drives it, to compare with.
    AEffect* reference(const formats::PluginIdentity& identity) {
        AEffect* record = identity.create(referenceHost, services());
        record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
        record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, 48000.0f);
        record->dispatcher(record, effSetBlockSize, 0, 4096, nullptr, 0.0f);
        record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
        return record;
    }
    clap_process_status run(const clap_plugin_t* p, std::uint32_t frames, std::uint32_t offset,
                            InputEvents* events = nullptr, OutputEvents* out = nullptr) {
        float* ins[2] = {left.data() + offset, right.data() + offset};
        float* outs[2] = {outLeft.data() + offset, outRight.data() + offset};
        clap_audio_buffer_t input{ins, nullptr, 2, 0, 0}, output{outs, nullptr, 2, 0, 0};
        clap_process_t process{0, frames, nullptr, &input, &output, 1, 1, events ? &events->list : nullptr,
                               out ? &out->list : nullptr};
        host.audio = true;
        const clap_process_status status = p->process(p, &process);
        host.audio = false;
        return status;
    }
    static ClapPlugin& plugin(const clap_plugin_t* p) { return *ClapPlugin::of(p); }
    static float parameter(const clap_plugin_t* p, std::int32_t index) {
        return plugin(p).record().getParameter(&plugin(p).record(), index);
    }

    TestHost host;
    std::vector<clap_plugin_descriptor_t> descriptors = std::vector<clap_plugin_descriptor_t>();
    std::vector<const clap_plugin_t*> made;
    std::vector<float> left = std::vector<float>(1024), right = std::vector<float>(1024);
    std::vector<float> outLeft = std::vector<float>(1024, 9.0f), outRight = std::vector<float>(1024, 9.0f);

    void SetUp() override {
        descriptors.reserve(8);
        for (std::size_t n = 0; n < left.size(); ++n) {
            left[n] = 0.5f * static_cast<float>(std::sin(0.0627 * static_cast<double>(n)));
            right[n] = 0.25f * static_cast<float>(std::sin(0.1254 * static_cast<double>(n) + 0.3));
        }
    }
};

TEST_F(Clap, TheEntryServesOnePluginToCompatibleHostsOnly) {
    const clap_plugin_entry_t& entry = clapadapter::ClapLibrary<clapadapter::widefieldClap>::entry;
    EXPECT_EQ(entry.clap_version.major, 1u);
    ASSERT_TRUE(entry.init("/somewhere/Widefield.clap"));
    EXPECT_EQ(entry.get_factory("clap.unknown-factory"), nullptr);
    EXPECT_EQ(entry.get_factory(nullptr), nullptr);
    const auto* factory = static_cast<const clap_plugin_factory_t*>(entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    ASSERT_NE(factory, nullptr);
    ASSERT_EQ(factory->get_plugin_count(factory), 1u);
    EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
    const clap_plugin_descriptor_t* d = factory->get_plugin_descriptor(factory, 0);
    EXPECT_STREQ(d->id, "brisora.widefield");
    EXPECT_STREQ(d->name, "Widefield");
    EXPECT_EQ(factory->create_plugin(factory, &host.host, "brisora.tonemark"), nullptr);
    EXPECT_EQ(factory->create_plugin(factory, nullptr, "brisora.widefield"), nullptr);
    TestHost future;
    future.host.clap_version = {2, 0, 0};
    EXPECT_EQ(factory->create_plugin(factory, &future.host, "brisora.widefield"), nullptr);
    entry.deinit();
}

TEST_F(Clap, CarelessLifecyclesGetSafeAnswers) {
    const clap_plugin_t* p = make(clapadapter::widefieldClap(), false);
    EXPECT_EQ(run(p, 64, 0), CLAP_PROCESS_ERROR);  // before activate
    EXPECT_FALSE(p->init(p));                       // twice
    EXPECT_FALSE(p->start_processing(p));
    EXPECT_EQ(p->get_extension(p, "clap.note-ports"), nullptr);
    EXPECT_EQ(p->get_extension(p, nullptr), nullptr);
    EXPECT_EQ(p->get_extension(p, "clap.render"), nullptr);
    ASSERT_TRUE(p->activate(p, 44100.0, 1, 512));
    EXPECT_FALSE(p->activate(p, 44100.0, 1, 512));
    EXPECT_EQ(run(p, 64, 0), CLAP_PROCESS_ERROR);  // active, not processing
    ASSERT_TRUE(p->start_processing(p));
    clap_process_t empty{};
    empty.frames_count = 64;
    host.audio = true;
    EXPECT_EQ(p->process(p, &empty), CLAP_PROCESS_CONTINUE);  // no buffers, no events
    EXPECT_EQ(p->process(p, nullptr), CLAP_PROCESS_ERROR);
    p->deactivate(p);  // a main-thread call on the audio thread: refused
    host.audio = false;
    EXPECT_EQ(p->process(p, &empty), CLAP_PROCESS_ERROR);  // process on the main thread
    EXPECT_EQ(run(p, 64, 0), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(outLeft[10], left[10]);  // neutral settings pass the input, and it is still active
    // Destroyed while processing and active by the fixture.

    // Tonemark reads correctly at 8-768 kHz only.
    const clap_plugin_t* t = make(clapadapter::tonemarkClap(), false);
    for (double rate : {7999.0, 1.0e6, 0.0, -48000.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_FALSE(t->activate(t, rate, 1, 512)) << rate;
    EXPECT_TRUE(t->activate(t, 768000.0, 1, 512));
}

TEST_F(Clap, TheHostsFloatingPointControlStateSurvivesEveryCall) {
    const unsigned saved = _mm_getcsr();
    _mm_setcsr(0x1d00);  // the host traps invalid operations and division by zero
    const clap_plugin_t* p = make(clapadapter::tonemarkClap());
    char text[64];
    const auto* params = static_cast<const clap_plugin_params_t*>(p->get_extension(p, CLAP_EXT_PARAMS));
    params->value_to_text(p, 0, 440.0, text, sizeof text);
    p->deactivate(p);
    const unsigned after = _mm_getcsr();
    _mm_setcsr(saved);
    EXPECT_EQ(after, 0x1d00u);
}

TEST_F(Clap, EventsReachTheEffectAtTheirOffsetsAsAVst2HostsSetParameterWould) {
    const clap_plugin_t* p = make(clapadapter::widefieldClap());
    InputEvents events;
    events.add(0, kWidth, 150.0);    // effect 0.75
    events.add(100, kDelay, -12.0);  // 0.45
    events.add(100, kGainLeft, std::numeric_limits<double>::quiet_NaN());  // ignored
    events.add(300, kMono, 1.0);
    events.add(300, 999, 1.0);     // no such parameter
    events.add(700, kWidth, 50.0);  // past the block: for the next one (0.25)
    ASSERT_EQ(run(p, 512, 0, &events), CLAP_PROCESS_CONTINUE);
    ASSERT_EQ(run(p, 256, 512), CLAP_PROCESS_CONTINUE);

    AEffect* record = reference(formats::widefieldIdentity());
    std::vector<float> refLeft(1024), refRight(1024);
    auto call = [&](std::int32_t from, std::int32_t to) {
        float* ins[2] = {left.data() + from, right.data() + from};
        float* outs[2] = {refLeft.data() + from, refRight.data() + from};
        record->processReplacing(record, ins, outs, to - from);
    };
    using I = widefield::ParameterIndex;
    record->setParameter(record, I::kOutputWidth, 0.75f);
    call(0, 100);
    record->setParameter(record, I::kDelay, 0.45f);
    call(100, 300);
    record->setParameter(record, I::kMonoOut, 1.0f);
    call(300, 512);
    record->setParameter(record, I::kOutputWidth, 0.25f);
    call(512, 768);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(std::memcmp(outLeft.data(), refLeft.data(), 768 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(outRight.data(), refRight.data(), 768 * sizeof(float)), 0);
    EXPECT_EQ(parameter(p, I::kGainLeft), 0.5f);

    // Out of range is limited; flush applies events while nothing processes.
    p->stop_processing(p);
    InputEvents late;
    late.add(0, kWidth, 1e9);
    late.add(0, kDelay, -std::numeric_limits<double>::infinity());
    const auto* params = static_cast<const clap_plugin_params_t*>(p->get_extension(p, CLAP_EXT_PARAMS));
    params->flush(p, &late.list, nullptr);
    EXPECT_EQ(parameter(p, I::kOutputWidth), 1.0f);
    EXPECT_EQ(parameter(p, I::kDelay), 0.45f);
}

TEST_F(Clap, ParametersAreThePortsWithTheVst2TextsBothWays) {
    const clap_plugin_t* w = make(clapadapter::widefieldClap(), false);
    const clap_plugin_t* t = make(clapadapter::tonemarkClap(), false);
    const auto* params = static_cast<const clap_plugin_params_t*>(w->get_extension(w, CLAP_EXT_PARAMS));
    EXPECT_EQ(params->count(w), formats::widefieldIdentity().controls.size());
    EXPECT_EQ(params->count(t), 2u);
    clap_param_info_t info;
    ASSERT_TRUE(params->get_info(w, kWidth, &info));
    EXPECT_EQ(info.id, kWidth);
    EXPECT_STREQ(info.name, "OutWidth");
    EXPECT_EQ(info.min_value, 0.0);
    EXPECT_EQ(info.max_value, 200.0);
    EXPECT_EQ(info.default_value, 100.0);
    EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE);
    ASSERT_TRUE(params->get_info(t, 1, &info));
    EXPECT_STREQ(info.name, "Accuracy");
    EXPECT_EQ(info.flags & (CLAP_PARAM_IS_ENUM | CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_AUTOMATABLE),
              CLAP_PARAM_IS_ENUM | CLAP_PARAM_IS_STEPPED);  // VST 2 hosts may not automate it either
    EXPECT_FALSE(params->get_info(w, 999, &info));
    EXPECT_FALSE(params->get_info(w, 0, nullptr));

    struct Case {
        const clap_plugin_t* plugin;
        clap_id id;
        double value;
        const char* text;
    };
    const Case cases[] = {{t, 1, 2.0, "Super"},          {t, 0, 432.0, "432 Hz"},     {w, kMono, 1.0, "On"},
                          {w, kGainLeft, -120.0, "-inf dB"}, {w, kDelay, -12.0, "L 12 samples"},
                          {w, kWidth, 150.0, "150 %"},       {w, 17, 200.0, "200 Hz"},  // the bass stage's Freq
                          {w, 20, 1.0, "On"}};
    char text[64];
    for (const Case& c : cases) {
        ASSERT_TRUE(params->value_to_text(c.plugin, c.id, c.value, text, sizeof text)) << c.text;
        EXPECT_STREQ(text, c.text);
        double value = -1.0;
        ASSERT_TRUE(params->text_to_value(c.plugin, c.id, c.text, &value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    // Every parameter's text at its ends and default reads back as the same text.
    for (const clap_plugin_t* p : {w, t})
        for (std::uint32_t i = 0; i < params->count(p); ++i) {
            ASSERT_TRUE(params->get_info(p, i, &info));
            for (double v : {info.min_value, info.default_value, info.max_value}) {
                char again[64];
                double back = 0.0;
                ASSERT_TRUE(params->value_to_text(p, i, v, text, sizeof text));
                ASSERT_TRUE(params->text_to_value(p, i, text, &back)) << info.name << " " << text;
                ASSERT_TRUE(params->value_to_text(p, i, back, again, sizeof again));
                EXPECT_STREQ(again, text) << info.name;
            }
        }
    EXPECT_FALSE(params->text_to_value(w, kWidth, "wide", &info.min_value));
    EXPECT_FALSE(params->value_to_text(w, kWidth, std::nan(""), text, sizeof text));
    EXPECT_FALSE(params->value_to_text(w, kWidth, 1.0, text, 0));
}

TEST_F(Clap, StateIsTheVst2ChunkAndBadStreamsChangeNothing) {
    using I = widefield::ParameterIndex;
    const clap_plugin_t* p = make(clapadapter::widefieldClap());
    InputEvents events;
    events.add(0, kWidth, 150.0);
    events.add(0, kDelay, 30.0);
    run(p, 64, 0, &events);
    const auto* state = static_cast<const clap_plugin_state_t*>(p->get_extension(p, CLAP_EXT_STATE));
    Stream saved;
    saved.step = 7;  // a stream that takes a few bytes a call
    ASSERT_TRUE(state->save(p, &saved.out));

    AEffect* record = reference(formats::widefieldIdentity());
    record->setParameter(record, I::kOutputWidth, 0.75f);
    record->setParameter(record, I::kDelay, 0.625f);
    void* chunk = nullptr;
    const VstIntPtr size = record->dispatcher(record, effGetChunk, 0, 0, &chunk, 0.0f);
    ASSERT_GT(size, 0);
    EXPECT_EQ(saved.bytes, std::vector<unsigned char>(static_cast<unsigned char*>(chunk),
                                                      static_cast<unsigned char*>(chunk) + size));
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);

    const clap_plugin_t* q = make(clapadapter::widefieldClap(), false);
    auto load = [&](Stream& s) { return state->load(q, &s.in); };
    Stream empty, failing = saved, truncated = saved, noise = saved, huge;
    failing.failing = true;
    truncated.bytes.resize(truncated.bytes.size() / 2);
    for (unsigned char& b : noise.bytes) b = static_cast<unsigned char>(b * 31 + 7);
    huge.bytes.assign(70000, 0);
    for (Stream* bad : {&empty, &failing, &truncated, &noise, &huge}) EXPECT_FALSE(load(*bad));
    EXPECT_FALSE(state->load(q, nullptr));
    EXPECT_EQ(parameter(q, I::kOutputWidth), 0.5f);
    Stream oneByOne = saved;
    oneByOne.step = 1;
    EXPECT_TRUE(load(oneByOne));
    EXPECT_EQ(parameter(q, I::kOutputWidth), 0.75f);
    EXPECT_EQ(parameter(q, I::kDelay), 0.625f);
}

TEST_F(Clap, ThePanelsDragsGoToTheHostAsGesturesAndValues) {
    using I = widefield::ParameterIndex;
    const clap_plugin_t* p = make(clapadapter::widefieldClap());
    const auto* gui = static_cast<const clap_plugin_gui_t*>(p->get_extension(p, CLAP_EXT_GUI));
    EXPECT_FALSE(gui->is_api_supported(p, CLAP_WINDOW_API_X11, true));  // never floating
    ASSERT_TRUE(gui->create(p, CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(gui->can_resize(p));
    std::uint32_t width = 0, height = 0;
    ASSERT_TRUE(gui->get_size(p, &width, &height));
    EXPECT_EQ(width, 723u);
    EXPECT_EQ(height, 386u);
    clap_window_t window{CLAP_WINDOW_API_X11, {}};
    window.x11 = 42;
    ASSERT_TRUE(gui->set_parent(p, &window));
    EXPECT_EQ(host.timersRegistered, 1);
    // What the panel does on a drag of OutWidth, through the VST 2 callbacks.
    AudioEffect& effect = plugin(p).effect();
    effect.getAudioMaster()(&plugin(p).record(), 43, I::kOutputWidth, 0, nullptr, 0.0f);
    effect.setParameterAutomated(I::kOutputWidth, 0.75f);
    effect.getAudioMaster()(&plugin(p).record(), 44, I::kOutputWidth, 0, nullptr, 0.0f);
    OutputEvents out;
    run(p, 64, 0, nullptr, &out);
    ASSERT_EQ(out.sent.size(), 3u);
    EXPECT_EQ(out.sent[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
    EXPECT_EQ(out.sent[1].type, CLAP_EVENT_PARAM_VALUE);
    EXPECT_EQ(out.sent[1].id, kWidth);
    EXPECT_EQ(out.sent[1].value, 150.0);
    EXPECT_EQ(out.sent[2].type, CLAP_EVENT_PARAM_GESTURE_END);
    // A change without automation goes at the next idle, with no gesture; the
    // host's own values are not sent back.
    effect.setParameter(I::kDelay, 0.625f);
    InputEvents hostChange;
    hostChange.add(0, kMono, 1.0);
    run(p, 64, 0, &hostChange);
    const auto* timer = static_cast<const clap_plugin_timer_support_t*>(p->get_extension(p, CLAP_EXT_TIMER_SUPPORT));
    timer->on_timer(p, 7);
    out.sent.clear();
    run(p, 64, 0, nullptr, &out);
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0].id, kDelay);
    EXPECT_EQ(out.sent[0].value, 30.0);
    gui->destroy(p);
    EXPECT_EQ(host.timersRegistered, 0);

    // A host that offers no extension at all gets no panel on X11 (nothing
    // would ever idle it) and still a working plug-in.
    TestHost bare;
    bare.host.get_extension = nullptr;
    descriptors.push_back(clapadapter::describe(clapadapter::widefieldClap()));
    ClapPlugin* plain = ClapPlugin::create(clapadapter::widefieldClap(), &descriptors.back(), &bare.host, services());
    const clap_plugin_t* q = plain->clapPlugin();
    made.push_back(q);
    ASSERT_TRUE(q->init(q));
    EXPECT_FALSE(gui->create(q, CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(gui->set_parent(q, &window));
    ASSERT_TRUE(q->activate(q, 48000.0, 1, 512) && q->start_processing(q));
    EXPECT_EQ(run(q, 64, 0), CLAP_PROCESS_CONTINUE);
}

TEST_F(Clap, ProcessNeitherAllocatesNorLocksWhileEventsArrive) {
    for (const auto* identity : {&clapadapter::widefieldClap(), &clapadapter::tonemarkClap()}) {
        const clap_plugin_t* p = make(*identity);
        InputEvents events;
        events.events.reserve(64);
        run(p, 256, 0);
        const auto& ports = identity->plugin().controls;
        alloccount::resetCounts();
        {
            alloccount::AudioThreadScope audioThread;
            for (int block = 0; block < 50; ++block) {
                events.events.clear();
                for (std::uint32_t i = 0; i < ports.size(); ++i)
                    events.add(i * 7, i, ports[i].minimum + static_cast<float>(block % 3));
                run(p, 256, 0, &events);
            }
            p->reset(p);
        }
        EXPECT_EQ(alloccount::countsOnAudioThread().total(), 0u) << identity->id;
    }
}

}  // namespace
