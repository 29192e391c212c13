#include "scenes/TitleScene.h"

#include "post/EffectBuffers.h"
#include "render/MeshRenderer.h"
#include "support/GlTestContext.h"
#include "tests/scenes/OneSceneTest.h"

#include <GL/gl.h>

#include <cmath>
#include <filesystem>

namespace {

constexpr float kPi = 3.14159f;

TEST(TitleWordChoice, PartAndFadePickTheWord) {
    EXPECT_EQ(titleWordFor(-1, 0.0f, 1.0f), -1);
    EXPECT_EQ(titleWordFor(2, 0.0f, 20.0f), 2);
    EXPECT_EQ(titleWordFor(2, 0.5f, 20.0f), 6); // crossfades use the alternative model
    EXPECT_EQ(titleWordFor(3, 0.5f, 20.0f), 7);
    EXPECT_EQ(titleWordFor(-1, 0.3f, 20.0f), 3); // -1 + 4
}

TEST(TitleWordChoice, PlainWordsServeCrossfadesBefore15500) {
    EXPECT_EQ(titleWordFor(0, 0.9f, 15.49f), 0);
    EXPECT_EQ(titleWordFor(1, 0.2f, 15.49f), 1);
    EXPECT_EQ(titleWordFor(1, 0.2f, 15.5f), 5);
}

TEST(TitleDeformation, NineSecondCycleBeforeTheFirstWordSettles) {
    // Cycle position x = ((clock + 6000) mod 9000) s: it rises over [1, 3] s and falls over [4, 7] s.
    EXPECT_NEAR(titleDeformAmount(-4000.0f, 0.0f), 0.5f, 1e-4f); // x = 2: half way up
    EXPECT_FLOAT_EQ(titleDeformAmount(-2000.0f, 0.0f), 1.0f);    // x = 4: full bend
    EXPECT_NEAR(titleDeformAmount(0.0f, 0.0f), 0.25f, 1e-4f);    // x = 6: two thirds down
    EXPECT_FLOAT_EQ(titleDeformAmount(7000.0f, 0.7f), 1.0f);     // x = 4 again; the fade is ignored
    EXPECT_FLOAT_EQ(titleDeformAmount(10300.0f, 0.0f), 0.0f);    // x = 7.3: the cycle is over
}

TEST(TitleDeformation, BetweenTheCyclesItFollowsTheCrossfade) {
    EXPECT_FLOAT_EQ(titleDeformAmount(10800.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(titleDeformAmount(20000.0f, 0.42f), 0.42f);
    EXPECT_FLOAT_EQ(titleDeformAmount(29499.0f, 1.0f), 1.0f);
}

TEST(TitleDeformation, SecondCycleFadesInFrom29500) {
    EXPECT_FLOAT_EQ(titleDeformAmount(29500.0f, 1.0f), 0.0f); // ignores the fade now
    // At 31500 the fade-in is complete; x = ((31500 + 3800) mod 9000) = 8.3 s: past the fall.
    EXPECT_FLOAT_EQ(titleDeformAmount(31500.0f, 0.0f), 0.0f);
    // At 33700, x = 1.5 s: a quarter of the way into the rise (half-cosine: 0.1464).
    EXPECT_NEAR(titleDeformAmount(33700.0f, 0.0f), 0.5f - 0.5f * std::cos(0.25f * kPi), 1e-4f);
}

TEST(TitleCamera, HalfTurnAtTheMiddleOfACrossfadeUntil36000) {
    EXPECT_NEAR(titleCameraTurn(0.5f, 20000.0f), kPi, 1e-4f);
    EXPECT_NEAR(titleCameraTurn(0.0f, 20000.0f), 0.0f, 1e-6f);
    EXPECT_NEAR(titleCameraTurn(1.0f, 20000.0f), 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(titleCameraTurn(0.5f, 36000.0f), 0.0f);
}

TEST(TitleCamera, RollFollowsTheWordAndHoldsForNoWord) {
    float roll = 0.0f;
    const Vec3 a = titleCameraPosition(1, 0.0f, 0.0f, roll);
    EXPECT_FLOAT_EQ(roll, -0.3f);
    // G = 0.6 + roll at fade 0; at s = 0 the position is (0, 3.3, 9) * G.
    EXPECT_NEAR(a.y, 3.3f * 0.3f, 1e-5f);
    EXPECT_NEAR(a.z, 9.0f * 0.3f, 1e-5f);
    titleCameraPosition(-1, 0.0f, 0.0f, roll);
    EXPECT_FLOAT_EQ(roll, -0.3f);
    const Vec3 b = titleCameraPosition(3, 0.0f, 1.0f, roll); // fade 1: half the roll
    EXPECT_NEAR(b.z, 9.0f * (0.6f - 0.05f * 0.5f), 1e-4f);
}

// The scene itself, on the generated models.
class TitleSceneTest : public OneSceneTest<TitleScene> {
  protected:
    std::int64_t trianglesOf(int dt, int part, float fade) {
        resetDrawnTriangles();
        scene.render(dt, part, fade);
        return drawnTriangles();
    }
};

TEST_F(TitleSceneTest, PartMinusOneDrawsNoWord) {
    const int word = TitleScene::kFirstWord;
    const int wordTriangles = scene.stage.model->mesh(word).faceCount;
    const auto withoutWord = trianglesOf(16, -1, 0.0f);
    const auto withWord = trianglesOf(0, 0, 0.0f);
    // The word is drawn twice: once in the glow pass, once layered (three passes) in the full pass.
    EXPECT_EQ(withWord - withoutWord, 4 * wordTriangles);
}

TEST_F(TitleSceneTest, LeavesEffectFlagsClearAndTheScreenOrthoInForce) {
    scene.render(16, 1, 0.4f);
    EXPECT_EQ(effects.sampleSmall, 0);
    EXPECT_EQ(effects.targetSmall, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 512);
    EXPECT_EQ(viewport[3], 512);
    GLfloat p[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_FLOAT_EQ(p[0], 2.0f / 512.0f);
    EXPECT_FLOAT_EQ(p[15], 1.0f);
    EXPECT_FLOAT_EQ(p[11], 0.0f); // orthographic: no perspective divide
}

TEST_F(TitleSceneTest, SicklesComeOnAt24SecondsAndRestartLowAfterRisingPast3) {
    scene.stage.clock.time = 23990.0f;
    scene.render(16, 3, 0.0f);
    EXPECT_FALSE(scene.sicklesOn); // tested before the clock moved
    MeshObject& sickle = scene.stage.model->mesh(TitleScene::kFirstSickle + 7);
    sickle.translation.y = 2.9999f;
    for (int frame = 0; frame < 200 && sickle.translation.y > -4.0f; ++frame) {
        scene.render(16, 3, 0.0f);
        ASSERT_TRUE(scene.sicklesOn);
        if (sickle.translation.y < 0.0f) break;
    }
    EXPECT_GE(sickle.translation.y, -6.0f);
    EXPECT_LT(sickle.translation.y, -4.0f);
}

TEST_F(TitleSceneTest, FirstSecondFadesInFromBlack) {
    scene.render(1, -1, 0.0f);
    GLubyte dark[3] = {};
    glReadPixels(256, 256, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, dark);
    for (int i = 0; i < 120; ++i) scene.render(16, -1, 0.0f);
    GLubyte lit[3] = {};
    glReadPixels(256, 256, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, lit);
    EXPECT_LE(dark[0] + dark[1] + dark[2], 3);
    EXPECT_GT(lit[0] + lit[1] + lit[2], 30);
}

} // namespace
