// DetectorAccess.h — the tests' way to set a free-standing detector's accuracy.
//
// In the plug-in only the effect reconfigures its detector, on the thread that
// measures; a detector of a test's own has that thread to itself.
#pragma once

#include <cstdint>

#include "tuner/PitchDetector.h"

namespace tonemark {

struct PitchDetectorTestAccess {
    static void configureAccuracy(PitchDetector& detector, std::int32_t accuracy) {
        detector.configureAccuracy(accuracy);
    }
};

}  // namespace tonemark
