#include "assets/TextureBank.h"
#include "render/TextureUpload.h"
#include "support/GlTestContext.h"
#include "tests/assets/JpegWriter.h"
#include "tests/assets/LoadTestSupport.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>

namespace {

using jpegtest::Rgb;

const Rgb red{250, 0, 0}, green{0, 250, 0}, blue{0, 0, 250}, white{250, 250, 250};

std::string saveJpeg(const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::string path = tempPath(name);
    EXPECT_TRUE(threeds::save(path, bytes));
    return path;
}

// Red top-left, green top-right, blue bottom-left, white bottom-right.
std::string quadrantFile(int width = 16, int height = 16) {
    return saveJpeg(
        threeds::numbered("quad", width) + threeds::numbered("x", height) + ".jpg",
        jpegtest::encode(jpegtest::quadrants(width, height, red, green, blue, white), width, height));
}

::testing::AssertionResult near(const unsigned char* p, Rgb c) {
    const int tolerance = 12;
    if (std::abs(p[0] - c.r) <= tolerance && std::abs(p[1] - c.g) <= tolerance &&
        std::abs(p[2] - c.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got (" << int(p[0]) << ", " << int(p[1]) << ", " << int(p[2]) << ") want (" << int(c.r) << ", "
           << int(c.g) << ", " << int(c.b) << ")";
}

std::vector<unsigned char> readBack(GLenum target, int width, int height) {
    std::vector<unsigned char> p(static_cast<std::size_t>(width * height * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, GL_RGB, GL_UNSIGNED_BYTE, p.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return p;
}

GLint levelParameter(GLenum target, GLenum name) {
    GLint v = 0;
    glGetTexLevelParameteriv(target, 0, name, &v);
    return v;
}

// --- Decoding (no GL needed) ----------------------------------------------------------------

using JpegDecoding = QuietStartup;

TEST_F(JpegDecoding, FirstPixelIsTheBottomLeftOfThePicture) {
    TextureBank bank;
    ASSERT_TRUE(bank.decodeJpeg(quadrantFile(16, 8).c_str()));
    EXPECT_EQ(bank.width, 16u);
    EXPECT_EQ(bank.height, 8u);
    const unsigned char* p = bank.pixels.get();
    EXPECT_TRUE(near(p, blue));                      // bottom-left
    EXPECT_TRUE(near(p + 15 * 3, white));            // bottom-right
    EXPECT_TRUE(near(p + 7 * 16 * 3, red));          // top-left: last row
    EXPECT_TRUE(near(p + (7 * 16 + 15) * 3, green)); // top-right
}

TEST_F(JpegDecoding, GreyFileComesOutAsEqualRgbTriples) {
    std::vector<unsigned char> grey(8 * 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) grey[y * 8 + x] = y < 4 ? 200 : 40;
    TextureBank bank;
    ASSERT_TRUE(bank.decodeJpeg(saveJpeg("grey.jpg", jpegtest::encode(grey, 8, 8, 1)).c_str()));
    ASSERT_EQ(bank.width, 8u);
    const unsigned char* p = bank.pixels.get();
    EXPECT_TRUE(near(p, Rgb{40, 40, 40}));                // bottom rows are the dark ones
    EXPECT_TRUE(near(p + 7 * 8 * 3, Rgb{200, 200, 200})); // top row
    EXPECT_EQ(p[0], p[1]);
    EXPECT_EQ(p[1], p[2]);
}

TEST_F(JpegDecoding, CmykFileIsConvertedToRgb) {
    // Adobe CMYK is stored inverted: 255 means no ink.
    std::vector<unsigned char> cmyk;
    for (int i = 0; i < 8 * 8; ++i) cmyk.insert(cmyk.end(), {255, 0, 255, 255}); // no cyan or yellow: magenta
    TextureBank bank;
    ASSERT_TRUE(bank.decodeJpeg(saveJpeg("cmyk.jpg", jpegtest::encode(cmyk, 8, 8, 4)).c_str()));
    EXPECT_TRUE(near(bank.pixels.get(), Rgb{255, 0, 255}));
    EXPECT_TRUE(near(bank.pixels.get() + 63 * 3, Rgb{255, 0, 255}));
}

TEST_F(JpegDecoding, SecondDecodeReplacesSizeAndPixels) {
    TextureBank bank;
    ASSERT_TRUE(bank.decodeJpeg(quadrantFile(16, 16).c_str()));
    ASSERT_TRUE(bank.decodeJpeg(
        saveJpeg("green8x24.jpg", jpegtest::encode(jpegtest::flat(8, 24, green), 8, 24)).c_str()));
    EXPECT_EQ(bank.width, 8u);
    EXPECT_EQ(bank.height, 24u);
    EXPECT_TRUE(near(bank.pixels.get(), green));
}

void expectFileError(TextureBank& bank, const std::string& path) {
    bool result = true;
    const std::string err = stderrOf([&] { result = bank.decodeJpeg(path.c_str()); });
    EXPECT_FALSE(result);
    EXPECT_EQ(err.rfind("File read error: Can't load file " + path + "\n", 0), 0u) << err;
    EXPECT_TRUE(takeQuitMessage());
    EXPECT_TRUE(startupFailed());
}

TEST_F(JpegDecoding, MissingFileIsReportedAndTheNextFileStillLoads) {
    TextureBank bank;
    expectFileError(bank, tempPath("absent.jpg"));
    EXPECT_EQ(bank.pixels, nullptr);
    EXPECT_TRUE(bank.decodeJpeg(quadrantFile().c_str()));
}

TEST_F(JpegDecoding, CorruptFileIsReportedAndKeepsThePreviousImage) {
    TextureBank bank;
    ASSERT_TRUE(bank.decodeJpeg(quadrantFile().c_str()));
    auto bytes = jpegtest::encode(jpegtest::flat(32, 32, red), 32, 32);
    for (std::size_t i = bytes.size() / 2; i < bytes.size() - 2; i += 7)
        bytes[i] = 0xFF; // markers in the data
    expectFileError(bank, saveJpeg("corrupt.jpg", bytes));
    EXPECT_EQ(bank.width, 16u);
    EXPECT_TRUE(near(bank.pixels.get(), blue));
    EXPECT_TRUE(bank.decodeJpeg(quadrantFile().c_str()));
}

TEST_F(JpegDecoding, NonJpegFileIsReported) {
    TextureBank bank;
    expectFileError(
        bank, saveJpeg("notjpeg.jpg", {'P', '6', '\n', '1', ' ', '1', '\n', '2', '5', '5', '\n', 0, 0, 0}));
}

TEST_F(JpegDecoding, TruncatedFileIsReported) {
    TextureBank bank;
    auto bytes = jpegtest::encode(jpegtest::quadrants(64, 64, red, green, blue, white), 64, 64);
    bytes.resize(bytes.size() * 2 / 3);
    expectFileError(bank, saveJpeg("truncated.jpg", bytes));
    EXPECT_EQ(bank.pixels, nullptr);
}

TEST_F(JpegDecoding, StrayBytesBetweenMarkersAreTolerated) {
    auto bytes = jpegtest::encode(jpegtest::flat(8, 8, green), 8, 8);
    ASSERT_EQ(bytes[2], 0xFF);
    ASSERT_EQ(bytes[3], 0xE0); // JFIF segment after the start marker
    const std::size_t afterJfif = 4 + (bytes[4] << 8 | bytes[5]);
    bytes.insert(bytes.begin() + static_cast<long>(afterJfif), {0x12, 0x34, 0x56});
    TextureBank bank;
    std::string err;
    bool result = false;
    err = stderrOf([&] { result = bank.decodeJpeg(saveJpeg("stray.jpg", bytes).c_str()); });
    EXPECT_TRUE(result) << err;
    EXPECT_TRUE(near(bank.pixels.get(), green));
    EXPECT_FALSE(takeQuitMessage());
}

TEST_F(JpegDecoding, EmptyFileIsReported) {
    TextureBank bank;
    expectFileError(bank, saveJpeg("empty.jpg", {}));
}

// A header announcing 16384 x 16384 pixels is refused from the header alone, before the
// 800 MB it would take are asked for, when the context's textures cannot be that large.
TEST_F(JpegDecoding, PictureLargerThanTheLargestTextureIsRefusedBeforeDecoding) {
    auto bytes = jpegtest::encode(jpegtest::flat(8, 8, red), 8, 8);
    std::size_t sof = 2;
    while (sof + 9 < bytes.size() && !(bytes[sof] == 0xFF && bytes[sof + 1] == 0xC0)) ++sof;
    ASSERT_LT(sof + 9, bytes.size());
    bytes[sof + 5] = 0x40, bytes[sof + 6] = 0x00; // height 16384
    bytes[sof + 7] = 0x40, bytes[sof + 8] = 0x00; // width 16384
    TextureBank bank;
    bank.maxSide = 8192;
    std::string err;
    err = stderrOf([&] { EXPECT_FALSE(bank.decodeJpeg(saveJpeg("huge.jpg", bytes).c_str())); });
    EXPECT_NE(err.find("Can't load file"), std::string::npos) << err;
    EXPECT_NE(err.find("larger than the largest texture"), std::string::npos) << err;
    EXPECT_TRUE(startupFailed());
    EXPECT_EQ(bank.pixels, nullptr);
}

// --- Uploads (offscreen GL context) -------------------------------------------------------

class TextureBankTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        setMessageBoxesInteractive(false);
        resetQuitState();
    }
    void TearDown() override {
        resetQuitState();
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    }
};

TEST_F(TextureBankTest, TextureRowZeroIsTheBottomOfThePicture) {
    TextureBank bank;
    loadTexture(bank, quadrantFile(16, 8).c_str(), 40);
    glBindTexture(GL_TEXTURE_2D, 40);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 16);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_HEIGHT), 8);
    const auto p = readBack(GL_TEXTURE_2D, 16, 8);
    EXPECT_TRUE(near(&p[0], blue));
    EXPECT_TRUE(near(&p[(7 * 16 + 15) * 3], green));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureBankTest, TextureIsLinearRepeatingWithOnlyLevelZero) {
    TextureBank bank;
    loadTexture(bank, quadrantFile().c_str(), 41);
    glBindTexture(GL_TEXTURE_2D, 41);
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &v);
    EXPECT_EQ(v, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &v);
    EXPECT_EQ(v, GL_REPEAT);
    GLint level1 = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
    EXPECT_EQ(level1, 0);
}

