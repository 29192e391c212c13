#pragma once
// The stage every scene module plays on, and the steps all of them take alike: the model loaded
// from a table of files, the camera at its starting place with the light tied to it, the clock
// that ignores long deltas, the opening of every render and the start of its frame. Each scene
// file keeps only what makes it that scene.

#include "anim/CameraFrame.h"
#include "anim/SplinePath.h"
#include "assets/Boxed.h"
#include "assets/Model.h"
#include "assets/SceneLight.h"
#include "math/Vec.h"
#include "post/EffectBuffers.h"
#include "scenes/SceneClock.h"

#include <span>

// Room for every mesh a scene loads.
inline constexpr int kSceneModelCapacity = 10000;

// One row of a scene's loading table: a 3DS file holding one mesh, loaded `copies` times at
// these scales. The meshes take the model's indices in the table's order.
struct ModelFile {
    const char* path;
    float vertexScale;
    float texCoordScale;
    int copies = 1;
};

// The sizes a scene is set up with: the frame, and the small size of its effect buffers.
struct SceneSizes {
    int screenWidth = 0;
    int screenHeight = 0;
    int effectWidth = 0;
    int effectHeight = 0;
};

struct SceneStage {
    explicit SceneStage(float clockStart) : clock(clockStart) {}

    SceneClock clock;
    Boxed<Model> model; // copies with the stage, so a kept scene can be put back whole
    // Every scene's camera starts back from the origin, looking along +z.
    CameraFrame camera{.position = Vec3(0.0f, 5.0f, -25.0f), .forward = Vec3(0.0f, 0.0f, 1.0f)};
    SceneLight light;
    EffectBuffers* effects = nullptr;
    // Set up with every mesh of the table loaded at the index the table gives it. A file that
    // failed has been reported as a start-up error, and the program is on its way out.
    bool ready = false;

    // Makes the model and loads the table into it; the light, coloured, at the origin and tied to
    // the camera.
    void setup(const SceneSizes& sizes, std::span<const ModelFile> files, const Vec3& lightColour,
               bool flipFaceNormals = true);
    // The frame changed size mid-show: every size the scene draws at lives in its model, so it
    // draws at these from the next render on. Nothing to do before set-up.
    void resize(const SceneSizes& sizes);

    // Whether a render has anything to draw. When the stage is set up but not ready, the frame
    // is cleared and left in the screen-sized orthographic projection.
    bool drawable();
    // The opening of most renders: drawable, then the clock takes the delta.
    bool open(int dt);
    // The frame starts black in the screen-sized orthographic projection, the camera squared up.
    void startFrame();
};

// The small pass a glow or the light shafts are drawn in: the post stack held at its small size
// for the scope's extent, meshes through the effect-sized camera.
class GlowPass {
  public:
    explicit GlowPass(SceneStage& stage);

  private:
    SmallEffects small_;
};

// A closed path through the points, built with normalized tangents of this length: the rough
// path a resampled one is made from.
SplinePath closedPath(std::span<const Vec3> points, float tangentLength);
// The built path resampled to even spacing into a looping path: what lights and cameras fly at
// a constant speed.
SplinePath resampledLoop(SplinePath& built);
inline SplinePath resampledLoop(std::span<const Vec3> points, float tangentLength) {
    SplinePath rough = closedPath(points, tangentLength);
    return resampledLoop(rough);
}
