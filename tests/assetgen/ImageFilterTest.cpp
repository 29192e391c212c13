#include "image/Blend.h"
#include "image/Blur.h"
#include "image/Levels.h"
#include "image/Ramp.h"
#include "image/Relief.h"
#include "image/Shapes.h"
#include "image/Warp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace {

double mean(const Field& f) { return std::accumulate(f.v.begin(), f.v.end(), 0.0) / double(f.v.size()); }

Field dot(int size, int x, int y) {
    Field f(size, size);
    f.at(x, y) = 1.0f;
    return f;
}

TEST(Blur, KeepsTheMeanAndSpreadsAPointSymmetrically) {
    const Field b = blur(dot(32, 16, 16), 2.0f);
    EXPECT_NEAR(mean(b), 1.0 / (32.0 * 32.0), 1e-6);
    EXPECT_GT(b.at(16, 16), b.at(18, 16));
    EXPECT_NEAR(b.at(14, 16), b.at(18, 16), 1e-6f);
    EXPECT_NEAR(b.at(16, 13), b.at(13, 16), 1e-6f);
}

TEST(Blur, WrapsAroundTheEdges) {
    const Field b = blur(dot(32, 0, 0), 2.0f);
    EXPECT_NEAR(b.at(31, 0), b.at(1, 0), 1e-6f);
    EXPECT_NEAR(b.at(0, 31), b.at(0, 1), 1e-6f);
    EXPECT_GT(b.at(31, 31), 0.0f);
}

TEST(Blur, ZeroRadiusLeavesTheFieldAlone) {
    const Field f = dot(8, 3, 4);
    EXPECT_EQ(blur(f, 0.0f).v, f.v);
}

TEST(Blur, HorizontalBlurDoesNotSpreadVertically) {
    Image img(16, 16);
    img.at(8, 8) = {1, 1, 1};
    const Image b = blurHorizontal(img, 2.0f);
    EXPECT_GT(b.at(7, 8).r, 0.0f);
    EXPECT_EQ(b.at(8, 7).r, 0.0f);
    EXPECT_EQ(b.at(8, 9).r, 0.0f);
}

TEST(Levels, MapsTheInputRangeOntoZeroToOneAndClamps) {
    Field f(4, 1);
    f.v = {0.1f, 0.3f, 0.5f, 0.9f};
    const Field l = levels(f, 0.3f, 0.5f);
    EXPECT_FLOAT_EQ(l.v[0], 0.0f);
    EXPECT_FLOAT_EQ(l.v[1], 0.0f);
    EXPECT_FLOAT_EQ(l.v[2], 1.0f);
    EXPECT_FLOAT_EQ(l.v[3], 1.0f);
    EXPECT_FLOAT_EQ(levels(f, 0.0f, 1.0f, 2.0f).v[2], 0.25f);
}

TEST(Levels, NormalizeStretchesToTheFullRange) {
    Field f(3, 1);
    f.v = {-2.0f, 0.0f, 6.0f};
    const Field n = normalize(f);
    EXPECT_FLOAT_EQ(n.v[0], 0.0f);
    EXPECT_FLOAT_EQ(n.v[1], 0.25f);
    EXPECT_FLOAT_EQ(n.v[2], 1.0f);
}

