// AboutContent.cpp — Widefield's About dialog: logo, title, hints, credit lines.
#include "stereo/AboutContent.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/Canvas.h"

namespace widefield {
namespace {

using toolkit::Canvas;
using toolkit::Font;
using toolkit::Image;
using toolkit::Pixel;
using toolkit::Rect;
using toolkit::rgb;

constexpr int kKey = 9;

// The credit lines as stored (see controls/uAbout.h): L, then f.
constexpr unsigned char kStoredL[] = {
    0x4F, 0xCA, 0x38, 0xA6, 0xCF, 0x4C, 0xC4, 0xED, 0x6B, 0xE7, 0x55, 0x7E,
    0xF0, 0x67, 0x90, 0xFA, 0x71, 0xF3, 0x1C, 0x8D, 0x05, 0x81, 0xFE, 0x35,
    0x5E, 0xBC, 0x38, 0xA6, 0xCF, 0x39, 0xB6, 0xDF, 0x61, 0xD9, 0x57, 0xD2,
    0xFB, 0x73, 0xF3, 0x6A, 0x93, 0x0E, 0x80, 0xFC, 0x70, 0xA7,
};
constexpr unsigned char kStoredF[] = {
    0x60, 0xD2, 0x3F, 0xAD, 0x1C, 0x8E, 0xFC, 0x71, 0xDE, 0x07, 0x83, 0x00,
    0x6E, 0xE9, 0x57, 0xCF, 0xF8, 0x71, 0xEC, 0x64, 0xD0, 0x3E, 0xBA, 0x36,
    0xAE, 0x29, 0x52, 0x7B, 0x46, 0x06, 0x2F, 0x58, 0xA3, 0x1E, 0x90, 0x0C,
    0x84, 0xFF, 0x69,
};

const char kHints[] =
    "General Hints:\n"
    "\n"
    "1. Display latency\n"
    "The host plays the audio some time after Widefield has processed it. To keep the meters and the "
    "oscilloscope in step with what you hear, set the display latency to match your host's output delay. "
    "The setting is kept separately for each host program, so every host you use keeps its own value.\n"
    "\n"
    "2. Resetting meters and controls\n"
    "A single click on a meter resets its peak hold and range. A double click on a control's label sets that "
    "control back to its neutral position. The reset button sets all controls back at once.\n"
    "\n"
    "3. Saving processing time\n"
    "Switch the meters off when you do not need them. The oscilloscope and the meters then stop, and "
    "Widefield takes noticeably less processing time, which counts when many instances run.\n"
    "\n"
    "4. Order of processing\n"
    "The signal passes the stages in this order:\n"
    "- DC filter\n"
    "- input section: polarity, channel swap, width and rotation\n"
    "- 3-way balance: centre cut and left/right asymmetry; with the bass adjustment on, the low band is "
    "taken from the signal here and added back with its own width and boost\n"
    "- delay or pseudo-stereo\n"
    "- output section: rotation, width and mono\n"
    "- faders\n"
    "- meters and oscilloscope, which show the signal as it leaves Widefield\n"
    "\n"
    "5. Reading the oscilloscope\n"
    "The oscilloscope plots the two channels against each other, turned so that the centre stands upright:\n"
    "- In phase (mono): a vertical line.\n"
    "- Panned: the line leans towards the louder side; a signal in one channel only leans at 45 degrees.\n"
    "- Slightly out of phase: the line opens into a narrow ellipse.\n"
    "- 90 degrees out of phase: a circle, when both channels are equally loud.\n"
    "- 180 degrees out of phase: a horizontal line. Such a signal cancels when played in mono.\n"
    "- Normal music: a cloud, taller than it is wide. The wider the cloud, the wider the stereo image; a "
    "cloud wider than tall warns that the mix will lose level in mono.\n"
    "\n"
    "6. Fluorescence\n"
    "With fluorescence on, the points on the oscilloscope fade out slowly, like the afterglow of a real "
    "tube, so the picture is calmer and shows where the signal has been. With it off, only the newest "
    "points are drawn.";

}  // namespace

Image aboutLogo() {
    constexpr int width = controls::TuFAbout::kLogoWidth, height = controls::TuFAbout::kLogoHeight;
    Image logo(width, height);
    // A dark scope screen, slightly lighter in the middle.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = (x - width / 2.0) / 120.0, dy = (y - height / 2.0) / 45.0;
            logo.at(x, y) = toolkit::mix(rgb(4, 14, 12), rgb(14, 48, 40), std::exp(-(dx * dx + dy * dy)));
        }
    // The graticule: faint lines every 16 pixels and a brighter centre cross.
    const int cx = width / 2, cy = height / 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool major = x == cx || y == cy;
            const bool minor = (x - cx) % 16 == 0 || (y - cy) % 16 == 0;
            if (major || minor) logo.at(x, y) = toolkit::mix(logo.at(x, y), rgb(60, 140, 120), major ? 0.45 : 0.18);
        }

    // A wide stereo trace (a 3:2 Lissajous figure) drawn as glowing phosphor.
    std::vector<double> glow(static_cast<std::size_t>(width * height), 0.0);
    const double pi = 3.14159265358979323846;
    const int samples = 6000;
    for (int i = 0; i < samples; ++i) {
        const double t = 2.0 * pi * i / samples;
        const double px = cx + 102.0 * std::sin(3.0 * t), py = cy + 33.0 * std::sin(2.0 * t);
        const int ix = static_cast<int>(std::floor(px)), iy = static_cast<int>(std::floor(py));
        for (int y = iy - 2; y <= iy + 2; ++y)
            for (int x = ix - 2; x <= ix + 2; ++x) {
                if (x < 0 || y < 0 || x >= width || y >= height) continue;
                const double ddx = x + 0.5 - px, ddy = y + 0.5 - py;
                glow[static_cast<std::size_t>(y * width + x)] += 0.09 * std::exp(-(ddx * ddx + ddy * ddy) / 0.8);
            }
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double g = glow[static_cast<std::size_t>(y * width + x)];
            if (g <= 0.0) continue;
            const Pixel trace = toolkit::mix(rgb(40, 200, 120), rgb(200, 255, 220), g - 1.0);
            logo.at(x, y) = toolkit::mix(logo.at(x, y), trace, 0.8 * g);
        }

    // The name, with a dark halo so it reads over the trace.
    Canvas canvas(logo);
    const Font name{38, true, rgb(255, 255, 255)};
    const Font halo{38, true, rgb(0, 20, 14)};
    const std::string text = "Widefield";
    const int x = (width - Canvas::textExtent(text, name).width) / 2;
    const int y = (height - Canvas::textExtent(text, name).height) / 2;
    for (int oy = -1; oy <= 2; ++oy)
        for (int ox = -1; ox <= 2; ++ox)
            if (ox || oy) canvas.textOut(x + ox, y + oy, text, halo);
    canvas.textOut(x, y, text, name);
    return logo;
}

const controls::AboutContent& aboutContent() {
    static const controls::AboutContent content = [] {
        controls::AboutContent c;
        c.productName = "Widefield";
        c.height = 368;
        c.startPage = controls::AboutContent::hintsPage;
        c.key = kKey;
        c.logoTop = 33;
        c.makeLogo = aboutLogo;
        c.titleLines = {"WIDEFIELD"};
        c.version = "V 1.0";
        c.tagline = "Stereo width, balance and imaging, with scope and meters";
        c.hints = kHints;
        c.hintsBounds = Rect::ofSize(6, 6, 431, 286);
        c.hintsFont = Font{19, false, rgb(0, 0, 0)};
        c.scrambledL = controls::storedLine(kStoredL);
        c.scrambledF = controls::storedLine(kStoredF);
        return c;
    }();
    return content;
}

}  // namespace widefield
