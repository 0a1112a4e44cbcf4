// Control.cpp — the control tree, geometry, invalidation and default events.
#include "toolkit/Control.h"

#include <algorithm>

#include "toolkit/Form.h"

namespace toolkit {

Control::Control(Control* parent, Rect bounds) : parent_(parent), bounds_(bounds) {
    if (parent_) {
        parent_->children_.push_back(this);
        invalidate();
    }
}

Control::~Control() {
    detachFromForm(true);
    if (parent_) {
        invalidate();
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Control* child : children_) child->parent_ = nullptr;
}

Form* Control::form() {
    Control* root = this;
    while (root->parent_) root = root->parent_;
    return root->asForm();
}

void Control::setBounds(const Rect& bounds) {
    if (bounds == bounds_) return;
    invalidate();
    bounds_ = bounds;
    invalidate();
}

void Control::setPosition(int left, int top) { setBounds(Rect::ofSize(left, top, width(), height())); }

void Control::setSize(int width, int height) { setBounds(Rect::ofSize(left(), top(), width, height)); }

Rect Control::formBounds() const {
    Rect r = bounds_;
    if (!parent_) return Rect{0, 0, r.width(), r.height()};
    for (const Control* p = parent_; p->parent_; p = p->parent_) r = r.offset(p->bounds_.left, p->bounds_.top);
    return r;
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) detachFromForm(false);
    visible_ = visible;
    invalidate();
}

bool Control::showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    if (!enabled) detachFromForm(false);
    enabled_ = enabled;
    invalidate();
}

void Control::bringToFront() {
    if (parent_ == nullptr) return;
    auto& siblings = parent_->children_;
    std::stable_partition(siblings.begin(), siblings.end(), [this](const Control* c) { return c != this; });
    invalidate();
}

void Control::sendToBack() {
    if (parent_ == nullptr) return;
    auto& siblings = parent_->children_;
    std::stable_partition(siblings.begin(), siblings.end(), [this](const Control* c) { return c == this; });
    invalidate();
}

void Control::invalidate() {
    if (Form* f = form()) f->invalidateRect(formBounds());
}

void Control::repaint() {
    invalidate();
    if (Form* f = form()) f->presentNow();
}

Control* Control::controlAt(int x, int y) {
    if (!visible_ || x < 0 || y < 0 || x >= width() || y >= height()) return nullptr;
    // Later children lie on top of earlier ones.
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        Control* child = *it;
        if (Control* hit = child->controlAt(x - child->left(), y - child->top())) return hit;
    }
    return this;
}

void Control::paint(Canvas&) {}

void Control::mouseDown(MouseButton button, const ShiftState& shift, int x, int y) {
    if (onMouseDown) onMouseDown(button, shift, x, y);
}

void Control::mouseMove(const ShiftState& shift, int x, int y) {
    if (onMouseMove) onMouseMove(shift, x, y);
}

void Control::mouseUp(MouseButton button, const ShiftState& shift, int x, int y) {
    if (onMouseUp) onMouseUp(button, shift, x, y);
}

void Control::click() {
    if (onClick) onClick();
}

void Control::doubleClick() {
    if (onDoubleClick) onDoubleClick();
}

bool Control::mouseWheel(int, const ShiftState&) { return false; }

void Control::keyDown(const platform::KeyEvent&) {}

void Control::detachFromForm(bool destroyed) {
    if (Form* f = form()) f->forget(this, destroyed);
}

}  // namespace toolkit