TEST(Levels, SmoothstepRunsEitherWay) {
    Field f(3, 1);
    f.v = {0.0f, 0.5f, 1.0f};
    const Field up = smoothstep(f, 0.0f, 1.0f);
    const Field down = smoothstep(f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(up.v[0], 0.0f);
    EXPECT_FLOAT_EQ(up.v[1], 0.5f);
    EXPECT_FLOAT_EQ(down.v[0], 1.0f);
    EXPECT_FLOAT_EQ(down.v[2], 0.0f);
}

TEST(Colour, SaturationZeroGivesGreyOfTheSameLuminance) {
    const Image img(1, 1, {0.8f, 0.2f, 0.1f});
    const Rgb grey = greyscale(img).at(0, 0);
    EXPECT_FLOAT_EQ(grey.r, grey.g);
    EXPECT_FLOAT_EQ(grey.g, grey.b);
    EXPECT_NEAR(grey.r, luminance(img.at(0, 0)), 1e-6f);
    const Rgb vivid = saturate(img, 2.0f).at(0, 0);
    EXPECT_GT(vivid.r - vivid.b, 0.8f - 0.1f);
}

TEST(Colour, ContrastPushesAwayFromThePivot) {
    const Image img(1, 1, {0.6f, 0.4f, 0.5f});
    const Rgb c = contrast(img, 2.0f).at(0, 0);
    EXPECT_FLOAT_EQ(c.r, 0.7f);
    EXPECT_FLOAT_EQ(c.g, 0.3f);
    EXPECT_FLOAT_EQ(c.b, 0.5f);
}

TEST(ColourRamps, InterpolateBetweenStopsAndHoldBeyondThem) {
    const ColourRamp ramp{{0.2f, {0, 0, 0}}, {0.6f, {1, 0.5f, 0}}};
    EXPECT_FLOAT_EQ(ramp(0.0f).r, 0.0f);
    EXPECT_FLOAT_EQ(ramp(0.4f).r, 0.5f);
    EXPECT_FLOAT_EQ(ramp(0.4f).g, 0.25f);
    EXPECT_FLOAT_EQ(ramp(0.9f).r, 1.0f);
}

TEST(ColourRamps, PaletteGivesFlatStepsPerEntry) {
    const ColourRamp p = palette({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    EXPECT_FLOAT_EQ(p(0.05f).r, 1.0f);
    EXPECT_FLOAT_EQ(p(0.30f).r, 1.0f);
    EXPECT_FLOAT_EQ(p(0.40f).g, 1.0f);
    EXPECT_FLOAT_EQ(p(0.60f).g, 1.0f);
    EXPECT_FLOAT_EQ(p(0.95f).b, 1.0f);
}

TEST(BlendModes, CombineChannelsAsPaintProgramsDo) {
    const Image base(1, 1, {0.5f, 0.2f, 0.8f});
    const Image layer(1, 1, {0.5f, 0.5f, 0.5f});
    EXPECT_FLOAT_EQ(blend(base, layer, BlendMode::multiply).at(0, 0).g, 0.1f);
    EXPECT_FLOAT_EQ(blend(base, layer, BlendMode::add).at(0, 0).g, 0.7f);
    EXPECT_FLOAT_EQ(blend(base, layer, BlendMode::screen).at(0, 0).g, 0.6f);
    EXPECT_FLOAT_EQ(blend(base, layer, BlendMode::overlay).at(0, 0).g, 0.2f);
    EXPECT_FLOAT_EQ(blend(base, layer, BlendMode::normal, 0.5f).at(0, 0).b, 0.65f);
}

TEST(BlendModes, MaskScalesTheOpacityPerPixel) {
    const Image base(2, 1, {0, 0, 0});
    const Image layer(2, 1, {1, 1, 1});
    Field mask(2, 1);
    mask.v = {0.0f, 0.25f};
    const Image out = blend(base, layer, BlendMode::normal, mask, 0.8f);
    EXPECT_FLOAT_EQ(out.at(0, 0).r, 0.0f);
    EXPECT_FLOAT_EQ(out.at(1, 0).r, 0.2f);
}

TEST(Warp, ZeroDisplacementIsTheIdentity) {
    const Field src = dot(16, 5, 9);
    const Field zero(16, 16);
    EXPECT_EQ(warp(src, zero, zero, 1.0f).v, src.v);
}

TEST(Warp, WholePixelOffsetsShiftAndWrap) {
    const Field src = dot(16, 0, 0);
    const Field dx(16, 16, 1.0f / 16.0f);
    const Field dy(16, 16, 0.0f);
    const Field out = warp(src, dx, dy, 1.0f);
    // Each pixel reads its right-hand neighbour, so the dot moves one pixel left, around the edge.
    EXPECT_FLOAT_EQ(out.at(15, 0), 1.0f);
    EXPECT_FLOAT_EQ(out.at(0, 0), 0.0f);
}

TEST(Relief, FlatGroundIsUnshadedAndSlopesFacingTheLightAreBrighter) {
    EXPECT_EQ(relief(Field(8, 8, 0.3f), 2.0f).v, Field(8, 8, 1.0f).v);
    // Height rising towards the bottom-right faces the top-left light.
    const Field ramp = generateField(16, 16, [](float u, float v) { return 0.1f * (u + v); });
    EXPECT_GT(relief(ramp, 1.0f).at(8, 8), 1.0f);
    const Field fall = mapField(ramp, [](float h) { return -h; });
    EXPECT_LT(relief(fall, 1.0f).at(8, 8), 1.0f);
}

TEST(Shapes, SoftBoxIsFullInsideAndEmptyFarOutside) {
    const Field box = softBox(64, 64, {0.25f, 0.25f, 0.75f, 0.75f}, 0.05f, 0.05f);
    EXPECT_FLOAT_EQ(box.at(32, 32), 1.0f);
    EXPECT_FLOAT_EQ(box.at(2, 32), 0.0f);
    EXPECT_GT(box.at(15, 32), 0.0f);
    EXPECT_LT(box.at(15, 32), 1.0f);
}

TEST(Shapes, LightsWrapAcrossTheSideEdges) {
    const Field glow = radialGlow(64, 64, 0.0f, 0.5f, 0.2f, 1.0f);
    EXPECT_NEAR(glow.at(2, 32), glow.at(61, 32), 1e-5f);
    EXPECT_GT(glow.at(63, 32), 0.5f);
}

TEST(Shapes, RingPeaksAtItsRadius) {
    const Field r = ring(128, 128, 0.5f, 0.5f, 0.25f, 0.02f);
    EXPECT_GT(r.at(96, 64), 0.9f);
    EXPECT_LT(r.at(64, 64), 0.01f);
}

TEST(Shapes, SkylineIsSkyAboveGroundBelowAndWraps) {
    const Field land = skyline(64, 64, 0.6f, 0.2f, 3, 0.1f, 5);
    for (int x = 0; x < 64; ++x) {
        EXPECT_FLOAT_EQ(land.at(x, 0), 0.0f);
        EXPECT_FLOAT_EQ(land.at(x, 63), 1.0f);
        // Each column switches once, from sky to ground.
        for (int y = 1; y < 64; ++y) EXPECT_GE(land.at(x, y), land.at(x, y - 1));
    }
    int top0 = 0, top63 = 0;
    while (land.at(0, top0) < 0.5f) ++top0;
    while (land.at(63, top63) < 0.5f) ++top63;
    EXPECT_LE(std::abs(top0 - top63), 2);
}

TEST(Images, MirrorBelowReflectsRowsAboveTheLine) {
    Field f(4, 8);
    f.at(1, 2) = 1.0f;
    const Field m = mirrorBelow(f, 0.5f);
    EXPECT_FLOAT_EQ(m.at(1, 5), 1.0f); // rows 3|4 are the mirror line: row 2 lands on 5
    EXPECT_FLOAT_EQ(m.at(1, 2), 0.0f);
    float total = 0.0f;
    for (float x : m.v) total += x;
    EXPECT_FLOAT_EQ(total, 1.0f);
}

TEST(Images, FlipAndDownscaleKeepTheContent) {
    Image img(4, 4);
    img.at(1, 0) = {1, 1, 1};
    EXPECT_FLOAT_EQ(flipVertical(img).at(1, 3).r, 1.0f);
    const Image small = downscale(img, 2, 2);
    EXPECT_FLOAT_EQ(small.at(0, 0).r, 0.25f);
    EXPECT_FLOAT_EQ(small.at(1, 1).r, 0.0f);
    const Image t = tiled(img, 2);
    EXPECT_FLOAT_EQ(t.at(0, 0).r, 0.25f);
    EXPECT_FLOAT_EQ(t.at(2, 0).r, 0.25f);
}

} // namespace
