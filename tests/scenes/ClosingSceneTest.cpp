#include "scenes/ClosingScene.h"

#include "app/LoadAll.h"
#include "assets/TextureSlots.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/MeshRenderer.h"
#include "render/ShadowVolume.h"
#include "scenes/SceneRegistry.h"
#include "support/GlTestContext.h"
#include "tests/scenes/LoadedSceneTest.h"
#include "tests/post/EffectTestSupport.h"
#include "tests/scenes/EffectProjection.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

TEST(ClosingBeat, HitHoldsFullAndTheAfterBeatPausesFrom10To11Seconds) {
    // The hit is full while (clock + 2200) mod 1400 is in [200, 400]: clock 10700 is 300 in.
    EXPECT_FLOAT_EQ(closingBeat(10700.0f), 1.0f);
    EXPECT_FLOAT_EQ(closingBeat(10700.0f + 1400.0f * 7), 1.0f);
    // The after-beat peaks 1000 ms into the beat: at clock 10000 it is paused, one beat earlier
    // and one beat later it is there.
    EXPECT_FLOAT_EQ(closingBeat(10000.0f), 0.0f);
    EXPECT_FLOAT_EQ(closingBeat(8600.0f), 0.4f);
    EXPECT_FLOAT_EQ(closingBeat(11400.0f), 0.4f);
}

TEST(ClosingTwist, RestsAtTheStartAndComesBackEveryEightSeconds) {
    EXPECT_FLOAT_EQ(closingTwistAmount(10500.0f), 0.0f); // the word starts undeformed
    EXPECT_FLOAT_EQ(closingTwistAmount(12999.0f), 0.0f);
    EXPECT_NEAR(closingTwistAmount(13750.0f), 0.5f, 1e-4f); // half way in
    EXPECT_FLOAT_EQ(closingTwistAmount(14500.0f), 1.0f);
    EXPECT_FLOAT_EQ(closingTwistAmount(16999.0f), 1.0f);
    EXPECT_NEAR(closingTwistAmount(17750.0f), 0.5f, 1e-4f); // half way out
    EXPECT_FLOAT_EQ(closingTwistAmount(14500.0f + 8000.0f * 4), 1.0f);
}

// Eye at the origin looking down -z: the identity view.
constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

TEST(ClosingShafts, CentreIsTheLightsProjectionAndStaysFiniteBesideOrBehindTheCamera) {
    float projection[16] = {};
    projection[0] = 0.977f;
    projection[5] = 1.303f;
    const ShaftCentre ahead = shaftCentreOf(kIdentity, projection, Vec3(0.5f, -0.25f, -5.0f));
    EXPECT_FLOAT_EQ(ahead.depth, 5.0f);
    EXPECT_FLOAT_EQ(ahead.x, 0.977f * 0.1f);
    EXPECT_FLOAT_EQ(ahead.y, 1.303f * -0.05f);

    for (const float z : {0.0f, 3.0f}) { // in the camera plane, and behind the camera
        const ShaftCentre c = shaftCentreOf(kIdentity, projection, Vec3(2.0f, 1.0f, z));
        EXPECT_FLOAT_EQ(c.depth, kShaftMinDepth);
        ASSERT_TRUE(std::isfinite(c.x) && std::isfinite(c.y));
        EXPECT_NEAR(std::hypot(c.x, c.y), kShaftCentreReach, 1e-4f);
        EXPECT_GT(c.x, 0.0f); // still on the light's side
        EXPECT_GT(c.y, 0.0f);
    }
    const ShaftCentre straight = shaftCentreOf(kIdentity, projection, Vec3(0.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(straight.x, 0.0f);
    EXPECT_FLOAT_EQ(straight.y, 0.0f);
}

// The scene as the program loads it: every texture slot filled, only this module set up and
// warmed up, drawing with the wide effect set.
class ClosingSceneTest : public LoadedSceneTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        loadOnly(SceneId::Closing);
        ASSERT_FALSE(startupFailed());
        ASSERT_EQ(scene().stage.model->objectCount, 3);
    }

    ClosingScene& scene() { return scenes->get<ClosingScene>(); }
    EffectBuffers& effects() { return show.wideSceneEffects; }

    std::int64_t trianglesAt(float clock) {
        scene().stage.clock.time = clock;
        resetDrawnTriangles();
        scene().render(0);
        return drawnTriangles();
    }

};

