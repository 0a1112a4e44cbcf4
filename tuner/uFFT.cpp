// uFFT.cpp — TuFFTForm: layout, artwork, handlers and the display of a reading.
#include "tuner/uFFT.h"

#include <string>

#include "platform/Locale.h"
#include "tuner/AboutContent.h"
#include "tuner/NoteConversion.h"
#include "tuner/PanelArtwork.h"
#include "tuner/ReadingText.h"
#include "tuner/uDoubler.h"

namespace tonemark {

namespace {

using toolkit::Alignment;
using toolkit::BevelStyle;
using toolkit::Font;
using toolkit::Rect;

constexpr int kScaleWidth = 400;
constexpr int kScaleHeight = 50;

Font arial(int size, toolkit::Pixel colour, bool bold = false) { return Font{size, bold, colour}; }

}  // namespace

TuFFTForm::TuFFTForm(platform::WindowSystem& windows)
    : toolkit::Form(windows, kWidth, kHeight, colours::black),
      Image2(this, Rect::ofSize(0, 0, kWidth, kHeight), true),
      Bevel1(this, Rect::ofSize(0, 0, kWidth, kHeight), toolkit::Bevel::Shape::frame, BevelStyle::lowered),
      Panel4(this, Rect::ofSize(23, 15, 402, 52), colours::white, BevelStyle::lowered),
      Image1(&Panel4, Rect::ofSize(1, 1, kScaleWidth, kScaleHeight)),
      pointer(&Panel4, Rect::ofSize(200, 1, 1, kScaleHeight), toolkit::Shape::Kind::rectangle, colours::red,
              colours::red),
      Panel1(this, Rect::ofSize(24, 80, 97, 41), colours::white, BevelStyle::lowered),
      freqLbl(&Panel1, Rect::ofSize(8, 2, 81, 22), "0,000.00", arial(19, colours::maroon), Alignment::right),
      midiLbl(&Panel1, Rect::ofSize(56, 22, 33, 19), "000", arial(16, colours::maroon, true), Alignment::right),
      Label3(this, 128, 82, "Hz", arial(16, colours::silver, true)),
      Label1(this, 128, 104, "MIDI", arial(16, colours::silver, true)),
      Panel3(this, Rect::ofSize(176, 80, 97, 41), colours::white, BevelStyle::lowered),
      notelbl(&Panel3, Rect::ofSize(15, 0, 33, 41), "A", arial(36, colours::black, true), Alignment::centre),
      sharplbl(&Panel3, Rect::ofSize(43, 1, 11, 22), "#", arial(19, colours::black, true), Alignment::centre),
      octaveLbl(&Panel3, Rect::ofSize(49, 0, 33, 43), "0", arial(36, colours::black, true), Alignment::centre),
      Panel2(this, Rect::ofSize(296, 80, 57, 41), colours::white, BevelStyle::lowered),
      centslbl(&Panel2, Rect::ofSize(0, 9, 49, 22), "+0", arial(19, colours::maroon, true), Alignment::right),
      Label2(this, 360, 91, "cents", arial(15, colours::silver, true)),
      LED(this, Rect::ofSize(416, 80, 9, 9), toolkit::Shape::Kind::ellipse, colours::darkGreen, colours::silver),
      infobtn(this, Rect::ofSize(414, 104, 13, 17)),
      controlepanel(this, Rect::ofSize(14, 98, 421, 33), colours::black, BevelStyle::none),
      HelpBtn(&controlepanel, Rect::ofSize(8, 6, 21, 21)),
      Label4(&controlepanel, 44, 9, " Reference point  A3 =", arial(11, colours::silver)),
      StaticText1(&controlepanel, Rect::ofSize(152, 8, 30, 16), "440", arial(11, colours::white), Alignment::centre),
      PitchRef(&controlepanel, Rect::ofSize(182, 8, 19, 16), 425, 453, 440),
      Label5(&controlepanel, 224, 9, "Accuracy =", arial(11, colours::silver)),
      AccuracyLbl(&controlepanel, Rect::ofSize(280, 8, 62, 16), "Normal", arial(11, colours::white), Alignment::centre),
      Accuracy(&controlepanel, Rect::ofSize(340, 8, 19, 16), 0, 2, 1),
      BitBtn1(&controlepanel, Rect::ofSize(380, 6, 33, 21)),
      Timer1(*this, kWatchdogInterval, [this] { Timer1Timer(); }) {
    // Artwork, drawn once per panel.
    Image2.setPicture(woodGrain(kWidth, kHeight));
    Image1.setPicture(centsScale(kScaleWidth, kScaleHeight));
    drawScaleFigures();
    infobtn.setGlyph(infoGlyph(13, 17));
    infobtn.setFlat(true);
    HelpBtn.setGlyph(helpGlyph(21, 21));
    HelpBtn.setFlat(true);
    BitBtn1.setGlyph(hideGlyph(33, 21));
    BitBtn1.setColor(colours::black);
    BitBtn1.setFlat(true);
    setDefaultButton(&BitBtn1);
    controlepanel.setVisible(false);
    wireEvents();
    FormCreate();
}

TuFFTForm::~TuFFTForm() = default;

void TuFFTForm::drawScaleFigures() {
    toolkit::Canvas canvas(Image1.editPicture());
    const Font figures = arial(12, colours::black, true);
    for (int cents : {-25, 0, 25}) {
        const std::string text = cents > 0 ? "+" + std::to_string(cents) : std::to_string(cents);
        const int mark = scaleMarkX(cents, kScaleWidth);
        const toolkit::TextExtent extent = toolkit::Canvas::textExtent(text, figures);
        canvas.textOut(mark - extent.width / 2, 3, text, figures);
    }
    Image1.invalidate();
}

void TuFFTForm::wireEvents() {
    HelpBtn.onClick = [this] { HelpBtnClick(); };
    infobtn.onClick = [this] { infobtnClick(); };
    BitBtn1.onClick = [this] { infobtnClick(); };
    for (toolkit::Control* control :
         {static_cast<toolkit::Control*>(&controlepanel), static_cast<toolkit::Control*>(&Label4),
          static_cast<toolkit::Control*>(&Label5), static_cast<toolkit::Control*>(&StaticText1),
          static_cast<toolkit::Control*>(&AccuracyLbl)})
        control->onDoubleClick = [this] { infobtnClick(); };
    PitchRef.onClick = [this](toolkit::UpDown::Button) { PitchRefClick(); };
    Accuracy.onClick = [this](toolkit::UpDown::Button) { AccuracyClick(); };
}

void TuFFTForm::FormCreate() {
    HelpBtn.setColor(colours::black);
    infobtn.setColor(colours::black);
}

void TuFFTForm::HelpBtnClick() {
    if (effect == nullptr) return;
    // A dialog of this panel's that is still open goes, and the display cycle
    // is asked to go on; otherwise a new dialog opens beside the panel.
    if (about.toggle(windowSystem(), aboutContent(), zoom())) effect->setParameter(ADoubler::kRequestUpdate, 0.0f);
}

void TuFFTForm::Timer1Timer() {
    if (effect == nullptr) return;
    effect->setParameter(ADoubler::kAudioWatchdog, 0.0f);
    // The watchdog found no audio since the last tick: the lamp goes out here,
    // on the panel's own thread.
    if (effect->isAudioStale()) LedOff();
}

void TuFFTForm::infobtnClick() { controlepanel.setVisible(!controlepanel.visible()); }

void TuFFTForm::PitchRefClick() {
    StaticText1.setText(std::to_string(PitchRef.position()));
    if (effect) effect->setParameter(0, static_cast<float>(PitchRef.position()));
}

void TuFFTForm::AccuracyClick() {
    if (effect) effect->setParameter(1, static_cast<float>(Accuracy.position()));
    ShowAccuracyName();
}

void TuFFTForm::setControls(std::int32_t referencePitch, std::int32_t accuracySetting) {
    // The arrows hold 16-bit positions and keep to their ranges: a setting
    // outside them shows as the nearest end.
    PitchRef.setPosition(static_cast<std::int16_t>(referencePitch));
    Accuracy.setPosition(static_cast<std::int16_t>(accuracySetting));
    StaticText1.setText(std::to_string(PitchRef.position()));
    ShowAccuracyName();
}

void TuFFTForm::ShowAccuracyName() {
    if (const char* name = accuracyName(Accuracy.position())) AccuracyLbl.setText(name);
}

void TuFFTForm::LedOff() { LED.setFill(colours::darkGreen); }

bool TuFFTForm::ledLit() const { return LED.fill() == colours::lime; }

void TuFFTForm::ShowReading(float frequency, float noReading) {
    // 1. and 2. The note against the reference on the arrows; a reading that
    // cannot be shown leaves the labels and pointer as they are.
    const NoteReading note = convertToNote(frequency, noReading, PitchRef.position());
    if (!note.shown) {
        LedOff();
        return;
    }
    // 3. Note letter, sharp sign, MIDI number, octave.
    const NoteName name = noteName(note.pitchClass);
    notelbl.setText(name.letter);
    sharplbl.setText(name.sharp);
    midiLbl.setText(std::to_string(note.noteNumber));
    octaveLbl.setText(std::to_string(note.octave));
    // 4. Cents and frequency in the formats of the accuracy setting.
    const int setting = Accuracy.position();
    const std::string separator = platform::decimalSeparator();
    std::string text;
    if (formatCents(note.cents, setting, separator, text)) centslbl.setText(text);
    if (formatFrequency(frequency, setting, separator, text)) freqLbl.setText(text);
    // 5. The pointer over the scale.
    pointer.setPosition(pointerLeft(note.cents, Image1.left(), Image1.width()), pointer.top());
    // 6. The lamp.
    LED.setFill(colours::lime);
}

}  // namespace tonemark
