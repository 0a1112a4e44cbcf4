// AboutContent.cpp — Tonemark's About dialog: logo, title, hints, credit lines.
#include "tuner/AboutContent.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "toolkit/Canvas.h"

namespace tonemark {
namespace {

using toolkit::Canvas;
using toolkit::Font;
using toolkit::Image;
using toolkit::Pixel;
using toolkit::Rect;
using toolkit::rgb;

constexpr int kKey = 5;

// The credit lines as stored (see controls/uAbout.h): L, then f.
constexpr unsigned char kStoredL[] = {
    0x4B, 0xC2, 0x2C, 0x96, 0xBB, 0x34, 0xA8, 0xCD, 0x47, 0xBF, 0x29, 0x4E,
    0xBC, 0x2F, 0x54, 0xBA, 0x2D, 0xAB, 0xD0, 0x3D, 0xB1, 0x29, 0xA2, 0xD5,
    0xFA, 0x4D, 0xC1, 0xE6, 0x62, 0xC8, 0x3F, 0xB6, 0x1C, 0x8F, 0x08, 0x86,
    0xB9,
};
constexpr unsigned char kStoredF[] = {
    0x59, 0xCD, 0x40, 0xAA, 0x1C, 0x82, 0xF9, 0x69, 0x8E, 0xFC, 0x6F, 0xE7,
    0x60, 0xD7, 0x51, 0xC3, 0x2D, 0xA0, 0x19, 0x3E, 0xB7, 0x31, 0xA4, 0x0E,
    0x85, 0xAA, 0xCF, 0x96, 0x52, 0x77, 0x9C, 0xE3, 0x5A, 0xC8, 0x40, 0xB4,
    0x2B, 0x91,
};

const char kHints[] =
    "This is a simple but very accurate instrument tuner.\n"
    "\n"
    "RANGE\n"
    "At a sample rate of 44.1 kHz Tonemark recognises notes from C-2 to D7, that is from 8 Hz to 5000 Hz, "
    "or MIDI notes 0 to 110.\n"
    "\n"
    "ACCURACY\n"
    "The frequency reading is right to within ±1 in the last figure shown, from the top of the range down "
    "to at least 40 Hz.\n"
    "\n"
    "MEASUREMENT TIME\n"
    "A measurement takes about half a second, so hold the note steady for a moment before you read it.\n"
    "\n"
    "SENSITIVITY\n"
    "A fundamental as quiet as -60 dB is still recognised up to 2000 Hz. Above that the sensitivity "
    "falls gradually towards 5000 Hz.\n"
    "\n"
    "CONNECTING THE TUNER\n"
    "Insert Tonemark as an effect in the channel or bus that carries your instrument, or feed it from an "
    "aux send. It passes the audio through unchanged, so it can stay in place while you play. Many hosts "
    "process a plug-in only while playback runs or while the track is armed or monitored; if the lamp "
    "stays dark, check that first.\n"
    "\n"
    "THE CONTROLS\n"
    "Click \"i\" to open the settings. There you choose the accuracy: \"super\" gives the finest reading, "
    "\"economy\" takes the least processing time, and the normal setting lies between the two. There, too, "
    "you set the reference for A3 anywhere from 425 Hz to 453 Hz; 440 Hz is the usual standard.\n"
    "The lamp lights while the readings are live: it goes dark when a measurement finds no note, and when "
    "the audio stops, for example because the host stops processing the track. The display then keeps "
    "the last note it showed.\n"
    "\n"
    "SAVING SETTINGS\n"
    "The accuracy and the reference belong to the plug-in's program, so your host saves them with the "
    "project and restores them when you open it again. Save the program as a preset in your host to use "
    "the same settings elsewhere.\n"
    "\n"
    "USES\n"
    "Tuning guitars, basses, strings, wind instruments and synthesizers; checking the pitch of samples "
    "and loops; finding the frequency of a hum or a test tone.\n"
    "\n"
    "A NOTE ON ACCURACY\n"
    "A reading can only be as exact as the sample rate the host reports. If the clock of your audio "
    "interface runs a little fast or slow, every reading is off by the same proportion; an error of one "
    "part in ten thousand moves a note by about 0.17 cent. Instruments are rarely that steady anyway: a "
    "plucked string starts slightly sharp and falls back as it decays, so read the pitch once the note "
    "has settled.";

}  // namespace

Image aboutLogo() {
    constexpr int width = controls::TuFAbout::kLogoWidth, height = controls::TuFAbout::kLogoHeight;
    Image logo(width, height);
    // Night-blue ground, lighter towards the top, with a soft glow behind the centre of the scale.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Pixel ground = toolkit::mix(rgb(34, 52, 108), rgb(8, 12, 34), y / (height - 1.0));
            const double dx = (x - width / 2.0) / 70.0, dy = (y - 64.0) / 18.0;
            ground = toolkit::mix(ground, rgb(30, 110, 80), 0.45 * std::exp(-(dx * dx + dy * dy)));
            logo.at(x, y) = ground;
        }
    Canvas canvas(logo);

    // A cents scale along the bottom: -50 .. +50 in steps of 5, the centre mark in green.
    const int baseline = 71;
    canvas.fillRect(Rect{15, baseline, 216, baseline + 1}, rgb(110, 130, 180));
    for (int i = -10; i <= 10; ++i) {
        const int x = 115 + 10 * i;
        const int length = i == 0 ? 16 : (i % 5 == 0 ? 9 : 5);
        const Pixel color = i == 0 ? rgb(90, 240, 130) : rgb(150, 170, 215);
        canvas.fillRect(Rect{x, baseline - length, x + 1, baseline}, color);
        if (i == 0) {
            // Half-strength sides make the centre mark glow.
            for (int side : {x - 1, x + 1})
                canvas.fillRect(Rect{side, baseline - length + 2, side + 1, baseline},
                                toolkit::mix(color, logo.at(side, baseline - 2), 0.5));
        }
    }
    // The needle's tip resting on the centre mark.
    for (int row = 0; row < 5; ++row)
        canvas.fillRect(Rect{115 - (4 - row), baseline - 22 + row, 116 + (4 - row), baseline - 21 + row},
                        rgb(90, 240, 130));

    // The name, with a shadow.
    const Font name{38, true, rgb(255, 255, 255)};
    const Font shadow{38, true, rgb(0, 0, 16)};
    const std::string text = "Tonemark";
    const int x = (width - Canvas::textExtent(text, name).width) / 2;
    canvas.textOut(x + 2, 6, text, shadow);
    canvas.textOut(x, 4, text, name);
    return logo;
}

const controls::AboutContent& aboutContent() {
    static const controls::AboutContent content = [] {
        controls::AboutContent c;
        c.productName = "Tonemark";
        c.height = 320;
        c.startPage = controls::AboutContent::aboutPage;
        c.key = kKey;
        c.logoTop = 30;
        c.makeLogo = aboutLogo;
        c.titleLines = {"Instrument", "Tuner"};
        c.version = "V1.0";
        c.hints = kHints;
        c.hintsBounds = Rect::ofSize(5, 2, 433, 245);
        c.hintsFont = Font{13, true, rgb(0, 0, 0)};
        c.hintsScrollBars = toolkit::TextView::ScrollBars::both;  // a memo with both bars
        c.scrambledL = controls::storedLine(kStoredL);
        c.scrambledF = controls::storedLine(kStoredF);
        return c;
    }();
    return content;
}

}  // namespace tonemark
