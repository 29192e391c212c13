// The shader renderer keeps the matrices the fixed-function one builds in GL's stack: the same
// camera set-ups and placements give the same matrices, read back through the same front, as GL
// and GLU make them.
#include "render/Camera.h"
#include "render/Transform.h"

#include "support/GlTestContext.h"
#include "support/Renderers.h"
#include "tests/render/GeometryTestMeshes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Restores the fixed-function renderer after each test, whatever it chose.
class RendererMatrices : public GlTest {
  protected:
    void TearDown() override { useBackend(fixedRenderer()); }

    // The view each renderer leaves after `setUp`.
    template <typename SetUp>
    void expectSameView(SetUp setUp) {
        useBackend(fixedRenderer());
        setUp();
        const ViewMatrices fixed = currentView();
        useBackend(shaderRenderer());
        setUp();
        const ViewMatrices shaded = currentView();
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(shaded.modelview[i], fixed.modelview[i],
                        2e-6f * (1.0f + std::fabs(fixed.modelview[i])))
                << "modelview " << i;
            EXPECT_NEAR(shaded.projection[i], fixed.projection[i],
                        2e-6f * (1.0f + std::fabs(fixed.projection[i])))
                << "projection " << i;
        }
    }
};

CameraFrame cameraAt(Vec3 position, Vec3 target) {
    CameraFrame c;
    c.position = position;
    c.aimAt(target);
    c.squareUp();
    return c;
}

TEST_F(RendererMatrices, PerspectivesAndOrthographicsMatch) {
    Model model(10, 800, 600, 256, 128);
    model.fieldOfView = 62.5f;
    const CameraFrame tilted = cameraAt({3.0f, -7.5f, 12.0f}, {-1.0f, 2.0f, 0.5f});
    expectSameView([&] { setPerspectiveScreen(model, tilted); });
    expectSameView([&] { setPerspectiveEffect(model, cameraAt({0, 0, -25}, {0, 0, 0})); });
    Model odd(10, 801, 601, 255, 129); // odd sizes: the halves truncate
    expectSameView([&] { setOrthoScreen(odd); });
    expectSameView([&] { setOrthoEffect(odd); });
}

TEST_F(RendererMatrices, PlacementsMatchGlsTranslateAndRotate) {
    Model model(10, 800, 600, 256, 128);
    const int mesh = testmesh::add(model, testmesh::Shape{{Vec3(1.0f, -2.0f, 0.5f)}, {}});
    MeshObject& o = model.mesh(mesh);
    o.scale.set(1.0f, 2.0f, 3.0f);
    o.useEuler = 1;
    o.translation.set(4.0f, -1.0f, 2.5f);
    o.rotationX = 0.7f, o.rotationY = -2.1f, o.rotationZ = 1.3f;
    const CameraFrame camera = cameraAt({3.0f, 1.0f, -9.0f}, {0, 0, 0});

    Vec3 world[2];
    const RenderBackend* renderers[2] = {&fixedRenderer(), &shaderRenderer()};
    for (int r = 0; r < 2; ++r) {
        useBackend(*renderers[r]);
        setPerspectiveScreen(model, camera); // the view under the placement, as a scene may leave it
        transformToWorld(model, mesh, worldFromRest, false);
        world[r] = o.worldPositions[0];
    }
    EXPECT_NEAR(world[1].x, world[0].x, 1e-4f);
    EXPECT_NEAR(world[1].y, world[0].y, 1e-4f);
    EXPECT_NEAR(world[1].z, world[0].z, 1e-4f);
}

} // namespace
