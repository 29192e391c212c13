// The review sheet: every texture as written (decoded back from its JPEG), then previews of
// how the renderer will show them: mirror balls for the cube maps and sphere maps, and the
// surfaces tiled 2 x 2 so seams would show.

#include "recipes/Recipes.h"
#include "recipes/TextureRecipes.h"

#include "image/JpegFile.h"
#include "image/PngFile.h"
#include "image/Projection.h"
#include "image/Text.h"

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kThumb = 192;
constexpr int kLabel = 22;
constexpr int kGap = 8;
constexpr int kColumns = 6;
const Rgb kBackground = hexRgb(0x30343a);

struct SheetCell {
    std::string label;
    Image picture;
};

// Surfaces drawn with large texture coordinates: their seams matter.
const char* const kTiledSurfaces[] = {"kivio",
                                      "kivio_sumea2",
                                      "kivisementtiBB",
                                      "kivisementtiBBkontrasti",
                                      "kivisementtiBBsumea",
                                      "kivisementtiBBSaad",
                                      "soraBvaritettu",
                                      "haaleapunaviiva",
                                      "matosini",
                                      "tummet",
                                      "valko",
                                      "vihermaa"};

void drawLabel(Image& sheet, const Font& font, const std::string& text, int x, int y) {
    Field ink(kThumb, kLabel);
    drawText(ink, font, text, fitPixelSize(font, text, kThumb, 14), 0, kLabel - 6);
    for (int ly = 0; ly < kLabel; ++ly)
        for (int lx = 0; lx < kThumb; ++lx)
            if (x + lx < sheet.width && y + ly < sheet.height)
                sheet.at(x + lx, y + ly) = mixRgb(sheet.at(x + lx, y + ly), Rgb{1, 1, 1}, ink.at(lx, ly));
}

// Lays cells out in rows of kColumns under a section title.
void drawSection(Image& sheet, const Font& font, const std::string& title,
                 const std::vector<SheetCell>& cells, int& y) {
    drawLabel(sheet, font, title, kGap, y);
    y += kLabel + kGap;
    for (size_t i = 0; i < cells.size(); ++i) {
        const int x = kGap + int(i % kColumns) * (kThumb + kGap);
        const int top = y + int(i / kColumns) * (kThumb + kLabel + kGap);
        paste(sheet, downscale(cells[i].picture, kThumb, kThumb), x, top);
        drawLabel(sheet, font, cells[i].label, x, top + kThumb);
    }
    y += int((cells.size() + kColumns - 1) / kColumns) * (kThumb + kLabel + kGap) + kGap;
}

int sectionHeight(size_t count) {
    return kLabel + kGap + int((count + kColumns - 1) / kColumns) * (kThumb + kLabel + kGap) + kGap;
}

} // namespace

bool writeTextureSheet(const std::filesystem::path& dataDir, const std::filesystem::path& pngFile) {
    TextureKit kit;
    if (!openTextureKit(kit)) return false;
    std::map<std::string, Image> files;
    std::vector<SheetCell> textures;
    for (const TextureRecipe& recipe : textureRecipes()) {
        DecodedJpeg jpeg;
        if (!readJpeg(dataDir / texturePath(recipe), jpeg)) {
            std::fprintf(stderr, "assetgen: cannot read %s for the sheet\n",
                         (dataDir / texturePath(recipe)).c_str());
            return false;
        }
        files[recipe.name] = toImage(jpeg);
        textures.push_back({std::string(recipe.name) + " " + std::to_string(jpeg.width), files[recipe.name]});
    }

    const Image* black = &files["black"];
    const Image* gr = &files["env1gr"];
    const Image* orbi = &files["env1orbi"];
    const Image* pubi = &files["env1pubi"];
    const int ball = 384;
    const std::vector<SheetCell> reflections = {
        {"cube 21: env1gr +Z", mirrorBallFromCube({black, black, black, black, gr, black}, ball)},
        {"cube 22: env1gr x5", mirrorBallFromCube({gr, gr, gr, gr, gr, black}, ball)},
        {"cube 35: env1orbi +Z", mirrorBallFromCube({black, black, black, black, orbi, black}, ball)},
        {"cube 36: env1pubi x5", mirrorBallFromCube({pubi, pubi, pubi, pubi, pubi, black}, ball)},
        {"sphere map: env1pubi", sphereMappedBall(*pubi, ball)},
        {"sphere map: kivio_sumea2", sphereMappedBall(files["kivio_sumea2"], ball)},
    };
    std::vector<SheetCell> tiles;
    for (const char* name : kTiledSurfaces)
        tiles.push_back({std::string(name) + " 2x2", tiled(files[name], 2)});

    const int width = kGap + kColumns * (kThumb + kGap);
    const int height =
        sectionHeight(textures.size()) + sectionHeight(reflections.size()) + sectionHeight(tiles.size());
    Image sheet(width, height, kBackground);
    int y = kGap;
    drawSection(sheet, kit.sansBold, "Images/*.jpg as written", textures, y);
    drawSection(sheet, kit.sansBold, "as reflections", reflections, y);
    drawSection(sheet, kit.sansBold, "tiled", tiles, y);
    return writePng(sheet, pngFile);
}
