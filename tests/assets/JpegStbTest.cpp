// The browser build decodes the show's JPEGs with stb_image instead of libjpeg. The two round
// differently (inverse DCT, chroma upsampling, colour conversion): on the show's pictures stb's
// bytes are libjpeg's or at most 3 levels away, about 57 dB, far below what the rasterisers
// differ by. Damaged files must be refused as libjpeg's decoder does.
#include "assets/JpegStb.h"
#include "assets/TextureBank.h"
#include "tests/assets/JpegWriter.h"
#include "tests/assets/LoadTestSupport.h"

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

using JpegStb = QuietStartup;

struct File {
    std::FILE* f;
    explicit File(const std::string& path) : f(std::fopen(path.c_str(), "rb")) {}
    ~File() {
        if (f) std::fclose(f);
    }
};

bool stbDecode(const std::string& path, DecodedPicture& out, std::uint32_t maxSide = 0) {
    File file(path);
    char error[200] = {};
    return file.f && decodeJpegWithStb(file.f, maxSide, out, error, sizeof error);
}

TEST_F(JpegStb, EveryShowPictureDecodesWithinThreeLevelsOfLibjpeg) {
    int pictures = 0;
    for (const auto& file :
         std::filesystem::directory_iterator(std::string(CASTRELLE_TEST_DATA_DIR) + "/Images")) {
        const std::string path = file.path().string(), name = file.path().filename().string();
        ++pictures;
        TextureBank bank;
        ASSERT_TRUE(bank.decodeJpeg(path.c_str())) << path;
        DecodedPicture picture;
        ASSERT_TRUE(stbDecode(path, picture)) << path;
        ASSERT_EQ(picture.width, bank.width) << name;
        ASSERT_EQ(picture.height, bank.height) << name;
        const std::size_t bytes = std::size_t{bank.width} * bank.height * 3;
        std::size_t differing = 0; // bytes
        int largest = 0;
        double squares = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            const int d = std::abs(int(picture.pixels[i]) - int(bank.pixels[i]));
            differing += d != 0;
            largest = std::max(largest, d);
            squares += d * d;
        }
        EXPECT_LE(largest, 3) << name;
        EXPECT_LE(std::sqrt(squares / static_cast<double>(bytes)), 0.4) << name; // RMS: 56 dB or better
        EXPECT_LT(differing, bytes / 10) << name;
    }
    EXPECT_EQ(pictures, 30);
}

TEST_F(JpegStb, BottomRowComesFirstAsInTheTextureBank) {
    const jpegtest::Rgb red{250, 0, 0}, green{0, 250, 0}, blue{0, 0, 250}, white{250, 250, 250};
    const std::string path = tempPath("stb_quadrants.jpg");
    ASSERT_TRUE(threeds::save(path, jpegtest::encode(jpegtest::quadrants(16, 16, red, green, blue, white), 16, 16)));
    DecodedPicture picture;
    ASSERT_TRUE(stbDecode(path, picture));
    TextureBank bank;
    ASSERT_TRUE(bank.decodeJpeg(path.c_str()));
    for (int i = 0; i < 16 * 16 * 3; ++i) ASSERT_LE(std::abs(picture.pixels[i] - bank.pixels[i]), 3) << i;
    EXPECT_LT(picture.pixels[0], 40); // bottom-left is blue
    EXPECT_GT(picture.pixels[2], 210);
}

TEST_F(JpegStb, TruncatedAndOversizedFilesAreRefused) {
    auto bytes = jpegtest::encode(jpegtest::flat(64, 64, jpegtest::Rgb{10, 200, 30}), 64, 64);
    const std::string whole = tempPath("stb_whole.jpg");
    ASSERT_TRUE(threeds::save(whole, bytes));
    DecodedPicture picture;
    EXPECT_TRUE(stbDecode(whole, picture, 64));
    EXPECT_FALSE(stbDecode(whole, picture, 32));
    bytes.resize(bytes.size() * 2 / 3);
    const std::string truncated = tempPath("stb_truncated.jpg");
    ASSERT_TRUE(threeds::save(truncated, bytes));
    EXPECT_FALSE(stbDecode(truncated, picture));
}

} // namespace
