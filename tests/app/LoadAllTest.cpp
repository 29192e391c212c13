#include "app/LoadAll.h"

#include "assets/JpegWriter.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "support/GlTestContext.h"
#include "support/RecordingScenes.h"
#include "support/RunProgram.h"
#include "support/TempPath.h"

#include <filesystem>
#include <fstream>

#include <GL/gl.h>

namespace {

// Loads run in a folder holding a small picture under every texture name.
class LoadAllTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        setMessageBoxesInteractive(false);
        previous = std::filesystem::current_path();
        dir = testTempPath("loadall");
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "Images");
        const auto jpeg = jpegtest::encode(jpegtest::flat(8, 8, {200, 100, 50}), 8, 8);
        for (const auto& picture : std::filesystem::directory_iterator(dataDir() + "/Images")) {
            std::ofstream out(dir / "Images" / picture.path().filename(), std::ios::binary);
            out.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
        }
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        // The slots stay 2D or cube for the life of a name: free them for the next test.
        for (GLuint slot = 10; slot <= 46; ++slot) glDeleteTextures(1, &slot);
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
    std::filesystem::path dir;
    RecordingScenes scenes;
    ShowResources show;
    int bars = 0;
};

// Twelve steps for the effect buffers and the texture groups, then one per module: twenty for the
// show's eight.
constexpr int kBarsBeforeModules = 12;

TEST_F(LoadAllTest, TwentyBarStepsWithEveryModule) { EXPECT_EQ(load(), kBarsBeforeModules + kSceneCount); }

TEST_F(LoadAllTest, DisabledModuleIsSkippedWithItsBarStep) {
    scenes.selected = SceneSet::all().without(SceneId::Cave);
    EXPECT_EQ(load(), kBarsBeforeModules + kSceneCount - 1);
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
    // In the order of the ids, which is the order the shared random generator was tuned with.
    std::vector<SceneId> expected;
    for (int i = 0; i < kSceneCount; ++i) expected.push_back(static_cast<SceneId>(i));
    EXPECT_EQ(order, expected);
    // Each module is set up at the small size of the buffers it was attached to.
    for (const SceneCall& c : calls) {
        if (c.what == "render") continue;
        const bool wide = c.id == SceneId::StarBall || c.id == SceneId::Cave || c.id == SceneId::Closing;
        EXPECT_EQ(c.effectsSmallWidth, wide ? 512 : 256) << c.what << " " << sceneInfo(c.id).name;
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

TEST_F(LoadAllTest, EveryTextureLoadsWithoutError) {
    load();
    EXPECT_FALSE(startupFailed());
    GLint width = 0;
    glBindTexture(GL_TEXTURE_CUBE_MAP, 43);
    glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 8);
    glBindTexture(GL_TEXTURE_2D, 46);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 8);
}

TEST_F(LoadAllTest, MissingTextureIsReportedAndLoadingGoesOn) {
    std::filesystem::remove(dir / "Images" / "credko.jpg");
    EXPECT_EQ(load(), kBarsBeforeModules + kSceneCount);
    EXPECT_TRUE(startupFailed());
}

} // namespace
