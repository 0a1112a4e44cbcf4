// SubharmonicCheck.h — whether the peak the search chose is a harmonic of a
// partial below it that is still clearly there.
//
//   fundamentalBelow  the bin of that lower partial, or the chosen bin itself
//
// The peak search only takes bins above an absolute threshold, so once a
// decaying fundamental falls under it (or a louder fifth lets the search climb
// to the octave) the chosen peak is a harmonic. This looks for the partial at a
// quarter, a third and a half of it before the interpolation runs.
#pragma once

#include <cstdint>

namespace tonemark {

// `magnitudes` holds bins 0 to at least bestBin + 1; `startBin` (at least 1) is
// the search's lowest bin and `bestBin` (above it) the bin it chose. Returns the
// first bin j, for divisors 4, 3 and 2 in turn, that is the strongest near
// bestBin / divisor, lies above startBin, is a local peak of at least a fifth of
// the chosen one, and whose vertex times the divisor meets the chosen vertex
// within half a percent; otherwise bestBin, also when bestBin has no vertex.
std::int32_t fundamentalBelow(const float* magnitudes, std::int32_t startBin, std::int32_t bestBin);

}  // namespace tonemark
