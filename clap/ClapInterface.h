// ClapInterface.h — the part of the CLAP 1.x plug-in interface these plug-ins use.
//
//   version, entry, factory, descriptor, plugin, host   the core
//   process, audio buffers, events and event lists       the audio call
//   extensions: audio-ports, params, state, latency, gui, timer-support,
//               posix-fd-support, thread-check (plug-in and host sides)
//
// Written from the published CLAP documentation, declaring only what we use;
// the layouts are the C ones a host compiles against, checked below for 32-
// and 64-bit builds. Every function pointer uses the C calling convention
// (cdecl on 32-bit Windows).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define CLAP_ABI __cdecl
#else
#define CLAP_ABI
#endif

extern "C" {

using clap_id = std::uint32_t;
constexpr clap_id CLAP_INVALID_ID = 0xFFFFFFFFu;
constexpr std::size_t CLAP_NAME_SIZE = 256;
constexpr std::size_t CLAP_PATH_SIZE = 1024;

struct clap_version_t {
    std::uint32_t major, minor, revision;
};
// The version we implement; hosts load any 1.x plug-in.
constexpr clap_version_t kClapVersion{1, 2, 0};

struct clap_host_t;
struct clap_plugin_t;
struct clap_process_t;

struct clap_plugin_descriptor_t {
    clap_version_t clap_version;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;
    const char* description;
    const char* const* features;  // null-terminated
};

struct clap_plugin_entry_t {
    clap_version_t clap_version;
    bool(CLAP_ABI* init)(const char* plugin_path);
    void(CLAP_ABI* deinit)();
    const void*(CLAP_ABI* get_factory)(const char* factory_id);
};

constexpr const char* CLAP_PLUGIN_FACTORY_ID = "clap.plugin-factory";
struct clap_plugin_factory_t {
    std::uint32_t(CLAP_ABI* get_plugin_count)(const clap_plugin_factory_t* factory);
    const clap_plugin_descriptor_t*(CLAP_ABI* get_plugin_descriptor)(const clap_plugin_factory_t* factory,
                                                                      std::uint32_t index);
    const clap_plugin_t*(CLAP_ABI* create_plugin)(const clap_plugin_factory_t* factory, const clap_host_t* host,
                                                  const char* plugin_id);
};

struct clap_host_t {
    clap_version_t clap_version;
    void* host_data;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void*(CLAP_ABI* get_extension)(const clap_host_t* host, const char* extension_id);
    void(CLAP_ABI* request_restart)(const clap_host_t* host);
    void(CLAP_ABI* request_process)(const clap_host_t* host);
    void(CLAP_ABI* request_callback)(const clap_host_t* host);
};

using clap_process_status = std::int32_t;
enum : clap_process_status {
    CLAP_PROCESS_ERROR = 0,
    CLAP_PROCESS_CONTINUE = 1,
    CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
    CLAP_PROCESS_TAIL = 3,
    CLAP_PROCESS_SLEEP = 4,
};

struct clap_plugin_t {
    const clap_plugin_descriptor_t* desc;
    void* plugin_data;
    bool(CLAP_ABI* init)(const clap_plugin_t* plugin);
    void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* activate)(const clap_plugin_t* plugin, double sample_rate, std::uint32_t min_frames_count,
                             std::uint32_t max_frames_count);
    void(CLAP_ABI* deactivate)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* start_processing)(const clap_plugin_t* plugin);
    void(CLAP_ABI* stop_processing)(const clap_plugin_t* plugin);
    void(CLAP_ABI* reset)(const clap_plugin_t* plugin);
    clap_process_status(CLAP_ABI* process)(const clap_plugin_t* plugin, const clap_process_t* process);
    const void*(CLAP_ABI* get_extension)(const clap_plugin_t* plugin, const char* id);
    void(CLAP_ABI* on_main_thread)(const clap_plugin_t* plugin);
};

// ---- Events ------------------------------------------------------------------------

struct clap_event_header_t {
    std::uint32_t size;  // of the whole event
    std::uint32_t time;  // frame offset in the block
    std::uint16_t space_id;
    std::uint16_t type;
    std::uint32_t flags;
};
constexpr std::uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;
enum : std::uint32_t { CLAP_EVENT_IS_LIVE = 1u << 0, CLAP_EVENT_DONT_RECORD = 1u << 1 };
enum : std::uint16_t {
    CLAP_EVENT_PARAM_VALUE = 5,
    CLAP_EVENT_PARAM_MOD = 6,
    CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
    CLAP_EVENT_PARAM_GESTURE_END = 8,
};

