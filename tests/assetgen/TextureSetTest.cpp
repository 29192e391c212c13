// The generated texture set as the demo loads it: names, sizes, decodability, determinism, and
// the looks each texture's use depends on.
#include "image/JpegFile.h"
#include "recipes/Recipes.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The 30 distinct files the demo's loading sequence reads from Images/.
const char* const kLoadedTextures[] = {"matosini",
                                       "paperimassa2",
                                       "vihermaa",
                                       "kivio",
                                       "kivio_sumea2",
                                       "prock",
                                       "sphere2",
                                       "env1bw",
                                       "env1b",
                                       "env1grey",
                                       "bill1",
                                       "kallioEnv",
                                       "black",
                                       "env1gr",
                                       "env1orbi",
                                       "env1pubi",
                                       "soraBvaritettu",
                                       "kivisementtiBBkontrasti",
                                       "kivisementtiBBsumea",
                                       "kivisementtiBBSaad",
                                       "kivisementtiBBSaadsumea2",
                                       "kivisementtiBB",
                                       "haaleapunaviiva",
                                       "punasuhero",
                                       "valko",
                                       "credpe",
                                       "credko",
                                       "tummet",
                                       "maasto1",
                                       "font1"};

// Pictures that, with black, are assembled into cube maps.
const char* const kCubePictures[] = {"env1gr", "env1orbi", "env1pubi", "black"};

// Textures meshes repeat with large texture coordinates: they must tile.
const char* const kSurfaces[] = {"matosini",
                                 "paperimassa2",
                                 "vihermaa",
                                 "kivio",
                                 "kivio_sumea2",
                                 "prock",
                                 "soraBvaritettu",
                                 "kivisementtiBBkontrasti",
                                 "kivisementtiBBsumea",
                                 "kivisementtiBBSaad",
                                 "kivisementtiBBSaadsumea2",
                                 "kivisementtiBB",
                                 "haaleapunaviiva",
                                 "punasuhero",
                                 "valko",
                                 "tummet",
                                 "maasto1"};

fs::path generate(const fs::path& dir) {
    fs::remove_all(dir);
    const std::string command = std::string(ASSETGEN_BINARY) + " --only textures --out " + dir.string();
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir;
}

std::vector<char> bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each test runs in its own process under CTest, so the set is generated once per generator
// build and shared: a directory named after a hash of the generator binary, filled under a
// private name and renamed into place whole.
fs::path sharedTextureSet() {
    uint64_t hash = 1469598103934665603ull;
    for (const char c : bytesOf(ASSETGEN_BINARY)) hash = (hash ^ uint8_t(c)) * 1099511628211ull;
    const fs::path shared = fs::temp_directory_path() / ("assetgen_textures_" + std::to_string(hash));
    if (fs::exists(shared / "Images")) return shared;
    const fs::path mine = generate(shared.string() + ".tmp" + std::to_string(getpid()));
    std::error_code ec;
    fs::rename(mine, shared, ec);
    if (ec) fs::remove_all(mine); // another test process got there first
    return shared;
}

class TextureSet : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { dataDir = new fs::path(sharedTextureSet()); }
    static void TearDownTestSuite() { delete dataDir; }

    static fs::path file(const std::string& name) { return *dataDir / "Images" / (name + ".jpg"); }

    static Image decoded(const std::string& name) {
        DecodedJpeg jpeg;
        EXPECT_TRUE(readJpeg(file(name), jpeg)) << name;
        return toImage(jpeg);
    }

    static fs::path* dataDir;
};

fs::path* TextureSet::dataDir = nullptr;

struct Stats {
    double mean = 0.0;
    double deviation = 0.0;
    float maximum = 0.0f;
};

Stats luminanceStats(const Image& img) {
    Stats s;
    for (const Rgb& c : img.px) {
        const float l = luminance(c);
        s.mean += l;
        s.maximum = std::max(s.maximum, l);
    }
    s.mean /= double(img.px.size());
    for (const Rgb& c : img.px) s.deviation += (luminance(c) - s.mean) * (luminance(c) - s.mean);
    s.deviation = std::sqrt(s.deviation / double(img.px.size()));
    return s;
}

