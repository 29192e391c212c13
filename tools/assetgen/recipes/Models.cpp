// writeModels: builds every model of the catalog and writes it to Models/<name>.3ds.
#include "mesh/ThreeDsWriter.h"
#include "recipes/ModelBudget.h"
#include "recipes/ModelCatalog.h"
#include "recipes/Recipes.h"

#include <chrono>
#include <cstdio>
#include <system_error>

namespace {

// Widths for the camera distance each word is seen from in the title.
Mesh word(const char* text, TitleStyle style) {
    const std::string w = text;
    const double width = w == "CASTRELLE" ? 1.1 : w == "DEMO" ? 0.9 : w == "CALLED" ? 1.3 : 2.0;
    return buildTitleWord(text, style, width);
}

} // namespace

const std::vector<ModelEntry>& modelCatalog() {
    // Budgets are per copy; the scenes multiply them by copies and passes (see the review sheet).
    static const std::vector<ModelEntry> catalog = {
        {"backball", "backball", false, 2400, buildBackball},
        {"potkoball", "potkoball", false, 1200, buildPotkoBall},
        {"duckball", "duckball", false, 4900, buildDuckBall},
        {"backball2", "backball2", true, 1800, buildBackball2},
        {"bigball", "bigball", false, 1200, buildBigball},
        {"bigballe", "bigballe", false, 2400, buildBigballe},
        {"ball", "ball", false, 400, buildBall},
        {"bitball", "bitball", false, 400, buildBitball},
        {"ballbig_s_r", "blob", false, 3800, buildBlob},
        {"hugecubeball_low", "cubeball", false, 9000, buildCubeBall},
        {"tahti3b", "tahti3b", false, 400, buildStar},
        {"tahti3bt", "tahti3bt", false, 20, buildSwarmStar},
        {"sirppi2", "sirppi2", false, 120, buildSickle},
        {"hipu", "hipu", false, 24, buildRiser},
        {"potko2", "potko2", false, 800, buildTowerElement},
        {"kukkeli2low", "kukkeli", false, 1200, buildFigure},
        {"text_castr", "castr", true, 4000, [] { return word("CASTRELLE", TitleStyle::Plain); }},
        {"text_called", "called", false, 4000, [] { return word("CALLED", TitleStyle::Plain); }},
        {"text_demo", "demo", false, 4000, [] { return word("DEMO", TitleStyle::Plain); }},
        {"text_qm", "qm", false, 4000, [] { return word("QUILLMERE", TitleStyle::Plain); }},
        {"textr_castr", "castr2", false, 4000, [] { return word("CASTRELLE", TitleStyle::Second); }},
        {"textr_called", "called2", false, 4000, [] { return word("CALLED", TitleStyle::Second); }},
        {"textr_demo", "demo2", false, 4000, [] { return word("DEMO", TitleStyle::Second); }},
        {"textr_qm", "qm2", false, 4000, [] { return word("QUILLMERE", TitleStyle::Second); }},
        {"greet1", "greet1", true, 900, [] { return buildGreeting(0); }},
        {"greet2", "greet2", true, 900, [] { return buildGreeting(1); }},
        {"greet3", "greet3", true, 900, [] { return buildGreeting(2); }},
        {"greet4", "greet4", true, 900, [] { return buildGreeting(3); }},
        {"greet5", "greet5", true, 900, [] { return buildGreeting(4); }},
        {"amme", "amme", false, 3400, buildTub},
        {"ankka", "ankka", false, 1500, buildDuck},
        {"kvs", "kvs", false, 1600, buildGlassSheet},
        {"siipi1l_low", "siipi1l", false, 1200, [] { return buildWing(true); }},
        {"siipi1r_low", "siipi1r", false, 1200, [] { return buildWing(false); }},
        {"siipi2lowlh", "siipi2l", false, 300, [] { return buildWingHandles(true); }},
        {"siipi2lowrh", "siipi2r", false, 300, [] { return buildWingHandles(false); }},
        {"luola2", "luola2", true, 2100, buildCave},
        {"holeboxsd", "holebox", true, 1100, buildLantern},
    };
    return catalog;
}

bool writeModels(const std::filesystem::path& dataDir) {
    const std::filesystem::path dir = dataDir / "Models";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
        return false;
    }
    // The console gets each model's counts and build time and each scene's triangle budget, for
    // review; the files themselves depend on nothing but the recipes.
    FaceCounts faces;
    for (const ModelEntry& entry : modelCatalog()) {
        const auto started = std::chrono::steady_clock::now();
        std::vector<NamedMesh> objects{{entry.objectName, entry.build()}};
        if (!writeThreeDs(dir / (entry.file + ".3ds"), objects)) return false;
        faces[entry.file] = objects[0].mesh.faceCount();
        std::printf(
            "%-18s %6zu vertices %6zu faces %8.0f ms\n", entry.file.c_str(), objects[0].mesh.vertexCount(),
            objects[0].mesh.faceCount(),
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count());
    }
    std::printf("triangles per frame (model faces x copies x passes, +vol: stencil shadow volume):\n");
    for (const SceneBudget& b : sceneBudgets(faces)) std::printf("  %s\n", describeBudget(b).c_str());
    return true;
}
