// CanvasTests.cpp — the software renderer's pixel rules.
//
//   rectangles   half-open fills and frames, clipping
//   lines        Bresenham, start drawn, end point left out; polyline corners;
//                lines far outside the clip match the full walk
//   text         placement of the cell, transparency, measuring, bold vs regular
//   blend        the glyphs' coverage mixing, against exact levels
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "toolkit/Canvas.h"
#include "toolkit/Colors.h"
#include "toolkit/Png.h"

using namespace toolkit;

namespace {
constexpr Pixel paper = colors::white;
constexpr Pixel ink = colors::red;

int countInk(const Image& image, Pixel color) {
    int n = 0;
    for (Pixel p : image.pixels) n += p == color;
    return n;
}
}  // namespace

TEST(CanvasBlend, EachChannelIsRoundedToTheNearestLevel) {
    // (background x (255 - coverage) + colour x coverage) / 255, to the nearest:
    // red 3 x 128 / 255 = 1.51 -> 2, green 127 / 255 = 0.498 -> 0, blue 200 x 128 / 255 = 100.4 -> 100.
    EXPECT_EQ(blend(rgb(3, 0, 200), rgb(0, 1, 0), 127), rgb(2, 0, 100));
    // red 200 / 255 = 0.78 -> 1, green 255 x 200 / 255 = 200, blue 77 x 200 / 255 = 60.4 -> 60.
    EXPECT_EQ(blend(rgb(0, 0, 0), rgb(1, 255, 77), 200), rgb(1, 200, 60));
    // The ends: no coverage keeps the background, full coverage is the colour.
    EXPECT_EQ(blend(rgb(9, 8, 7), rgb(1, 2, 3), 0), rgb(9, 8, 7));
    EXPECT_EQ(blend(rgb(9, 8, 7), rgb(1, 2, 3), 255), rgb(1, 2, 3));
}

TEST(CanvasRectangles, FillCoversLeftTopButNotRightBottom) {
    Image image(10, 10, paper);
    Canvas canvas(image);
    canvas.fillRect(Rect{2, 3, 5, 7}, ink);
    EXPECT_EQ(image.at(2, 3), ink);
    EXPECT_EQ(image.at(4, 6), ink);
    EXPECT_EQ(image.at(5, 6), paper);
    EXPECT_EQ(image.at(4, 7), paper);
    EXPECT_EQ(image.at(1, 3), paper);
    EXPECT_EQ(countInk(image, ink), 3 * 4);
}

TEST(CanvasRectangles, FillIsClippedToImageAndSubCanvas) {
    Image image(8, 8, paper);
    Canvas canvas(image);
    canvas.fillRect(Rect{-5, -5, 3, 100}, ink);
    EXPECT_EQ(countInk(image, ink), 3 * 8);

    Image second(8, 8, paper);
    Canvas inner = Canvas(second).within(Rect{2, 2, 5, 5});
    inner.fillRect(Rect{-1, -1, 10, 10}, ink);  // clipped to the 3x3 area
    EXPECT_EQ(countInk(second, ink), 9);
    EXPECT_EQ(second.at(2, 2), ink);
    EXPECT_EQ(second.at(5, 5), paper);
}

TEST(CanvasRectangles, FrameIsOnePixelInsideTheRectangle) {
    Image image(6, 6, paper);
    Canvas(image).frameRect(Rect{1, 1, 5, 5}, ink);
    EXPECT_EQ(image.at(1, 1), ink);
    EXPECT_EQ(image.at(4, 4), ink);
    EXPECT_EQ(image.at(2, 2), paper);
    EXPECT_EQ(image.at(5, 5), paper);
    EXPECT_EQ(countInk(image, ink), 12);
}

TEST(CanvasLines, HorizontalAndVerticalOmitEndPoint) {
    Image image(10, 10, paper);
    Canvas canvas(image);
    canvas.line(1, 1, 6, 1, ink);
    EXPECT_EQ(image.at(1, 1), ink);
    EXPECT_EQ(image.at(5, 1), ink);
    EXPECT_EQ(image.at(6, 1), paper);
    canvas.line(8, 8, 8, 3, ink);  // upwards
    EXPECT_EQ(image.at(8, 8), ink);
    EXPECT_EQ(image.at(8, 4), ink);
    EXPECT_EQ(image.at(8, 3), paper);
    EXPECT_EQ(countInk(image, ink), 10);
}

TEST(CanvasLines, DiagonalAndShallowLinesHaveOnePixelPerMajorStep) {
    Image image(20, 20, paper);
    Canvas canvas(image);
    canvas.line(0, 0, 5, 5, ink);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(image.at(i, i), ink);
    EXPECT_EQ(image.at(5, 5), paper);
    Image shallow(20, 20, paper);
    Canvas(shallow).line(0, 10, 10, 13, ink);
    EXPECT_EQ(countInk(shallow, ink), 10);
    for (int x = 0; x < 10; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 20; ++y) inColumn += shallow.at(x, y) == ink;
        EXPECT_EQ(inColumn, 1) << "column " << x;
    }
    EXPECT_EQ(shallow.at(0, 10), ink);
}

TEST(CanvasLines, ZeroLengthLineDrawsNothing) {
    Image image(4, 4, paper);
    Canvas(image).line(2, 2, 2, 2, ink);
    EXPECT_EQ(countInk(image, ink), 0);
}

