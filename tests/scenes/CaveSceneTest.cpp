#include "scenes/CaveScene.h"

#include "app/LoadAll.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/MeshRenderer.h"
#include "scenes/SceneRegistry.h"
#include "support/GlTestContext.h"
#include "tests/scenes/LoadedSceneTest.h"
#include "tests/post/EffectTestSupport.h"
#include "tests/scenes/EffectProjection.h"

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

// The scene as the program loads it: every texture slot filled, only this module set up and
// warmed up, drawing with the wide effect set.
class CaveSceneTest : public LoadedSceneTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        loadOnly(SceneId::Cave, [](ShowScenes& s) { s.get<CaveScene>().printCampos = false; });
        ASSERT_FALSE(startupFailed());
        ASSERT_EQ(scene().stage.model->objectCount, kCaveGreetingCount + 3);
    }

    CaveScene& scene() { return scenes->get<CaveScene>(); }
    const MeshObject& lantern() { return scene().stage.model->mesh(CaveScene::kLantern); }

    // Renders one 16 ms frame that ends with the flight at campos.
    void renderAt(float campos) {
        SplinePath& path = scene().cameraPath;
        path.travel = campos - CaveScene::kCameraSpeed * 0.016f / path.totalLength;
        scene().render(16);
    }

};

TEST_F(CaveSceneTest, RenderingAZeroDeltaDrawsNothingAndMovesNothing) {
    scene().render(16);
    const Image frame = readFrame(0, 0, 512, 512);
    const float clock = scene().stage.clock.time;
    const float travel = scene().cameraPath.travel;
    const float sway = scene().swayPath.travel;
    const Vec3 eye = scene().stage.camera.position;
    const Vec3 forward = scene().stage.camera.forward;
    const Vec3 light = scene().stage.light.position;
    const float turn = lantern().rotationY;

    resetDrawnTriangles();
    scene().render(0);
    EXPECT_EQ(drawnTriangles(), 0);
    EXPECT_TRUE(imagesNear(frame, readFrame(0, 0, 512, 512), 0));
    EXPECT_EQ(scene().stage.clock.time, clock);
    EXPECT_EQ(scene().cameraPath.travel, travel);
    EXPECT_EQ(scene().swayPath.travel, sway);
    EXPECT_EQ(scene().stage.camera.position.x, eye.x);
    EXPECT_EQ(scene().stage.camera.position.y, eye.y);
    EXPECT_EQ(scene().stage.camera.position.z, eye.z);
    EXPECT_EQ(scene().stage.camera.forward.z, forward.z);
    EXPECT_EQ(scene().stage.light.position.x, light.x);
    EXPECT_EQ(scene().stage.light.position.y, light.y);
    EXPECT_EQ(lantern().rotationY, turn);
}

TEST_F(CaveSceneTest, LongDeltasLeaveTheFlightWhereItIs) {
    const float start = scene().campos();
    const float clock = scene().stage.clock.time;
    scene().render(2000);
    EXPECT_EQ(scene().campos(), start);
    EXPECT_EQ(scene().stage.clock.time, clock);
    scene().render(1999);
    EXPECT_NEAR((scene().campos() - start) * scene().cameraPath.totalLength, CaveScene::kCameraSpeed * 1.999f,
                0.01f);
}

TEST_F(CaveSceneTest, WhereTheirWindowsOverlapTwoGreetingsShowAndAreDrawn) {
    resetDrawnTriangles();
    renderAt(0.3f); // between greetings 2 and 3
    const std::int64_t without = drawnTriangles();
    for (const bool v : scene().greetingVisible) EXPECT_FALSE(v);

    resetDrawnTriangles();
    renderAt(0.075f); // greeting 0 fading out, greeting 1 fading in
    const std::int64_t with = drawnTriangles();
    const bool expected[kCaveGreetingCount] = {true, true, false, false, false};
    for (int k = 0; k < kCaveGreetingCount; ++k) EXPECT_EQ(scene().greetingVisible[k], expected[k]) << k;
    // Each shown greeting goes through the shaft, lit and mask passes.
    const int g = CaveScene::kFirstGreeting;
    EXPECT_GE(with - without, 3 * (scene().stage.model->mesh(g).faceCount + scene().stage.model->mesh(g + 1).faceCount));
}

