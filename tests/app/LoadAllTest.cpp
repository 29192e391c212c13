#include "app/LoadAll.h"

#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "support/GlTestContext.h"
#include "support/RecordingScenes.h"

#include <filesystem>

namespace {

// Loads run in an empty folder: every texture is missing, which must not stop the sequence.
class LoadAllTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        setMessageBoxesInteractive(false);
        previous = std::filesystem::current_path();
        const auto dir = std::filesystem::temp_directory_path() / "castrelle_loadall";
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        resetQuitState();
    }

    int load() {
        bars = 0;
        BarStep bar{this, [](void* self) { ++static_cast<LoadAllTest*>(self)->bars; }};
        loadAll(show, scenes.table(), LoadSizes{}, bar);
        return bars;
    }

    std::filesystem::path previous;
    RecordingScenes scenes;
    ShowResources show;
    int bars = 0;
};

TEST_F(LoadAllTest, TwentyBarStepsWithEveryModule) { EXPECT_EQ(load(), 20); }

TEST_F(LoadAllTest, DisabledModuleIsSkippedWithItsBarStep) {
    scenes.available[static_cast<int>(SceneId::Cave)] = false;
    EXPECT_EQ(load(), 19);
    for (const SceneCall& c : scenes.calls) EXPECT_NE(c.id, SceneId::Cave);
}

TEST_F(LoadAllTest, ModulesAreAttachedSetUpAndWarmedUpInOrder) {
    load();
    const auto& calls = scenes.calls;
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].what, "attach");
    EXPECT_EQ(calls[1].what, "setup");
    // The title warms up with five renders of dt 1: part 0 at fade 0, then every part at 0.01.
    const SceneCall* title = &calls[2];
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(title[k].id, SceneId::Title);
        EXPECT_EQ(title[k].dt, 1);
        EXPECT_EQ(title[k].arg, k == 0 ? 0 : k - 1);
        EXPECT_FLOAT_EQ(title[k].fade, k == 0 ? 0.0f : 0.01f);
    }
    std::vector<SceneId> order;
    for (const SceneCall& c : calls)
        if (c.what == "attach") order.push_back(c.id);
    const std::vector<SceneId> expected = {SceneId::Title, SceneId::Kukkeli, SceneId::StarBall, SceneId::Hipu,
                                           SceneId::Duck,  SceneId::Cave,    SceneId::Potko,    SceneId::Closing};
    EXPECT_EQ(order, expected);
    for (const SceneCall& c : calls) {
        if (c.what != "attach") continue;
        const bool wide = c.id == SceneId::StarBall || c.id == SceneId::Cave || c.id == SceneId::Closing;
        EXPECT_EQ(c.effectsSmallWidth, wide ? 512 : 256) << sceneName(c.id);
    }
}

TEST_F(LoadAllTest, EffectTexturesNeverFallOnTheFixedSlots) {
    load();
    for (const EffectBuffers* fx : {&show.directorEffects, &show.sceneEffects, &show.wideSceneEffects}) {
        for (int i = 0; i < 4; ++i) {
            for (unsigned name : {fx->copyTex[i], fx->passTex[i], fx->smallCopyTex[i], fx->smallPassTex[i]}) {
                EXPECT_NE(name, 0u);
                EXPECT_FALSE(name >= 10 && name <= 46) << name;
            }
        }
    }
}

TEST_F(LoadAllTest, MissingTexturesPostAQuitAndLoadingGoesOn) {
    EXPECT_EQ(load(), 20);
    EXPECT_TRUE(startupFailed());
}

} // namespace
