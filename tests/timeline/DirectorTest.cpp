#include "timeline/Director.h"

#include "post/EffectBuffers.h"
#include "render/FrameProjection.h"
#include "support/GlTestContext.h"
#include "support/RecordingScenes.h"
#include "tests/post/EffectTestSupport.h"

#include <GL/gl.h>

namespace {

class DirectorTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        effects = EffectBuffers(512, 512, 256, 128);
        director.attach(scenes.table(), effects);
    }
    // The names go back, so a later test in the same process finds the fixed texture slots free.
    void TearDown() override { releaseTextures(effects); }

    // Runs one frame at t, as the main loop does, and returns the scene renders it made.
    std::vector<SceneCall> frame(int t) {
        scenes.clear();
        ScreenSize screen;
        setFrameProjection(screen, 800, 600);
        director.run(t, quit);
        return scenes.renders();
    }

    int centreGrey() {
        GLubyte p[4] = {};
        glReadPixels(256, 256, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return p[0];
    }

    RecordingScenes scenes;
    EffectBuffers effects;
    Director director;
    bool quit = false;
};

void expectRender(const SceneCall& c, SceneId id, int dt, int arg, float fade) {
    EXPECT_EQ(c.id, id) << sceneInfo(c.id).name;
    EXPECT_EQ(c.dt, dt);
    EXPECT_EQ(c.arg, arg);
    EXPECT_NEAR(c.fade, fade, 1e-5f);
}

TEST_F(DirectorTest, TitleIntroHoldsPartMinusOneUntil4800) {
    auto r = frame(4800);
    ASSERT_EQ(r.size(), 1u);
    expectRender(r[0], SceneId::Title, 4800, -1, 0.0f);
    r = frame(4801);
    ASSERT_EQ(r.size(), 1u);
    expectRender(r[0], SceneId::Title, 1, 0, 1.0f - 1.0f / 6000.0f);
}

TEST_F(DirectorTest, TitleCrossfadeRendersTheIncomingWordWithZeroDelta) {
    frame(15000);
    auto r = frame(15400); // part 0 -> 1, v = (15400 - 12400) / 6000
    ASSERT_EQ(r.size(), 2u);
    expectRender(r[0], SceneId::Title, 400, 0, 0.5f);
    expectRender(r[1], SceneId::Title, 0, 1, 0.5f);
    EXPECT_FLOAT_EQ(director.crossValue, 0.5f);
    r = frame(25250); // part 1 -> 3 over 8500 ms from 21000
    ASSERT_EQ(r.size(), 2u);
    expectRender(r[0], SceneId::Title, 9850, 1, 0.5f);
    expectRender(r[1], SceneId::Title, 0, 3, 0.5f);
    r = frame(35000);
    ASSERT_EQ(r.size(), 1u);
    expectRender(r[0], SceneId::Title, 9750, 3, 0.0f);
}

TEST_F(DirectorTest, TitleEndsInAStreakedFadeToBlackFrom41100) {
    frame(41000);
    frame(41099);
    EXPECT_EQ(centreGrey(), 128); // no fade yet
    frame(41101);
    EXPECT_NEAR(centreGrey(), 128, 1);
    frame(41450);
    EXPECT_LT(centreGrey(), 100);
    frame(41799);
    EXPECT_LE(centreGrey(), 2);
}

TEST_F(DirectorTest, SwarmSectionFlashesTheStarBallOnItsBeat) {
    frame(56000);
    auto r = frame(56300); // m = -200: flash with full smear
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].id, SceneId::StarBall);
    r = frame(57000); // m = 500: still the star ball
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].id, SceneId::StarBall);
    r = frame(57300); // m = 800: the swarm, variant 0
    ASSERT_EQ(r.size(), 1u);
    expectRender(r[0], SceneId::Kukkeli, 300, 0, 0.0f);
    r = frame(60000);
    ASSERT_EQ(r.size(), 1u);
    expectRender(r[0], SceneId::Kukkeli, 2700, 1, 0.0f);
}

