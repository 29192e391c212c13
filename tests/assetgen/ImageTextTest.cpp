#include "image/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

Font openSans() {
    Font font;
    EXPECT_TRUE(font.open(std::string(ASSETGEN_FONT_DIR) + "/DejaVuSans.ttf"));
    return font;
}

// Bounding box of the inked pixels; empty (x0 > x1) when nothing is inked.
struct Ink {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    float total = 0.0f;
};

Ink inkOf(const Field& f, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
    if (x1 < 0) x1 = f.width;
    if (y1 < 0) y1 = f.height;
    Ink ink;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (f.at(x, y) > 0.0f) {
                ink.x0 = std::min(ink.x0, x);
                ink.y0 = std::min(ink.y0, y);
                ink.x1 = std::max(ink.x1, x);
                ink.y1 = std::max(ink.y1, y);
                ink.total += f.at(x, y);
            }
    return ink;
}

TEST(FontLoading, MissingFileIsReportedNotFatal) {
    Font font;
    EXPECT_FALSE(font.open("/nonexistent/font.ttf"));
    EXPECT_FALSE(font.isOpen());
}

TEST(TextRendering, InkStaysWithinTheMeasuredLine) {
    const Font font = openSans();
    Field f(256, 64);
    const TextMetrics m = measureText(font, "Quill", 32);
    drawText(f, font, "Quill", 32, 20, 40);
    const Ink ink = inkOf(f);
    ASSERT_LE(ink.x0, ink.x1);
    EXPECT_GE(ink.x0, 20);
    EXPECT_LE(ink.x1, 20 + m.width + 2);
    EXPECT_GE(ink.y0, 40 - m.ascender);
    EXPECT_LE(ink.y1, 40 + m.descender);
    // "Q" reaches below the baseline.
    EXPECT_GT(ink.y1, 40);
}

TEST(TextRendering, CentredTextIsBalancedAroundTheCentre) {
    const Font font = openSans();
    Field f(256, 64);
    drawTextCentred(f, font, "MOTH", 30, 128, 45);
    const Ink ink = inkOf(f);
    EXPECT_NEAR((ink.x0 + ink.x1) * 0.5, 128.0, 3.0);
}

TEST(TextRendering, LongerTextIsWiderAndFittingShrinksIt) {
    const Font font = openSans();
    EXPECT_GT(measureText(font, "VANTABLIP", 40).width, measureText(font, "VANTA", 40).width);
    const int size = fitPixelSize(font, "TINDERWICK", 200, 80);
    EXPECT_LT(size, 80);
    EXPECT_LE(measureText(font, "TINDERWICK", size).width, 200);
    EXPECT_GT(measureText(font, "TINDERWICK", size + 1).width, 200);
}

TEST(GlyphAtlas, EachCodeSitsInsideItsOwnCell) {
    const Font font = openSans();
    const Field atlas = glyphAtlas(font, 256, 16, 0);
    const int cell = 16;
    // 'A' is code 65: row 4, column 1. Control codes 0 to 31 have no glyph.
    const Ink a = inkOf(atlas, 1 * cell, 4 * cell, 2 * cell, 5 * cell);
    EXPECT_GT(a.total, 10.0f);
    EXPECT_GT(a.x0, 1 * cell);
    EXPECT_LT(a.x1, 2 * cell - 1);
    EXPECT_EQ(inkOf(atlas, 0, 0, 256, 2 * cell).total, 0.0f);
    // The space (code 32) is blank, '!' next to it is not.
    EXPECT_EQ(inkOf(atlas, 0, 2 * cell, cell, 3 * cell).total, 0.0f);
    EXPECT_GT(inkOf(atlas, cell, 2 * cell, 2 * cell, 3 * cell).total, 0.0f);
}

} // namespace