TEST_F(CaveSceneTest, ShaftsRadiateFromWhereTheLanternIsDrawn) {
    renderAt(0.3f);
    const EffectPixel light = projectOnEffect(*scene().stage.model, scene().stage.camera, scene().stage.light.position);
    ASSERT_TRUE(light.projected);
    EXPECT_NEAR((scene().shaftCentre.x + 1.0f) * 0.5f * 512.0f, light.x, 1.0);
    EXPECT_NEAR((scene().shaftCentre.y + 1.0f) * 0.5f * 256.0f, light.y, 1.0);
}

TEST_F(CaveSceneTest, ALanternInTheCameraPlaneStillGivesAShaftCentre) {
    renderAt(0.3f);
    const CameraFrame& c = scene().stage.camera;
    // The eye is the negated camera position; the side axis lies in the camera plane.
    const Vec3 inPlane(-c.position.x + 3.0f * c.side.x, -c.position.y + 3.0f * c.side.y,
                       -c.position.z + 3.0f * c.side.z);
    const ShaftCentre centre = shaftCentreSeenBy(*scene().stage.model, c, inPlane);
    EXPECT_FLOAT_EQ(centre.depth, kShaftMinDepth);
    ASSERT_TRUE(std::isfinite(centre.x) && std::isfinite(centre.y));
    EXPECT_NEAR(std::hypot(centre.x, centre.y), kShaftCentreReach, 1e-3f);
}

// Each name, while fully shown, comes on screen in the lantern's light: its red is bright where
// the cave's stone is grey and the lantern's glow white.
TEST_F(CaveSceneTest, EachNameShowsLitWhileFullyShown) {
    auto redPixels = [] {
        const Image frame = readFrame(0, 0, 512, 512);
        int red = 0;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x) {
                const unsigned char* p = frame.at(x, y);
                red += p[0] >= 64 && p[0] > 2 * p[1] && p[0] > 2 * p[2];
            }
        return red;
    };
    for (int k = 0; k < kCaveGreetingCount; ++k) {
        int most = 0;
        for (float c = 0.035f; c <= 0.07f; c += 0.005f) {
            renderAt(kCaveGreetings[k].start + c);
            most = std::max(most, redPixels());
        }
        EXPECT_GT(most, 1000) << "greeting " << k;
    }
}

// Through greeting 3's window: the lantern's front (its +x axis) comes round to face the greeting
// and never jumps a turn, even where the direction to the greeting crosses behind it.
TEST_F(CaveSceneTest, TheLanternTurnsItsFrontToTheGreetingWithoutSpinning) {
    const int k = 3;
    const CaveGreeting& g = kCaveGreetings[k];
    renderAt(g.start - 0.005f);
    float lastTurn = lantern().rotationY;
    float largestStep = 0.0f;
    int facingFrames = 0;
    while (scene().campos() < g.start + 0.08f) {
        scene().render(100);
        largestStep = std::max(largestStep, std::fabs(lantern().rotationY - lastTurn));
        lastTurn = lantern().rotationY;
        if (caveGreetingShown(k, scene().campos()) < 1.0f) continue;
        const MeshObject& greeting = scene().stage.model->mesh(CaveScene::kFirstGreeting + k);
        const Vec3 d = greeting.translation.minus(scene().stage.light.position);
        // glRotate about y by a turns +x to (cos a, 0, -sin a).
        const float a = lantern().rotationY;
        EXPECT_GT((std::cos(a) * d.x - std::sin(a) * d.z) / std::hypot(d.x, d.z), 0.99f) << scene().campos();
        ++facingFrames;
    }
    EXPECT_GT(facingFrames, 15);
    EXPECT_LT(largestStep, 1.5708f); // a quarter turn in 100 ms would be a spin
}

} // namespace