TEST_F(DirectorTest, SwarmFadesInFromBlackOverItsFirstSecond) {
    frame(41700);
    frame(41800);
    EXPECT_FLOAT_EQ(director.middleStart, 41800.0f);
    EXPECT_EQ(centreGrey(), 0);
    frame(42300);
    EXPECT_GT(centreGrey(), 10);
    EXPECT_LT(centreGrey(), 100);
}

TEST_F(DirectorTest, FirstStarBallFrameRendersTheSwarmByCrossValue) {
    frame(40000);
    frame(41000); // a title crossfade leaves crossValue between 0 and 1
    ASSERT_GT(director.crossValue, 0.0f);
    ASSERT_LT(director.crossValue, 1.0f);
    auto r = frame(70000);
    ASSERT_EQ(r.size(), 3u);
    expectRender(r[0], SceneId::Kukkeli, 0, 0, 0.0f);
    expectRender(r[1], SceneId::Kukkeli, 0, 1, 0.0f);
    EXPECT_EQ(r[2].id, SceneId::StarBall);
    EXPECT_FLOAT_EQ(director.transitionStarted, 1.0f);
    EXPECT_FLOAT_EQ(director.hipuStart, 85500.0f);
    r = frame(70016);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].id, SceneId::StarBall);
}

TEST_F(DirectorTest, StarBallDissolvesIntoHipuBefore86000) {
    frame(70000); // entering the section at 70 s puts the Hipu dissolve at 85.5 s
    EXPECT_EQ(frame(85400).size(), 1u);
    auto r = frame(85600);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].id, SceneId::StarBall);
    EXPECT_EQ(r[1].id, SceneId::Hipu);
}

TEST_F(DirectorTest, LaterSectionsCutInWithoutTransitions) {
    const struct {
        int t;
        SceneId id;
    } cuts[] = {{126000, SceneId::Duck},
                {157000, SceneId::StarBall},
                {164000, SceneId::Cave},
                {220000, SceneId::Potko},
                {246000, SceneId::Closing}};
    for (const auto& c : cuts) {
        const auto r = frame(c.t);
        ASSERT_EQ(r.size(), 1u) << c.t;
        EXPECT_EQ(r[0].id, c.id) << c.t;
    }
}

TEST_F(DirectorTest, ShowEndsAt286500) {
    frame(286000);
    auto r = frame(286499);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].id, SceneId::Closing);
    EXPECT_FALSE(quit);
    r = frame(286500);
    EXPECT_TRUE(r.empty());
    EXPECT_TRUE(quit);
}

TEST_F(DirectorTest, RepeatedTimeGivesZeroDeltaAndSeekBackANegativeOne) {
    frame(130000);
    auto r = frame(130000);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].dt, 0);
    r = frame(129000);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].dt, -1000);
}

TEST_F(DirectorTest, SeekBackIntoTitleReplaysTheSwarmIntroButALaterSectionDoesNot) {
    frame(50000);
    EXPECT_FLOAT_EQ(director.middleStart, 50000.0f);
    frame(30000); // the title forgets the swarm's start
    frame(45000);
    EXPECT_FLOAT_EQ(director.middleStart, 45000.0f);
    frame(100000);
    frame(60000); // back from a later section: the start is kept
    EXPECT_FLOAT_EQ(director.middleStart, 45000.0f);
}

TEST_F(DirectorTest, NegativeTimesPlayTheTitleIntro) {
    const auto r = frame(-500);
    ASSERT_EQ(r.size(), 1u);
    expectRender(r[0], SceneId::Title, -500, -1, 0.0f);
}

TEST_F(DirectorTest, UnavailableModuleIsNeverRenderedAndItsSectionIsBlack) {
    scenes.selected = SceneSet::all().without(SceneId::Duck);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const auto r = frame(130000);
    EXPECT_TRUE(r.empty());
    EXPECT_EQ(centreGrey(), 0);
}

} // namespace
