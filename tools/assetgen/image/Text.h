#pragma once
// Text rendered with FreeType into coverage fields (0 = empty, 1 = fully inked). Glyphs are
// hinted and anti-aliased by FreeType itself, which is deterministic for a given font file.

#include "image/Image.h"

#include <string>
#include <string_view>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// One font face with its own FreeType library instance. Move-only; closes itself.
class Font {
  public:
    Font() = default;
    ~Font();
    Font(Font&& other) noexcept;
    Font& operator=(Font&& other) noexcept;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Opens a font file; false (after printing why) when FreeType cannot load it.
    bool open(const std::string& path);
    bool isOpen() const { return face != nullptr; }

    FT_FaceRec_* face = nullptr;

  private:
    void close();
    FT_LibraryRec_* library = nullptr;
};

struct TextMetrics {
    int width = 0;     // advance width of the whole line, pixels
    int ascender = 0;  // pixels above the baseline
    int descender = 0; // pixels below the baseline (positive)
};

// Characters are taken byte by byte as Latin-1 code points.
TextMetrics measureText(const Font& font, std::string_view text, int pixelSize);
// Largest size up to maxPixelSize at which the line fits in maxWidth pixels.
int fitPixelSize(const Font& font, std::string_view text, int maxWidth, int maxPixelSize);
// Inks one line with its pen starting at (x, baseline); coverage is combined with max().
void drawText(Field& target, const Font& font, std::string_view text, int pixelSize, int x, int baseline);
// The same, centred horizontally on centreX.
void drawTextCentred(Field& target, const Font& font, std::string_view text, int pixelSize, int centreX,
                     int baseline);

// A square atlas of columns x columns cells holding code points firstCode, firstCode + 1, ...
// row by row from the top-left, each glyph centred in its cell on a common baseline.
Field glyphAtlas(const Font& font, int size, int columns, int firstCode);
