// Description.cpp — reading the effect's parameter texts and writing Turtle.
#include "lv2/Description.h"

#include <cmath>
#include <cstdio>

#include "lv2/PluginInstance.h"

namespace lv2adapter {

namespace {

VstIntPtr VSTCALLBACK describingHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::string textOf(AEffect& record, std::int32_t opcode, std::int32_t index) {
    char text[64] = {};
    record.dispatcher(&record, opcode, index, 0, text, 0.0f);
    return text;
}

// A Turtle decimal: always with a point, so it reads as a number with a fraction.
std::string number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    std::string result = text;
    if (result.find_first_of(".e") == std::string::npos) result += ".0";
    return result;
}

std::string quoted(const std::string& text) {
    std::string result = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') result += '\\';
        result += c;
    }
    return result + "\"";
}

const char* const kPrefixes =
    "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
    "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n\n";

std::string audioPort(std::uint32_t index, bool input, const char* symbol, const char* name) {
    return std::string("    [\n        a lv2:AudioPort , ") + (input ? "lv2:InputPort" : "lv2:OutputPort") +
           " ;\n        lv2:index " + std::to_string(index) + " ;\n        lv2:symbol \"" + symbol +
           "\" ;\n        lv2:name \"" + name + "\"\n    ]";
}

std::string controlPort(std::uint32_t index, const ControlPort& port, const PortFacts& facts) {
    std::string text = "    [\n        a lv2:InputPort , lv2:ControlPort ;\n";
    text += "        lv2:index " + std::to_string(index) + " ;\n";
    text += "        lv2:symbol \"" + std::string(port.symbol) + "\" ;\n";
    text += "        lv2:name " + quoted(facts.name) + " ;\n";
    text += "        lv2:default " + number(portValueOf(port, facts.defaultValue)) + " ;\n";
    text += "        lv2:minimum " + number(port.minimum) + " ;\n";
    text += "        lv2:maximum " + number(port.maximum);
    if (port.unit == PortUnit::toggle) text += " ;\n        lv2:portProperty lv2:toggled";
    if (isWholeNumberUnit(port.unit)) text += " ;\n        lv2:portProperty lv2:integer";
    if (port.unit == PortUnit::choice) {
        text += " ;\n        lv2:portProperty lv2:enumeration";
        for (std::size_t k = 0; k < facts.choiceLabels.size(); ++k)
            text += " ;\n        lv2:scalePoint [ rdfs:label " + quoted(facts.choiceLabels[k]) + " ; rdf:value " +
                    number(port.minimum + static_cast<double>(k)) + " ]";
    }
    if (const char* unit = unitUriOf(port.unit)) text += " ;\n        units:unit <" + std::string(unit) + ">";
    return text + "\n    ]";
}

}  // namespace

bool readPortFacts(const PluginIdentity& identity, const platform::Services& services, std::vector<PortFacts>& facts,
                   std::string& error) {
    AEffect* record = identity.create(describingHost, services);
    if (record == nullptr) return error = "the effect could not be made", false;
    facts.clear();
    for (const ControlPort& port : identity.controls) {
        PortFacts fact;
        fact.defaultValue = record->getParameter(record, port.parameter);
        if (port.name != nullptr) {
            // A setting the effect shows no host: named by the port.
            fact.name = port.name;
            fact.vstUnit = vstUnitOf(port.unit);
            facts.push_back(fact);
            continue;
        }
        fact.name = textOf(*record, effGetParamName, port.parameter);
        fact.vstUnit = textOf(*record, effGetParamLabel, port.parameter);
        if (fact.vstUnit != vstUnitOf(port.unit))
            error = std::string(port.symbol) + ": the effect's unit is \"" + fact.vstUnit + "\", the port's \"" +
                    vstUnitOf(port.unit) + "\"";
        if (fact.name.empty()) error = std::string(port.symbol) + ": the effect gives no name";
        facts.push_back(fact);
    }
    // Value texts of the choices, read last: they set the parameter.
    for (std::size_t i = 0; i < facts.size(); ++i) {
        const ControlPort& port = identity.controls[i];
        if (port.unit != PortUnit::choice) continue;
        for (float k = port.minimum; k <= port.maximum; k += 1.0f) {
            record->setParameter(record, port.parameter, k);
            facts[i].choiceLabels.push_back(textOf(*record, effGetParamDisplay, port.parameter));
        }
    }
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    return error.empty();
}

std::string pluginTurtle(const PluginIdentity& identity, const std::vector<PortFacts>& facts) {
    std::string text = kPrefixes;
    text += "<" + std::string(identity.uri) + ">\n";
    text += "    a lv2:Plugin , lv2:" + std::string(identity.pluginClass) + " ;\n";
    text += "    doap:name " + quoted(identity.name) + " ;\n";
    text += "    rdfs:comment " + quoted(identity.comment) + " ;\n";
    text += "    lv2:minorVersion 0 ;\n    lv2:microVersion 1 ;\n";
    text += "    lv2:optionalFeature lv2:hardRTCapable ;\n";
    text += "    ui:ui <" + std::string(identity.uiUri) + "> ;\n";
    text += "    lv2:port\n";
    text += audioPort(kInLeft, true, "in_left", "In L") + " ,\n";
    text += audioPort(kInRight, true, "in_right", "In R") + " ,\n";
    text += audioPort(kOutLeft, false, "out_left", "Out L") + " ,\n";
    text += audioPort(kOutRight, false, "out_right", "Out R");
    for (std::size_t i = 0; i < identity.controls.size(); ++i)
        text += " ,\n" + controlPort(static_cast<std::uint32_t>(kFirstControlPort + i), identity.controls[i], facts[i]);
    text += " .\n\n";
    text += "<" + std::string(identity.uiUri) + ">\n";
    text += "    a ui:X11UI ;\n";
    text += "    lv2:requiredFeature ui:parent , ui:idleInterface , <http://lv2plug.in/ns/ext/instance-access> ;\n";
    // The host's display scale comes as an option (with urid:map to read it);
    // ui:resize lets a zoom picked on the panel take effect at once.
    text += "    lv2:optionalFeature ui:resize , ui:touch , ui:noUserResize , opts:options , urid:map ;\n";
    text += "    opts:supportedOption ui:scaleFactor ;\n";
    text += "    lv2:extensionData ui:idleInterface .\n";
    return text;
}

std::string manifestTurtle(const PluginIdentity& identity) {
    const std::string name = identity.name;
    std::string text = kPrefixes;
    text += "<" + std::string(identity.uri) + ">\n    a lv2:Plugin ;\n    lv2:binary <" + name +
            ".so> ;\n    rdfs:seeAlso <" + name + ".ttl> .\n\n";
    text += "<" + std::string(identity.uiUri) + ">\n    a ui:X11UI ;\n    ui:binary <" + name +
            ".so> ;\n    rdfs:seeAlso <" + name + ".ttl> .\n";
    return text;
}

}  // namespace lv2adapter
