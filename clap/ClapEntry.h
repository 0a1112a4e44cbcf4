// ClapEntry.h — a library's clap_entry: its factory and its one plug-in.
//
//   describe      a plug-in's clap_plugin_descriptor_t from its identities
//   createPlugin  the factory's create_plugin: a ClapPlugin for a host that
//                 speaks CLAP 1 and asks for this plug-in's id
//   ClapLibrary   the entry, factory and descriptor of one plug-in, for the
//                 library unit to export as clap_entry
#pragma once

#include <cstring>

#include "clap/ClapPlugin.h"

#if defined(_WIN32)
#define CLAP_EXPORT
#else
#define CLAP_EXPORT __attribute__((visibility("default")))
#endif

namespace clapadapter {

clap_plugin_descriptor_t describe(const ClapIdentity& identity);
const clap_plugin_t* createPlugin(const ClapIdentity& identity, const clap_plugin_descriptor_t* descriptor,
                                  const clap_host_t* host, const char* pluginId);

template <const ClapIdentity& (*identity)()>
struct ClapLibrary {
    static const clap_plugin_descriptor_t* descriptor() {
        static const clap_plugin_descriptor_t described = describe(identity());
        return &described;
    }
    static std::uint32_t CLAP_ABI count(const clap_plugin_factory_t*) { return 1; }
    static const clap_plugin_descriptor_t* CLAP_ABI descriptorAt(const clap_plugin_factory_t*, std::uint32_t index) {
        return index == 0 ? descriptor() : nullptr;
    }
    static const clap_plugin_t* CLAP_ABI create(const clap_plugin_factory_t*, const clap_host_t* host, const char* id) {
        return createPlugin(identity(), descriptor(), host, id);
    }
    static constexpr clap_plugin_factory_t factory{count, descriptorAt, create};

    static bool CLAP_ABI init(const char*) { return true; }
    static void CLAP_ABI deinit() {}
    static const void* CLAP_ABI factoryOf(const char* id) {
        return id != nullptr && std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0 ? &factory : nullptr;
    }
    static constexpr clap_plugin_entry_t entry{kClapVersion, init, deinit, factoryOf};
};

const ClapIdentity& tonemarkClap();
const ClapIdentity& widefieldClap();

}  // namespace clapadapter
