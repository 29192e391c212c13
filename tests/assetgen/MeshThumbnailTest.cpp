// The review renderer: front faces shaded grey, faces seen from behind red, and a PNG file with
// the expected structure.
#include "mesh/Primitives.h"
#include "mesh/Thumbnail.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::array<int, 3> pixel(const RgbImage& img, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * img.width + x) * 3;
    return {img.pixels[i], img.pixels[i + 1], img.pixels[i + 2]};
}

} // namespace

TEST(MeshThumbnail, outwardSphereShowsGreyAndInsideOutSphereShowsRed) {
    Mesh sphere = uvSphere(1.0, 24, 12);
    RgbImage img(128, 64, 0);
    renderThumbnail(img, 0, 0, 64, sphere, {});
    flipWinding(sphere);
    renderThumbnail(img, 64, 0, 64, sphere, {});
    const auto grey = pixel(img, 32, 32), red = pixel(img, 96, 32);
    EXPECT_GT(grey[0], 40);
    EXPECT_NEAR(grey[0], grey[2], 30);
    EXPECT_GT(red[0], 2 * red[1] + 10);
    EXPECT_EQ(pixel(img, 1, 1), (std::array<int, 3>{0, 0, 0})); // background untouched
}

TEST(MeshThumbnail, cutawayRevealsTheInsideOfARoom) {
    Mesh room = uvSphere(1.0, 24, 12);
    flipWinding(room);
    RgbImage img(64, 64, 0);
    ThumbnailView view;
    view.cutaway = true;
    renderThumbnail(img, 0, 0, 64, room, view);
    const auto centre = pixel(img, 32, 32);
    EXPECT_NEAR(centre[0], centre[2], 30); // the far wall, seen from its front
}

TEST(MeshThumbnail, pngHasSignatureHeaderAndEnd) {
    RgbImage img(3, 2, 200);
    img.set(2, 1, 1, 2, 3);
    const auto file = std::filesystem::temp_directory_path() / "castrelle_thumb.png";
    ASSERT_TRUE(writePng(file, img));
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(file);
    ASSERT_GT(b.size(), 8u + 25u + 12u);
    EXPECT_EQ(std::vector<unsigned char>(b.begin(), b.begin() + 8),
              (std::vector<unsigned char>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
    EXPECT_EQ(b[19], 3); // width
    EXPECT_EQ(b[23], 2); // height
    EXPECT_EQ(std::string(b.end() - 8, b.end() - 4), "IEND");
    // The raw rows (filter byte + 9 bytes each) are stored uncompressed: the last pixel's bytes
    // appear just before the Adler checksum.
    const std::size_t idatEnd = b.size() - 12 - 4; // before IEND chunk and IDAT's CRC
    EXPECT_EQ(b[idatEnd - 4 - 3], 1);
    EXPECT_EQ(b[idatEnd - 4 - 1], 3);
}
