#include "image/JpegFile.h"
#include "image/Noise.h"
#include "image/Ramp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::filesystem::path tempFile(const char* name) {
    return std::filesystem::temp_directory_path() / (std::string("assetgen_jpegtest_") + name);
}

Image testPicture() {
    return colourRamp(fbm(64, 32, {4, 2, 4, 0.5f, 3}),
                      {{-0.5f, {0.1f, 0.2f, 0.8f}}, {0.5f, {0.9f, 0.7f, 0.2f}}});
}

TEST(JpegEncoding, SameImageGivesSameBytes) {
    const Image img = testPicture();
    const std::vector<uint8_t> a = encodeJpeg(img, {90, false});
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, encodeJpeg(img, {90, false}));
    EXPECT_NE(a, encodeJpeg(img, {70, false}));
}

TEST(JpegEncoding, WrittenFileDecodesAsRgbOfTheSameSizeAndColours) {
    const Image img = testPicture();
    const auto file = tempFile("roundtrip.jpg");
    ASSERT_TRUE(writeJpeg(img, file, {95, true}));
    DecodedJpeg jpeg;
    ASSERT_TRUE(readJpeg(file, jpeg));
    EXPECT_EQ(jpeg.width, 64);
    EXPECT_EQ(jpeg.height, 32);
    EXPECT_EQ(jpeg.components, 3);
    const Image back = toImage(jpeg);
    double error = 0.0;
    for (size_t i = 0; i < img.px.size(); ++i)
        error += std::fabs(back.px[i].r - img.px[i].r) + std::fabs(back.px[i].b - img.px[i].b);
    EXPECT_LT(error / double(img.px.size()), 0.03);
    std::filesystem::remove(file);
}

TEST(JpegEncoding, BlackStaysExactlyBlackAndWhiteExactlyWhite) {
    Image img(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x) img.at(x, y) = {1, 1, 1};
    DecodedJpeg jpeg;
    const auto file = tempFile("bw.jpg");
    ASSERT_TRUE(writeJpeg(img, file, {95, true}));
    ASSERT_TRUE(readJpeg(file, jpeg));
    // Away from the edge between them (JPEG blocks are 8 pixels wide).
    EXPECT_EQ(jpeg.bytes[0], 0);
    EXPECT_EQ(jpeg.bytes[3 * 3 + 1], 0);
    EXPECT_EQ(jpeg.bytes[3 * (32 * 8 + 28)], 255);
    std::filesystem::remove(file);
}

TEST(JpegEncoding, OutOfRangeValuesAreClamped) {
    const Image img(16, 16, {2.0f, -1.0f, 0.5f});
    DecodedJpeg jpeg;
    const auto file = tempFile("clamp.jpg");
    ASSERT_TRUE(writeJpeg(img, file, {95, true}));
    ASSERT_TRUE(readJpeg(file, jpeg));
    EXPECT_GE(jpeg.bytes[0], 253);
    EXPECT_LE(jpeg.bytes[1], 2);
    std::filesystem::remove(file);
}

TEST(JpegDecoding, GarbageAndMissingFilesFailWithoutEndingTheProcess) {
    const auto file = tempFile("garbage.jpg");
    std::ofstream(file, std::ios::binary) << "\xff\xd8\xff\xe0 this is not a jpeg";
    DecodedJpeg jpeg;
    EXPECT_FALSE(readJpeg(file, jpeg));
    EXPECT_FALSE(readJpeg(tempFile("missing.jpg"), jpeg));
    std::filesystem::remove(file);
}

TEST(JpegEncoding, UnwritablePathIsReported) {
    EXPECT_FALSE(writeJpeg(testPicture(), "/nonexistent/dir/x.jpg", {}));
}

} // namespace
