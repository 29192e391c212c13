// What every scene module must leave behind after any frame, whatever its delta: the effect flags
// of its buffers cleared, the screen-sized orthographic projection over the 512 x 512 frame, and
// no GL error. Run on the generated data for every module of the registry that is built.
#include "scenes/SceneRegistry.h"
#include "tests/scenes/LoadedSceneTest.h"

#include <GL/gl.h>

#include <string>

namespace {

class SceneContract : public LoadedSceneTest, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        id = static_cast<SceneId>(GetParam());
        loadOnly(id);
        ASSERT_FALSE(startupFailed());
        calls = sceneCallsFor(*scenes);
    }

    const EffectBuffers& effects() const {
        return sceneInfo(id).effects == EffectSet::WideScene ? show.wideSceneEffects : show.sceneEffects;
    }

    void expectContractKept(int dt) {
        const EffectBuffers& fx = effects();
        EXPECT_EQ(fx.sampleSmall, 0) << "dt " << dt;
        EXPECT_EQ(fx.targetSmall, 0) << "dt " << dt;
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 0);
        EXPECT_EQ(viewport[1], 0);
        EXPECT_EQ(viewport[2], 512) << "dt " << dt;
        EXPECT_EQ(viewport[3], 512) << "dt " << dt;
        GLfloat p[16] = {};
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        EXPECT_FLOAT_EQ(p[0], 2.0f / 512.0f) << "dt " << dt;
        EXPECT_FLOAT_EQ(p[5], 2.0f / 512.0f) << "dt " << dt;
        EXPECT_FLOAT_EQ(p[11], 0.0f) << "dt " << dt; // orthographic: no perspective divide
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "dt " << dt;
    }

    SceneId id = SceneId::Title;
    SceneCalls calls;
};

TEST_P(SceneContract, EveryFrameLeavesFlagsClearTheScreenOrthoAndNoError) {
    const SceneInfo& row = sceneInfo(id);
    // A steady frame, the crossfade's second render, a stalled frame, a seek back, steady again,
    // with each of the arguments the module is warmed up with.
    for (int k = 0; k < row.warmUps.count; ++k) {
        for (const int dt : {16, 0, 2500, -1000, 16}) {
            calls.render(calls.context, id, dt, row.warmUps.args[k]);
            expectContractKept(dt);
        }
    }
}

// A delta of two seconds or more (a seek forward, a stalled frame) leaves a scene's clock where it
// was; one just short of it is taken whole. Rendered with the last warm-up's arguments, which
// change no view.
TEST_P(SceneContract, ALongDeltaLeavesTheClockWhereItWas) {
    const SceneInfo& row = sceneInfo(id);
    const SceneArgs args = row.warmUps.args[row.warmUps.count - 1];
    const SceneClock& clock = sceneStage(*scenes, id).clock;
    const float before = clock.time;
    calls.render(calls.context, id, SceneClock::kLongDelta, args);
    EXPECT_EQ(clock.time, before);
    calls.render(calls.context, id, SceneClock::kLongDelta - 1, args);
    EXPECT_EQ(clock.time, before + static_cast<float>(SceneClock::kLongDelta - 1));
}

INSTANTIATE_TEST_SUITE_P(EveryScene, SceneContract, ::testing::Range(0, kSceneCount),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return std::string(sceneInfo(static_cast<SceneId>(p.param)).name);
                         });

} // namespace
