// Control.h — the base of every widget: a rectangle in a tree of controls.
//
//   ShiftState  modifier keys, mouse buttons held and the double-click mark
//   Control     position (relative to the parent), stacking among its
//               siblings, visibility, enabled state, painting, and the mouse,
//               click and key operations a widget overrides; plus the
//               ordinary events a panel wires handlers to
//
// Controls do not own each other: a control registers with the parent given to
// its constructor and leaves it when destroyed, so a panel class simply holds
// its controls as members, parents declared before their children. Mouse and key
// input arrives through the Form at the root of the tree (see Form.h).
#pragma once

#include <functional>
#include <vector>

#include "platform/NativeWindow.h"
#include "toolkit/Canvas.h"
#include "toolkit/Geometry.h"

namespace toolkit {

class Form;
using platform::MouseButton;

struct ShiftState {
    bool shift = false;
    bool control = false;
    bool doubleClick = false;  // the press is the second one of a double click
};

class Control {
public:
    explicit Control(Control* parent, Rect bounds = Rect{});
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    // The Form at the root of this control's tree, or null while it has none.
    Form* form();
    virtual Form* asForm() { return nullptr; }

    const Rect& bounds() const { return bounds_; }  // in the parent's coordinates
    int left() const { return bounds_.left; }
    int top() const { return bounds_.top; }
    int width() const { return bounds_.width(); }
    int height() const { return bounds_.height(); }
    virtual void setBounds(const Rect& bounds);
    void setPosition(int left, int top);
    void setSize(int width, int height);
    // This control's rectangle in the coordinates of the root Form.
    Rect formBounds() const;

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    // Visible itself and every parent up to the root.
    bool showing() const;
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Controls that take the keyboard when clicked (sliders, up-down arrows).
    virtual bool focusable() const { return false; }
    // Controls that only show something (panels, labels, pictures): a right
    // click on them is a click on the panel's background.
    virtual bool isBackground() const { return false; }

    // Stacking among the siblings: painted last and found first by the mouse
    // (front), or painted first under all of them (back).
    void bringToFront();
    void sendToBack();

    // Asks for this control's area to be repainted at the next paint.
    void invalidate();
    // Repaints this control's area now: the new look reaches the window before
    // this returns (nothing happens while the form has no window).
    void repaint();

    // The deepest showing control at (x, y) in this control's coordinates
    // (this one when no child is there), or null when the point is outside.
    Control* controlAt(int x, int y);

    // Paints this control (not its children): `canvas` has its origin at the
    // control's top-left corner and is clipped to the control.
    virtual void paint(Canvas& canvas);

    // Mouse operations in the control's own coordinates. Overrides do their own
    // work first and then call the base, which raises the matching event.
    virtual void mouseDown(MouseButton button, const ShiftState& shift, int x, int y);
    virtual void mouseMove(const ShiftState& shift, int x, int y);
    virtual void mouseUp(MouseButton button, const ShiftState& shift, int x, int y);
    // Raised when the left button went down on the control and comes up inside
    // its client area (0 <= x < width, 0 <= y < height), before mouseUp.
    virtual void click();
    // Raised by the second press of a left double click, before its mouseDown,
    // on controls whose second press does not click.
    virtual void doubleClick();
    // True for push buttons: the second press of a double click is an ordinary
    // press that clicks on its release, as with a native button, so quick
    // clicks are never lost. Other controls take it as a double click.
    virtual bool secondPressClicks() const { return false; }
    virtual void keyDown(const platform::KeyEvent& key);
    // The wheel turned over the control (positive: away from the user); false
    // when the control has no use for it, and the form offers it to the parent.
    virtual bool mouseWheel(int steps, const ShiftState& shift);

    std::function<void()> onClick;
    std::function<void()> onDoubleClick;
    std::function<void(MouseButton, const ShiftState&, int, int)> onMouseDown;
    std::function<void(const ShiftState&, int, int)> onMouseMove;
    std::function<void(MouseButton, const ShiftState&, int, int)> onMouseUp;

protected:
    // Tells the root form that this control hides, is disabled or goes away.
    void detachFromForm(bool destroyed);

private:
    friend class Form;
    Control* parent_ = nullptr;
    std::vector<Control*> children_;
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace toolkit
