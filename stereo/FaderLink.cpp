// FaderLink.cpp — TuStereoform's two output faders: their readouts, the link
// that moves them together with a fixed offset in dB unless Control is held,
// the overflow at the top, setFaders for the refresh, and the double-click that
// puts both at 0 dB.
//
// A fader that the link moves only shows and sends its own level: it does not
// move its partner back. Otherwise the partner, asked for a row whose level
// the scale cannot give back exactly (row 66, or an offset between rows), would
// be pushed off the row the user or the effect put it on.
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
    if (linkMoving) {
        // Moved by the link: nothing more to do here.
    } else if (!unlinked) {
        const double wanted = db + faderLinkDb;
        const std::int32_t target = dbToFaderPosition(wanted);
        // The partner's own handler runs at once, inside this one.
        if (target != FaderR.position()) moveByLink(FaderR, target);
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
    if (linkMoving) {
        // Moved by the link.
    } else if (!unlinked) {
        const double wanted = db - faderLinkDb;
        const std::int32_t target = dbToFaderPosition(wanted);
        if (target != FaderL.position()) moveByLink(FaderL, target);
        if (wanted > kTopDb) faderLinkDb = static_cast<float>(db - faderDb(FaderL.position()));
    } else {
        faderLinkDb = static_cast<float>(db - faderDb(FaderL.position()));
    }
    send(ADoubler::kGainRight, static_cast<float>(gain / 2.0));
}

void TuStereoform::setFaders(float gainLeft, float gainRight) {
    const double left = gainToDb(gainLeft), right = gainToDb(gainRight);
    faderLinkDb = static_cast<float>(right - left);
    // Each fader goes to its own gain's row and sends nothing: the effect
    // keeps its gains between rows. The link keeps the offset but moves
    // neither, so both end where the effect put them.
    const FollowingEffect following(*this);
    linkMoving = true;
    FaderL.setPosition(dbToFaderPosition(left));
    FaderR.setPosition(dbToFaderPosition(right));
    linkMoving = false;
}

void TuStereoform::moveByLink(PanelSlider& partner, std::int32_t row) {
    linkMoving = true;
    partner.setPosition(row);
    linkMoving = false;
}

void TuStereoform::LFdrLVLClick() {
    faderLinkDb = 0.0f;
    FaderR.setPosition(kUnityRow);
    FaderL.setPosition(kUnityRow);
}

}  // namespace widefield
