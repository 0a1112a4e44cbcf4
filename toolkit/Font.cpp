// Font.cpp — glyph rasterisation with stb_truetype over the embedded faces.
//
//   faceInfo       the parsed Regular or Bold face (parsed once)
//   SizedFace      per-size metrics and glyph bitmaps, made on first use
//   sizedFace      the process-wide cache of sized faces
//   measureText    width as the sum of whole-pixel advances, height = cell height
//   nextCodepoint  UTF-8 decoding with a Latin-1 fallback
#include "toolkit/Font.h"

#include <cmath>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

namespace toolkit {
namespace embedded {
extern const unsigned char liberationSansRegular[];
extern const unsigned long liberationSansRegularSize;
extern const unsigned char liberationSansBold[];
extern const unsigned long liberationSansBoldSize;
}  // namespace embedded

namespace {

const stbtt_fontinfo& faceInfo(bool bold) {
    struct Face {
        explicit Face(const unsigned char* data) {
            stbtt_InitFont(&info, data, stbtt_GetFontOffsetForIndex(data, 0));
        }
        stbtt_fontinfo info{};
    };
    static const Face regular(embedded::liberationSansRegular);
    static const Face boldFace(embedded::liberationSansBold);
    return bold ? boldFace.info : regular.info;
}

int roundToInt(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

SizedFace::SizedFace(bool bold, int size) : bold_(bold), size_(size < 1 ? 1 : size), latin_(256) {
    const stbtt_fontinfo& info = faceInfo(bold_);
    scale_ = stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(size_));
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    ascent_ = roundToInt(ascent * scale_);
    descent_ = roundToInt(-descent * scale_);
}

const Glyph& SizedFace::glyph(std::uint32_t codepoint) {
    if (codepoint < latin_.size()) {
        auto& slot = latin_[codepoint];
        if (!slot) slot = std::make_unique<Glyph>(rasterise(codepoint));
        return *slot;
    }
    for (auto& entry : others_)
        if (entry.first == codepoint) return *entry.second;
    others_.emplace_back(codepoint, std::make_unique<Glyph>(rasterise(codepoint)));
    return *others_.back().second;
}

Glyph SizedFace::rasterise(std::uint32_t codepoint) const {
    const stbtt_fontinfo& info = faceInfo(bold_);
    const float scale = static_cast<float>(scale_);
    Glyph glyph;
    int advance = 0, leftBearing = 0;
    stbtt_GetCodepointHMetrics(&info, static_cast<int>(codepoint), &advance, &leftBearing);
    glyph.advance = roundToInt(advance * scale_);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetCodepointBitmapBox(&info, static_cast<int>(codepoint), scale, scale, &x0, &y0, &x1, &y1);
    if (x1 > x0 && y1 > y0) {
        glyph.offsetX = x0;
        glyph.offsetY = y0;
        glyph.width = x1 - x0;
        glyph.height = y1 - y0;
        glyph.coverage.assign(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height), 0);
        stbtt_MakeCodepointBitmap(&info, glyph.coverage.data(), glyph.width, glyph.height, glyph.width, scale, scale,
                                  static_cast<int>(codepoint));
    }
    return glyph;
}

SizedFace& sizedFace(bool bold, int size) {
    static std::vector<std::unique_ptr<SizedFace>> faces;
    for (auto& face : faces)
        if (face->bold() == bold && face->size() == size) return *face;
    faces.push_back(std::make_unique<SizedFace>(bold, size));
    return *faces.back();
}

std::uint32_t nextCodepoint(std::string_view text, std::size_t& position) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t first = byte(position);
    int extra = 0;
    std::uint32_t code = first;
    if (first >= 0xC2 && first <= 0xDF) {
        extra = 1;
        code = first & 0x1Fu;
    } else if (first >= 0xE0 && first <= 0xEF) {
        extra = 2;
        code = first & 0x0Fu;
    } else if (first >= 0xF0 && first <= 0xF4) {
        extra = 3;
        code = first & 0x07u;
    }
    if (extra > 0 && position + static_cast<std::size_t>(extra) < text.size()) {
        bool valid = true;
        std::uint32_t value = code;
        for (int i = 1; i <= extra; ++i) {
            const std::uint8_t next = byte(position + static_cast<std::size_t>(i));
            if ((next & 0xC0u) != 0x80u) {
                valid = false;
                break;
            }
            value = (value << 6) | (next & 0x3Fu);
        }
        if (valid) {
            position += static_cast<std::size_t>(extra) + 1;
            return value;
        }
    }
    ++position;
    return first;  // ASCII, or a Latin-1 byte outside a valid sequence
}

TextExtent measureText(std::string_view text, const Font& font) {
    SizedFace& face = sizedFace(font.bold, font.size);
    TextExtent extent{0, face.cellHeight()};
    for (std::size_t i = 0; i < text.size();) extent.width += face.glyph(nextCodepoint(text, i)).advance;
    return extent;
}

}  // namespace toolkit
