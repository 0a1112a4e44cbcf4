// ParameterTexts.h — what a host reads about Widefield's fifteen host parameters.
//
//   isHostParameter   indices 0..14, the ones a host lists and may automate
//   parameterName     a name after the parameter's caption on the panel
//   parameterUnit     the unit a host writes after the value ("" for switches)
//   parameterDisplay  the value as the panel shows it, without the unit: the
//                     slider labels' numbers, the fader readout, "On"/"Off"
//
// Every text fits the 8 characters (and the zero) of a host's parameter buffer.
// The ADoubler overrides that hand them to the host live in ParameterTexts.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace widefield {

bool isHostParameter(std::int32_t index);

// nullptr outside the host parameters.
const char* parameterName(std::int32_t index);
const char* parameterUnit(std::int32_t index);

// value as getParameter returns it (0..1); "" outside the host parameters.
std::string parameterDisplay(std::int32_t index, float value, std::string_view decimalSeparator = ".");

}  // namespace widefield