struct clap_event_param_value_t {
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    std::int32_t note_id;  // -1: every note (a plug-in-wide value)
    std::int16_t port_index;
    std::int16_t channel;
    std::int16_t key;
    double value;
};

struct clap_event_param_gesture_t {
    clap_event_header_t header;
    clap_id param_id;
};

struct clap_input_events_t {
    void* ctx;
    std::uint32_t(CLAP_ABI* size)(const clap_input_events_t* list);
    const clap_event_header_t*(CLAP_ABI* get)(const clap_input_events_t* list, std::uint32_t index);
};

struct clap_output_events_t {
    void* ctx;
    bool(CLAP_ABI* try_push)(const clap_output_events_t* list, const clap_event_header_t* event);
};

// ---- The audio call ----------------------------------------------------------------

struct clap_audio_buffer_t {
    float** data32;
    double** data64;
    std::uint32_t channel_count;
    std::uint32_t latency;
    std::uint64_t constant_mask;
};

struct clap_process_t {
    std::int64_t steady_time;
    std::uint32_t frames_count;
    const void* transport;  // clap_event_transport_t; not read
    const clap_audio_buffer_t* audio_inputs;
    clap_audio_buffer_t* audio_outputs;
    std::uint32_t audio_inputs_count;
    std::uint32_t audio_outputs_count;
    const clap_input_events_t* in_events;
    const clap_output_events_t* out_events;
};

// ---- audio-ports -------------------------------------------------------------------

constexpr const char* CLAP_EXT_AUDIO_PORTS = "clap.audio-ports";
constexpr const char* CLAP_PORT_STEREO = "stereo";
enum : std::uint32_t { CLAP_AUDIO_PORT_IS_MAIN = 1u << 0 };

struct clap_audio_port_info_t {
    clap_id id;
    char name[CLAP_NAME_SIZE];
    std::uint32_t flags;
    std::uint32_t channel_count;
    const char* port_type;
    clap_id in_place_pair;
};

struct clap_plugin_audio_ports_t {
    std::uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
    bool(CLAP_ABI* get)(const clap_plugin_t* plugin, std::uint32_t index, bool is_input,
                        clap_audio_port_info_t* info);
};

// ---- params ------------------------------------------------------------------------

constexpr const char* CLAP_EXT_PARAMS = "clap.params";
enum : std::uint32_t {
    CLAP_PARAM_IS_STEPPED = 1u << 0,
    CLAP_PARAM_IS_BYPASS = 1u << 4,
    CLAP_PARAM_IS_AUTOMATABLE = 1u << 5,
    CLAP_PARAM_IS_ENUM = 1u << 16,
};

struct clap_param_info_t {
    clap_id id;
    std::uint32_t flags;
    void* cookie;
    char name[CLAP_NAME_SIZE];
    char module[CLAP_PATH_SIZE];
    double min_value;
    double max_value;
    double default_value;
};

struct clap_plugin_params_t {
    std::uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* get_info)(const clap_plugin_t* plugin, std::uint32_t param_index, clap_param_info_t* param_info);
    bool(CLAP_ABI* get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
    bool(CLAP_ABI* value_to_text)(const clap_plugin_t* plugin, clap_id param_id, double value, char* out_buffer,
                                  std::uint32_t out_buffer_capacity);
    bool(CLAP_ABI* text_to_value)(const clap_plugin_t* plugin, clap_id param_id, const char* param_value_text,
                                  double* out_value);
    void(CLAP_ABI* flush)(const clap_plugin_t* plugin, const clap_input_events_t* in,
                          const clap_output_events_t* out);
};

enum : std::uint32_t { CLAP_PARAM_RESCAN_VALUES = 1u << 0, CLAP_PARAM_RESCAN_TEXT = 1u << 1 };
struct clap_host_params_t {
    void(CLAP_ABI* rescan)(const clap_host_t* host, std::uint32_t flags);
    void(CLAP_ABI* clear)(const clap_host_t* host, clap_id param_id, std::uint32_t flags);
    void(CLAP_ABI* request_flush)(const clap_host_t* host);
};

