// A frame size change in the middle of the show: the scenes that draw from their own earlier
// frames carry on from them, resampled, so the frame after the change looks like the one before
// (no flash, no reset).
#include "app/Shell.h"
#include "platform/MessageBox.h"
#include "platform/PngFile.h"
#include "platform/Quit.h"
#include "render/RenderPath.h"
#include "support/RunProgram.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The frame as the director left it, in a grid of block means per channel: comparable across sizes.
constexpr int kGrid = 16;
using Blocks = std::vector<double>;

Blocks blocksOf(const Shell& shell, std::vector<unsigned char>& pixels) {
    const int size = shell.frame.width;
    pixels.resize(static_cast<size_t>(size) * size * 3);
    glBindTexture(GL_TEXTURE_2D, shell.frame.colour);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    Blocks blocks(kGrid * kGrid * 3, 0.0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            for (int c = 0; c < 3; ++c)
                blocks[((y * kGrid / size) * kGrid + x * kGrid / size) * 3 + c] +=
                    pixels[(static_cast<size_t>(y) * size + x) * 3 + c];
    for (double& b : blocks) b /= static_cast<double>(size / kGrid) * (size / kGrid);
    return blocks;
}

double meanDifference(const Blocks& a, const Blocks& b) {
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::fabs(a[i] - b[i]);
    return sum / static_cast<double>(a.size());
}

class FrameSizeChange : public ::testing::Test {
  protected:
    void SetUp() override {
        setMessageBoxesInteractive(false);
        setRenderPath(RenderPath::Fast);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dataDir());
        shell.printStatus = false;
        WindowDesc desc;
        desc.offscreen = true;
        desc.fullscreen = false;
        int status = 0;
        ASSERT_TRUE(shell.startUp(desc, status));
        ASSERT_FALSE(startupFailed());
    }
    void TearDown() override {
        shell.shutDown();
        std::filesystem::current_path(previous);
        resetQuitState();
    }

    // Draws the frame of demo time t and returns its block grid; CASTRELLE_KEEP_FRAMES=dir keeps
    // it as a PNG too.
    Blocks frameAt(int t, const std::string& name) {
        shell.renderFrame(t);
        const Blocks blocks = blocksOf(shell, pixels);
        if (const char* keep = std::getenv("CASTRELLE_KEEP_FRAMES")) {
            const std::string path = std::string(keep) + "/" + name + "_" + std::to_string(shell.frame.width) + ".png";
            writePng(path.c_str(), pixels.data(), shell.frame.width, shell.frame.width);
        }
        return blocks;
    }

    std::filesystem::path previous;
    Shell shell;
    std::vector<unsigned char> pixels;
};

// The closing lays its own previous frame on the room's walls and streaks it: each frame grows
// out of the one before. Held at one moment (no time passes, the feedback goes round), the frame
// after a change of size must be the frame before it, resampled: no flash, no feedback started
// over.
TEST_F(FrameSizeChange, TheClosingsFeedbackCarriesOverBothWays) {
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
}

} // namespace
