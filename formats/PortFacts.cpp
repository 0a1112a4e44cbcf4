// PortFacts.cpp — reading the effect's parameter texts through its record.
#include "formats/PortFacts.h"

#include "formats/EffectCalls.h"

namespace formats {

namespace {

std::string textOf(AEffect& record, std::int32_t opcode, std::int32_t index) {
    char text[64] = {};
    record.dispatcher(&record, opcode, index, 0, text, 0.0f);
    return text;
}

}  // namespace

bool readPortFacts(const PluginIdentity& identity, const platform::Services& services, std::vector<PortFacts>& facts,
                   std::string& error) {
    AEffect* record = identity.create(answerVersionOnly, services);
    if (record == nullptr) return error = "the effect could not be made", false;
    facts.clear();
    for (const ControlPort& port : identity.controls) {
        PortFacts fact;
        fact.defaultValue = record->getParameter(record, port.parameter);
        if (port.name != nullptr) {
            // A setting the effect shows no host: named by the port, and a
            // host may automate it as it may the port.
            fact.name = port.name;
            fact.vstUnit = vstUnitOf(port.unit);
            fact.automatable = true;
            facts.push_back(fact);
            continue;
        }
        fact.name = textOf(*record, effGetParamName, port.parameter);
        fact.vstUnit = textOf(*record, effGetParamLabel, port.parameter);
        fact.automatable = record->dispatcher(record, effCanBeAutomated, port.parameter, 0, nullptr, 0.0f) == 1;
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

}  // namespace formats
