// StereoDisplays.cpp — the scope, meter and phase drawings and the drain.
//
//   construction, attach        images filled black, windows
//   scope                       graticule, trace, clearing, repainting
//   meters                      texts, red backgrounds, maxPeak, phase strip, bars
//   drain                       the hand-over's records in order
//   commands                    peak and phase resets, gain normalisation
#include "stereo/StereoDisplays.h"

#include <cmath>

#include "stereo/AfterglowTraces.h"
#include "stereo/LevelScale.h"
#include "stereo/uDoubler.h"

namespace widefield {

using toolkit::Canvas;
using toolkit::Point;
using toolkit::Rect;
namespace colors = displayColors;

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

// round(scale x value), ties to even; readings outside their range stay near it.
int roundedShare(double value, double scale) {
    if (!(value >= -1.0)) value = -1.0;
    if (value > 2.0) value = 2.0;
    return static_cast<int>(std::nearbyint(scale * value));
}

std::string degrees(float share) { return std::to_string(roundedShare(share, 180.0)) + "\xBA"; }

std::string peakText(float hold) {
    char text[16];
    formatLevelText(gainToDb(hold), text, sizeof text);
    return text;
}
}  // namespace

StereoDisplays::StereoDisplays()
    : scope(kScopeSize, kScopeSize, colors::background),
      meter(18, 290, colors::background),
      phase(256, 13, colors::background),
      scopeWindow(kScopeSize, kScopeSize, colors::background),
      meterWindow(19, 288, colors::background),
      phaseWindow(256, 15, colors::background) {}

void StereoDisplays::attach(toolkit::Control* scopeWindowControl, toolkit::Control* meterWindowControl,
                            toolkit::Control* phaseWindowControl) {
    scopeControl = scopeWindowControl;
    meterControl = meterWindowControl;
    phaseControl = phaseWindowControl;
}

// ---- Scope ------------------------------------------------------------------------

void StereoDisplays::drawGraticule() {
    Canvas canvas(scope);
    // The left channel's axis with its arrowhead at the upper end, then the right's.
    const Point left[] = {{192, 192}, {64, 64}, {69, 64}, {64, 64}, {64, 69}};
    const Point right[] = {{64, 192}, {192, 64}, {187, 64}, {192, 64}, {192, 69}};
    canvas.polyline(left, 5, colors::axes);
    canvas.polyline(right, 5, colors::axes);
    // Full scale.
    const Point diamond[] = {{0, 128}, {128, 256}, {256, 128}, {128, 0}, {0, 128}};
    canvas.polyline(diamond, 5, colors::diamond);
}

void StereoDisplays::copyTrace(std::int32_t index, const ScopePoint* ring, std::int32_t ringSize) {
    if (ring == nullptr || ringSize <= 0) return;
    index %= ringSize;
    if (index < 0) index += ringSize;
    // Entry 0 is the newest; backwards from there, over the ring's start.
    for (int k = 0; k < kTraceLength; ++k) {
        trace[static_cast<std::size_t>(k)] = Point{ring[index].x.load(kRelaxed), ring[index].y.load(kRelaxed)};
        if (--index < 0) index = ringSize - 1;
    }
}

void StereoDisplays::drawTrace(toolkit::Pixel color) { Canvas(scope).polyline(trace.data(), kTraceLength, color); }

void StereoDisplays::copyScope() {
    Canvas(scopeWindow).draw(scope, 0, 0);
    scopeCopied = true;
    if (scopeControl) scopeControl->invalidate();
}

void StereoDisplays::drawScope(std::int32_t index, const ScopePoint* ring, std::int32_t ringSize, bool fluorescence) {
    if (!fluorescence) clearScope(false);
    drawGraticule();
    copyTrace(index, ring, ringSize);
    drawTrace(colors::trace);
    copyScope();
    // The newest trace stays behind in dark green under every later one.
    if (fluorescence) drawTrace(colors::afterglow);
}

void StereoDisplays::clearScope(bool fluorescence) {
    Canvas(scope).fillRect(Rect{0, 0, kScopeSize, kScopeSize}, colors::background);
    drawGraticule();
    copyScope();
    if (fluorescence) drawTrace(colors::clearedAfterglow);
}

void StereoDisplays::composeScopeWindow() {
    Canvas window(scopeWindow);
    window.draw(scope, 0, 0);
    window.polyline(trace.data(), kTraceLength, colors::trace);
}

void StereoDisplays::repaintScope() {
    composeScopeWindow();
    scopeCopied = true;
    if (scopeControl) scopeControl->invalidate();
}

void StereoDisplays::paintScope(Canvas& canvas) {
    if (!scopeCopied) composeScopeWindow();
    scopeCopied = false;
    canvas.draw(scopeWindow, 0, 0);
}

// ---- Meters -------------------------------------------------------------------------

void StereoDisplays::accountPeaks(const MeterReadings& readings) {
    if (readings.peakHoldLeft > 1.0f) meterTexts.peakLeftRed = true;
    if (readings.peakHoldRight > 1.0f) meterTexts.peakRightRed = true;
    if (readings.peakHoldLeft > maximumPeak) maximumPeak = readings.peakHoldLeft;
    if (readings.peakHoldRight > maximumPeak) maximumPeak = readings.peakHoldRight;
}

bool StereoDisplays::madeBeforeReset(const MeterReadings& readings) const {
    // Counts that wrap: the difference tells which is newer.
    return static_cast<std::int32_t>(readings.peakHoldResets - peakHoldResetsCounted) < 0;
}