// Mean colour step across the wrap seam between the last and first column (or row), divided
// by the mean step across the other boundaries of JPEG's 8-pixel blocks, which the seam is one
// of: smooth pictures have their largest steps there.
double seamRatio(const Image& img, bool acrossColumns) {
    const int n = acrossColumns ? img.width : img.height;
    const int m = acrossColumns ? img.height : img.width;
    auto px = [&](int i, int j) { return acrossColumns ? img.at(i, j) : img.at(j, i); };
    auto step = [](Rgb a, Rgb b) {
        return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
    };
    double seam = 0.0, inner = 0.0;
    for (int j = 0; j < m; ++j) {
        seam += step(px(n - 1, j), px(0, j));
        for (int i = 8; i < n; i += 8) inner += step(px(i, j), px(i - 1, j));
    }
    return (seam / m) / (inner / (double(m) * (n / 8 - 1)) + 1e-9);
}

TEST_F(TextureSet, HoldsExactlyTheFilesTheDemoLoads) {
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(*dataDir / "Images"))
        written.insert(entry.path().filename());
    std::set<std::string> expected;
    for (const char* name : kLoadedTextures) expected.insert(std::string(name) + ".jpg");
    EXPECT_EQ(written, expected);
}

TEST_F(TextureSet, EveryTextureDecodesAsRgbInAPowerOfTwoSquare) {
    for (const char* name : kLoadedTextures) {
        DecodedJpeg jpeg;
        ASSERT_TRUE(readJpeg(file(name), jpeg)) << name;
        EXPECT_EQ(jpeg.components, 3) << name;
        EXPECT_EQ(jpeg.width, jpeg.height) << name;
        EXPECT_TRUE(jpeg.width == 256 || jpeg.width == 512) << name << " is " << jpeg.width;
    }
}

TEST_F(TextureSet, CubeMapPicturesAndBlackShareOneSize) {
    std::set<int> sizes;
    for (const char* name : kCubePictures) sizes.insert(decoded(name).width);
    EXPECT_EQ(sizes.size(), 1u);
}

TEST_F(TextureSet, BlackIsPureBlack) {
    const Image img = decoded("black");
    EXPECT_EQ(luminanceStats(img).maximum, 0.0f);
}

TEST_F(TextureSet, GeneratingAgainGivesIdenticalBytes) {
    const fs::path again =
        generate(fs::temp_directory_path() / ("assetgen_textures_again_" + std::to_string(getpid())));
    for (const char* name : kLoadedTextures) {
        const std::vector<char> a = bytesOf(file(name));
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, bytesOf(again / "Images" / (std::string(name) + ".jpg"))) << name;
    }
    fs::remove_all(again);
}

TEST_F(TextureSet, SurfacesTileWithoutSeams) {
    for (const char* name : kSurfaces) {
        const Image img = decoded(name);
        EXPECT_LT(seamRatio(img, true), 2.0) << name;
        EXPECT_LT(seamRatio(img, false), 2.0) << name;
    }
}

// The cube maps that repeat a picture on their side faces join its left and right edges.
TEST_F(TextureSet, CubePicturesWrapSidewaysButNotTopToBottom) {
    for (const char* name : {"env1gr", "env1orbi", "env1pubi"}) {
        const Image img = decoded(name);
        EXPECT_LT(seamRatio(img, true), 2.0) << name;
        EXPECT_GT(seamRatio(img, false), 2.0) << name; // sky and ground meet there: the test can tell
    }
}

// Bright highlights over a darker body: mirror-bright meshes reflecting it keep contrast under
// the scenes' additive glow.
TEST_F(TextureSet, MainEnvironmentIsBrightAndContrasted) {
    const Stats s = luminanceStats(decoded("env1gr"));
    EXPECT_GT(s.mean, 0.3);
    EXPECT_LT(s.mean, 0.45);
    EXPECT_GT(s.deviation, 0.2);
    EXPECT_GT(s.maximum, 0.97f);
}

