#include "scenes/SceneStage.h"

#include "render/Camera.h"
#include "render/PassState.h"

#include <memory>

namespace {

// Every row's copies, each bringing exactly one mesh.
bool loadTable(Model& model, std::span<const ModelFile> files) {
    int expected = 0;
    for (const ModelFile& file : files) {
        model.vertexScale = file.vertexScale;
        model.texCoordScale = file.texCoordScale;
        for (int copy = 0; copy < file.copies; ++copy) model.load(file.path);
        expected += file.copies;
    }
    return model.objectCount == expected;
}

} // namespace

void SceneStage::setup(const SceneSizes& sizes, std::span<const ModelFile> files, const Vec3& lightColour,
                       bool flipFaceNormals) {
    model = std::make_unique<Model>(kSceneModelCapacity, sizes.screenWidth, sizes.screenHeight,
                                    sizes.effectWidth, sizes.effectHeight);
    model->flipFaceNormals = flipFaceNormals ? 1 : 0;
    light.setColour(lightColour.x, lightColour.y, lightColour.z);
    light.position.set(0.0f, 0.0f, 0.0f);
    light.camera = &camera;
    ready = loadTable(*model, files);
}

void SceneStage::resize(const SceneSizes& sizes) {
    if (!model) return;
    model->screenWidth = sizes.screenWidth;
    model->screenHeight = sizes.screenHeight;
    model->effectWidth = sizes.effectWidth;
    model->effectHeight = sizes.effectHeight;
}

bool SceneStage::drawable() {
    if (!model || !effects) return false;
    if (ready) return true;
    setOrthoScreen(*model);
    clear(Buffers::ColourAndDepth);
    return false;
}

bool SceneStage::open(int dt) {
    if (!drawable()) return false;
    clock.advance(dt);
    return true;
}

void SceneStage::startFrame() {
    setOrthoScreen(*model);
    clear(Buffers::ColourAndDepth);
    camera.squareUp();
}

GlowPass::GlowPass(SceneStage& stage) : small_(*stage.effects) {
    setPerspectiveEffect(*stage.model, stage.camera);
    applyPassState(kMeshPass);
}

SplinePath closedPath(std::span<const Vec3> points, float tangentLength) {
    SplinePath path(100, true);
    for (const Vec3& p : points) path.addPoint(p.x, p.y, p.z);
    path.build(tangentLength, true);
    return path;
}

SplinePath resampledLoop(SplinePath& built) {
    built.planResample();
    SplinePath loop(built.resampleCount, true);
    built.resampleInto(loop);
    return loop;
}
