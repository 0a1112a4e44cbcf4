// NoteConversion.cpp — a frequency as MIDI note, octave, pitch class and cents.
#include "tuner/NoteConversion.h"

#include <cmath>

namespace tonemark {

float Log2(float x) { return static_cast<float>(std::log(static_cast<double>(x)) * 1.4426950408); }

NoteReading convertToNote(float frequency, float noReading, std::int32_t referencePitch) {
    NoteReading reading;
    if (!(frequency > 0.0f) || !std::isfinite(frequency) || referencePitch <= 0) return reading;
    // 1. Octaves between the frequency and the reference.
    const double d = static_cast<double>(Log2(frequency)) - static_cast<double>(Log2(static_cast<float>(referencePitch)));
    // 2. Nearest note, halves to the even one; a tiny frequency lies far below note 0.
    const double steps = std::nearbyint(12.0 * d);
    if (!(std::fabs(steps) < 1.0e6)) return reading;
    reading.noteNumber = static_cast<std::int32_t>(steps) + 69;
    // 3. What is left over, in cents.
    reading.cents = static_cast<float>(1200.0 * d - 100.0 * static_cast<double>(reading.noteNumber - 69));
    // 4. and 5. Shown only for a valid reading within the panel's range.
    reading.octave = reading.noteNumber / 12 - 2;
    reading.pitchClass = reading.noteNumber % 12;
    reading.shown = noReading == 0.0f && reading.noteNumber >= 0 && reading.noteNumber <= kHighestShownNote;
    return reading;
}

}  // namespace tonemark