TEST_F(TextureBankTest, OddWidthRowsArriveIntactAndUnpackAlignmentIsRestored) {
    TextureBank bank;
    loadTexture(bank, quadrantFile(10, 6).c_str(), 42);
    glBindTexture(GL_TEXTURE_2D, 42);
    const auto p = readBack(GL_TEXTURE_2D, 10, 6);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(p[(5 * 10 + x) * 3], bank.pixels[(5 * 10 + x) * 3]) << x;
    EXPECT_TRUE(near(&p[(5 * 10 + 9) * 3], green));
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(TextureBankTest, SecondLoadReplacesTheBankButNotTheEarlierSlot) {
    TextureBank bank;
    loadTexture(bank, quadrantFile(16, 16).c_str(), 43);
    loadTexture(bank, saveJpeg("red8.jpg", jpegtest::encode(jpegtest::flat(8, 8, red), 8, 8)).c_str(), 44);
    EXPECT_EQ(bank.width, 8u);
    glBindTexture(GL_TEXTURE_2D, 43);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 16);
    EXPECT_TRUE(near(readBack(GL_TEXTURE_2D, 16, 16).data(), blue));
    glBindTexture(GL_TEXTURE_2D, 44);
    EXPECT_TRUE(near(readBack(GL_TEXTURE_2D, 8, 8).data(), red));
}

