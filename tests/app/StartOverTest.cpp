// Section jumps and the loop start the show over from the state it was loaded in: the frames of a
// second pass are those of the first, where a plain seek back would run every scene's clock back
// by the whole jump (the title, for one, would stay black).
#include "app/Shell.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "render/RenderPath.h"
#include "support/RunProgram.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

class StartOver : public ::testing::Test {
  protected:
    void SetUp() override {
        setMessageBoxesInteractive(false);
        setRenderPath(RenderPath::Fast);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dataDir());
        shell.printStatus = false;
        shell.screen.frameWidth = shell.screen.frameHeight = 256; // state, not detail, is at stake
        WindowDesc desc;
        desc.offscreen = true;
        desc.fullscreen = false;
        int status = 0;
        ASSERT_TRUE(shell.startUp(desc, status));
        ASSERT_FALSE(startupFailed());
        shell.keepStartState();
    }
    void TearDown() override {
        shell.shutDown();
        std::filesystem::current_path(previous);
        resetQuitState();
    }

    // The title's first eight seconds, then a jump into the swarm: frames at 10 a second.
    std::vector<std::vector<unsigned char>> pass() {
        std::vector<std::vector<unsigned char>> frames;
        for (const int from : {0, 41800})
            for (int t = from; t < from + 8000; t += 100) {
                shell.renderFrame(t);
                std::vector<unsigned char>& rgb = frames.emplace_back(256 * 256 * 3);
                glBindTexture(GL_TEXTURE_2D, shell.frame.colour);
                glPixelStorei(GL_PACK_ALIGNMENT, 1);
                glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
            }
        return frames;
    }

    static double meanDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
        double sum = 0.0;
        for (size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
        return sum / static_cast<double>(a.size());
    }

    std::filesystem::path previous;
    Shell shell;
};

TEST_F(StartOver, ASecondPassShowsTheFramesOfTheFirst) {
    const auto first = pass();
    shell.startOver();
    const auto second = pass();
    const auto seeked = pass(); // back to 0 without starting over
    ASSERT_EQ(second.size(), first.size());
    double seekedOff = 0.0;
    for (size_t k = 0; k < first.size(); ++k) {
        EXPECT_TRUE(second[k] == first[k]) << "frame " << k;
        seekedOff = std::max(seekedOff, meanDifference(first[k], seeked[k]));
    }
    EXPECT_GT(seekedOff, 10.0);
}

} // namespace
