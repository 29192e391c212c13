#include "scenes/DuckScene.h"

#include "post/EffectBuffers.h"
#include "support/GlTestContext.h"
#include "tests/scenes/OneSceneTest.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;

TEST(DuckCamera, SwingsHighAndLowUntil17SecondsAndStaysAboveFrom21) {
    EXPECT_FLOAT_EQ(duckOrbitSpeed(0.0f), 1.3f);
    EXPECT_FLOAT_EQ(duckOrbitSpeed(17000.0f), 1.3f);
    EXPECT_NEAR(duckOrbitSpeed(19000.0f), 1.175f, 1e-4f); // half way through the ease
    EXPECT_FLOAT_EQ(duckOrbitSpeed(21001.0f), 1.05f);
    EXPECT_FLOAT_EQ(duckOrbitSpeed(40000.0f), 1.05f);

    // Ratios of the coordinates cancel the breathing zoom and leave the height term. The eye sits
    // at -position, and world y grows downwards on screen: a positive y puts the eye above the tub.
    const Vec3 early0 = duckCameraPosition(16000.0f, 0.0f); // cos(u/4) = 1
    EXPECT_NEAR(early0.y / early0.z, 12.3f / 9.0f, 1e-4f);
    const Vec3 earlyLevel = duckCameraPosition(16000.0f, 2.0f * kPi); // cos(u/4) = 0: level
    EXPECT_NEAR(earlyLevel.y / earlyLevel.x, 0.0f, 1e-4f);
    const Vec3 earlyBelow = duckCameraPosition(16000.0f, 4.0f * kPi);
    EXPECT_LT(earlyBelow.y, 0.0f); // under the tub

    const Vec3 late0 = duckCameraPosition(22000.0f, 0.0f);
    EXPECT_NEAR(late0.y / late0.z, 18.0f / 9.0f, 1e-4f);
    const Vec3 lateSide = duckCameraPosition(22000.0f, 2.0f * kPi);
    EXPECT_NEAR(lateSide.y / lateSide.x, 15.0f / 13.0f, 1e-4f);
    for (float u = 0.0f; u < 8.0f * kPi; u += 0.1f) EXPECT_GT(duckCameraPosition(22000.0f, u).y, 0.0f);
}

TEST(DuckCamera, BreathesInAndOutLessOnceSettled) {
    // Farthest over nearest distance at one orbit angle, over a few breaths.
    auto breath = [](float from, float to) {
        float nearest = 1e9f, farthest = 0.0f;
        for (float c = from; c < to; c += 10.0f) {
            Vec3 p = duckCameraPosition(c, 0.0f);
            nearest = std::min(nearest, p.length()), farthest = std::max(farthest, p.length());
        }
        return farthest / nearest;
    };
    EXPECT_GT(breath(10000.0f, 16999.0f), 2.5f); // 1.05 +- 0.476
    const float settled = breath(21001.0f, 26000.0f);
    EXPECT_GT(settled, 1.3f); // 1.05 +- 0.159
    EXPECT_LT(settled, 1.4f);
}

TEST(DuckHeights, FloatUntil20SecondsThenLiftOutOneAfterAnother) {
    for (const float c : {10500.0f, 19999.0f, 20000.0f}) {
        EXPECT_FLOAT_EQ(duckHeight(0, c), -0.5f) << c;
        for (int n = 1; n < 4; ++n) EXPECT_FLOAT_EQ(duckHeight(n, c), 1.0f) << c << " duck " << n;
    }
    // At 21.2 s the big duck is out, duck 1 is on its way and duck 3 has not moved yet.
    EXPECT_FLOAT_EQ(duckHeight(0, 21200.0f), -2.0f);
    EXPECT_GT(duckHeight(1, 21200.0f), -2.0f);
    EXPECT_LT(duckHeight(1, 21200.0f), 1.0f);
    EXPECT_FLOAT_EQ(duckHeight(3, 21200.0f), 1.0f);
    for (const float c : {22801.0f, 40000.0f})
        for (int n = 0; n < 4; ++n) EXPECT_FLOAT_EQ(duckHeight(n, c), -2.0f) << c << " duck " << n;
}

