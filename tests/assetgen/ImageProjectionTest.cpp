#include "image/Projection.h"

#include <gtest/gtest.h>

namespace {

// A picture whose top half is red and bottom half blue.
Image topRedBottomBlue(int size) {
    Image img(size, size, {0, 0, 1});
    for (int y = 0; y < size / 2; ++y)
        for (int x = 0; x < size; ++x) img.at(x, y) = {1, 0, 0};
    return img;
}

TEST(MirrorBall, OutsideTheBallIsBlack) {
    const Image face(8, 8, {1, 1, 1});
    const Image ball = mirrorBallFromCube({&face, &face, &face, &face, &face, &face}, 64);
    EXPECT_FLOAT_EQ(ball.at(0, 0).r, 0.0f);
    EXPECT_FLOAT_EQ(ball.at(32, 32).r, 1.0f);
}

TEST(MirrorBall, CentreReflectsThePositiveZFaceOnly) {
    const Image white(8, 8, {1, 1, 1});
    const Image ball = mirrorBallFromCube({nullptr, nullptr, nullptr, nullptr, &white, nullptr}, 64);
    EXPECT_FLOAT_EQ(ball.at(32, 32).g, 1.0f);
    // Near the rim the reflection points away from the viewer, onto the black -Z face.
    EXPECT_FLOAT_EQ(ball.at(32, 1).g, 0.0f);
}

TEST(MirrorBall, UploadedBottomRowFirstAPictureShowsUpsideDownOnTheZFace) {
    // This is why the cube-map pictures are stored upside down.
    const Image picture = topRedBottomBlue(16);
    const Image ball = mirrorBallFromCube({nullptr, nullptr, nullptr, nullptr, &picture, nullptr}, 128);
    EXPECT_GT(ball.at(64, 50).b, 0.9f); // upper part of the ball: the picture's bottom
    EXPECT_GT(ball.at(64, 78).r, 0.9f); // lower part: the picture's top
}

TEST(SphereMapping, ShowsATexturePictureUpright) {
    const Image picture = topRedBottomBlue(16);
    const Image ball = sphereMappedBall(picture, 128);
    EXPECT_GT(ball.at(64, 30).r, 0.9f);
    EXPECT_GT(ball.at(64, 98).b, 0.9f);
}

TEST(SphereMapping, PanoramaSphereMapPutsTheSkyOnTop) {
    const Image panorama = topRedBottomBlue(32);
    const Image map = sphereMapFromPanorama(panorama, 64);
    EXPECT_GT(map.at(32, 8).r, 0.9f);
    EXPECT_GT(map.at(32, 56).b, 0.9f);
    EXPECT_FLOAT_EQ(map.at(0, 0).r + map.at(0, 0).b, 0.0f);
}

} // namespace