TEST(CanvasLines, PolylineDrawsEachCornerOnceAndOmitsLastPoint) {
    Image image(10, 10, paper);
    const Point points[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
    Canvas(image).polyline(points, 4, ink);
    EXPECT_EQ(image.at(6, 1), ink);  // corner drawn by the second segment
    EXPECT_EQ(image.at(6, 6), ink);
    EXPECT_EQ(image.at(1, 6), paper);  // the final point is left out
    EXPECT_EQ(countInk(image, ink), 15);
}

TEST(CanvasLines, MoveToLineToFollowsThePen) {
    Image image(10, 10, paper);
    Canvas canvas(image);
    canvas.moveTo(0, 5);
    canvas.lineTo(4, 5, ink);
    canvas.lineTo(4, 9, ink);
    EXPECT_EQ(image.at(4, 5), ink);
    EXPECT_EQ(image.at(4, 8), ink);
    EXPECT_EQ(image.at(4, 9), paper);
    EXPECT_EQ(countInk(image, ink), 8);
}

// The plain walk the clipped line must reproduce: every step, each pixel tested.
void referenceLine(Image& image, int x0, int y0, int x1, int y1, Pixel color) {
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int x = x0, y = y0;
    const auto plot = [&] {
        if (image.contains(x, y)) image.at(x, y) = color;
    };
    if (dx >= dy) {
        for (int error = 2 * dy - dx; x != x1; x += sx, error += 2 * dy) {
            plot();
            if (error > 0) y += sy, error -= 2 * dx;
        }
    } else {
        for (int error = 2 * dx - dy; y != y1; y += sy, error += 2 * dx) {
            plot();
            if (error > 0) x += sx, error -= 2 * dy;
        }
    }
}

TEST(CanvasLines, LinesReachingFarOutsideMatchTheFullWalk) {
    // Ends up to 20000 pixels outside a 64 x 48 image, through sub-canvases with
    // an origin and a clip, in every direction.
    std::uint32_t seed = 12345;
    const auto next = [&](int range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(2 * range + 1)) - range;
    };
    for (int round = 0; round < 3000; ++round) {
        const int range = round % 3 == 0 ? 80 : (round % 3 == 1 ? 400 : 20000);
        const int x0 = next(range), y0 = next(range), x1 = next(range), y1 = next(range);
        Image fast(64, 48, paper), slow(64, 48, paper);
        Canvas(fast).within(Rect{5, 4, 60, 40}).line(x0, y0, x1, y1, ink);
        Image inner(55, 36, paper);
        referenceLine(inner, x0, y0, x1, y1, ink);
        Canvas(slow).drawPart(inner, Rect{0, 0, 55, 36}, 5, 4);
        ASSERT_EQ(fast.pixels, slow.pixels) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
}

TEST(CanvasCopies, DrawPartCopiesTheAreaAndClips) {
    Image source(4, 4, colors::black);
    source.at(1, 1) = ink;
    source.at(2, 2) = colors::lime;
    Image target(5, 5, paper);
    Canvas(target).drawPart(source, Rect{1, 1, 3, 3}, 3, 3);
    EXPECT_EQ(target.at(3, 3), ink);
    EXPECT_EQ(target.at(4, 4), colors::lime);
    EXPECT_EQ(target.at(2, 2), paper);
}

TEST(CanvasText, CellStartsAtTheGivenPointAndBackgroundStays) {
    Image image(120, 40, paper);
    Canvas canvas(image);
    const Font font{19, false, colors::black};
    const TextExtent extent = Canvas::textExtent("Hz", font);
    canvas.textOut(10, 5, "Hz", font);
    int minX = 1000, minY = 1000, maxX = -1, maxY = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y) != paper) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    // Ink lies inside the measured cell; the capital H reaches near its left.
    EXPECT_GE(minX, 10);
    EXPECT_LE(minX, 13);
    EXPECT_LT(maxX, 10 + extent.width);
    EXPECT_GT(minY, 5);  // the cell's ascent has room above the capitals
    EXPECT_LT(maxY, 5 + extent.height);
    EXPECT_EQ(image.at(0, 0), paper);
    EXPECT_EQ(image.at(10 + extent.width / 2, 5), paper);  // transparent background
}

TEST(CanvasText, SizeIsTheEmHeightAndBoldIsWider) {
    const TextExtent regular = Canvas::textExtent("Normal", Font{19, false});
    const TextExtent bold = Canvas::textExtent("Normal", Font{19, true});
    // Arial's cell is about 1.15 em high.
    EXPECT_NEAR(regular.height, 21.2, 0.5);
    EXPECT_GT(bold.width, regular.width);
    EXPECT_EQ(Canvas::textExtent("", Font{19}).width, 0);
    EXPECT_EQ(Canvas::textExtent("AB", Font{13}).width,
              Canvas::textExtent("A", Font{13}).width + Canvas::textExtent("B", Font{13}).width);
}

TEST(CanvasText, Latin1AndUtf8DegreeSignMeasureAlike) {
    const Font font{13};
    EXPECT_EQ(Canvas::textExtent("0\xBA", font).width, Canvas::textExtent("0\xC2\xBA", font).width);
    EXPECT_GT(Canvas::textExtent("\xBA", font).width, 0);
}

TEST(CanvasText, SavedSampleForInspection) {
    Image image(240, 70, colors::black);
    Canvas canvas(image);
    canvas.fillRect(Rect{5, 5, 235, 65}, colors::white);
    canvas.frameRect(Rect{5, 5, 235, 65}, colors::gray);
    canvas.textOut(10, 8, "0,440.00 Hz", Font{19, false, colors::maroon});
    canvas.textOut(10, 32, "A# 3  +12.5 \xBA", Font{19, true, colors::black});
    canvas.textOut(150, 10, "Normal", Font{11, false, colors::navy});
    const Point zig[] = {{150, 40}, {170, 60}, {190, 40}, {210, 60}, {230, 40}};
    canvas.polyline(zig, 5, colors::red);
    EXPECT_TRUE(savePng(image, std::string(TOOLKIT_TEST_OUTPUT_DIR) + "/canvas_text.png"));
}