// The star-ball scene burns its reflection of the studio about five-fold into a streaked glow:
// only the lights may saturate, or the glow washes the picture out.
TEST_F(TextureSet, StudioEnvironmentIsDarkButForItsLights) {
    const Image img = decoded("env1orbi");
    const std::size_t saturating = static_cast<std::size_t>(
        std::count_if(img.px.begin(), img.px.end(), [](const Rgb& c) { return luminance(c) > 0.2f; }));
    EXPECT_LT(saturating, img.px.size() / 4);
    EXPECT_GT(saturating, img.px.size() / 100); // the lights are there to streak
    EXPECT_GT(luminanceStats(img).maximum, 0.97f);
}

TEST_F(TextureSet, CubePicturesAreStoredUpsideDownWithTheSkyAtTheBottom) {
    const Image img = decoded("env1gr");
    // The band of the sky that holds the sun and its glow is stored low in the file; its mirror
    // position high in the file is open sea.
    auto bandLuminance = [&img](double from, double to) {
        double sum = 0.0;
        int n = 0;
        for (int y = static_cast<int>(from * img.height); y < static_cast<int>(to * img.height); ++y)
            for (int x = 0; x < img.width; ++x, ++n) sum += luminance(img.at(x, y));
        return sum / n;
    };
    EXPECT_GT(bandLuminance(0.74, 0.82), bandLuminance(0.18, 0.26) + 0.1);
    // Blue sky at the bottom of the file.
    double bottom = 0.0;
    for (int x = 0; x < img.width; ++x) bottom += img.at(x, img.height * 3 / 4).b - img.at(x, img.height * 3 / 4).r;
    EXPECT_GT(bottom / img.width, 0.15);
}

TEST_F(TextureSet, CreditsAreLightTextOnPureBlack) {
    for (const char* name : {"credpe", "credko"}) {
        const Image img = decoded(name);
        int lit = 0;
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) {
                const float l = luminance(img.at(x, y));
                if (y < img.height / 8 || y >= img.height * 15 / 16 || x < 8 || x >= img.width - 8) {
                    ASSERT_EQ(l, 0.0f) << name << " at " << x << "," << y;
                }
                if (l > 0.8f) ++lit;
            }
        const double coverage = double(lit) / double(img.px.size());
        EXPECT_GT(coverage, 0.03) << name;
        EXPECT_LT(coverage, 0.3) << name;
    }
}

TEST_F(TextureSet, FontAtlasHasGlyphsInTheirCells) {
    const Image img = decoded("font1");
    const int cell = img.width / 16;
    auto inkIn = [&](int code) {
        double ink = 0.0;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x)
                ink += luminance(img.at((code % 16) * cell + x, (code / 16) * cell + y));
        return ink;
    };
    EXPECT_GT(inkIn('A'), 20.0);
    EXPECT_GT(inkIn('z'), 20.0);
    EXPECT_LT(inkIn(' '), 1.0);
    EXPECT_LT(inkIn(7), 1.0);
}

TEST_F(TextureSet, SurfacesAreNotFlatColour) {
    for (const char* name : kSurfaces) EXPECT_GT(luminanceStats(decoded(name)).deviation, 0.01) << name;
}

TEST_F(TextureSet, ReviewSheetIsAPngOfTheWholeSet) {
    const fs::path png = fs::temp_directory_path() / ("assetgen_sheet_" + std::to_string(getpid()) + ".png");
    ASSERT_TRUE(writeTextureSheet(*dataDir, png));
    const std::vector<char> bytes = bytesOf(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    // IHDR: big-endian width and height at offsets 16 and 20.
    auto be32 = [&](size_t at) {
        return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
               (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
    };
    EXPECT_GT(be32(16), 1000u);
    EXPECT_GT(be32(20), be32(16)); // 30 thumbnails, previews and tiles stack downwards
    fs::remove(png);
}

} // namespace
