#include "render/Camera.h"

#include "support/GlTestContext.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cmath>

namespace {

using CameraSetUp = GlTest;

std::array<GLfloat, 16> matrix(GLenum which) {
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

std::array<GLint, 4> viewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

// The projection GLU gives for the arguments, read back from GL.
std::array<GLfloat, 16> gluProjection(double fovy) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(fovy, 4.0 / 3.0, 0.1, 1000.0);
    const auto m = matrix(GL_PROJECTION_MATRIX);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return m;
}

// m (column order) times (x, y, z, 1).
std::array<float, 4> transform(const std::array<GLfloat, 16>& m, float x, float y, float z) {
    std::array<float, 4> r{};
    for (int row = 0; row < 4; ++row) r[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    return r;
}

CameraFrame cameraAt(Vec3 position, Vec3 target) {
    CameraFrame c;
    c.position = position;
    c.aimAt(target);
    c.squareUp();
    return c;
}

// A full-viewport square at eye-space depth z (modelview identity), drawn whatever the depth buffer
// holds, so its stored depth can be read back.
void drawSquareAtEyeDepth(float z) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    const float h = -z; // wide enough to cover the 75-degree view at this depth
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glVertex3f(-2 * h, -2 * h, z);
    glVertex3f(2 * h, -2 * h, z);
    glVertex3f(2 * h, 2 * h, z);
    glVertex3f(-2 * h, 2 * h, z);
    glEnd();
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
}

float depthAtCentre() {
    GLfloat d = -1.0f;
    glReadPixels(400, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
    return d;
}

GLubyte redAtCentre() {
    GLubyte p[4] = {};
    glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[0];
}

// Window depth of eye-space z under the stretched projection: clip z = -0.01 z - 0.101, w = -z.
float stretchedWindowDepth(float z) { return 0.5f * ((-0.01f * z - 0.101f) / -z + 1.0f); }

// --- Stretched-depth perspective -----------------------------------------------------------------

TEST_F(CameraSetUp, StretchedPerspectivePatchesOnlyElements10And14) {
    Model model(10, 800, 600, 256, 128);
    setPerspectiveScreen(model, cameraAt({0, 0, -5}, {0, 0, 0}));
    const auto p = matrix(GL_PROJECTION_MATRIX);
    const auto reference = gluProjection(75.0);
    for (int i = 0; i < 16; ++i) {
        if (i == 10 || i == 14) continue;
        EXPECT_FLOAT_EQ(p[i], reference[i]) << "element " << i;
    }
    EXPECT_FLOAT_EQ(p[10], -0.01f);
    EXPECT_FLOAT_EQ(p[14], -0.101f);
}

TEST_F(CameraSetUp, StretchedPerspectiveUsesTheModelsFieldOfView) {
    Model model(10, 800, 600, 256, 128);
    model.fieldOfView = 50.0f;
    setPerspectiveScreen(model, cameraAt({0, 0, -5}, {0, 0, 0}));
    const auto p = matrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(p[5], gluProjection(50.0)[5]);
    EXPECT_NE(p[5], gluProjection(75.0)[5]);
}

TEST_F(CameraSetUp, NearDistanceMapsToDepthMinusOne) {
    Model model(10, 800, 600, 256, 128);
    setPerspectiveScreen(model, cameraAt({0, 0, -5}, {0, 0, 0}));
    const auto clip = transform(matrix(GL_PROJECTION_MATRIX), 0, 0, -0.1f);
    EXPECT_NEAR(clip[2] / clip[3], -1.0f, 1e-5f);
}

TEST_F(CameraSetUp, FarPointsAreNotClippedAndStayBelowDepthOnePercent) {
    Model model(10, 800, 600, 256, 128);
    setPerspectiveScreen(model, cameraAt({0, 0, -5}, {0, 0, 0}));
    const auto clip = transform(matrix(GL_PROJECTION_MATRIX), 0, 0, -10000.0f);
    EXPECT_LT(clip[2] / clip[3], 0.01f);

    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawSquareAtEyeDepth(-10000.0f);
    EXPECT_EQ(redAtCentre(), 255) << "a point far beyond 1000 units must be drawn";
    EXPECT_NEAR(depthAtCentre(), stretchedWindowDepth(-10000.0f), 1e-5f);
}

TEST_F(CameraSetUp, PointsNearerThanTheNearDistanceAreClipped) {
    Model model(10, 800, 600, 256, 128);
    setPerspectiveScreen(model, cameraAt({0, 0, -5}, {0, 0, 0}));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawSquareAtEyeDepth(-0.09f);
    EXPECT_EQ(redAtCentre(), 0);
}

TEST_F(CameraSetUp, AspectIsFourThirdsWhateverTheViewport) {
    Model model(10, 512, 512, 256, 128);
    setPerspectiveScreen(model, cameraAt({0, 0, -5}, {0, 0, 0}));
    const auto p = matrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(p[5] / p[0], 4.0f / 3.0f);
}

TEST_F(CameraSetUp, ScreenAndEffectPerspectivesTakeTheirViewports) {
    Model model(10, 640, 480, 256, 128);
    const CameraFrame camera = cameraAt({0, 0, -5}, {0, 0, 0});
    setPerspectiveScreen(model, camera);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
    setPerspectiveEffect(model, camera);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 256, 128}));
    const auto p = matrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(p[10], -0.01f);
    EXPECT_FLOAT_EQ(p[14], -0.101f);
}

