// The fixed renderer's fast path and the shader renderer against the reference path: the same
// show, rendered from the start each way on the real offscreen Mesa context, must give the same
// pictures. Two moments or more of every scene and of the director's transitions; a PSNR of
// 40 dB is far below what rounding alone costs (about 50 dB), so a missing layer, a misplaced
// tap or a skipped pass shows.
#include "support/PngRead.h"
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

namespace {

double psnr(const RgbImage& a, const RgbImage& b) {
    double sum = 0.0;
    for (size_t i = 0; i < a.rgb.size(); ++i) {
        const double d = static_cast<double>(a.rgb[i]) - static_cast<double>(b.rgb[i]);
        sum += d * d;
    }
    const double mse = sum / static_cast<double>(a.rgb.size());
    return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// Every shot lies on the two-frames-a-second grid the runs step on.
const int kShots[] = {
    13000,  // title: two words crossfading, the glow streaked
    30000,  // title: the last word among the sickles
    41500,  // title: the streaked fade to black
    45000,  // swarm: the intro streak
    56500,  // swarm: a star-ball flash with its wrapped smear
    75000,  // star ball
    88000,  // the swarm's stars in one batch, each reflecting in its own colour
    95000,  // swarm whiting out
    98000,  // hipu out of white: blur and streak
    110000, // hipu
    140000, // duck
    160000, // star ball again
    180000, // cave: the lantern's shafts and shadows
    205000, // cave: a greeting
    221000, // potko under its opening blur
    235000, // potko
    260000, // closing: shadows, shafts and glow
    285500, // closing: the final streaked fade
};

// The shots of one run with the given extra options, as images in a fresh folder.
struct PathRun {
    std::string folder;
    RunResult result;
};

std::string shotTimes() {
    std::string times;
    for (const int t : kShots) {
        if (!times.empty()) times += ',';
        times += std::to_string(t);
    }
    return times;
}

PathRun runPath(const std::string& name, const std::string& options) {
    PathRun run{freshTempDir(name), {}};
    constexpr int kLimit = 900;
    run.result = runProgram("--shot " + shotTimes() + " --fps 2 --size 320x240 --no-music --data '" + dataDir() +
                                "' --out '" + run.folder + "' " + options,
                            ".", kLimit);
    return run;
}

void expectCloseToReference(const PathRun& path, const PathRun& reference, const char* label) {
    ASSERT_EQ(path.result.status, 0) << path.result.err;
    ASSERT_EQ(reference.result.status, 0) << reference.result.err;
    for (const int t : kShots) {
        char name[32];
        std::snprintf(name, sizeof name, "/shot_%06d.png", t);
        RgbImage a, b;
        ASSERT_TRUE(readPng(path.folder + name, a)) << name;
        ASSERT_TRUE(readPng(reference.folder + name, b)) << name;
        ASSERT_EQ(a.rgb.size(), b.rgb.size());
        const double db = psnr(a, b);
        std::printf("%s, %d ms: %.1f dB\n", label, t, db);
        EXPECT_GE(db, 40.0) << label << " at " << t << " ms";
    }
}

// Both renderers' frames against the reference. The shader renderer runs on an OpenGL ES 3.0
// context, so this also shows that nothing it draws needs desktop GL.
TEST(RenderPaths, FastAndShaderFramesMatchTheReferenceAcrossTheShow) {
    PathRun fast, shader;
    std::thread other([&] {
        fast = runPath("castrelle_fast_path", "--renderer fixed");
        shader = runPath("castrelle_shader_path", "--renderer shader");
    });
    const PathRun reference = runPath("castrelle_reference_path", "--reference");
    other.join();
    expectCloseToReference(fast, reference, "fixed fast");
    expectCloseToReference(shader, reference, "shader");
}

} // namespace