TEST_F(TextureBankTest, FailedLoadLeavesTheSlotAsItWas) {
    TextureBank bank;
    loadTexture(bank, quadrantFile().c_str(), 45);
    stderrOf([&] { loadTexture(bank, tempPath("nothing.jpg").c_str(), 45); });
    EXPECT_TRUE(takeQuitMessage());
    glBindTexture(GL_TEXTURE_2D, 45);
    EXPECT_TRUE(near(readBack(GL_TEXTURE_2D, 16, 16).data(), blue));
}

TEST_F(TextureBankTest, CubeFacesGoToTheirTargetsInGlOrder) {
    TextureBank bank;
    const std::string black =
        saveJpeg("black.jpg", jpegtest::encode(jpegtest::flat(8, 8, Rgb{0, 0, 0}), 8, 8));
    for (int face = 0; face < 4; ++face) loadCubeFace(bank, black.c_str(), 46, face);
    loadCubeFace(bank, quadrantFile(8, 8).c_str(), 46, 4);
    loadCubeFace(bank, black.c_str(), 46, 5);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 46);
    EXPECT_TRUE(near(readBack(GL_TEXTURE_CUBE_MAP_POSITIVE_Z, 8, 8).data(), blue));
    for (GLenum target :
         {GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_Y,
          GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z})
        EXPECT_TRUE(near(readBack(target, 8, 8).data(), Rgb{0, 0, 0})) << target;
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, &v);
    EXPECT_EQ(v, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, &v);
    EXPECT_EQ(v, GL_NEAREST);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureBankTest, LoadingTheSameFaceTwiceReplacesIt) {
    TextureBank bank;
    loadCubeFace(bank, quadrantFile(8, 8).c_str(), 47, 2);
    loadCubeFace(bank, saveJpeg("green8.jpg", jpegtest::encode(jpegtest::flat(8, 8, green), 8, 8)).c_str(), 47,
                      2);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 47);
    EXPECT_TRUE(near(readBack(GL_TEXTURE_CUBE_MAP_POSITIVE_Y, 8, 8).data(), green));
}

} // namespace
