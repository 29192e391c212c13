#include "mesh/GlyphOutline.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>

namespace {

// Collects one glyph's contours in font units while FreeType walks its outline.
struct OutlineSink {
    std::vector<Contour> contours;
    Vec2d pen{};
    int steps = 4;
};

Vec2d toVec(const FT_Vector* v) { return {static_cast<double>(v->x), static_cast<double>(v->y)}; }

int onMoveTo(const FT_Vector* to, void* user) {
    auto& s = *static_cast<OutlineSink*>(user);
    s.contours.emplace_back();
    s.pen = toVec(to);
    s.contours.back().push_back(s.pen);
    return 0;
}

int onLineTo(const FT_Vector* to, void* user) {
    auto& s = *static_cast<OutlineSink*>(user);
    s.pen = toVec(to);
    s.contours.back().push_back(s.pen);
    return 0;
}

int onConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto& s = *static_cast<OutlineSink*>(user);
    const Vec2d p0 = s.pen, p1 = toVec(control), p2 = toVec(to);
    for (int i = 1; i <= s.steps; ++i) {
        const double t = static_cast<double>(i) / s.steps;
        const double u = 1.0 - t;
        s.contours.back().push_back(p0 * (u * u) + p1 * (2 * u * t) + p2 * (t * t));
    }
    s.pen = p2;
    return 0;
}

int onCubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto& s = *static_cast<OutlineSink*>(user);
    const Vec2d p0 = s.pen, p1 = toVec(c1), p2 = toVec(c2), p3 = toVec(to);
    for (int i = 1; i <= s.steps; ++i) {
        const double t = static_cast<double>(i) / s.steps;
        const double u = 1.0 - t;
        s.contours.back().push_back(p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) +
                                    p3 * (t * t * t));
    }
    s.pen = p3;
    return 0;
}

// Drops repeated points and the closing duplicate of the first point.
Contour cleaned(const Contour& c) {
    Contour out;
    for (const Vec2d& p : c)
        if (out.empty() || length(p - out.back()) > 1e-9) out.push_back(p);
    while (out.size() > 1 && length(out.front() - out.back()) <= 1e-9) out.pop_back();
    return out;
}

} // namespace

TextOutline layoutText(const std::string& fontFile, const std::string& text, int curveSteps,
                       double letterSpacing, std::string& error) {
    TextOutline result;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library)) {
        error = "FreeType did not start";
        return result;
    }
    if (FT_New_Face(library, fontFile.c_str(), 0, &face)) {
        error = "cannot read font " + fontFile;
        FT_Done_FreeType(library);
        return result;
    }
    const double em = face->units_per_EM;
    FT_Outline_Funcs funcs{};
    funcs.move_to = onMoveTo;
    funcs.line_to = onLineTo;
    funcs.conic_to = onConicTo;
    funcs.cubic_to = onCubicTo;
    double penX = 0.0;
    FT_UInt previous = 0;
    result.ascent = 0.0;
    result.descent = 0.0;
    for (char ch : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<FT_ULong>(static_cast<unsigned char>(ch)));
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector kern{};
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNSCALED, &kern);
            penX += kern.x / em;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING)) continue;
        OutlineSink sink;
        sink.steps = curveSteps;
        FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
        for (const Contour& raw : sink.contours) {
            Contour c = cleaned(raw);
            if (c.size() < 3) continue;
            for (Vec2d& p : c) {
                p = {penX + p.x / em, p.y / em};
                result.ascent = std::max(result.ascent, p.y);
                result.descent = std::min(result.descent, p.y);
            }
            result.contours.push_back(std::move(c));
        }
        penX += face->glyph->advance.x / em + letterSpacing;
        previous = glyph;
    }
    result.width = penX - letterSpacing;
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return result;
}
