// Font.h — text faces, sizes and the glyph cache behind Canvas::textOut.
//
//   Font        what a control asks for: size (em height in pixels), bold, colour
//   TextExtent  the width and cell height of a measured string
//   FontCache   rasterised glyphs per face and size, built once and reused
//
// The faces are Liberation Sans Regular and Bold (metric-compatible with Arial),
// compiled into the library. A size is the character height in pixels, as a
// negative font height gives it on Windows: the em square maps onto `size` rows.
// Text is 8-bit or UTF-8; codes 0x80..0xFF that are not part of a valid UTF-8
// sequence are taken as Latin-1, so the plug-ins' "º" and "±" work either way.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "toolkit/Image.h"

namespace toolkit {

struct Font {
    int size = 13;
    bool bold = false;
    Pixel color = rgb(0, 0, 0);

    bool operator==(const Font& o) const { return size == o.size && bold == o.bold && color == o.color; }
    bool operator!=(const Font& o) const { return !(*this == o); }
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// One rasterised glyph: 8-bit coverage, placed relative to the pen on the baseline.
struct Glyph {
    int advance = 0;  // whole pixels, as GDI spaces unkerned text
    int offsetX = 0;
    int offsetY = 0;  // from the baseline to the bitmap's top row (negative = above)
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
};

// The glyphs of one face at one size.
class SizedFace {
public:
    SizedFace(bool bold, int size);
    const Glyph& glyph(std::uint32_t codepoint);
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int cellHeight() const { return ascent_ + descent_; }
    bool bold() const { return bold_; }
    int size() const { return size_; }

private:
    Glyph rasterise(std::uint32_t codepoint) const;

    bool bold_;
    int size_;
    double scale_;
    int ascent_;
    int descent_;
    std::vector<std::unique_ptr<Glyph>> latin_;  // codes 0..255, made on first use
    std::vector<std::pair<std::uint32_t, std::unique_ptr<Glyph>>> others_;
};

// Process-wide cache of sized faces; one entry per (bold, size) ever used.
// Used by the thread that draws the panels (the user-interface thread).
SizedFace& sizedFace(bool bold, int size);

// Measures a string as GDI's text extent does: the sum of the advances, and
// the font's cell height (ascent + descent).
TextExtent measureText(std::string_view text, const Font& font);

// Decodes the next character of `text` at `position` (UTF-8, Latin-1 fallback)
// and moves `position` past it.
std::uint32_t nextCodepoint(std::string_view text, std::size_t& position);

}  // namespace toolkit