TEST(DuckWings, JointFoldsOnlyTheOuterHandlesOfEitherWing) {
    const WingAngles foldOnly{.flap = 0.0f, .joint = 0.1f};
    const Vec3 left[2] = {Vec3(0.2f, 0.5f, -3.0f), Vec3(0.2f, 0.5f, -15.0f)};
    const Vec3 right[2] = {Vec3(0.2f, 0.5f, 3.0f), Vec3(0.2f, 0.5f, 15.0f)};
    Vec3 movedLeft[2], movedRight[2];
    flapWingHandles(WingSide::Left, foldOnly, left, movedLeft, 2);
    flapWingHandles(WingSide::Right, foldOnly, right, movedRight, 2);
    // Inside the joint nothing moves; outside, the handle swings along the chord (y).
    EXPECT_FLOAT_EQ(movedLeft[0].y, 0.5f);
    EXPECT_FLOAT_EQ(movedRight[0].y, 0.5f);
    EXPECT_GT(std::fabs(movedLeft[1].y - 0.5f), 0.9f);
    // The right wing folds as the mirror image of the left: both tips swing the same way.
    EXPECT_NEAR(movedRight[1].x, movedLeft[1].x, 1e-5f);
    EXPECT_NEAR(movedRight[1].y, movedLeft[1].y, 1e-5f);
    EXPECT_NEAR(movedRight[1].z, -movedLeft[1].z, 1e-5f);
}

TEST(DuckWings, FlapMirrorsTooAndFollowsTheBob) {
    // The flap is lowest where the bob is (sin(6.38 s) = 1).
    const float low = kPi / 2.0f / 6.38f;
    EXPECT_NEAR(duckWingAngles(low).flap, 0.05f + 0.15f * -0.9f, 1e-5f);
    EXPECT_NEAR(duckBob(low), 1.8f, 1e-5f);
    const WingAngles angles = duckWingAngles(1.234f);
    const Vec3 left(0.1f, -0.3f, -12.0f), right(0.1f, -0.3f, 12.0f);
    Vec3 l, r;
    flapWingHandles(WingSide::Left, angles, &left, &l, 1);
    flapWingHandles(WingSide::Right, angles, &right, &r, 1);
    EXPECT_GT(std::fabs(l.x - left.x), 0.1f);
    EXPECT_NEAR(r.x, l.x, 1e-5f);
    EXPECT_NEAR(r.y, l.y, 1e-5f);
    EXPECT_NEAR(r.z, -l.z, 1e-5f);
}

// The scene itself, on the generated models.
class DuckSceneTest : public OneSceneTest<DuckScene> {
  protected:
    // Carried over, as from an earlier run of the scene: set-up leaves it alone.
    DuckSceneTest() { scene.orbitAngle = 3.0f; }

    // The per-frame geometry: deformed wings, tub and sphere, and the glass's mapping.
    std::vector<float> geometry() {
        std::vector<float> out;
        for (const int mesh :
             {DuckScene::kLeftWing, DuckScene::kRightWing, DuckScene::kTub, DuckScene::kSphere}) {
            const MeshObject& o = scene.stage.model->mesh(mesh);
            for (const Vec3& p : o.workPositions) out.insert(out.end(), {p.x, p.y, p.z});
            for (const Vec3& n : o.vertexNormals) out.insert(out.end(), {n.x, n.y, n.z});
        }
        const MeshObject& glass = scene.stage.model->mesh(DuckScene::kGlass);
        out.insert(out.end(), glass.texU.begin(), glass.texU.end());
        out.insert(out.end(), glass.texV.begin(), glass.texV.end());
        return out;
    }

    // Largest distance of a wing vertex from its rest position, in the wing's own space.
    float wingSwing(int mesh) {
        const MeshObject& o = scene.stage.model->mesh(mesh);
        float most = 0.0f;
        for (std::size_t v = 0; v < o.positions.size(); ++v) {
            Vec3 d = o.workPositions[v].minus(o.positions[v]);
            most = std::max(most, d.length());
        }
        return most;
    }
};

TEST_F(DuckSceneTest, OrbitAngleSurvivesSetupAndLongDeltasStillMoveOrbitAndLight) {
    EXPECT_FLOAT_EQ(scene.orbitAngle, 3.0f);
    scene.render(16);
    const float clock = scene.stage.clock.time;
    const float angle = scene.orbitAngle;
    const Vec3 light = scene.stage.light.position;
    scene.render(2500); // a seek forward: the clock stays, the orbit and the light go on
    EXPECT_FLOAT_EQ(scene.stage.clock.time, clock);
    EXPECT_NEAR(scene.orbitAngle, angle + 1.3f * 2.5f, 1e-4f);
    EXPECT_GT(scene.stage.light.position.minus(light).lengthSquared(), 1.0f);
    scene.render(1999);
    EXPECT_FLOAT_EQ(scene.stage.clock.time, clock + 1999.0f);
}

