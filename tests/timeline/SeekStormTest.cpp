// Ten thousand seeks as a restless viewer makes them (back across sections, before the start,
// far past the end, the same time again, and plain frames between) through the director and
// every scene of this build, on the generated data: no crash, no NaN left in any scene's meshes
// and no GL error. The sanitizer run takes all 10000 jumps; the plain suite a tenth
// (CASTRELLE_SEEK_STORM_JUMPS overrides).
#include "app/LoadAll.h"
#include "assets/Model.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "render/FrameProjection.h"
#include "scenes/SceneRegistry.h"
#include "support/GlTestContext.h"
#include "timeline/Director.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

namespace {

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool finite(const Vec4& v) { return finite(Vec3(v.x, v.y, v.z)) && std::isfinite(v.w); }

// The first mesh of the model holding a value that is not finite, or -1.
int firstBrokenMesh(const Model& model) {
    for (int i = 0; i < model.objectCount; ++i) {
        const MeshObject& o = model.mesh(i);
        bool ok = finite(o.translation) && finite(o.scale) && finite(o.colour) && finite(o.ambient) &&
                  std::isfinite(o.rotationX) && std::isfinite(o.rotationY) && std::isfinite(o.rotationZ) &&
                  std::isfinite(o.texOffsetU) && std::isfinite(o.texOffsetV) && std::isfinite(o.alpha);
        for (const Vec3& p : o.workPositions) ok = ok && finite(p);
        if (!ok) return i;
    }
    return -1;
}

// The storm looks at state, not pixels: a small frame keeps ten thousand frames affordable under
// the sanitizers.
constexpr LoadSizes kStormSizes{.frameWidth = 128, .frameHeight = 128, .effectWidth = 64, .effectHeight = 32};

int jumpCount() {
    const char* env = std::getenv("CASTRELLE_SEEK_STORM_JUMPS");
    return env ? std::atoi(env) : 1000;
}

class SeekStorm : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        setMessageBoxesInteractive(false);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(CASTRELLE_TEST_DATA_DIR);
        scenes = std::make_unique<ShowScenes>();
        calls = sceneCallsFor(*scenes);
        loadAll(show, calls, kStormSizes, BarStep{nullptr, [](void*) {}});
        ASSERT_FALSE(startupFailed());
        director.attach(calls, show.directorEffects);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        resetQuitState();
    }

    std::filesystem::path previous;
    std::unique_ptr<ShowScenes> scenes;
    SceneCalls calls;
    ShowResources show;
    Director director;
};

TEST_F(SeekStorm, RandomJumpsLeaveEveryScenesStateFiniteAndGlClean) {
    std::mt19937 random(20261207);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    ScreenSize screen;
    screen.frameWidth = kStormSizes.frameWidth;
    screen.frameHeight = kStormSizes.frameHeight;
    int t = 0;
    const int jumps = jumpCount();
    for (int k = 0; k < jumps; ++k) {
        switch (uniform(0, 9)) {
        case 0:
            break; // the same time again
        case 1:
            t = uniform(-60000, -1);
            break; // before the start
        case 2:
            t = uniform(286500, 1 << 30);
            break; // far past the end
        case 3:
        case 4:
            t = uniform(0, 286499);
            break; // anywhere, often backwards across sections
        default:
            t += uniform(1, 40);
            break; // plain frames
        }
        bool quit = false;
        setFrameProjection(screen, 800, 600);
        director.run(t, quit);
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "jump " << k << " to " << t;
        if (k % 50 != 0 && k != jumps - 1) continue;
        for (int i = 0; i < kSceneCount; ++i) {
            const SceneId id = static_cast<SceneId>(i);
            const Model* model = sceneStage(*scenes, id).model.get();
            if (!model) continue;
            ASSERT_EQ(firstBrokenMesh(*model), -1)
                << sceneInfo(id).name << " after jump " << k << " to " << t;
        }
    }
}

} // namespace
