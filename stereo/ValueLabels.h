// ValueLabels.h — the texts of the value labels beside Widefield's sliders.
//
// Each routine takes a slider position and returns the text its label shows;
// `neutral` tells whether the label stands at its neutral position (drawn grey
// on the panel). The panel writes its labels through these, and the host's
// parameter display texts reuse them, so both always read alike.
//
//   widthLabel          InitWidth, StereoWidth       2 x pos, "%"
//   rotationLabel       Rotation, Balance            (pos x 180) div 100 - 90, "º"
//   reversePercentLabel Aymmetry, centrecut,         100 - 2 x pos, "%"
//                       BassWidth
//   rightAsymmetryLabel the right column of the pair 2 x pos - 100, "%"
//   bassFrequencyLabel  bassFreq                     1000 - 10 x pos, "Hz"
//   bassBoostLabel      BassLevel                    100 - pos, "%"
//   delayLabels         Delay                        the left and right sample counts
//
// "º" is the Latin-1 byte 0xBA, as the panel's font and the host's 8-bit texts take it.
#pragma once

#include <string>

namespace widefield {

struct ValueLabel {
    std::string text;
    bool neutral = false;
};

ValueLabel widthLabel(int position);
ValueLabel rotationLabel(int position);
ValueLabel reversePercentLabel(int position);
ValueLabel rightAsymmetryLabel(int position);
ValueLabel bassFrequencyLabel(int position);
ValueLabel bassBoostLabel(int position);

// Above 120 the right channel is delayed by pos - 120 samples, below 120 the
// left one by 120 - pos; the other side reads "0" in grey.
struct DelayLabels {
    ValueLabel left;
    ValueLabel right;
};
DelayLabels delayLabels(int position);

}  // namespace widefield
