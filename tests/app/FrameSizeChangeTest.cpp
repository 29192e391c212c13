// A frame size change in the middle of the show: the scenes that draw from their own earlier
// frames carry on from them, resampled, so the frame after the change looks like the one before
// (no flash, no reset).
#include "platform/PngFile.h"
#include "support/OffscreenShow.h"
#include "support/PngRead.h"
#include "support/RunProgram.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The frame in a grid of block means per channel: comparable across sizes.
constexpr int kGrid = 16;
using Blocks = std::vector<double>;

double meanDifference(const Blocks& a, const Blocks& b) {
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::fabs(a[i] - b[i]);
    return sum / static_cast<double>(a.size());
}

// On each renderer: the shader renderer resamples its textures with its own programs.
class FrameSizeChange : public OffscreenShowTest, public ::testing::WithParamInterface<const RenderBackend*> {
  protected:
    FrameSizeChange() : OffscreenShowTest(512, *GetParam()) {}

    // Draws the frame of demo time t and returns its block grid; CASTRELLE_KEEP_FRAMES=dir keeps
    // it as a PNG too (upside down: rows from the bottom).
    Blocks frameAt(int t, const std::string& name) {
        shell.renderFrame(t);
        const std::vector<unsigned char>& pixels = readFrame();
        const int size = shell.frame.width;
        Blocks blocks(kGrid * kGrid * 3, 0.0);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                for (int c = 0; c < 3; ++c)
                    blocks[((y * kGrid / size) * kGrid + x * kGrid / size) * 3 + c] +=
                        pixels[(static_cast<size_t>(y) * size + x) * 3 + c];
        for (double& b : blocks) b /= static_cast<double>(size / kGrid) * (size / kGrid);
        if (const char* keep = std::getenv("CASTRELLE_KEEP_FRAMES")) {
            const std::string path = std::string(keep) + "/" + name + "_" + std::to_string(size) +
                                     "_" + GetParam()->name + ".png";
            int error = 0;
            writePng(path.c_str(), pixels.data(), size, size, error);
        }
        return blocks;
    }
};

// The closing lays its own previous frame on the room's walls and streaks it: each frame grows
// out of the one before. Held at one moment (no time passes, the feedback goes round), the frame
// after a change of size must be the frame before it, resampled: no flash, no feedback started
// over.
TEST_P(FrameSizeChange, TheClosingsFeedbackCarriesOverBothWays) {
    for (int t = 246000; t < 250000; t += 17) shell.renderFrame(t); // its feedback built up
    for (const int size : {384, 256, 512}) {
        const int t = 250000 + size;
        Blocks before;
        for (int k = 0; k < 3; ++k) before = frameAt(t, "before" + std::to_string(t));
        const Blocks held = frameAt(t, "held" + std::to_string(t));
        ASSERT_TRUE(shell.changeFrameSize(size));
        const Blocks after = frameAt(t, "after" + std::to_string(t));
        EXPECT_LT(meanDifference(after, held), 2.0 * meanDifference(held, before) + 1.0) << "to " << size;
        for (int k = 1; k < 10; ++k) shell.renderFrame(t + 17 * k); // the show goes on at that size
    }
    EXPECT_EQ(shell.glError, 0u);
}

INSTANTIATE_TEST_SUITE_P(OnEachRenderer, FrameSizeChange, ::testing::ValuesIn(renderBackends()),
                         [](const auto& test) { return std::string(test.param->name); });

// The sizes below the show's own keep its composition too: the same picture with less detail.
TEST(FrameSizes, SmallerFramesGiveTheSamePicture) {
    const std::string shot = "--shot 8000 --fps 10 --no-music --size 400x300 --data '" + dataDir() + "'";
    RgbImage pictures[2];
    for (const int size : {512, 256}) {
        const std::string dir = freshTempDir("castrelle_frame" + std::to_string(size));
        ASSERT_EQ(
            runProgram(shot + " --frame " + std::to_string(size) + " --out '" + dir + "'", ".", 300).status,
            0);
        ASSERT_TRUE(readPng(dir + "/shot_008000.png", pictures[size == 256]));
    }
    for (int by = 0; by < 3; ++by)
        for (int bx = 0; bx < 4; ++bx)
            for (int c = 0; c < 3; ++c) {
                const double a = pictures[0].mean(100 * bx, 100 * by, 100 * bx + 100, 100 * by + 100, c);
                const double b = pictures[1].mean(100 * bx, 100 * by, 100 * bx + 100, 100 * by + 100, c);
                EXPECT_NEAR(a, b, 4.0 + 0.1 * a) << "block " << bx << ", " << by << " channel " << c;
            }
}

} // namespace