// --- View from the camera ------------------------------------------------------------------------

TEST_F(CameraSetUp, EyeIsTheNegatedCameraPosition) {
    Model model(10, 800, 600, 256, 128);
    const CameraFrame camera = cameraAt({0, 5, -25}, {0, 0, 0});
    setPerspectiveScreen(model, camera);
    const auto view = matrix(GL_MODELVIEW_MATRIX);
    const auto eye = transform(view, 0, -5, 25);
    EXPECT_NEAR(eye[0], 0.0f, 1e-4f);
    EXPECT_NEAR(eye[1], 0.0f, 1e-4f);
    EXPECT_NEAR(eye[2], 0.0f, 1e-4f);
    // The GL origin lies straight ahead of that eye, at the camera's distance.
    const auto origin = transform(view, 0, 0, 0);
    EXPECT_NEAR(origin[0], 0.0f, 1e-4f);
    EXPECT_NEAR(origin[1], 0.0f, 1e-4f);
    EXPECT_NEAR(origin[2], -std::sqrt(25.0f + 625.0f), 1e-4f);
}

TEST_F(CameraSetUp, UpVectorIsPassedUnchanged) {
    Model model(10, 800, 600, 256, 128);
    CameraFrame camera = cameraAt({0, 0, -5}, {0, 0, 0});
    camera.up.set(1, 0, 0);
    setPerspectiveScreen(model, camera);
    // Eye-space +y is the camera's up: a point one unit along up from the eye's target line.
    const auto p = transform(matrix(GL_MODELVIEW_MATRIX), 1, 0, 0);
    EXPECT_NEAR(p[0], 0.0f, 1e-5f);
    EXPECT_NEAR(p[1], 1.0f, 1e-5f);
}

TEST_F(CameraSetUp, PerspectiveRecordsTheEyeAndLeavesModelviewSelected) {
    Model model(10, 800, 600, 256, 128);
    const CameraFrame camera = cameraAt({1, 2, 3}, {4, 6, 3});
    setPerspectiveEffect(model, camera);
    EXPECT_EQ(model.eyePosition.x, 1.0f);
    EXPECT_EQ(model.eyePosition.y, 2.0f);
    EXPECT_EQ(model.eyePosition.z, 3.0f);
    EXPECT_EQ(model.eyeDirection.x, camera.forward.x);
    EXPECT_EQ(model.eyeDirection.y, camera.forward.y);
    EXPECT_EQ(model.eyeDirection.z, camera.forward.z);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

// --- Fixed perspective ---------------------------------------------------------------------------

// --- Orthographic set-ups ------------------------------------------------------------------------

TEST_F(CameraSetUp, OrthoScreenUsesTruncatedHalvesOfAnOddSize) {
    Model model(10, 801, 601, 256, 128);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(3, 4, 5);
    setOrthoScreen(model);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 801, 601}));
    // glOrtho(-400, 400, -300, 300, 0, 1)
    const auto p = matrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(p[0], 2.0f / 800);
    EXPECT_FLOAT_EQ(p[5], 2.0f / 600);
    EXPECT_FLOAT_EQ(p[10], -2.0f);
    EXPECT_FLOAT_EQ(p[12], 0.0f);
    EXPECT_FLOAT_EQ(p[13], 0.0f);
    EXPECT_FLOAT_EQ(p[14], -1.0f);
    const auto m = matrix(GL_MODELVIEW_MATRIX);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << "modelview element " << i;
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(CameraSetUp, OrthoEffectPutsOnePixelPerUnitAroundTheCentre) {
    Model model(10, 800, 600, 256, 128);
    setOrthoEffect(model);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 256, 128}));
    // A 2 x 2 square at the origin covers the four pixels around the viewport's centre.
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    GLubyte block[4][4][4] = {};
    glReadPixels(126, 62, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, block);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = (x == 1 || x == 2) && (y == 1 || y == 2);
            EXPECT_EQ(block[y][x][0], inside ? 255 : 0) << "pixel " << 126 + x << ", " << 62 + y;
        }
}

} // namespace