// ---- state -------------------------------------------------------------------------

constexpr const char* CLAP_EXT_STATE = "clap.state";
struct clap_istream_t {
    void* ctx;
    // Bytes read, 0 at the end, -1 on an error.
    std::int64_t(CLAP_ABI* read)(const clap_istream_t* stream, void* buffer, std::uint64_t size);
};
struct clap_ostream_t {
    void* ctx;
    // Bytes written, -1 on an error.
    std::int64_t(CLAP_ABI* write)(const clap_ostream_t* stream, const void* buffer, std::uint64_t size);
};
struct clap_plugin_state_t {
    bool(CLAP_ABI* save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
    bool(CLAP_ABI* load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
};
struct clap_host_state_t {
    void(CLAP_ABI* mark_dirty)(const clap_host_t* host);
};

// ---- latency -----------------------------------------------------------------------

constexpr const char* CLAP_EXT_LATENCY = "clap.latency";
struct clap_plugin_latency_t {
    std::uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};

// ---- gui ---------------------------------------------------------------------------

constexpr const char* CLAP_EXT_GUI = "clap.gui";
constexpr const char* CLAP_WINDOW_API_WIN32 = "win32";
constexpr const char* CLAP_WINDOW_API_X11 = "x11";

struct clap_window_t {
    const char* api;
    union {
        void* cocoa;
        unsigned long x11;
        void* win32;
        void* ptr;
    };
};

struct clap_gui_resize_hints_t {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    std::uint32_t aspect_ratio_width;
    std::uint32_t aspect_ratio_height;
};

struct clap_plugin_gui_t {
    bool(CLAP_ABI* is_api_supported)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    bool(CLAP_ABI* get_preferred_api)(const clap_plugin_t* plugin, const char** api, bool* is_floating);
    bool(CLAP_ABI* create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* set_scale)(const clap_plugin_t* plugin, double scale);
    bool(CLAP_ABI* get_size)(const clap_plugin_t* plugin, std::uint32_t* width, std::uint32_t* height);
    bool(CLAP_ABI* can_resize)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
    bool(CLAP_ABI* adjust_size)(const clap_plugin_t* plugin, std::uint32_t* width, std::uint32_t* height);
    bool(CLAP_ABI* set_size)(const clap_plugin_t* plugin, std::uint32_t width, std::uint32_t height);
    bool(CLAP_ABI* set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
    bool(CLAP_ABI* set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);
    void(CLAP_ABI* suggest_title)(const clap_plugin_t* plugin, const char* title);
    bool(CLAP_ABI* show)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* hide)(const clap_plugin_t* plugin);
};

struct clap_host_gui_t {
    void(CLAP_ABI* resize_hints_changed)(const clap_host_t* host);
    bool(CLAP_ABI* request_resize)(const clap_host_t* host, std::uint32_t width, std::uint32_t height);
    bool(CLAP_ABI* request_show)(const clap_host_t* host);
    bool(CLAP_ABI* request_hide)(const clap_host_t* host);
    void(CLAP_ABI* closed)(const clap_host_t* host, bool was_destroyed);
};

// ---- timer-support, posix-fd-support, thread-check ---------------------------------

constexpr const char* CLAP_EXT_TIMER_SUPPORT = "clap.timer-support";
struct clap_plugin_timer_support_t {
    void(CLAP_ABI* on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
};
struct clap_host_timer_support_t {
    bool(CLAP_ABI* register_timer)(const clap_host_t* host, std::uint32_t period_ms, clap_id* timer_id);
    bool(CLAP_ABI* unregister_timer)(const clap_host_t* host, clap_id timer_id);
};

constexpr const char* CLAP_EXT_POSIX_FD_SUPPORT = "clap.posix-fd-support";
enum : std::uint32_t { CLAP_POSIX_FD_READ = 1u << 0, CLAP_POSIX_FD_WRITE = 1u << 1, CLAP_POSIX_FD_ERROR = 1u << 2 };
struct clap_plugin_posix_fd_support_t {
    void(CLAP_ABI* on_fd)(const clap_plugin_t* plugin, int fd, std::uint32_t flags);
};
struct clap_host_posix_fd_support_t {
    bool(CLAP_ABI* register_fd)(const clap_host_t* host, int fd, std::uint32_t flags);
    bool(CLAP_ABI* modify_fd)(const clap_host_t* host, int fd, std::uint32_t flags);
    bool(CLAP_ABI* unregister_fd)(const clap_host_t* host, int fd);
};

constexpr const char* CLAP_EXT_THREAD_CHECK = "clap.thread-check";
struct clap_host_thread_check_t {
    bool(CLAP_ABI* is_main_thread)(const clap_host_t* host);
    bool(CLAP_ABI* is_audio_thread)(const clap_host_t* host);
};

}  // extern "C"

// The layouts a host compiled against, for both pointer widths (Windows
// aligns double to 8 in structures on 32-bit x86 as well).
static_assert(sizeof(clap_version_t) == 12, "clap_version_t");
static_assert(sizeof(clap_event_header_t) == 16, "clap_event_header_t");
static_assert(sizeof(clap_event_param_gesture_t) == 20, "clap_event_param_gesture_t");
static_assert(sizeof(clap_gui_resize_hints_t) == 12, "clap_gui_resize_hints_t");
static_assert(offsetof(clap_param_info_t, min_value) == 1296 && sizeof(clap_param_info_t) == 1320,
              "clap_param_info_t");
#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(clap_plugin_descriptor_t) == 48 && offsetof(clap_plugin_descriptor_t, features) == 44,
              "descriptor, 32-bit");
static_assert(sizeof(clap_plugin_entry_t) == 24 && sizeof(clap_host_t) == 48, "entry and host, 32-bit");
static_assert(sizeof(clap_plugin_t) == 48 && offsetof(clap_plugin_t, on_main_thread) == 44, "plugin, 32-bit");
static_assert(offsetof(clap_event_param_value_t, cookie) == 20 && offsetof(clap_event_param_value_t, key) == 32,
              "param value event, 32-bit");
static_assert(offsetof(clap_event_param_value_t, value) == 40 && sizeof(clap_event_param_value_t) == 48,
              "param value event, 32-bit");
static_assert(sizeof(clap_audio_buffer_t) == 24 && offsetof(clap_audio_buffer_t, constant_mask) == 16,
              "audio buffer, 32-bit");
static_assert(sizeof(clap_process_t) == 40 && offsetof(clap_process_t, frames_count) == 8 &&
                  offsetof(clap_process_t, out_events) == 36,
              "process, 32-bit");
static_assert(sizeof(clap_audio_port_info_t) == 276 && offsetof(clap_audio_port_info_t, port_type) == 268,
              "audio port info, 32-bit");
static_assert(offsetof(clap_param_info_t, name) == 12 && sizeof(clap_window_t) == 8, "param info, window, 32-bit");
#else
static_assert(sizeof(clap_plugin_descriptor_t) == 88 && offsetof(clap_plugin_descriptor_t, features) == 80,
              "descriptor, 64-bit");
static_assert(sizeof(clap_plugin_entry_t) == 40 && sizeof(clap_host_t) == 88, "entry and host, 64-bit");
static_assert(sizeof(clap_plugin_t) == 96 && offsetof(clap_plugin_t, on_main_thread) == 88, "plugin, 64-bit");
static_assert(offsetof(clap_event_param_value_t, cookie) == 24 && offsetof(clap_event_param_value_t, key) == 40,
              "param value event, 64-bit");
static_assert(offsetof(clap_event_param_value_t, value) == 48 && sizeof(clap_event_param_value_t) == 56,
              "param value event, 64-bit");
static_assert(sizeof(clap_audio_buffer_t) == 32 && offsetof(clap_audio_buffer_t, constant_mask) == 24,
              "audio buffer, 64-bit");
static_assert(sizeof(clap_process_t) == 64 && offsetof(clap_process_t, frames_count) == 8 &&
                  offsetof(clap_process_t, out_events) == 56,
              "process, 64-bit");
static_assert(sizeof(clap_audio_port_info_t) == 288 && offsetof(clap_audio_port_info_t, port_type) == 272,
              "audio port info, 64-bit");
static_assert(offsetof(clap_param_info_t, name) == 16 && sizeof(clap_window_t) == 16, "param info, window, 64-bit");
#endif
