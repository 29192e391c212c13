// Section jumps and the loop start the show over from the state it was loaded in: the frames of a
// second pass are those of the first, where a plain seek back would run every scene's clock back
// by the whole jump (the title, for one, would stay black).
#include "support/OffscreenShow.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

class StartOver : public OffscreenShowTest {
  protected:
    StartOver() : OffscreenShowTest(256) {} // state, not detail, is at stake
    void SetUp() override {
        OffscreenShowTest::SetUp();
        shell.keepStartState();
    }

    // The title's first eight seconds, then a jump into the swarm: frames at 10 a second.
    std::vector<std::vector<unsigned char>> pass() {
        std::vector<std::vector<unsigned char>> frames;
        for (const int from : {0, 41800})
            for (int t = from; t < from + 8000; t += 100) {
                shell.renderFrame(t);
                frames.push_back(readFrame());
            }
        return frames;
    }

    static double meanDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
        double sum = 0.0;
        for (size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
        return sum / static_cast<double>(a.size());
    }
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
