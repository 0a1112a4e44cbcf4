// PanelZoom.cpp — resolving, storing and choosing the panel's zoom.
#include "controls/PanelZoom.h"

#include <cmath>
#include <cstdlib>

namespace controls {

namespace {
const char* const kValueName = "Zoom";
const char* const kEnvironmentName = "BRISORA_ZOOM";
}  // namespace

int resolveZoom(const char* environment, const std::string* stored) {
    long long percent = 0;
    if (environment && toolkit::parseZoom(environment, percent)) return toolkit::nearestZoomLevel(percent);
    if (stored && toolkit::parseZoom(*stored, percent)) return toolkit::nearestZoomLevel(percent);
    return toolkit::kDefaultZoom;
}

toolkit::Zoom PanelZoom::current() {
    if (!percent_) {
        std::string stored;
        const bool found = store_ && store_->readText(keyPathOf(pluginName_), kValueName, stored);
        percent_ = resolveZoom(std::getenv(kEnvironmentName), found ? &stored : nullptr);
    }
    return toolkit::Zoom(*percent_);
}

void PanelZoom::choose(int percent) {
    percent_ = toolkit::nearestZoomLevel(percent);
    if (store_) store_->writeText(keyPathOf(pluginName_), kValueName, std::to_string(*percent_));
}

void PanelZoom::setHostScale(double factor) {
    if (!std::isfinite(factor) || factor <= 0.0 || factor > 100.0) return;
    hostLevel_ = toolkit::nearestZoomLevel(std::llround(factor * 100.0));
}

}  // namespace controls
