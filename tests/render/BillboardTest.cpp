#include "render/Billboard.h"
#include "render/Camera.h"

#include "support/GlTestContext.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr GLuint kSpriteSlot = 710;

struct Rgb {
    int r = 0, g = 0, b = 0;
};

Rgb pixelAt(int x, int y) {
    GLubyte p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

bool lit(int x, int y) { return pixelAt(x, y).r > 0; }

void makeSpriteTexture(GLubyte level) {
    const GLubyte texels[2 * 2 * 3] = {level, level, level, level, level, level,
                                       level, level, level, level, level, level};
    glBindTexture(GL_TEXTURE_2D, kSpriteSlot);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// An opaque, untextured square in the plane z of the current modelview.
void drawOpaqueSquare(float x0, float x1, float z, float r, float g, float b) {
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glColor4f(r, g, b, 1);
    glBegin(GL_QUADS);
    glVertex3f(x0, -10, z);
    glVertex3f(x1, -10, z);
    glVertex3f(x1, 10, z);
    glVertex3f(x0, 10, z);
    glEnd();
}

// Lit pixels of one row or column through the frame.
int litInRow(int y) {
    int n = 0;
    for (int x = 0; x < 800; ++x) n += lit(x, y) ? 1 : 0;
    return n;
}
int litInColumn(int x) {
    int n = 0;
    for (int y = 0; y < 600; ++y) n += lit(x, y) ? 1 : 0;
    return n;
}

class Billboard : public GlTest {
  protected:
    Model model{10, 800, 600, 256, 128};
    CameraFrame camera;

    void SetUp() override {
        GlTest::SetUp();
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glDisable(GL_TEXTURE_CUBE_MAP);
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        makeSpriteTexture(255);
        // GL eye at (0, 0, 5) looking down -z, +y up.
        camera.position.set(0, 0, -5);
        camera.forward.set(0, 0, 1);
        camera.up.set(0, 1, 0);
        setPerspectiveScreen(model, camera);
    }

    // Half extents in pixels of a sprite of half size `half` seen `distance` ahead.
    std::array<float, 2> pixelHalves(float half, float distance) {
        std::array<GLfloat, 16> p{};
        glGetFloatv(GL_PROJECTION_MATRIX, p.data());
        return {half * p[0] / distance * 400.0f, half * p[5] / distance * 300.0f};
    }
};

// --- Facing the viewer ---------------------------------------------------------------------------

TEST_F(Billboard, FacesTheScreenWhenLookingHorizontally) {
    // A camera turned sideways: the sprite straight ahead is still an upright screen rectangle.
    camera.forward.set(0.6f, 0, 0.8f);
    setPerspectiveScreen(model, camera);
    drawBillboard(model, -3, 0, 1, static_cast<int>(kSpriteSlot), 0.5f, 0.5f, 1, 0.5f, 0.25f, 1);
    const Rgb centre = pixelAt(400, 300);
    EXPECT_EQ(centre.r, 255);
    EXPECT_NEAR(centre.g, 128, 1);
    EXPECT_NEAR(centre.b, 64, 1);

    const auto halves = pixelHalves(0.5f, 5.0f);
    const int hx = static_cast<int>(halves[0]), hy = static_cast<int>(halves[1]);
    for (int sx : {-1, 1})
        for (int sy : {-1, 1}) {
            EXPECT_TRUE(lit(400 + sx * (hx - 2), 300 + sy * (hy - 2))) << "corner " << sx << ", " << sy;
            EXPECT_FALSE(lit(400 + sx * (hx + 2), 300 + sy * (hy - 2)))
                << "beside corner " << sx << ", " << sy;
            EXPECT_FALSE(lit(400 + sx * (hx - 2), 300 + sy * (hy + 2)))
                << "above corner " << sx << ", " << sy;
        }
}

TEST_F(Billboard, LandsWhereItsCentreIsSeen) {
    drawBillboard(model, 1, 0.5f, 0, static_cast<int>(kSpriteSlot), 0.05f, 0.05f, 1, 1, 1, 1);
    std::array<GLfloat, 16> p{};
    glGetFloatv(GL_PROJECTION_MATRIX, p.data());
    const int x = 400 + static_cast<int>(std::lround(1.0f * p[0] / 5.0f * 400.0f));
    const int y = 300 + static_cast<int>(std::lround(0.5f * p[5] / 5.0f * 300.0f));
    EXPECT_TRUE(lit(x, y));
    EXPECT_FALSE(lit(400, 300));
}

TEST_F(Billboard, PitchTiltsTheSpriteAboutTheScreensHorizontalAxis) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -5);
    const auto draw = [&](Vec3 direction) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        model.eyeDirection = direction;
        drawBillboard(model, 0, 0, 0, static_cast<int>(kSpriteSlot), 1.5f, 1.5f, 1, 1, 1, 1);
    };
    const int hy = static_cast<int>(pixelHalves(1.5f, 5.0f)[1]);

    draw({0, 0, 1});
    const int flatHeight = litInColumn(400);
    EXPECT_EQ(litInRow(300 + hy - 3), litInRow(300 - hy + 3)) << "level camera: top and bottom equally wide";

    // Looking up by 30 degrees turns the top edge away from the viewer: narrower and lower.
    draw({0, 0.5f, std::sqrt(0.75f)});
    const int upHeight = litInColumn(400);
    int top = 599;
    while (top > 0 && !lit(400, top)) --top;
    int bottom = 0;
    while (bottom < 599 && !lit(400, bottom)) ++bottom;
    EXPECT_LT(upHeight, flatHeight);
    EXPECT_LT(litInRow(top - 2), litInRow(bottom + 2));

    draw({0, -0.5f, std::sqrt(0.75f)});
    top = 599;
    while (top > 0 && !lit(400, top)) --top;
    bottom = 0;
    while (bottom < 599 && !lit(400, bottom)) ++bottom;
    EXPECT_GT(litInRow(top - 2), litInRow(bottom + 2));

    // Straight up: a quarter turn, the sprite is seen edge-on.
    draw({0, 1, 0});
    EXPECT_LE(litInColumn(400), 1);
}

