// TrackBar.h — the slider: an integer position in a range along a track.
//
// Horizontal sliders run from the minimum at the left, vertical ones from the
// minimum at the top. A position set from code is clamped into the range, and
// onChange fires only when the position really changes; dragging the thumb,
// clicking the track (one page towards the pointer) and the keys follow the
// same rule. Optional: a marked band (selection) on the track, tick marks.
//
// Keys while focused: left/up one line towards the minimum, right/down one line
// towards the maximum, page up/down one page, home/end the ends. The wheel over
// the slider moves it one line per notch, turned up towards the minimum (as the
// up arrow does).
#pragma once

#include <functional>

#include "toolkit/Control.h"

namespace toolkit {

class TrackBar : public Control {
public:
    enum class Orientation { horizontal, vertical };

    TrackBar(Control* parent, Rect bounds, Orientation orientation = Orientation::horizontal, int minimum = 0,
             int maximum = 10, int position = 0);

    Orientation orientation() const { return orientation_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // Sets the range; the position is clamped into it (firing onChange if it moves).
    void setRange(int minimum, int maximum);
    int position() const { return position_; }
    void setPosition(int position);

    int lineSize() const { return lineSize_; }
    void setLineSize(int size) { lineSize_ = size; }
    int pageSize() const { return pageSize_; }
    void setPageSize(int size) { pageSize_ = size; }

    // The marked band from `start` to `end` (inclusive); start > end shows none.
    void setSelection(int start, int end);
    bool hasSelection() const { return selectionStart_ <= selectionEnd_; }
    int selectionStart() const { return selectionStart_; }
    int selectionEnd() const { return selectionEnd_; }
    // Tick marks every `frequency` positions (plus both ends); 0 shows none.
    void setTickFrequency(int frequency);
    int tickFrequency() const { return tickFrequency_; }
    // The marks' colour (black by default; a dark panel wants a light one).
    void setTickColor(Pixel color);

    Pixel color() const { return color_; }
    void setColor(Pixel color);

    std::function<void()> onChange;

    // Geometry, in the slider's own coordinates: the thumb's rectangle and the
    // position the thumb would have with its centre at `coordinate` along the track.
    Rect thumbRect() const;
    int positionAt(int coordinate) const;

    bool focusable() const override { return true; }
    void paint(Canvas& canvas) override;
    void mouseDown(MouseButton button, const ShiftState& shift, int x, int y) override;
    void mouseMove(const ShiftState& shift, int x, int y) override;
    void mouseUp(MouseButton button, const ShiftState& shift, int x, int y) override;
    void keyDown(const platform::KeyEvent& key) override;
    bool mouseWheel(int steps, const ShiftState& shift) override;

    static constexpr int thumbThickness = 11;  // along the track
    static constexpr int thumbBreadth = 21;    // across the track

private:
    int length() const { return orientation_ == Orientation::horizontal ? width() : height(); }
    int breadth() const { return orientation_ == Orientation::horizontal ? height() : width(); }
    int along(int x, int y) const { return orientation_ == Orientation::horizontal ? x : y; }
    // Offset of the thumb's leading edge for a position.
    int thumbOffset(int position) const;
    int trackCentre() const;
    // Builds a rectangle from along-track and across-track extents.
    Rect oriented(int alongStart, int alongEnd, int acrossStart, int acrossEnd) const;
    void dragTo(int x, int y);

    Orientation orientation_;
    int minimum_;
    int maximum_;
    int position_;
    int lineSize_ = 1;
    int pageSize_ = 2;
    int selectionStart_ = 0;
    int selectionEnd_ = -1;
    int tickFrequency_ = 0;
    Pixel tickColor_ = rgb(0, 0, 0);
    Pixel color_;
    bool dragging_ = false;
    int dragGrip_ = 0;  // pointer offset from the thumb's leading edge
    int dragStart_ = 0;  // where along the track the thumb was pressed
    bool dragMoved_ = false;
};

}  // namespace toolkit
