// PanelZoomControl.cpp — attaching the zoom to a panel and applying a pick.
#include "controls/PanelZoomControl.h"

namespace controls {

bool requestEditorSize(AudioEffect* effect, int width, int height) {
    if (effect == nullptr || effect->getAudioMaster() == nullptr) return false;
    return effect->getAudioMaster()(effect->getAeffect(), audioMasterSizeWindow, width, height, nullptr, 0.0f) != 0;
}

toolkit::Zoom PanelZoomControl::zoom() { return form_ ? form_->zoom() : choice_.current(); }

void PanelZoomControl::attach(toolkit::Form& form) {
    detach();
    form_ = &form;
    reopenNote_ = false;
    form.setZoom(choice_.current());
    menu_ = std::make_unique<ZoomMenu>(form);
    menu_->onChoose = [this](int percent) { choose(percent); };
    form.onContextMenu = [this](int x, int y) {
        menu_->popup(x, y, form_->zoom().percent(), choice_.hostLevel(), reopenNote_);
    };
}

void PanelZoomControl::detach() {
    if (form_) form_->onContextMenu = nullptr;
    menu_.reset();
    form_ = nullptr;
}

void PanelZoomControl::choose(int percent) {
    choice_.choose(percent);
    if (!form_) return;
    const toolkit::Zoom wanted = choice_.current();
    if (wanted == form_->zoom()) {
        reopenNote_ = false;
        return;
    }
    const int width = wanted.toDevice(form_->width()), height = wanted.toDevice(form_->height());
    if (requestHostSize && requestHostSize(width, height)) {
        reopenNote_ = false;
        form_->setZoom(wanted);
        return;
    }
    // The host keeps its window's size: the menu stays open and says so.
    reopenNote_ = true;
    menu_->popup(menu_->box().left, menu_->box().top, wanted.percent(), choice_.hostLevel(), true);
}

}  // namespace controls
