#include "recipes/ModelSheet.h"

#include "mesh/Thumbnail.h"
#include "mesh/Topology.h"
#include "recipes/ModelBudget.h"
#include "recipes/ModelCatalog.h"

#include <algorithm>
#include <cstdio>
#include <string>

bool writeModelSheet(const std::filesystem::path& pngFile) {
    const auto& catalog = modelCatalog();
    const int tile = 220, columns = 4, label = 34;
    const int rows = static_cast<int>((catalog.size() + columns - 1) / columns);
    const int budgetLines = 12, lineHeight = 22;
    RgbImage sheet(columns * 2 * tile, rows * (tile + label) + budgetLines * lineHeight, 40);
    FaceCounts faces;
    const std::string font = std::string(ASSETGEN_FONT_DIR) + "/DejaVuSans.ttf";
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        const ModelEntry& e = catalog[i];
        const Mesh m = e.build();
        const int x = static_cast<int>(i % columns) * 2 * tile;
        const int y = static_cast<int>(i / columns) * (tile + label);
        // Rooms face inwards: look into them through a cut-away front.
        const bool room = signedVolume(m) < 0.0;
        ThumbnailView front;
        front.cutaway = room;
        ThumbnailView other;
        other.towardsViewer = {-0.8, 0.6, 0.9};
        other.cutaway = room;
        // A flat room (the cave) is best read from above, roof cut away.
        const Vec3d size = boundsOf(m).size();
        if (room && size.z < 0.3 * std::max(size.x, size.y)) {
            front.towardsViewer = {0, 0, 1};
            front.up = {0, 1, 0};
            other = front;
            other.towardsViewer = {0.3, -0.4, 1};
        }
        renderThumbnail(sheet, x, y + label, tile, m, front);
        renderThumbnail(sheet, x + tile, y + label, tile, m, other);
        faces[e.file] = m.faceCount();
        const EdgeReport edges = inspectEdges(m);
        char text[160];
        std::snprintf(text, sizeof text, "%s  %zuv %zuf %s", e.file.c_str(), m.vertexCount(), m.faceCount(),
                      edges.closedAndOriented() ? "closed" : "open");
        drawLabel(sheet, x + 6, y + 22, text, 15, font);
    }
    int y = rows * (tile + label) + lineHeight;
    drawLabel(
        sheet, 6, y,
        "Triangles per frame, all passes and glow included (faces x copies x passes, +vol: shadow volume):",
        15, font);
    for (const SceneBudget& b : sceneBudgets(faces)) {
        y += lineHeight;
        drawLabel(sheet, 26, y, describeBudget(b), 15, font);
    }
    return writePng(pngFile, sheet);
}
