// PanelArtwork.cpp — wood grain, sunken boxes, the cents scale, the lamp and the button glyphs.
#include "tuner/PanelArtwork.h"

#include <cstdint>
#include <cstdlib>

namespace tonemark {

namespace {

using toolkit::Image;
using toolkit::Pixel;

std::uint32_t hash(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// A value from 0 to 255 that changes smoothly along `position`, with lattice
// points `period` apart; `seed` picks the curve.
int smoothNoise(int position, int period, std::uint32_t seed) {
    const int cell = position >= 0 ? position / period : -((-position + period - 1) / period);
    const int offset = position - cell * period;
    const int a = static_cast<int>(hash(static_cast<std::uint32_t>(cell) * 2654435761u + seed) & 0xFF);
    const int b = static_cast<int>(hash(static_cast<std::uint32_t>(cell + 1) * 2654435761u + seed) & 0xFF);
    // Smoothstep in integers: weight = 3t² − 2t³ with t = offset / period, scaled to 0..256.
    const int t = offset * 256 / period;
    const int weight = (3 * t * t * 256 - 2 * t * t * t) / (256 * 256);
    return a + (b - a) * weight / 256;
}

int clampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

Pixel mix(Pixel from, Pixel to, int amount /* 0..256 */) {
    const int r = toolkit::redOf(from) + (toolkit::redOf(to) - toolkit::redOf(from)) * amount / 256;
    const int g = toolkit::greenOf(from) + (toolkit::greenOf(to) - toolkit::greenOf(from)) * amount / 256;
    const int b = toolkit::blueOf(from) + (toolkit::blueOf(to) - toolkit::blueOf(from)) * amount / 256;
    return toolkit::rgb(static_cast<std::uint8_t>(clampByte(r)), static_cast<std::uint8_t>(clampByte(g)),
                        static_cast<std::uint8_t>(clampByte(b)));
}

void fill(Image& image, int left, int top, int width, int height, Pixel colour) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if (image.contains(x, y)) image.at(x, y) = colour;
}

void put(Image& image, int x, int y, Pixel colour) {
    if (image.contains(x, y)) image.at(x, y) = colour;
}

// Glyph pictures keep a transparent background (alpha 0) so that the button's own
// colour shows round them.
Image transparent(int width, int height) { return Image(width, height, 0x00000000u); }

}  // namespace

Image woodGrain(int width, int height) {
    Image image(width, height);
    const Pixel dark = toolkit::rgb(84, 45, 20);
    const Pixel middle = toolkit::rgb(139, 86, 44);
    const Pixel light = toolkit::rgb(178, 120, 66);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // 1. The grain runs lengthwise; slow bends along x move the rings up and down.
            const int bend = smoothNoise(x, 97, 11u) * 5 + smoothNoise(x, 31, 23u) + smoothNoise(x + y * 3, 173, 5u) * 2;
            const int phase = y * 64 + bend * 2;
            // 2. Each ring is a soft light band with a sharp dark line at its edge.
            const int ring = (phase % 1280 + 1280) % 1280;
            int shade = ring < 1100 ? ring * 256 / 1100 : (1280 - ring) * 256 / 180;
            // 3. Fine fibres: short streaks along x.
            const int fibre = static_cast<int>(hash(static_cast<std::uint32_t>((x / 7) * 7919 + y * 104729)) & 31) - 16;
            shade = clampByte(shade + fibre);
            Pixel colour = shade < 128 ? mix(dark, middle, shade * 2) : mix(middle, light, (shade - 128) * 2);
            image.at(x, y) = colour;
        }
    }
    return image;
}

int scaleMarkX(double cents, int width) {
    // The pointer's left edge on the box is round(width·(cents + 50)/100); the
    // picture sits one pixel in, so its mark is one pixel to the left.
    const double position = static_cast<double>(width) * (cents + 50.0) / 100.0;
    return static_cast<int>(position + (position >= 0.0 ? 0.5 : -0.5)) - 1;
}

Image centsScale(int width, int height) {
    Image image(width, height, colours::scalePaper);
    // 1. A pale green band for ±5 cents, where the note counts as in tune.
    const int bandLeft = scaleMarkX(-5.0, width);
    const int bandRight = scaleMarkX(5.0, width);
    fill(image, bandLeft + 1, height / 2, bandRight - bandLeft - 1, height - height / 2,
         toolkit::rgb(208, 236, 200));
    // 2. A base line and the marks every 12.5 cents, standing on it; the middle one longer.
    fill(image, 0, height - 2, width, 1, colours::grey);
    for (int step = -3; step <= 3; ++step) {
        const int x = scaleMarkX(12.5 * step, width);
        const int length = step == 0 ? height / 2 + 4 : (step % 2 == 0 ? height / 3 + 2 : height / 4);
        fill(image, x, height - 2 - length, 1, length, colours::black);
    }
    // 3. Small marks every 2.5 cents between them.
    for (int tenth = -20; tenth <= 20; ++tenth) {
        if (tenth % 5 == 0) continue;
        const int x = scaleMarkX(2.5 * tenth, width);
        fill(image, x, height - 6, 1, 4, colours::grey);
    }
    return image;
}

Image infoGlyph(int width, int height) {
    Image glyph = transparent(width, height);
    // A lower-case i in silver: a dot and a stem with a foot.
    const int cx = width / 2;
    fill(glyph, cx - 1, 2, 2, 2, colours::silver);
    fill(glyph, cx - 1, 6, 2, height - 9, colours::silver);
    fill(glyph, cx - 2, 6, 1, 1, colours::silver);
    fill(glyph, cx - 2, height - 3, 5, 1, colours::silver);
    return glyph;
}

Image helpGlyph(int width, int height) {
    Image glyph = transparent(width, height);
    // A question mark in a silver ring.
    const int size = width < height ? width : height;
    const int left = (width - size) / 2;
    const int top = (height - size) / 2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int dx = 2 * x + 1 - size;
            const int dy = 2 * y + 1 - size;
            const int distance = dx * dx + dy * dy;
            if (distance <= size * size && distance > (size - 3) * (size - 3))
                put(glyph, left + x, top + y, colours::silver);
        }
    }
    const int cx = left + size / 2;
    const int cy = top + size / 2;
    const Pixel ink = toolkit::rgb(255, 255, 160);
    fill(glyph, cx - 3, cy - 6, 6, 2, ink);  // the arch
    fill(glyph, cx - 4, cy - 5, 2, 3, ink);
    fill(glyph, cx + 2, cy - 5, 2, 4, ink);
    fill(glyph, cx, cy - 2, 2, 2, ink);
    fill(glyph, cx - 1, cy, 2, 2, ink);      // the stem
    fill(glyph, cx - 1, cy + 3, 2, 2, ink);  // the dot
    return glyph;
}

Image hideGlyph(int width, int height) {
    Image glyph = transparent(width, height);
    // A green check mark, the look of an OK button that puts the strip away.
    const Pixel ink = toolkit::rgb(0, 160, 0);
    const int cx = width / 2 - 1;
    const int cy = height / 2 + 3;
    for (int i = 0; i < 4; ++i) fill(glyph, cx - 4 + i, cy - 3 + i, 2, 2, ink);
    for (int i = 0; i < 7; ++i) fill(glyph, cx - 1 + i, cy - i, 2, 2, ink);
    return glyph;
}

}  // namespace tonemark
