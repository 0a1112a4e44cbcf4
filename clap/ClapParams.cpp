// ClapParams.cpp — the params extension: one parameter per control port.
//
//   paramInfo, paramValue      the port table and the effect's facts: id = the
//                              port's position, values in the port's own unit
//   valueToText, textToValue   the VST 2 build's display text and label, read
//                              from the text effect (a panel-only setting: its
//                              whole number and unit); and back
//   flush                      the host's events while nothing processes
//   the clap_plugin_params_t entry points
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "clap/ClapPlugin.h"
#include "platform/FloatingPoint.h"

namespace clapadapter {

std::uint32_t ClapPlugin::paramCount() const {
    return state_ == State::created ? 0 : static_cast<std::uint32_t>(portsOf_.controls.size());
}

bool ClapPlugin::paramInfo(std::uint32_t index, clap_param_info_t* info) const {
    if (info == nullptr || index >= paramCount()) return false;
    const ControlPort& port = portsOf_.controls[index];
    const PortFacts& facts = facts_[index];
    *info = clap_param_info_t{};
    info->id = index;
    std::uint32_t flags = facts.automatable ? std::uint32_t{CLAP_PARAM_IS_AUTOMATABLE} : 0u;
    if (port.unit == PortUnit::toggle || isWholeNumberUnit(port.unit)) flags |= CLAP_PARAM_IS_STEPPED;
    if (port.unit == PortUnit::choice) flags |= CLAP_PARAM_IS_ENUM;
    if (std::strcmp(port.symbol, "bypass") == 0) flags |= CLAP_PARAM_IS_BYPASS;
    info->flags = flags;
    std::snprintf(info->name, sizeof info->name, "%s", facts.name.c_str());
    info->min_value = port.minimum;
    info->max_value = port.maximum;
    info->default_value = portValueOf(port, facts.defaultValue);
    return true;
}

double ClapPlugin::clapValueOf(std::size_t param) const {
    const ControlPort& port = portsOf_.controls[param];
    return portValueOf(port, record_->getParameter(record_, port.parameter));
}

bool ClapPlugin::paramValue(clap_id id, double* value) const {
    if (value == nullptr || id >= paramCount()) return false;
    *value = clapValueOf(id);
    return true;
}

bool ClapPlugin::valueToText(clap_id id, double value, char* text, std::uint32_t capacity) const {
    if (text == nullptr || capacity == 0 || id >= paramCount() || !std::isfinite(value)) return false;
    const ControlPort& port = portsOf_.controls[id];
    float effectValue = 0.0f;
    if (!effectValueOf(port, static_cast<float>(value), effectValue)) return false;
    if (port.name != nullptr) {
        // A panel-only setting has no VST 2 text: whole numbers, as its panel label reads.
        const float shown = portValueOf(port, effectValue);
        if (port.unit == PortUnit::toggle)
            std::snprintf(text, capacity, "%s", shown > 0.0f ? "On" : "Off");
        else
            std::snprintf(text, capacity, "%ld %s", std::lround(shown), vstUnitOf(port.unit));
        return true;
    }
    texts_->setParameter(texts_, port.parameter, effectValue);
    char display[64] = {};
    char label[64] = {};
    texts_->dispatcher(texts_, effGetParamDisplay, port.parameter, 0, display, 0.0f);
    texts_->dispatcher(texts_, effGetParamLabel, port.parameter, 0, label, 0.0f);
    std::string whole = display;
    if (label[0] != '\0') whole += std::string(" ") + label;
    std::snprintf(text, capacity, "%s", whole.c_str());
    return true;
}

namespace {

bool sameTextIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string trimmed(const char* text) {
    std::string s = text;
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    std::size_t first = 0;
    while (first < s.size() && std::isspace(static_cast<unsigned char>(s[first]))) ++first;
    return s.substr(first);
}

// A decimal number at the start of text, with "." or "," as its point (the
// display texts use the user's separator); false when there is none.
bool leadingNumber(const std::string& text, double& number) {
    std::size_t i = 0;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1.0 : 1.0;
    double whole = 0.0, scale = 1.0;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            if (point) scale /= 10.0;
            whole = whole * 10.0 + (c - '0');
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return false;
    number = sign * whole * scale;
    return true;
}

}  // namespace

bool ClapPlugin::textToValue(clap_id id, const char* text, double* value) const {
    if (text == nullptr || value == nullptr || id >= paramCount()) return false;
    const ControlPort& port = portsOf_.controls[id];
    const PortFacts& facts = facts_[id];
    std::string s = trimmed(text);
    // Off/On, the choices' names and "-inf" as the VST 2 texts write them.
    for (std::size_t k = 0; k < facts.choiceLabels.size(); ++k)
        if (sameTextIgnoringCase(s, facts.choiceLabels[k])) return *value = port.minimum + static_cast<double>(k), true;
    if (port.unit == PortUnit::toggle) {
        if (sameTextIgnoringCase(s, "on")) return *value = 1.0, true;
        if (sameTextIgnoringCase(s, "off")) return *value = 0.0, true;
    }
    if (port.unit == PortUnit::decibels && s.compare(0, 4, "-inf") == 0) return *value = port.minimum, true;
    double sign = 1.0;
    // The delay reads "L 12" (the left channel delayed: negative) or "R 12".
    if (port.unit == PortUnit::samples && !s.empty() && (s[0] == 'L' || s[0] == 'R')) {
        sign = s[0] == 'L' ? -1.0 : 1.0;
        s = trimmed(s.c_str() + 1);
    }
    double number = 0.0;
    if (!leadingNumber(s, number)) return false;
    number *= sign;
    *value = number < port.minimum ? port.minimum : (number > port.maximum ? port.maximum : number);
    return true;
}

void ClapPlugin::flush(const clap_input_events_t* in, const clap_output_events_t* out) {
    if (state_ == State::processing) return;  // process is where they go then
    if (in != nullptr && in->size != nullptr && in->get != nullptr) {
        const std::uint32_t count = in->size(in);
        for (std::uint32_t i = 0; i < count; ++i) applyEvent(in->get(in, i));
    }
    sendPanelEvents(out);
}

namespace {

std::uint32_t CLAP_ABI count(const clap_plugin_t* p) { return ClapPlugin::of(p)->paramCount(); }
bool CLAP_ABI getInfo(const clap_plugin_t* p, std::uint32_t index, clap_param_info_t* info) {
    return ClapPlugin::of(p)->paramInfo(index, info);
}
bool CLAP_ABI getValue(const clap_plugin_t* p, clap_id id, double* value) { return ClapPlugin::of(p)->paramValue(id, value); }
bool CLAP_ABI valueToText(const clap_plugin_t* p, clap_id id, double value, char* text, std::uint32_t capacity) {
    platform::FloatingPointStateGuard keep;
    return ClapPlugin::of(p)->valueToText(id, value, text, capacity);
}
bool CLAP_ABI textToValue(const clap_plugin_t* p, clap_id id, const char* text, double* value) {
    return ClapPlugin::of(p)->textToValue(id, text, value);
}
void CLAP_ABI flush(const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out) {
    platform::FloatingPointStateGuard keep;
    ClapPlugin::of(p)->flush(in, out);
}

}  // namespace

extern const clap_plugin_params_t kParamsExtension{count, getInfo, getValue, valueToText, textToValue, flush};

}  // namespace clapadapter
