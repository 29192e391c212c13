#include "render/ShadowVolume.h"

#include "render/Transform.h"

#include "tests/render/GeometryTestMeshes.h"

#include "support/GlTestContext.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

// The demo's perspective: 75 degrees, 4:3, near 0.1, with the depth row replaced so that no far
// plane clips the volume's geometry at infinity.
void stretchedPerspective(Vec3 eye, Vec3 centre) {
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(75.0, 4.0 / 3.0, 0.1, 1000.0);
    std::array<GLfloat, 16> p{};
    glGetFloatv(GL_PROJECTION_MATRIX, p.data());
    p[10] = -0.01f;
    p[14] = -0.101f;
    glLoadMatrixf(p.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, 0.0, 1.0, 0.0);
}

GLubyte stencilAt(int x, int y) {
    GLubyte s = 0;
    glReadPixels(x, y, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &s);
    return s;
}

// The stencil value under the world point p as the current camera sees it.
GLubyte stencilUnder(Vec3 p) {
    std::array<GLdouble, 16> mv{}, pr{};
    std::array<GLint, 4> vp{};
    glGetDoublev(GL_MODELVIEW_MATRIX, mv.data());
    glGetDoublev(GL_PROJECTION_MATRIX, pr.data());
    glGetIntegerv(GL_VIEWPORT, vp.data());
    GLdouble wx = 0, wy = 0, wz = 0;
    EXPECT_EQ(gluProject(p.x, p.y, p.z, mv.data(), pr.data(), vp.data(), &wx, &wy, &wz), GL_TRUE);
    EXPECT_TRUE(wx >= 0 && wx < 800 && wy >= 0 && wy < 600) << "point off screen";
    return stencilAt(static_cast<int>(wx), static_cast<int>(wy));
}

bool shadowed(GLubyte s) { return s == shadowStencilClear - 1 || s == shadowStencilClear + 1; }

// A cube of half size 1 at the origin over a floor at y = -3, lit from straight above: the floor
// below the cube lies in its shadow.
struct ShadowScene {
    Model model{4, 800, 600, 256, 128};
    int cube = 0;
    SceneLight light;

    ShadowScene() {
        cube = testmesh::add(model, testmesh::cube(1.0f));
        prepareShadowCaster(model, cube);
        resetWorkPositions(model, cube);
        light.position.set(0.0f, 8.0f, 0.0f);
    }

