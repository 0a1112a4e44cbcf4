// NoteConversion.h — a frequency as MIDI note, octave, pitch class and cents.
//
//   Log2            natural logarithm times 1.4426950408, as a float
//   NoteReading     the converted reading and whether it may be shown
//   convertToNote   the conversion against a reference pitch for A3 (note 69)
#pragma once

#include <cstdint>

namespace tonemark {

float Log2(float x);

struct NoteReading {
    bool shown = false;           // noReading clear and note number 0 to 112
    std::int32_t noteNumber = 0;  // 69 is the reference pitch, A3
    float cents = 0.0f;           // -50 to +50 against the nearest note
    std::int32_t octave = 0;      // note 0 is C of octave -2, 60 is C3
    std::int32_t pitchClass = 0;  // 0 C, 1 C#, ... 11 B
};

constexpr std::int32_t kHighestShownNote = 112;

// A frequency that is not positive and finite converts to no note at all.
NoteReading convertToNote(float frequency, float noReading, std::int32_t referencePitch);

}  // namespace tonemark
