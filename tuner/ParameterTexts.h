// ParameterTexts.h — what a host reads about Tonemark's two parameters.
//
//   parameterName     "Ref. A3" (the strip's "Reference point A3 =") and "Accuracy"
//   parameterUnit     "Hz" for the reference, none for the accuracy
//   parameterDisplay  the value as the strip shows it: the reference in whole
//                     hertz, the accuracy by name ("Economy", "Normal", "Super")
//
// Every text fits the 8 characters (and the zero) of a host's parameter buffer.
// The ADoubler overrides that hand them to the host live in ParameterTexts.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace tonemark {

// nullptr outside parameters 0 and 1.
const char* parameterName(std::int32_t index);
const char* parameterUnit(std::int32_t index);

// value as getParameter returns it (hertz, or the setting number); "" outside 0 and 1.
std::string parameterDisplay(std::int32_t index, float value);

}  // namespace tonemark
