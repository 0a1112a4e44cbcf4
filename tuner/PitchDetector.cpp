// PitchDetector.cpp — the fundamental of the ring's newest entries.
//
// 1. Blackman-Harris window over the newest windowLength entries, zero-padded
//    ahead to fftSize, loaded in bit-reversed order.
// 2. Radix-2 transform and magnitudes of bins 0 to N/2.
// 3. From the bin nearest 8 Hz upward, the strongest bin above the threshold;
//    once a candidate exists, only bins up to 1.78 times its bin are searched.
// 4. A chosen harmonic whose fundamental is still a clear partial below it
//    gives way to that partial (SubharmonicCheck).
// 5. Parabolic interpolation through the peak and its neighbours, then hertz.
#include "tuner/PitchDetector.h"

#include <cmath>

#include "tuner/SubharmonicCheck.h"
#include "tuner/fourier2.h"

namespace tonemark {

namespace {
constexpr AnalysisSetting kSettings[3] = {{8192, 5000}, {16384, 6000}, {32768, 6000}};
}  // namespace

const AnalysisSetting* analysisSettingFor(std::int32_t accuracy) {
    return accuracy >= 0 && accuracy <= 2 ? &kSettings[accuracy] : nullptr;
}

bool interpolatePeak(std::int32_t bin, float below, float peak, float above, float& vertex) {
    const double y0 = peak, yUp = above, yDown = below;
    if (!(y0 - yDown != 0.0)) return false;
    const double r = static_cast<float>((y0 - yUp) / (y0 - yDown));
    const double b = bin;
    const double denominator = 2.0 * ((r - 1.0) * b + (b + 1.0) - r * (b - 1.0));
    if (!(denominator != 0.0) || !std::isfinite(denominator)) return false;
    vertex = static_cast<float>((b * b * (r - 1.0) + (b + 1.0) * (b + 1.0) - r * (b - 1.0) * (b - 1.0)) / denominator);
    return std::isfinite(vertex);
}

PitchDetector::PitchDetector() {
    for (std::int32_t i = 0; i < kCapacity; ++i) fftReal[i] = fftImag[i] = analysisWindow[i] = 0.0f;
    configureAccuracy(1);
}

void PitchDetector::configureAccuracy(std::int32_t accuracy) {
    const AnalysisSetting* setting = analysisSettingFor(accuracy);
    if (setting == nullptr) return;
    size = setting->fftSize;
    length = setting->windowLength;
    buildWindow();
}

void PitchDetector::buildWindow() {
    for (float& entry : analysisWindow) entry = 0.0f;
    const double pi = 3.14159265358979323846;
    const float step = static_cast<float>(2.0 * pi / (length - 1));
    for (std::int32_t i = 0; i < length; ++i) {
        const double angle = static_cast<double>(i) * step;
        analysisWindow[size - length + i] = static_cast<float>(0.35875 - 0.48829 * std::cos(angle) +
                                                               0.14128 * std::cos(2.0 * angle) -
                                                               0.01168 * std::cos(3.0 * angle));
    }
    order = lowestSetBit(static_cast<std::uint32_t>(size));
    transform.configure(order);
}

void PitchDetector::computeSpectrum(const DecimatedRing& ring, std::int32_t endIndex, std::int32_t count) {
    const std::int32_t n = count;
    const std::int32_t* reversed = transform.bitReversedOrder();
    // 1. The frame: the n newest entries, oldest first, wrapping round the ring's end.
    std::int32_t p = endIndex - n + 1;
    if (p < 0) p += DecimatedRing::kLength;
    // 2. Zero padding takes no ring value at all, so a non-finite entry that has
    //    left the window no longer spoils the reading (0 × NaN would).
    const std::int32_t windowStart = n - length;
    for (std::int32_t i = 0; i < windowStart; ++i) fftReal[reversed[i]] = 0.0f;
    p += windowStart;
    if (p >= DecimatedRing::kLength) p -= DecimatedRing::kLength;
    for (std::int32_t i = windowStart; i < n; ++i) {
        fftReal[reversed[i]] = ring.at(p) * analysisWindow[i];
        if (++p == DecimatedRing::kLength) p = 0;
    }
    for (std::int32_t i = 0; i < n; ++i) fftImag[i] = 0.0f;
    // 3. Transform, then magnitudes of bins 0 to n/2.
    transform.transform(fftReal, fftImag);
    for (std::int32_t b = 0; b <= n / 2; ++b) {
        const double re = fftReal[b], im = fftImag[b];
        fftReal[b] = static_cast<float>(std::sqrt(re * re + im * im));
    }
}

PitchReading PitchDetector::measure(const DecimatedRing& ring, double sampleRate, std::int32_t decimationFactor) {
    PitchReading reading;
    const std::int32_t n = size;
    if (!(sampleRate > 0.0) || decimationFactor < 1) return reading;
    computeSpectrum(ring, ring.newestIndex(), n);
    const float* m = fftReal;

    // 1. The start bin, nearest 8 Hz (6, 12 and 24 at 44100 Hz); at least 1 so
    //    the peak always has a lower neighbour.
    std::int32_t start =
        static_cast<std::int32_t>(std::nearbyint(8.0 * decimationFactor * static_cast<double>(n) / sampleRate));
    if (start < 1) start = 1;
    // 2. to 4. The peak search.
    float best = 0.0f;
    std::int32_t bestBin = 0;
    std::int32_t limit = n;
    for (std::int32_t b = start; b < n / 2 && b <= limit; ++b) {
        if (m[b] > best && m[b] > kPeakThreshold) {
            bestBin = b;
            best = m[b];
            limit = static_cast<std::int32_t>(std::nearbyint(1.78 * b));
        }
    }
    // Validity: no bin qualified.
    if (best < kPeakThreshold || bestBin < start) return reading;
    // A harmonic chosen over its fundamental: the fundamental's bin instead.
    bestBin = fundamentalBelow(m, start, bestBin);
    best = m[bestBin];

    float vertex = 0.0f;
    if (!interpolatePeak(bestBin, m[bestBin - 1], best, m[bestBin + 1], vertex)) return reading;
    // Frequency: bins of rate / N on the decimated signal.
    const float frequency = static_cast<float>(sampleRate / n * vertex / decimationFactor);
    if (!std::isfinite(frequency)) return reading;
    reading.frequency = frequency;
    reading.noReading = 0.0f;
    return reading;
}

}  // namespace tonemark
