#pragma once
// A fixture holding one scene module of its own on the generated models, with effect buffers of
// the show's scene size: set up in the test data's folder, which the fixture enters and leaves.

#include "post/EffectBuffers.h"
#include "support/GlTestContext.h"

#include <filesystem>

template <typename Scene>
class OneSceneTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(CASTRELLE_TEST_DATA_DIR);
        effects = EffectBuffers(512, 512, 256, 128);
        scene.attach(effects);
        scene.setup(512, 512, 256, 128);
        ASSERT_TRUE(scene.stage.ready);
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    std::filesystem::path previous;
    EffectBuffers effects;
    Scene scene;
};
