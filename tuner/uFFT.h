// uFFT.h — TuFFTForm, Tonemark's panel.
//
//   TuFFTForm   the 444 x 141 borderless panel: the cents scale with its pointer,
//               the frequency / MIDI, note / octave and cents displays, the LED,
//               and the hidden control strip (reference pitch, accuracy, About,
//               hide); ShowReading turns one reading of the detector into all of
//               them; Timer1 sends the audio watchdog every 250 ms
//
// The controls keep the names of the panel's layout, and each handler the name
// of the event it serves. Everything here belongs to the user-interface thread.
#pragma once

#include <cstdint>

#include "controls/uAbout.h"
#include "toolkit/Bevel.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureButton.h"
#include "toolkit/Shape.h"
#include "toolkit/Timer.h"
#include "toolkit/UpDown.h"

namespace tonemark {

class ADoubler;

class TuFFTForm : public toolkit::Form {
public:
    static constexpr int kWidth = 444;
    static constexpr int kHeight = 141;
    static constexpr std::uint32_t kWatchdogInterval = 250;  // milliseconds

    explicit TuFFTForm(platform::WindowSystem& windows);
    ~TuFFTForm() override;

    // The effect the panel belongs to (set by the editor's open); may be none.
    ADoubler* effect = nullptr;

    // Handlers, named after the events of the layout.
    void FormCreate();
    void HelpBtnClick();
    void Timer1Timer();
    void infobtnClick();
    void PitchRefClick();
    void AccuracyClick();

    // Shows one reading against the PitchRef position, in the formats of the
    // Accuracy position; a reading that is not shown only darkens the LED.
    void ShowReading(float frequency, float noReading);
    void LedOff();
    void ShowAccuracyName();
    // Puts the reference pitch and accuracy in the arrows (no click events) and
    // keeps the strip's texts in step.
    void setControls(std::int32_t referencePitch, std::int32_t accuracy);

    bool ledLit() const;
    // The native window of the About dialog opened from this panel, or null.
    void* aboutWindow() const { return about.aboutWindow(); }
    const controls::AboutToggle& aboutToggle() const { return about; }

    // Controls, parents before children (creation and painting order).
    toolkit::Picture Image2;
    toolkit::Bevel Bevel1;
    toolkit::Panel Panel4;
    toolkit::Picture Image1;
    toolkit::Shape pointer;
    toolkit::Panel Panel1;
    toolkit::Label freqLbl;
    toolkit::Label midiLbl;
    toolkit::Label Label3;
    toolkit::Label Label1;
    toolkit::Panel Panel3;
    toolkit::Label notelbl;
    toolkit::Label sharplbl;
    toolkit::Label octaveLbl;
    toolkit::Panel Panel2;
    toolkit::Label centslbl;
    toolkit::Label Label2;
    toolkit::Shape LED;
    toolkit::PictureButton infobtn;
    toolkit::Panel controlepanel;
    toolkit::PictureButton HelpBtn;
    toolkit::Label Label4;
    toolkit::Label StaticText1;
    toolkit::UpDown PitchRef;
    toolkit::Label Label5;
    toolkit::Label AccuracyLbl;
    toolkit::UpDown Accuracy;
    toolkit::PictureButton BitBtn1;
    toolkit::Timer Timer1;

private:
    void drawScaleFigures();
    void wireEvents();

    controls::AboutToggle about;
};

}  // namespace tonemark