TEST_F(DuckSceneTest, NothingAccumulatesInTheGeometryAcrossFrames) {
    scene.render(16);
    const std::vector<float> first = geometry();
    for (int i = 0; i < 6; ++i) scene.render(16);
    EXPECT_NE(geometry(), first); // the frames in between did move things
    scene.render(-96);            // back to the same scene time: the same shapes, however many frames ran
    const std::vector<float> again = geometry();
    ASSERT_EQ(again.size(), first.size());
    int differing = 0;
    for (std::size_t i = 0; i < first.size(); ++i)
        if (std::fabs(again[i] - first[i]) > 1e-4f * (1.0f + std::fabs(first[i]))) ++differing;
    EXPECT_EQ(differing, 0);
}

TEST_F(DuckSceneTest, OuterWingsFlapAndFoldAsMirrorImages) {
    // The wing files mirror each other vertex for vertex; beyond both span ramps (4.3 out) the
    // right wing's shape must be the left's mirror image, joint fold included.
    const MeshObject& left = scene.stage.model->mesh(DuckScene::kLeftWing);
    const MeshObject& right = scene.stage.model->mesh(DuckScene::kRightWing);
    ASSERT_EQ(left.vertexCount, right.vertexCount);
    int outer = 0;
    float swing = 0.0f;
    for (int frame = 0; frame < 40; ++frame) {
        scene.render(25);
        swing = std::max(swing, wingSwing(DuckScene::kLeftWing));
        for (std::size_t v = 0; v < left.positions.size(); ++v) {
            const Vec3& p = left.positions[v];
            ASSERT_NEAR(right.positions[v].z, -p.z, 1e-4f);
            if (p.z > -4.3f) continue;
            ++outer;
            const Vec3& l = left.workPositions[v];
            const Vec3& r = right.workPositions[v];
            ASSERT_NEAR(r.x, l.x, 1e-3f) << "frame " << frame << " vertex " << v;
            ASSERT_NEAR(r.y, l.y, 1e-3f) << "frame " << frame << " vertex " << v;
            ASSERT_NEAR(r.z, -l.z, 1e-3f) << "frame " << frame << " vertex " << v;
        }
    }
    EXPECT_GT(outer, 0);
    EXPECT_GT(swing, 1.0f); // and they do flap: the tips swing by more than a unit
}

// The sphere reflects the sky per vertex, so where its lumps turn the wall sharply from one vertex
// to the next the reflection folds into zig-zag bands. Beyond the round sphere's own turn between
// neighbouring vertices, the lumps may add only a few degrees.
TEST_F(DuckSceneTest, TheSphereLumpsBendTheWallGentlyFromVertexToVertex) {
    const MeshObject& o = scene.stage.model->mesh(DuckScene::kSphere);
    const VertexNeighbours neighbours = neighboursOf(o);
    auto angle = [](Vec3 a, Vec3 b) {
        a.normalize();
        b.normalize();
        return std::acos(std::clamp(dot(a, b), -1.0f, 1.0f)) * 57.29578f;
    };
    std::vector<float> added;
    for (int frame = 0; frame < 4; ++frame) {
        scene.render(1500); // far apart in the lumps' drift
        for (std::size_t v = 0; v + 1 < neighbours.start.size(); ++v)
            for (int i = neighbours.start[v]; i < neighbours.start[v + 1]; ++i) {
                const auto w = static_cast<std::size_t>(neighbours.list[i]);
                added.push_back(angle(o.vertexNormals[v], o.vertexNormals[w]) -
                                angle(o.restNormals[v], o.restNormals[w]));
            }
    }
    std::sort(added.begin(), added.end());
    const float median = added[added.size() / 2], high = added[added.size() * 99 / 100];
    std::printf("lumps add between neighbouring normals: median %.2f, 99th percentile %.2f degrees\n", median,
                high);
    EXPECT_LT(high, 3.0f); // unsmoothed depths add some 7 degrees here
}

TEST_F(DuckSceneTest, FrameIsLitAndTheGlassShowsTheGrabbedFrame) {
    for (int i = 0; i < 3; ++i) scene.render(16);
    EXPECT_EQ(scene.stage.model->mesh(DuckScene::kGlass).texture, effects.textureOf(Copy::Picture));
    std::vector<unsigned char> pixels(512 * 512 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 512, 512, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    int lit = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 3)
        if (pixels[i] + pixels[i + 1] + pixels[i + 2] > 60) ++lit;
    EXPECT_GT(lit, 512 * 512 / 2);
}

} // namespace