void StereoDisplays::drawMeters(const MeterReadings& readings) {
    // Labels and readouts.
    meterTexts.phase = degrees(readings.phaseCorrelation);
    meterTexts.phaseMax = degrees(readings.phaseMax);
    meterTexts.phaseMin = degrees(readings.phaseMin);
    meterTexts.peakLeft = peakText(readings.peakHoldLeft);
    meterTexts.peakRight = peakText(readings.peakHoldRight);
    accountPeaks(readings);

    // Phase strip: the maximum (one column left of its value), the minimum and
    // the current value (two columns each), in rows 1 to the bottom.
    {
        Canvas canvas(phase);
        canvas.fillRect(Rect{0, 0, phase.width, phase.height}, colors::background);
        const int maximum = roundedShare(readings.phaseMax, 255.0);
        const int minimum = roundedShare(readings.phaseMin, 255.0);
        const int current = roundedShare(readings.phaseCorrelation, 255.0);
        canvas.fillRect(Rect{maximum - 1, 1, maximum, phase.height}, colors::phaseRange);
        canvas.fillRect(Rect{minimum, 1, minimum + 2, phase.height}, colors::phaseRange);
        canvas.fillRect(Rect{current, 1, current + 2, phase.height}, colors::level);
        Canvas(phaseWindow).drawPart(phase, Rect::ofSize(1, 1, phase.width, phase.height), 1, 1);
        if (phaseControl) phaseControl->invalidate();
    }

    // Level bars: left in columns 2 to 7, right in 11 to 16, from below the
    // level's row down to row 287; red above row 88.
    {
        Canvas canvas(meter);
        canvas.fillRect(Rect{0, 0, meter.width, meter.height}, colors::background);
        const auto bar = [&](int left, float level) {
            const int top = levelRow(static_cast<double>(level)) + 1;
            canvas.fillRect(Rect{left, top, left + 6, 288}, colors::level);
            if (top < 88) canvas.fillRect(Rect{left, top, left + 6, 88}, colors::overload);
        };
        bar(2, readings.peakLeft);
        bar(11, readings.peakRight);
        Canvas(meterWindow).drawPart(meter, Rect::ofSize(1, 1, 18, 288), 1, 1);
        if (meterControl) meterControl->invalidate();
    }
}

// ---- Drain ------------------------------------------------------------------------------

StereoDisplays::Drained StereoDisplays::drain(ADoublerEditor& editor, bool fluorescence) {
    Drained drained;
    // Meters first: each record counts for the readouts' backgrounds and
    // maxPeak, the last one is drawn; a record from before the panel's last
    // peak reset would bring back what the reset cleared.
    MeterReadings last;
    bool counted = false;
    drained.meters = editor.drainMeters([&](const MeterReadings& readings) {
        if (madeBeforeReset(readings)) return;
        accountPeaks(readings);
        last = readings;
        counted = true;
    });
    if (counted) drawMeters(last);

    // The records' positions, repeats left out: blocks shorter than the
    // display clock's millisecond share one.
    std::array<std::int32_t, ADoublerEditor::kHandoverCapacity> positions{};
    std::size_t count = 0;
    drained.scopes = editor.drainScope([&](const ScopeRecord& record) {
        if (count > 0 && positions[count - 1] == record.scopeReadIndex) return;
        if (count < positions.size()) positions[count++] = record.scopeReadIndex;
    });
    const ADoubler* doubler = editor.getDoubler();
    if (count == 0 || doubler == nullptr) return drained;
    const ScopePoint* ring = doubler->scopePoints();
    const std::int32_t ringSize = StereoCapture::kScopeSize;
    const std::int32_t previous = previousNewest;
    previousNewest = positions[count - 1];
    if (!fluorescence) {
        // Each drawing clears the scope, so only the last one shows.
        drawScope(positions[count - 1], ring, ringSize, false);
        return drained;
    }
    // The bright line of an earlier trace ends up under its own afterglow, and
    // its window copy under the last one: what is left of it is the afterglow.
    const AfterglowChoice traces = chooseAfterglowTraces(positions.data(), count, previous, ringSize);
    for (std::size_t i = 0; i + 1 < traces.count; ++i) {
        drawGraticule();
        copyTrace(traces.positions[i], ring, ringSize);
        drawTrace(colors::afterglow);
    }
    drawScope(traces.positions[traces.count - 1], ring, ringSize, true);
    return drained;
}

// ---- Commands -------------------------------------------------------------------------------

void StereoDisplays::resetPeaks(ADoubler* effect) {
    meterTexts.peakLeftRed = meterTexts.peakRightRed = false;
    maximumPeak = kResetPeak;
    if (effect == nullptr) return;
    effect->setParameter(ADoubler::kResetPeakHolds, 1.0f);
    peakHoldResetsCounted = effect->peakHoldResetsAsked();
}

void StereoDisplays::resetPhaseRange(ADoubler* effect) {
    if (effect) effect->setParameter(ADoubler::kResetPhaseRange, 1.0f);
}

bool StereoDisplays::normaliseGains(ADoubler* effect) {
    if (maximumPeak < 0.00001f) return false;
    if (effect) effect->setParameter(ADoubler::kScaleGains, static_cast<float>(0.999 / maximumPeak));
    return true;
}

}  // namespace widefield
