#pragma once
// Text outlines from a FreeType font: each glyph's contours, curves flattened to line segments,
// laid out along a baseline with the font's advances and kerning. Units: one em = 1.

#include "mesh/Extrude.h"

#include <string>
#include <vector>

struct TextOutline {
    std::vector<Contour> contours;
    double width = 0.0;   // advance of the whole line
    double ascent = 0.0;  // highest point above the baseline
    double descent = 0.0; // lowest point below the baseline (negative or 0)
};

// Lays out text (ASCII) with the font file; curveSteps segments per quadratic or cubic arc.
// Returns an empty outline and sets error when the font cannot be read.
TextOutline layoutText(const std::string& fontFile, const std::string& text, int curveSteps,
                       double letterSpacing, std::string& error);
