// Title words and greetings: FreeType outlines extruded into closed solids in the file's x-z
// plane, reading left to right with +z up, front facing -y (towards the scenes' cameras).
#include "mesh/GlyphOutline.h"
#include "mesh/Projection.h"
#include "recipes/ModelCatalog.h"
#include "recipes/ModelCavePath.h"

#include <cstdio>
#include <string>

namespace {

std::string fontPath(const char* file) { return std::string(ASSETGEN_FONT_DIR) + "/" + file; }

struct TextStyle {
    const char* font;
    double depth;      // extrusion depth as a fraction of the cap height
    double maxCapEdge; // cap refinement, as a fraction of the cap height (0: none)
};

// Lays out text so that `reference` (laid out the same way) would span `width`, then centres the
// result on the origin: x about the middle of the line, z about the middle of the capitals.
Mesh extrudedText(const std::string& text, const std::string& reference, double width, const TextStyle& style,
                  int curveSteps) {
    std::string error;
    const TextOutline ref = layoutText(fontPath(style.font), reference, curveSteps, 0.02, error);
    TextOutline line = layoutText(fontPath(style.font), text, curveSteps, 0.02, error);
    if (!error.empty() || ref.width <= 0.0) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return {};
    }
    const double scale = width / ref.width;
    const double capHeight = ref.ascent * scale;
    for (Contour& c : line.contours)
        for (Vec2d& p : c) p = {(p.x - line.width * 0.5) * scale, p.y * scale - capHeight * 0.5};
    Mesh m = extrudeContours(line.contours, style.depth * capHeight, style.maxCapEdge * capHeight).mesh;
    return m;
}

const TextStyle kPlainTitle{"DejaVuSans-Bold.ttf", 0.35, 0.35};
const TextStyle kSecondTitle{"DejaVuSerif-Bold.ttf", 0.35, 0.35};
const TextStyle kGreeting{"DejaVuSans-Bold.ttf", 0.6, 0.0};
constexpr std::size_t kGreetingFaces = 900;
// World units: wide enough to fill a third of the frame from 35 units away, narrow enough to stand
// in the hall the cave opens round it, beside the flight. The last is seen only as the camera
// passes it, late in its window, so it is wider and stays large over more of the pass.
constexpr double kGreetingWidths[5] = {24.0, 24.0, 24.0, 20.0, 31.5};

} // namespace

// Title words (x2.5 in the title scene, x7 in the closing one). Each word is sized for the
// distance the title camera keeps from it: CASTRELLE and DEMO are watched from 1.6 to 3 units,
// CALLED from about 3.2, QUILLMERE from about 5, so at their calmest each fills a good half of
// the frame's width. The title scene scales texture coordinates by 0.06.
Mesh buildTitleWord(const std::string& word, TitleStyle style, double width) {
    Mesh m = extrudedText(word, word, width, style == TitleStyle::Plain ? kPlainTitle : kSecondTitle, 4);
    // Both axes lean into the depth, so the letters' side walls (seen when the words bend) carry
    // the same stone as their faces instead of one texel column smeared into stripes.
    projectPlanar(m, {1, 0.7, 0}, {0, 0.7, 1}, 12.0);
    return m;
}

const std::vector<std::string>& greetedGroups() {
    static const std::vector<std::string> groups = {"Nullmoth", "Quartzo", "Lumenkin", "Hexgrove",
                                                    "Tidewire"};
    return groups;
}

// Greetings: each name spans its width in kGreetingWidths at the scale the cave loads it with,
// centred on its origin, which the scene places beside the flight and the camera turns to. Shadow casters: closed. Each is drawn in
// about eight passes a frame counting its shadow volume, so curves get fewer segments until it
// fits kGreetingFaces.
Mesh buildGreeting(int index) {
    const std::string& name = greetedGroups()[static_cast<std::size_t>(index)];
    const double width = kGreetingWidths[index] / kCaveGreetingPlacements[index].vertexScale;
    Mesh m;
    for (int steps = 4; steps >= 2; --steps) {
        m = extrudedText(name, name, width, kGreeting, steps);
        if (m.faceCount() <= kGreetingFaces) break;
    }
    projectPlanar(m, {1, 0, 0}, {0, 0.35, 1}, 1.5 * 1.8 / width);
    return m;
}
