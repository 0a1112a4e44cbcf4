// ValueLabels.cpp — slider positions to label texts (see ValueLabels.h).
#include "stereo/ValueLabels.h"

namespace widefield {

namespace {
ValueLabel labelOf(int value, const char* unit, bool neutral) { return ValueLabel{std::to_string(value) + unit, neutral}; }
}  // namespace

ValueLabel widthLabel(int position) { return labelOf(2 * position, "%", position == 50); }

// Integer division rounds towards zero, as the label has always shown it.
ValueLabel rotationLabel(int position) { return labelOf(position * 180 / 100 - 90, "\xBA", position == 50); }

ValueLabel reversePercentLabel(int position) { return labelOf(100 - 2 * position, "%", position == 50); }

ValueLabel rightAsymmetryLabel(int position) { return labelOf(2 * position - 100, "%", position == 50); }

ValueLabel bassFrequencyLabel(int position) { return labelOf(1000 - 10 * position, "Hz", position == 90); }

ValueLabel bassBoostLabel(int position) { return labelOf(100 - position, "%", position == 100); }

DelayLabels delayLabels(int position) {
    if (position > 120) return DelayLabels{ValueLabel{"0", true}, labelOf(position - 120, "", false)};
    if (position < 120) return DelayLabels{labelOf(120 - position, "", false), ValueLabel{"0", true}};
    return DelayLabels{ValueLabel{"0", true}, ValueLabel{"0", true}};
}

}  // namespace widefield
