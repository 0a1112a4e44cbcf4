// Sections.h — the three linear sections of the chain, applied to one pair.
//
//   InputSection    polarity, channel swap, input width, input rotation
//   BalanceSection  centre cut and left/right asymmetry (three-way balance)
//   OutputSection   output rotation, output width, mono, faders
//
// Each holds a snapshot of its settings; 0.5 is the neutral position that a
// step skips. Every step stores the pair as 32-bit floats after evaluating in
// double. The chain turns them into matrices once per block (StereoMatrix.h).
#pragma once

namespace widefield {

// Shared steps, also used by the output section.
void applyWidth(float& left, float& right, float width);
void applyRotation(float& left, float& right, float position);

struct InputSection {
    bool invertLeft = false;
    bool invertRight = false;
    bool swapChannels = false;
    float width = 0.5f;
    float rotation = 0.5f;
    void apply(float& left, float& right) const;
};

struct BalanceSection {
    float centreCut = 0.5f;
    float asymmetry = 0.5f;
    void apply(float& left, float& right) const;
};

struct OutputSection {
    float rotation = 0.5f;
    float width = 0.5f;
    bool mono = false;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
    void apply(float& left, float& right) const;
};

}  // namespace widefield