TEST_F(ClosingSceneTest, LongDeltasLeaveTheClockAndTheLightWhereTheyAre) {
    const float start = scene().stage.clock.time;
    EXPECT_FLOAT_EQ(start, 10501.0f); // the start value and the warm-up's millisecond
    const Vec3 light = scene().stage.light.position;
    scene().render(2000);
    EXPECT_FLOAT_EQ(scene().stage.clock.time, start);
    EXPECT_FLOAT_EQ(scene().stage.light.position.x, light.x);
    EXPECT_FLOAT_EQ(scene().stage.light.position.z, light.z);
    scene().render(1999);
    EXPECT_FLOAT_EQ(scene().stage.clock.time, start + 1999.0f);
    EXPECT_GT(std::fabs(scene().stage.light.position.z - light.z) + std::fabs(scene().stage.light.position.x - light.x),
              0.5f);
    scene().render(-1000);
    EXPECT_FLOAT_EQ(scene().stage.clock.time, start + 999.0f);
}

TEST_F(ClosingSceneTest, OnTheFullBeatTheShaftPassLeavesTheRoomOut) {
    const MeshObject& room = scene().stage.model->mesh(ClosingScene::kRoom);
    const std::int64_t offBeat = trianglesAt(11400.0f); // after-beat: 0.4
    EXPECT_TRUE(scene().shaftRoomDrawn);
    const std::int64_t onBeat = trianglesAt(10700.0f); // full hit
    EXPECT_FALSE(scene().shaftRoomDrawn);
    // Textured, reflected and layered: three passes of the room.
    EXPECT_EQ(offBeat - onBeat, 3 * room.faceCount);
}

TEST_F(ClosingSceneTest, TwistIsBlendedBackToTheRestShapeBetweenCycles) {
    const MeshObject& title = scene().stage.model->mesh(ClosingScene::kTitle);
    auto furthestFromRest = [&] {
        float most = 0.0f;
        for (int v = 0; v < title.vertexCount; ++v) {
            const Vec3 d =
                title.workPositions[static_cast<size_t>(v)].minus(title.positions[static_cast<size_t>(v)]);
            most = std::max(most, std::sqrt(d.lengthSquared()));
        }
        return most;
    };
    trianglesAt(12000.0f); // resting part of the cycle
    EXPECT_EQ(furthestFromRest(), 0.0f);
    trianglesAt(15000.0f); // fully twisted
    EXPECT_GT(furthestFromRest(), 0.5f);
}

TEST_F(ClosingSceneTest, ShaftsRadiateFromWhereTheLightIsDrawn) {
    scene().render(16);
    const EffectPixel light = projectOnEffect(*scene().stage.model, scene().stage.camera, scene().stage.light.position);
    ASSERT_TRUE(light.projected);
    EXPECT_NEAR((scene().shaftCentre.x + 1.0f) * 0.5f * 512.0f, light.x, 1.0);
    EXPECT_NEAR((scene().shaftCentre.y + 1.0f) * 0.5f * 256.0f, light.y, 1.0);
}

TEST_F(ClosingSceneTest, FromTheFirstFrameOnTheRoomWearsTheFinishedFrame) {
    ClosingScene fresh;
    fresh.attach(effects());
    fresh.setup(512, 512, 512, 256);
    MeshObject& room = fresh.stage.model->mesh(ClosingScene::kRoom);
    EXPECT_EQ(room.texture, TextureSlot::Env1pubi);
    fresh.render(1);
    ASSERT_EQ(room.texture, effects().textureOf(Copy::Picture));
    fresh.render(16);
    const unsigned picture = effects().copyTex[static_cast<int>(Copy::Picture)];
    EXPECT_TRUE(imagesNear(readFrame(0, 0, 512, 512), readTexture(picture), 0));
}

TEST_F(ClosingSceneTest, ShadowedPixelsAreDarkInTheMaskAndLitOnesWhite) {
    scene().render(16);
    // The stencil still holds the shadow counts; the softened mask is in the full wrapping copy.
    std::vector<GLubyte> stencil(512 * 512);
    glReadPixels(0, 0, 512, 512, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
    const Image mask = readTexture(effects().copyTex[static_cast<int>(Copy::Wrapping)]);
    auto all = [&](int x, int y, bool shadowed) {
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx)
                if ((stencil[static_cast<size_t>((y + dy) * 512 + x + dx)] != shadowStencilClear) != shadowed)
                    return false;
        return true;
    };
    int darkChecked = 0, litChecked = 0;
    for (int y = 8; y < 504; y += 8) {
        for (int x = 8; x < 504; x += 8) {
            if (all(x, y, true)) {
                EXPECT_LT(mask.at(x, y)[0], 40) << x << ", " << y;
                ++darkChecked;
            } else if (all(x, y, false)) {
                EXPECT_GT(mask.at(x, y)[0], 215) << x << ", " << y;
                ++litChecked;
            }
        }
    }
    EXPECT_GT(darkChecked, 10);
    EXPECT_GT(litChecked, 10);
}

} // namespace
