// ClapHost.h — plughost as a CLAP host: a .clap file loaded through its clap_entry.
//
//   ClapLibrary    dlopen/LoadLibrary, clap_entry, init and the plug-in factory;
//                  deinit and unload when it goes
//   ClapHost       the clap_host_t a plug-in sees: thread-check (this one
//                  thread is main, and audio while process runs), timer-support
//                  for the editor, params, gui and state with answers of a host
//   AudioThreadMark  the calling thread is the audio thread while it lives
//   ParamEvents    input events of one block; OutputEvents records what comes back
//   ClapInstance   create_plugin + init; destroy when it goes
//   isClapPath     whether a plug-in path is a CLAP file (".clap")
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "clap/ClapInterface.h"

namespace plughost {

bool isClapPath(const std::string& path);

class ClapLibrary {
public:
    explicit ClapLibrary(const std::string& path);
    ~ClapLibrary();
    ClapLibrary(const ClapLibrary&) = delete;
    ClapLibrary& operator=(const ClapLibrary&) = delete;

    const clap_plugin_factory_t* factory() const { return factory_; }
    const clap_plugin_entry_t* entry() const { return entry_; }
    const std::string& error() const { return message_; }

private:
    void* handle_ = nullptr;
    const clap_plugin_entry_t* entry_ = nullptr;
    bool initialised_ = false;
    const clap_plugin_factory_t* factory_ = nullptr;
    std::string message_;
};

struct HostTimer {
    clap_id id;
    std::uint32_t periodMs;
};

class ClapHost {
public:
    ClapHost();
    const clap_host_t* host() const { return &host_; }
    std::vector<HostTimer> timers;  // main thread only
    int resizeRequests = 0;
    std::uint32_t requestedWidth = 0, requestedHeight = 0;

private:
    static const void* CLAP_ABI extension(const clap_host_t* host, const char* id);
    clap_host_t host_;
};

class AudioThreadMark {
public:
    AudioThreadMark();
    ~AudioThreadMark();
    AudioThreadMark(const AudioThreadMark&) = delete;
    AudioThreadMark& operator=(const AudioThreadMark&) = delete;
};

struct ParamEvents {
    std::vector<clap_event_param_value_t> events;
    clap_input_events_t list{this, size, get};
    void add(std::uint32_t time, clap_id id, double value);
    static std::uint32_t CLAP_ABI size(const clap_input_events_t* list);
    static const clap_event_header_t* CLAP_ABI get(const clap_input_events_t* list, std::uint32_t index);
};

struct OutputEvents {
    int gestureBegins = 0, gestureEnds = 0, values = 0;
    clap_output_events_t list{this, push};
    static bool CLAP_ABI push(const clap_output_events_t* list, const clap_event_header_t* event);
};

class ClapInstance {
public:
    // Null (with the exit status and a message on stderr) when the library,
    // its factory or the plug-in cannot be had.
    static std::unique_ptr<ClapInstance> open(const std::string& path, int& status);
    ~ClapInstance();
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;

    const clap_plugin_t* plugin() const { return plugin_; }
    const clap_plugin_descriptor_t* descriptor() const { return descriptor_; }
    ClapHost& host() { return host_; }
    template <typename Extension>
    const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(plugin_->get_extension(plugin_, id));
    }

private:
    ClapInstance() = default;
    std::unique_ptr<ClapLibrary> library_;
    ClapHost host_;
    const clap_plugin_descriptor_t* descriptor_ = nullptr;
    const clap_plugin_t* plugin_ = nullptr;
};

}  // namespace plughost
