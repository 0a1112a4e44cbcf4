// ControlPorts.h — a host parameter as an LV2 control port, in its own unit.
//
//   PortUnit        how a port's value relates to the effect's parameter value
//   ControlPort     one port: symbol, the parameter it drives, unit, range and
//                   the name of a setting that only the panel shows in VST 2
//   PortTable       the control ports of one plug-in, in port order
//   effectValueOf   the port's value → the effect's value (false: leave it)
//   portValueOf     the effect's value → the port's value
//   vstUnitOf, unitUriOf  the unit as the VST 2 label and as the LV2 unit
//
// A conversion is evaluated in double and rounded once to float, so the value
// the effect receives from a port is the one a VST 2 host would send for it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace formats {

enum class PortUnit {
    toggle,          // 0/1; above 0 is on (the effect's 1.0)
    widthPercent,    // 0..200 %, the effect's 0..1 times 200
    degrees,         // -90..90, 180 x value - 90
    balancePercent,  // -100..100 %, 100 - 200 x value (the panel's "Left" and "Centre")
    samples,         // -120..120, 240 x value - 120; negative delays the left channel
    decibels,        // 20 log10(2 x value); the minimum is silence
    hertz,           // the effect's own value, a whole number
    choice,          // the effect's own setting number, named by the effect's texts
    bassHertz,       // 0..1000 Hz, 1000 x value, as the panel's bass "Freq" label reads it
    percent,         // 0..100 %, 100 x value (the panel's bass "Boost")
    bassWidthPercent,  // -100..100 %, 200 x value - 100 (the panel's bass "Width")
};

struct ControlPort {
    const char* symbol;
    std::int32_t parameter;
    PortUnit unit;
    float minimum;
    float maximum;
    // The name of a setting the VST 2 build does not show a host (the
    // panel-only ones); null where the effect's own name is the port's.
    const char* name = nullptr;
};

struct PortTable {
    const ControlPort* begin() const { return first; }
    const ControlPort* end() const { return first + count; }
    std::size_t size() const { return count; }
    const ControlPort& operator[](std::size_t i) const { return first[i]; }
    const ControlPort* first;
    std::size_t count;
};

// The port's value limited to its range; NaN and infinities give false.
bool effectValueOf(const ControlPort& port, float portValue, float& effectValue);
// Within the port's range; a whole number for the integer units.
float portValueOf(const ControlPort& port, float effectValue);

bool isWholeNumberUnit(PortUnit unit);
// The label the VST 2 build gives the parameter ("%", "deg", ...; "" for none).
const char* vstUnitOf(PortUnit unit);
// The LV2 unit's URI, or null for none.
const char* unitUriOf(PortUnit unit);

}  // namespace formats
