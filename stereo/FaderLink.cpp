// FaderLink.cpp — TuStereoform's two output faders: their readouts, the link
// that moves them together with a fixed offset in dB unless Control is held,
// the overflow at the top, setFaders for the refresh, and the double-click that
// puts both at 0 dB.
#include "stereo/LevelScale.h"
#include "stereo/uDoubler.h"
#include "stereo/uStereoMeter.h"

namespace widefield {

namespace {
constexpr double kTopDb = 6.0;
}  // namespace

void TuStereoform::showFaderReadout(toolkit::Label& readout, const PanelSlider& fader) {
    char text[16];
    formatLevelText(faderDb(fader.position()), text, sizeof text);
    readout.setText(text);
}

void TuStereoform::FaderLChange() {
    const bool unlinked = controlKeyDown();
    const double gain = faderGain(FaderL.position());
    const double db = gainToDb(gain);
    showFaderReadout(LFdrLVL, FaderL);
    if (!unlinked) {
        const double wanted = db + faderLinkDb;
        const std::int32_t target = dbToFaderPosition(wanted);
        // The partner's own handler runs at once, inside this one.
        if (target != FaderR.position()) FaderR.setPosition(target);
        // The partner stopped at the top: the offset shrinks to what is left.
        if (wanted > kTopDb) faderLinkDb = static_cast<float>(faderDb(FaderR.position()) - db);
    } else {
        faderLinkDb = static_cast<float>(faderDb(FaderR.position()) - db);
    }
    send(ADoubler::kGainLeft, static_cast<float>(gain / 2.0));
}

void TuStereoform::FaderRChange() {
    const bool unlinked = controlKeyDown();
    const double gain = faderGain(FaderR.position());
    const double db = gainToDb(gain);
    showFaderReadout(RFdrLvl, FaderR);
    if (!unlinked) {
        const double wanted = db - faderLinkDb;
        const std::int32_t target = dbToFaderPosition(wanted);
        if (target != FaderL.position()) FaderL.setPosition(target);
        if (wanted > kTopDb) faderLinkDb = static_cast<float>(db - faderDb(FaderL.position()));
    } else {
        faderLinkDb = static_cast<float>(db - faderDb(FaderL.position()));
    }
    send(ADoubler::kGainRight, static_cast<float>(gain / 2.0));
}

void TuStereoform::setFaders(float gainLeft, float gainRight) {
    const double left = gainToDb(gainLeft), right = gainToDb(gainRight);
    faderLinkDb = static_cast<float>(right - left);
    // Moving the left fader drags the right one along through the link first.
    FaderL.setPosition(dbToFaderPosition(left));
    FaderR.setPosition(dbToFaderPosition(right));
}

void TuStereoform::LFdrLVLClick() {
    faderLinkDb = 0.0f;
    FaderR.setPosition(kUnityRow);
    FaderL.setPosition(kUnityRow);
}

}  // namespace widefield
