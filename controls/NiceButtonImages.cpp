// NiceButtonImages.cpp — procedural artwork of the LED button faces.
//
// Shapes are tested per pixel centre; edges are softened by 4 x 4 supersampling
// so the faces look drawn rather than stepped. Everything is integer or double
// arithmetic on fixed inputs, so every build draws the same pixels.
#include "controls/NiceButtonImages.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "toolkit/Canvas.h"

namespace controls {
namespace {

using toolkit::Image;
using toolkit::Pixel;
using toolkit::rgb;

Pixel mix(Pixel a, Pixel b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    const auto channel = [t](int x, int y) { return static_cast<std::uint8_t>(std::nearbyint(x + (y - x) * t)); };
    return rgb(channel(toolkit::redOf(a), toolkit::redOf(b)), channel(toolkit::greenOf(a), toolkit::greenOf(b)),
               channel(toolkit::blueOf(a), toolkit::blueOf(b)));
}

// Coverage (0..1) of pixel (x, y) by a shape given as an inside test on points.
double coverage(int x, int y, const std::function<bool(double, double)>& inside) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0);
    return hits / 16.0;
}

bool inRoundedRect(double px, double py, double left, double top, double right, double bottom, double radius) {
    if (px < left || px > right || py < top || py > bottom) return false;
    const double cx = std::clamp(px, left + radius, right - radius);
    const double cy = std::clamp(py, top + radius, bottom - radius);
    const double dx = px - cx, dy = py - cy;
    return dx * dx + dy * dy <= radius * radius;
}

// Paints a rounded rectangle with a vertical gradient and a darker rim.
void capsule(Image& image, double left, double top, double right, double bottom, double radius, Pixel upper,
             Pixel lower, Pixel rim) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double outer = coverage(x, y, [&](double px, double py) {
                return inRoundedRect(px, py, left, top, right, bottom, radius);
            });
            if (outer <= 0.0) continue;
            const double inner = coverage(x, y, [&](double px, double py) {
                return inRoundedRect(px, py, left + 1.2, top + 1.2, right - 1.2, bottom - 1.2, radius - 1.2);
            });
            const Pixel face = mix(upper, lower, (y + 0.5 - top) / (bottom - top));
            const Pixel shaded = mix(rim, face, inner);
            image.at(x, y) = mix(image.at(x, y), shaded, outer);
        }
}

Image moved(const Image& source, int dx, int dy) {
    Image result(source.width, source.height, rgb(0, 0, 0));
    toolkit::Canvas(result).draw(source, dx, dy);
    return result;
}

Image plainFace(bool pressed) {
    Image image(66, 25, rgb(0, 0, 0));
    if (!pressed) {
        capsule(image, 0.5, 0.5, 65.5, 24.5, 11.5, rgb(225, 225, 225), rgb(125, 125, 125), rgb(60, 60, 60));
        // A soft highlight along the top of the capsule.
        toolkit::Canvas(image).fillRect(toolkit::Rect{12, 3, 54, 4}, rgb(240, 240, 240));
    } else {
        capsule(image, 1.5, 1.5, 65.5, 24.5, 11.0, rgb(120, 120, 120), rgb(190, 190, 190), rgb(40, 40, 40));
    }
    return image;
}

Image lampFace(bool lit) {
    Image image(66, 25, rgb(0, 0, 0));
    // 1. The metal frame: brushed grey, light at the top, with a bevelled rim.
    capsule(image, 0.0, 0.0, 66.0, 25.0, 3.0, rgb(235, 235, 235), rgb(110, 110, 110), rgb(70, 70, 70));
    // 2. The lamp window, sunk into the frame.
    capsule(image, 4.0, 4.0, 62.0, 21.0, 2.0, rgb(60, 60, 60), rgb(200, 200, 200), rgb(30, 30, 30));
    // 3. The lamp: dark red glass, or glowing from its centre outwards.
    for (int y = 5; y < 20; ++y)
        for (int x = 5; x < 61; ++x) {
            const double u = (x + 0.5 - 33.0) / 28.0, v = (y + 0.5 - 12.5) / 7.5;
            const double distance = std::sqrt(u * u + v * v);
            image.at(x, y) = lit ? mix(rgb(255, 150, 130), rgb(215, 0, 0), distance)
                                 : mix(rgb(110, 10, 10), rgb(55, 0, 0), distance);
        }
    return image;
}

Image peakFace() {
    Image image(27, 16, rgb(0, 0, 0));
    // A grey triangle pointing down (top edge at row 1, apex at row 14)...
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const auto inside = [](double px, double py) {
                if (py < 1.0 || py > 14.5) return false;
                const double halfWidth = 12.0 * (14.5 - py) / 13.5;
                return std::fabs(px - 13.5) <= halfWidth;
            };
            const double c = coverage(x, y, inside);
            if (c > 0.0) image.at(x, y) = mix(image.at(x, y), mix(rgb(215, 215, 215), rgb(110, 110, 110), y / 15.0), c);
        }
    // ... with a red ball in its upper middle.
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double c = coverage(x, y, [](double px, double py) {
                const double dx = px - 13.5, dy = py - 6.0;
                return dx * dx + dy * dy <= 3.6 * 3.6;
            });
            if (c <= 0.0) continue;
            const double dx = x + 0.5 - 12.5, dy = y + 0.5 - 5.0;
            const Pixel ball = mix(rgb(255, 170, 160), rgb(190, 0, 0), std::sqrt(dx * dx + dy * dy) / 4.0);
            image.at(x, y) = mix(image.at(x, y), ball, c);
        }
    return image;
}

}  // namespace

toolkit::ImageList makeLampButtonImages() {
    toolkit::ImageList list(66, 25);
    const Image unlit = lampFace(false), lit = lampFace(true);
    list.add(plainFace(false));
    list.add(plainFace(true));
    list.add(unlit);
    list.add(moved(unlit, 1, 1));
    list.add(lit);
    list.add(moved(lit, 1, 1));
    return list;
}

toolkit::ImageList makePeakButtonImages() {
    toolkit::ImageList list(27, 16);
    const Image face = peakFace();
    list.add(face);
    list.add(moved(face, 1, 1));
    return list;
}

}  // namespace controls
