// ClapEntry.cpp — descriptors and the factory's create_plugin.
#include "clap/ClapEntry.h"

namespace clapadapter {

clap_plugin_descriptor_t describe(const ClapIdentity& identity) {
    const PluginIdentity& plugin = identity.plugin();
    return clap_plugin_descriptor_t{kClapVersion, identity.id,      plugin.name,        identity.vendor,
                                    "",           "",               "",                 identity.version,
                                    plugin.comment, identity.features};
}

const clap_plugin_t* createPlugin(const ClapIdentity& identity, const clap_plugin_descriptor_t* descriptor,
                                  const clap_host_t* host, const char* pluginId) {
    if (host == nullptr || pluginId == nullptr || std::strcmp(pluginId, identity.id) != 0) return nullptr;
    if (host->clap_version.major != 1) return nullptr;  // 1.x is what we speak
    ClapPlugin* plugin = ClapPlugin::create(identity, descriptor, host);
    return plugin ? plugin->clapPlugin() : nullptr;
}

}  // namespace clapadapter
