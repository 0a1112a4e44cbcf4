// Description.h — the bundle's Turtle, generated from the effect at build time.
//
//   pluginTurtle    the plug-in's description: ports, features, the X11 UI
//   manifestTurtle  the bundle's manifest.ttl
//
// The ports take their names, defaults and value texts from the effect
// (formats/PortFacts.h).
#pragma once

#include <string>
#include <vector>

#include "formats/PortFacts.h"

namespace lv2adapter {

// The plug-ins' descriptions, shared with the other formats.
using namespace formats;

std::string pluginTurtle(const PluginIdentity& identity, const std::vector<PortFacts>& facts);
std::string manifestTurtle(const PluginIdentity& identity);

}  // namespace lv2adapter
