// ControlPorts.cpp — the conversions between a port's unit and the effect's value.
#include "formats/ControlPorts.h"

#include <cmath>

namespace formats {

namespace {

constexpr double kSilenceDb = -120.0;  // the level scale's own floor: gain 0

double limited(double value, double minimum, double maximum) {
    return value < minimum ? minimum : (value > maximum ? maximum : value);
}

}  // namespace

bool effectValueOf(const ControlPort& port, float portValue, float& effectValue) {
    if (!std::isfinite(portValue)) return false;
    const double p = limited(portValue, port.minimum, port.maximum);
    double value = p;
    switch (port.unit) {
        case PortUnit::toggle: value = p > 0.0 ? 1.0 : 0.0; break;
        case PortUnit::widthPercent: value = p / 200.0; break;
        case PortUnit::degrees: value = (p + 90.0) / 180.0; break;
        case PortUnit::balancePercent: value = (100.0 - p) / 200.0; break;
        case PortUnit::samples: value = (p + 120.0) / 240.0; break;
        case PortUnit::decibels:
            value = p <= kSilenceDb ? 0.0 : limited(std::pow(10.0, p / 20.0) / 2.0, 0.0, 1.0);
            break;
        case PortUnit::hertz:
        case PortUnit::choice: break;
        case PortUnit::bassHertz: value = p / 1000.0; break;
        case PortUnit::percent: value = p / 100.0; break;
        case PortUnit::bassWidthPercent: value = (p + 100.0) / 200.0; break;
    }
    effectValue = static_cast<float>(value);
    return true;
}

float portValueOf(const ControlPort& port, float effectValue) {
    const double e = effectValue;
    double value = e;
    switch (port.unit) {
        case PortUnit::toggle: value = effectValue == 1.0f ? 1.0 : 0.0; break;
        case PortUnit::widthPercent: value = 200.0 * e; break;
        case PortUnit::degrees: value = 180.0 * e - 90.0; break;
        case PortUnit::balancePercent: value = 100.0 - 200.0 * e; break;
        case PortUnit::samples: value = std::nearbyint(240.0 * e - 120.0); break;
        case PortUnit::decibels: value = e > 0.0 ? 20.0 * std::log10(2.0 * e) : kSilenceDb; break;
        case PortUnit::hertz:
        case PortUnit::choice: value = std::nearbyint(e); break;
        case PortUnit::bassHertz: value = 1000.0 * e; break;
        case PortUnit::percent: value = 100.0 * e; break;
        case PortUnit::bassWidthPercent: value = 200.0 * e - 100.0; break;
    }
    // A NaN from the effect reads as the port's minimum rather than spreading.
    if (std::isnan(value)) value = port.minimum;
    return static_cast<float>(limited(value, port.minimum, port.maximum));
}

bool isWholeNumberUnit(PortUnit unit) {
    return unit == PortUnit::samples || unit == PortUnit::hertz || unit == PortUnit::choice;
}

const char* vstUnitOf(PortUnit unit) {
    switch (unit) {
        case PortUnit::widthPercent:
        case PortUnit::balancePercent:
        case PortUnit::percent:
        case PortUnit::bassWidthPercent: return "%";
        case PortUnit::degrees: return "deg";
        case PortUnit::samples: return "samples";
        case PortUnit::decibels: return "dB";
        case PortUnit::hertz:
        case PortUnit::bassHertz: return "Hz";
        case PortUnit::toggle:
        case PortUnit::choice: return "";
    }
    return "";
}

const char* unitUriOf(PortUnit unit) {
    switch (unit) {
        case PortUnit::widthPercent:
        case PortUnit::balancePercent:
        case PortUnit::percent:
        case PortUnit::bassWidthPercent: return "http://lv2plug.in/ns/extensions/units#pc";
        case PortUnit::degrees: return "http://lv2plug.in/ns/extensions/units#degree";
        case PortUnit::samples: return "http://lv2plug.in/ns/extensions/units#frame";
        case PortUnit::decibels: return "http://lv2plug.in/ns/extensions/units#db";
        case PortUnit::hertz:
        case PortUnit::bassHertz: return "http://lv2plug.in/ns/extensions/units#hz";
        case PortUnit::toggle:
        case PortUnit::choice: return nullptr;
    }
    return nullptr;
}

}  // namespace formats