    // The scene's first pass: floor and cube into colour and depth.
    void drawScene(Vec3 eye, Vec3 centre) {
        stretchedPerspective(eye, centre);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glColor3f(0.2f, 0.4f, 0.6f);
        glBegin(GL_QUADS);
        glVertex3f(-100.0f, -3.0f, -100.0f);
        glVertex3f(-100.0f, -3.0f, 100.0f);
        glVertex3f(100.0f, -3.0f, 100.0f);
        glVertex3f(100.0f, -3.0f, -100.0f);
        glEnd();
        const MeshObject& o = model.mesh(cube);
        glColor3f(0.8f, 0.6f, 0.4f);
        glPushMatrix();
        glTranslatef(o.translation.x, o.translation.y, o.translation.z);
        glBegin(GL_TRIANGLES);
        for (int c : o.faceIndices) {
            const Vec3& p = o.positions[static_cast<std::size_t>(c)];
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
        glPopMatrix();
    }

    // The shadow pass: stencil cleared, volume built in world space, counted from the camera.
    void castShadow() {
        glClearStencil(shadowStencilClear);
        glClear(GL_STENCIL_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        transformToWorld(model, cube, worldFromWorking, true);
        glPopMatrix();
        buildShadowVolume(model, cube, light);
        drawShadowVolume(model, cube);
    }

    void render(Vec3 eye, Vec3 centre) {
        drawScene(eye, centre);
        castShadow();
    }
};

using ShadowStencil = GlTest;

TEST_F(ShadowStencil, FloorBehindTheCasterIsCountedAndTheFloorBesideItIsNot) {
    ShadowScene scene;
    scene.render(Vec3(0.0f, 4.0f, 12.0f), Vec3(0.0f, -3.0f, 0.0f));
    EXPECT_EQ(scene.model.mesh(scene.cube).silhouetteCount, 4); // the rim of the lit top
    EXPECT_TRUE(shadowed(stencilUnder(Vec3(0.0f, -3.0f, 0.0f))));
    EXPECT_TRUE(shadowed(stencilUnder(Vec3(1.0f, -3.0f, 1.2f))));
    EXPECT_EQ(stencilUnder(Vec3(3.0f, -3.0f, 0.0f)), shadowStencilClear);
    EXPECT_EQ(stencilUnder(Vec3(-6.0f, -3.0f, 2.0f)), shadowStencilClear);
    // The lit top of the caster stays lit; its far rim is seen past the volume's own walls.
    EXPECT_EQ(stencilUnder(Vec3(0.0f, 1.0f, 0.0f)), shadowStencilClear);
}

TEST_F(ShadowStencil, CountsStayRightWithTheCameraInsideTheVolume) {
    ShadowScene scene;
    const Vec3 eye(0.0f, -2.0f, 0.2f);
    scene.render(eye, Vec3(0.0f, -3.0f, 3.0f));
    EXPECT_TRUE(shadowed(stencilUnder(Vec3(0.0f, -3.0f, 1.0f))));
    EXPECT_EQ(stencilUnder(Vec3(0.0f, -3.0f, 5.0f)), shadowStencilClear);
    EXPECT_EQ(stencilUnder(Vec3(1.5f, -3.0f, 6.0f)), shadowStencilClear);
}

TEST_F(ShadowStencil, ShadowFollowsTheCastersPlacement) {
    ShadowScene scene;
    scene.model.mesh(scene.cube).translation.set(-4.0f, 0.0f, 0.0f);
    scene.light.position.set(-4.0f, 8.0f, 0.0f);
    scene.render(Vec3(0.0f, 4.0f, 12.0f), Vec3(0.0f, -3.0f, 0.0f));
    EXPECT_TRUE(shadowed(stencilUnder(Vec3(-4.0f, -3.0f, 0.5f))));
    EXPECT_EQ(stencilUnder(Vec3(0.0f, -3.0f, 0.0f)), shadowStencilClear);
}

TEST_F(ShadowStencil, SideSeenFromBelowIsInItsOwnShadow) {
    ShadowScene scene;
    // The cube's side faces are edge-on to a light straight above; tilt the light so one side is
    // lit and the opposite one is turned away.
    scene.light.position.set(3.0f, 8.0f, 0.0f);
    scene.render(Vec3(-8.0f, 0.0f, 0.5f), Vec3(0.0f, 0.0f, 0.0f));
    EXPECT_TRUE(shadowed(stencilUnder(Vec3(-1.0f, 0.0f, 0.0f))));
}

TEST_F(ShadowStencil, DrawingTouchesOnlyTheStencilAndLeavesTheStateForTheLitPass) {
    ShadowScene scene;
    scene.drawScene(Vec3(0.0f, 4.0f, 12.0f), Vec3(0.0f, -3.0f, 0.0f));
    std::vector<GLubyte> before(800 * 600 * 4), after(800 * 600 * 4);
    std::vector<GLfloat> depthBefore(800 * 600), depthAfter(800 * 600);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, before.data());
    glReadPixels(0, 0, 800, 600, GL_DEPTH_COMPONENT, GL_FLOAT, depthBefore.data());
    scene.castShadow();
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, after.data());
    glReadPixels(0, 0, 800, 600, GL_DEPTH_COMPONENT, GL_FLOAT, depthAfter.data());
    EXPECT_TRUE(before == after);
    EXPECT_TRUE(depthBefore == depthAfter);
    ASSERT_TRUE(shadowed(stencilUnder(Vec3(0.0f, -3.0f, 0.0f))));

    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    GLint value = 0;
    glGetIntegerv(GL_STENCIL_FUNC, &value);
    EXPECT_EQ(value, GL_EQUAL);
    glGetIntegerv(GL_STENCIL_REF, &value);
    EXPECT_EQ(value, shadowStencilClear);
    for (GLenum op : {GL_STENCIL_FAIL, GL_STENCIL_PASS_DEPTH_FAIL, GL_STENCIL_PASS_DEPTH_PASS}) {
        glGetIntegerv(op, &value);
        EXPECT_EQ(value, GL_KEEP);
    }
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    std::array<GLboolean, 4> colourWrites{};
    glGetBooleanv(GL_COLOR_WRITEMASK, colourWrites.data());
    EXPECT_EQ(colourWrites, (std::array<GLboolean, 4>{GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE}));
}

// 256 volumes over the same floor: each one's count comes back to where it started only
// because the increments and decrements wrap.
TEST_F(ShadowStencil, CountsWrapRoundTheEightBitStencil) {
    ShadowScene scene;
    scene.render(Vec3(0.0f, 4.0f, 12.0f), Vec3(0.0f, -3.0f, 0.0f));
    const GLubyte once = stencilUnder(Vec3(0.0f, -3.0f, 0.0f));
    ASSERT_TRUE(shadowed(once));
    for (int i = 1; i < 256; ++i) drawShadowVolume(scene.model, scene.cube);
    EXPECT_EQ(stencilUnder(Vec3(0.0f, -3.0f, 0.0f)), shadowStencilClear);
    drawShadowVolume(scene.model, scene.cube);
    EXPECT_EQ(stencilUnder(Vec3(0.0f, -3.0f, 0.0f)), once);
}

} // namespace
