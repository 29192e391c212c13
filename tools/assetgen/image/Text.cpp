#include "image/Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

bool setSize(const Font& font, int pixelSize) {
    return FT_Set_Pixel_Sizes(font.face, 0, FT_UInt(pixelSize)) == 0;
}

// Blits the rendered glyph bitmap with its top-left at (left, top).
void blitGlyph(Field& target, const FT_Bitmap& bitmap, int left, int top) {
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = top + int(row);
        if (y < 0 || y >= target.height) continue;
        const unsigned char* src = bitmap.buffer + row * unsigned(bitmap.pitch);
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int x = left + int(col);
            if (x < 0 || x >= target.width) continue;
            float& dst = target.at(x, y);
            dst = std::max(dst, float(src[col]) / 255.0f);
        }
    }
}

// Walks the line glyph by glyph with kerning; visit(glyphSlot, penX) for each.
template <class Visit>
int walkLine(const Font& font, std::string_view text, bool render, Visit visit) {
    FT_Face face = font.face;
    const bool kerning = FT_HAS_KERNING(face);
    FT_UInt previous = 0;
    long pen = 0; // 26.6 fixed point
    for (const char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(static_cast<unsigned char>(ch)));
        if (kerning && previous && index) {
            FT_Vector delta{};
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &delta);
            pen += delta.x;
        }
        if (FT_Load_Glyph(face, index, render ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0) continue;
        visit(face->glyph, int(pen >> 6));
        pen += face->glyph->advance.x;
        previous = index;
    }
    return int((pen + 32) >> 6);
}

} // namespace

Font::~Font() { close(); }

Font::Font(Font&& other) noexcept
    : face(std::exchange(other.face, nullptr)), library(std::exchange(other.library, nullptr)) {}

Font& Font::operator=(Font&& other) noexcept {
    if (this != &other) {
        close();
        face = std::exchange(other.face, nullptr);
        library = std::exchange(other.library, nullptr);
    }
    return *this;
}

bool Font::open(const std::string& path) {
    close();
    if (FT_Init_FreeType(&library) != 0) {
        std::fputs("assetgen: FreeType failed to initialise\n", stderr);
        library = nullptr;
        return false;
    }
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "assetgen: cannot load font %s\n", path.c_str());
        face = nullptr;
        close();
        return false;
    }
    return true;
}

void Font::close() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
    face = nullptr;
    library = nullptr;
}

TextMetrics measureText(const Font& font, std::string_view text, int pixelSize) {
    TextMetrics m;
    if (!font.isOpen() || !setSize(font, pixelSize)) return m;
    m.width = walkLine(font, text, false, [](FT_GlyphSlot, int) {});
    m.ascender = int((font.face->size->metrics.ascender + 63) >> 6);
    m.descender = int((-font.face->size->metrics.descender + 63) >> 6);
    return m;
}

int fitPixelSize(const Font& font, std::string_view text, int maxWidth, int maxPixelSize) {
    int size = maxPixelSize;
    while (size > 4 && measureText(font, text, size).width > maxWidth) --size;
    return size;
}

void drawText(Field& target, const Font& font, std::string_view text, int pixelSize, int x, int baseline) {
    if (!font.isOpen() || !setSize(font, pixelSize)) return;
    walkLine(font, text, true, [&](FT_GlyphSlot slot, int penX) {
        blitGlyph(target, slot->bitmap, x + penX + slot->bitmap_left, baseline - slot->bitmap_top);
    });
}

void drawTextCentred(Field& target, const Font& font, std::string_view text, int pixelSize, int centreX,
                     int baseline) {
    const TextMetrics m = measureText(font, text, pixelSize);
    drawText(target, font, text, pixelSize, centreX - m.width / 2, baseline);
}

Field glyphAtlas(const Font& font, int size, int columns, int firstCode) {
    Field atlas(size, size);
    const int cell = size / columns;
    // Leave a margin so that linear filtering of one cell never picks up its neighbour.
    const int pixelSize = cell * 3 / 4;
    if (!font.isOpen() || !setSize(font, pixelSize)) return atlas;
    const int ascender = int(font.face->size->metrics.ascender >> 6);
    const int descender = int(-font.face->size->metrics.descender >> 6);
    const int baselineInCell = (cell - (ascender + descender)) / 2 + ascender;
    for (int i = 0; i < columns * columns; ++i) {
        const FT_UInt index = FT_Get_Char_Index(font.face, FT_ULong(firstCode + i));
        if (index == 0 || FT_Load_Glyph(font.face, index, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot slot = font.face->glyph;
        const int cellX = (i % columns) * cell;
        const int cellY = (i / columns) * cell;
        const int advance = int(slot->advance.x >> 6);
        blitGlyph(atlas, slot->bitmap, cellX + (cell - advance) / 2 + slot->bitmap_left,
                  cellY + baselineInCell - slot->bitmap_top);
    }
    return atlas;
}
