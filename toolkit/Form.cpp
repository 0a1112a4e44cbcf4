// Form.cpp — window management, painting of the control tree, input routing.
#include "toolkit/Form.h"

namespace toolkit {
namespace {

bool isWithin(const Control* candidate, const Control* ancestor) {
    for (const Control* c = candidate; c; c = c->parent())
        if (c == ancestor) return true;
    return false;
}

ShiftState shiftOf(const platform::MouseEvent& event) {
    ShiftState shift;
    shift.shift = event.shift;
    shift.control = event.control;
    shift.doubleClick = event.type == platform::MouseEvent::Type::doubleClick;
    return shift;
}

}  // namespace

Form::Form(platform::WindowSystem& windows, int width, int height, Pixel color)
    : Control(nullptr, Rect{0, 0, width, height}), windows_(&windows), color_(color), image_(width, height, color),
      dirty_{0, 0, width, height} {}

Form::~Form() { window_.reset(); }

void Form::openWindow(std::unique_ptr<platform::NativeWindow> window) {
    window_ = std::move(window);
    closing_ = false;
    dirty_ = Rect{0, 0, width(), height()};
}

void Form::openChild(void* parentWindow) {
    openChildHidden(parentWindow);
    show();
}

void Form::openChildHidden(void* parentWindow) {
    window_.reset();
    openWindow(windows_->createChild(parentWindow, deviceWidth(), deviceHeight(), *this));
}

void Form::openTopLevel(const std::string& title, bool alwaysOnTop) {
    window_.reset();
    openWindow(windows_->createTopLevel(title, deviceWidth(), deviceHeight(), alwaysOnTop, *this));
    show();
}

void Form::show() {
    if (window_ && !closing_) window_->show();
}

void Form::closeWindow() {
    capture_ = clickTarget_ = nullptr;
    window_.reset();
    closing_ = false;
}

void Form::requestClose() {
    if (!window_ || closing_) return;
    closing_ = true;
    capture_ = clickTarget_ = nullptr;
    window_->hide();
}

bool Form::isStillWindow() const { return window_ && !closing_ && window_->isStillWindow(); }

void Form::setColor(Pixel color) {
    if (color == color_) return;
    color_ = color;
    invalidate();
}

void Form::setBounds(const Rect& bounds) {
    const Rect local{0, 0, bounds.width(), bounds.height()};
    if (local == Rect{0, 0, width(), height()}) return;
    Control::setBounds(local);
    resizeImage();
}

void Form::setZoom(Zoom zoom) {
    if (zoom == zoom_) return;
    zoom_ = zoom;
    resizeImage();
}

void Form::resizeImage() {
    image_ = Image(deviceWidth(), deviceHeight(), color_);
    dirty_ = Rect{0, 0, width(), height()};
    if (window_) {
        window_->resize(deviceWidth(), deviceHeight());
        window_->invalidate(0, 0, deviceWidth(), deviceHeight());
    }
}

void Form::paint(Canvas& canvas) { canvas.fillRect(Rect{0, 0, width(), height()}, color_); }

void Form::setFocus(Control* control) { focus_ = control; }

void Form::invalidateRect(const Rect& rect) {
    const Rect area = rect.intersect(Rect{0, 0, width(), height()});
    if (area.empty()) return;
    dirty_ = dirty_.unite(area);
    const Rect device = zoom_.toDevice(area);
    if (window_) window_->invalidate(device.left, device.top, device.right, device.bottom);
}

void Form::presentNow() {
    if (window_ && !closing_) window_->presentNow();
}

void Form::forget(Control* control, bool destroyed) {
    if (control == this) return;
    if (isWithin(inHandler_, control)) inHandler_ = nullptr;
    if (isWithin(capture_, control)) {
        capture_ = nullptr;
        if (window_) window_->captureMouse(false);
    }
    if (isWithin(clickTarget_, control)) clickTarget_ = nullptr;
    if (isWithin(focus_, control)) focus_ = nullptr;
    if (destroyed && isWithin(defaultButton_, control)) defaultButton_ = nullptr;
}

void Form::paintTree(Control& control, const Canvas& parentCanvas, int left, int top) {
    if (!control.visible()) return;
    Canvas canvas = parentCanvas.within(Rect::ofSize(left, top, control.width(), control.height()));
    if (canvas.clip().empty()) return;
    control.paint(canvas);
    for (Control* child : control.children()) paintTree(*child, canvas, child->left(), child->top());
}

const Image& Form::paint() {
    if (!dirty_.empty()) {
        Canvas whole(image_, zoom_);
        paintTree(*this, whole.clippedTo(dirty_), 0, 0);
        dirty_ = Rect{};
    }
    return image_;
}

void Form::mouseEvent(const platform::MouseEvent& deviceEvent) {
    using Type = platform::MouseEvent::Type;
    platform::MouseEvent event = deviceEvent;
    event.x = zoom_.toLogical(deviceEvent.x);
    event.y = zoom_.toLogical(deviceEvent.y);
    ShiftState shift = shiftOf(event);
    if (event.type == Type::press || event.type == Type::doubleClick) {
        Control* target = controlAt(event.x, event.y);
        if (!target || !target->enabled()) return;
        if (event.button == MouseButton::right && onContextMenu && target->isBackground()) {
            onContextMenu(event.x, event.y);
            return;
        }
        capture_ = target;
        if (window_) window_->captureMouse(true);
        if (target->focusable()) focus_ = target;
        const Rect where = target->formBounds();
        const int x = event.x - where.left, y = event.y - where.top;
        // A push button takes the second press of a double click as a plain one.
        const bool secondPress = event.type == Type::doubleClick && !target->secondPressClicks();
        shift.doubleClick = secondPress;
        if (secondPress) {
            clickTarget_ = nullptr;
            if (event.button == MouseButton::left) target->doubleClick();
        } else if (event.button == MouseButton::left) {
            clickTarget_ = target;
        }
        // A handler above may have hidden or destroyed the target.
        if (capture_ == target) target->mouseDown(event.button, shift, x, y);
        return;
    }
    if (event.type == Type::wheel) {
        // To the control under the pointer, or the nearest parent that takes it.
        for (Control* c = controlAt(event.x, event.y); c && c != this; c = c->parent())
            if (c->enabled() && c->mouseWheel(event.wheelSteps, shift)) return;
        return;
    }
    Control* target = capture_ ? capture_ : controlAt(event.x, event.y);
    if (!target || !target->enabled()) return;
    const Rect where = target->formBounds();
    const int x = event.x - where.left, y = event.y - where.top;
    if (event.type == Type::move) {
        target->mouseMove(shift, x, y);
        return;
    }
    // Release.
    const bool wasCaptured = capture_ == target;
    capture_ = nullptr;
    if (wasCaptured && window_) window_->captureMouse(false);
    if (event.button == MouseButton::left && clickTarget_ == target) {
        clickTarget_ = nullptr;
        if (x >= 0 && y >= 0 && x < target->width() && y < target->height()) {
            inHandler_ = target;  // forget() clears it when the handler removes the target
            target->click();
            const bool stillThere = inHandler_ == target;
            inHandler_ = nullptr;
            if (!stillThere) return;
        }
    }
    target->mouseUp(event.button, shift, x, y);
}

void Form::keyEvent(const platform::KeyEvent& event) {
    if (event.key == platform::Key::enter && defaultButton_ && defaultButton_->showing() && defaultButton_->enabled()) {
        defaultButton_->click();
        return;
    }
    if (focus_ && focus_->showing() && focus_->enabled()) focus_->keyDown(event);
}

void Form::closeRequested() {
    if (onCloseRequest)
        onCloseRequest();
    else
        requestClose();
}

}  // namespace toolkit
