// PortFacts.h — what the VST 2 build tells a host about each control port.
//
//   PortFacts       one parameter's name, unit label, default, automatability
//                   and, for a choice, the value texts; a panel-only setting
//                   takes its name and label from its port
//   readPortFacts   asks a fresh effect through its record, as a VST 2 host
//                   does; fails where the effect and the port table disagree
//
// So a setting is described once, in the effect; every format's description
// takes its name, default and value texts from there.
#pragma once

#include <string>
#include <vector>

#include "formats/PluginIdentity.h"

namespace formats {

struct PortFacts {
    std::string name;
    std::string vstUnit;
    float defaultValue = 0.0f;             // the effect's value
    bool automatable = false;              // effCanBeAutomated
    std::vector<std::string> choiceLabels;  // by setting number, from the minimum
};

bool readPortFacts(const PluginIdentity& identity, const platform::Services& services, std::vector<PortFacts>& facts,
                   std::string& error);

}  // namespace formats