// --- Depth and blending --------------------------------------------------------------------------

TEST_F(Billboard, NearerGeometryHidesItButItHidesNothing) {
    drawOpaqueSquare(-10, 0, 2, 0, 0, 1); // left half, nearer than the sprite
    drawBillboard(model, 0, 0, 0, static_cast<int>(kSpriteSlot), 1, 1, 0.5f, 0, 0, 1);
    EXPECT_EQ(pixelAt(380, 300).b, 255);
    EXPECT_EQ(pixelAt(380, 300).r, 0);
    EXPECT_NEAR(pixelAt(420, 300).r, 128, 1);

    // A second sprite behind the first still adds: the first wrote no depth.
    drawBillboard(model, 0, 0, -1, static_cast<int>(kSpriteSlot), 1, 1, 0.5f, 0, 0, 1);
    EXPECT_EQ(pixelAt(420, 300).r, 255);

    // Geometry drawn later behind the sprite is not hidden by it.
    drawOpaqueSquare(0, 10, -2, 0, 1, 0);
    EXPECT_EQ(pixelAt(420, 300).g, 255);
    EXPECT_EQ(pixelAt(420, 300).r, 0);
}

TEST_F(Billboard, ZeroAlphaAndBlackTexelsAddNothing) {
    glClearColor(0.25f, 0.25f, 0.25f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    drawBillboard(model, 0, 0, 0, static_cast<int>(kSpriteSlot), 1, 1, 1, 1, 1, 0);
    EXPECT_NEAR(pixelAt(400, 300).r, 64, 1);
    makeSpriteTexture(0);
    drawBillboard(model, 0, 0, 0, static_cast<int>(kSpriteSlot), 1, 1, 1, 1, 1, 1);
    EXPECT_NEAR(pixelAt(400, 300).r, 64, 1);
    makeSpriteTexture(255);
    drawBillboard(model, 0, 0, 0, static_cast<int>(kSpriteSlot), 1, 1, 0.5f, 0.5f, 0.5f, 0.5f);
    EXPECT_NEAR(pixelAt(400, 300).r, 64 + 64, 2); // colour times alpha, added
}

TEST_F(Billboard, LeavesBlendingDepthAndTexturingOnAndLightingAlone) {
    glEnable(GL_LIGHTING);
    std::array<GLfloat, 16> before{}, after{};
    glGetFloatv(GL_MODELVIEW_MATRIX, before.data());
    drawBillboard(model, 0, 0, 0, static_cast<int>(kSpriteSlot), 1, 1, 0.1f, 0.2f, 0.3f, 0.4f);
    glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_EQ(before, after);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glDisable(GL_LIGHTING);
    drawBillboard(model, 0, 0, 0, static_cast<int>(kSpriteSlot), 1, 1, 0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_TRUE);
    GLint value = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_ADD);
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(value, static_cast<GLint>(kSpriteSlot));
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.4f);
}

TEST_F(Billboard, DrawingOnlyTheInkWindowAddsWhatTheWholeSpriteAdds) {
    // A 64 x 32 texture, black but for a small patch, sampled linearly as the show's pictures are.
    constexpr int w = 64, h = 32;
    std::vector<GLubyte> texels(3 * w * h, 0);
    for (int y = 20; y < 26; ++y)
        for (int x = 10; x < 41; ++x) texels[static_cast<std::size_t>(3 * (y * w + x))] = 200;
    texels[static_cast<std::size_t>(3 * (5 * w + 30) + 2)] = 1; // one faint texel widens the window
    glBindTexture(GL_TEXTURE_2D, kSpriteSlot);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    const BillboardWindow ink = inkWindowOf(static_cast<int>(kSpriteSlot));
    EXPECT_FLOAT_EQ(ink.u0, 8.0f / w);
    EXPECT_FLOAT_EQ(ink.u1, 43.0f / w);
    EXPECT_FLOAT_EQ(ink.v0, 3.0f / h);
    EXPECT_FLOAT_EQ(ink.v1, 28.0f / h);

    std::vector<GLubyte> frames[2];
    for (int k = 0; k < 2; ++k) {
        glClearColor(0.1f, 0.1f, 0.1f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int i = 0; i < 5; ++i) // several, at odd offsets and magnified, as a credit row piles up
            drawBillboard(model, 0.013f * static_cast<float>(i), -0.21f, 0, static_cast<int>(kSpriteSlot),
                          2.3f, 1.7f, 1, 0.7f, 0.2f, 0.5f, k == 0 ? BillboardWindow{} : ink);
        frames[k].resize(800 * 600 * 3);
        glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, frames[k].data());
    }
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_GT(std::count_if(frames[0].begin(), frames[0].end(), [](GLubyte b) { return b > 100; }), 1000);

    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 std::vector<GLubyte>(12, 0).data());
    const BillboardWindow black = inkWindowOf(static_cast<int>(kSpriteSlot));
    EXPECT_EQ(black.u0, 0.0f);
    EXPECT_EQ(black.v1, 1.0f);
    makeSpriteTexture(255);
}

} // namespace
