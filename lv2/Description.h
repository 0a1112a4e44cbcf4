// Description.h — the bundle's Turtle, generated from the effect at build time.
//
//   PortFacts       what the VST 2 build tells a host about one parameter: its
//                   name, unit label, default, and for a choice the value texts
//   readPortFacts   asks a fresh effect through its record, as a VST 2 host
//                   does; fails where the effect and the port table disagree
//   pluginTurtle    the plug-in's description: ports, features, the X11 UI
//   manifestTurtle  the bundle's manifest.ttl
//
// So a setting is described once, in the effect; the ports take its name,
// default and value texts from there.
#pragma once

#include <string>
#include <vector>

#include "formats/PluginIdentity.h"

namespace lv2adapter {

// The plug-ins' descriptions, shared with the other formats.
using namespace formats;

struct PortFacts {
    std::string name;
    std::string vstUnit;
    float defaultValue = 0.0f;             // the effect's value
    std::vector<std::string> choiceLabels;  // by setting number, from the minimum
};

bool readPortFacts(const PluginIdentity& identity, const platform::Services& services, std::vector<PortFacts>& facts,
                   std::string& error);
std::string pluginTurtle(const PluginIdentity& identity, const std::vector<PortFacts>& facts);
std::string manifestTurtle(const PluginIdentity& identity);

}  // namespace lv2adapter
