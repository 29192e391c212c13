#pragma once
// A fixture holding the show as the program loads it from the generated data: every texture slot
// filled and only the scene under test set up and warmed up.

#include "app/LoadAll.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "post/EffectBuffers.h"
#include "scenes/SceneRegistry.h"
#include "support/GlTestContext.h"
#include "tests/post/EffectTestSupport.h"

#include <filesystem>
#include <memory>

class LoadedSceneTest : public GlTest {
  protected:
    // Loads with only `id` enabled; `beforeLoad` may adjust the scenes first.
    template <typename Adjust>
    void loadOnly(SceneId id, Adjust beforeLoad) {
        setMessageBoxesInteractive(false);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(CASTRELLE_TEST_DATA_DIR);
        scenes = std::make_unique<ShowScenes>();
        scenes->selected = SceneSet::only(id);
        beforeLoad(*scenes);
        loadAll(show, sceneCallsFor(*scenes), LoadSizes{}, BarStep{nullptr, [](void*) {}});
    }
    void loadOnly(SceneId id) {
        loadOnly(id, [](ShowScenes&) {});
    }
    void TearDown() override {
        releaseTextures(show.directorEffects);
        releaseTextures(show.sceneEffects);
        releaseTextures(show.wideSceneEffects);
        if (!previous.empty()) std::filesystem::current_path(previous);
        resetQuitState();
    }

    std::filesystem::path previous;
    std::unique_ptr<ShowScenes> scenes;
    ShowResources show;
};
