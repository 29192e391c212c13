#include "render/FrameProjection.h"
#include "render/FrameSize.h"
#include "render/FrameTarget.h"
#include "render/ScreenBlit.h"
#include "render/ShellText.h"

#include "support/GlTestContext.h"

#include <GL/gl.h>

#include <array>

namespace {

using ShellDrawing = GlTest;

std::array<GLubyte, 3> pixelAt(int x, int y) {
    std::array<GLubyte, 4> p{};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return {p[0], p[1], p[2]};
}

std::array<GLfloat, 16> matrix(GLenum which) {
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

TEST_F(ShellDrawing, FrameProjectionIsFrameSizedOrthoAtLowerLeft) {
    ScreenSize screen;
    setFrameProjection(screen, 1024, 768);
    EXPECT_EQ(screen.windowWidth, 1024);
    EXPECT_EQ(screen.windowHeight, 768);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 512);
    EXPECT_EQ(viewport[3], 512);
    const auto p = matrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(p[0], 1.0f / 256);
    EXPECT_FLOAT_EQ(p[5], 1.0f / 256);
    EXPECT_FLOAT_EQ(p[10], -2.0f);
    EXPECT_FLOAT_EQ(p[14], -1.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(ShellDrawing, ZeroHeightResizeChangesNothing) {
    ScreenSize screen;
    glViewport(0, 0, 10, 10);
    setFrameProjection(screen, 640, 0);
    EXPECT_EQ(screen.windowWidth, 800);
    EXPECT_EQ(screen.windowHeight, 600);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 10);
}

TEST_F(ShellDrawing, WindowProjectionCoversTheWindow) {
    ScreenSize screen;
    setWindowProjection(screen);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    const auto p = matrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(p[0], 2.0f / 800);
    EXPECT_FLOAT_EQ(p[5], 2.0f / 600);
}

// The left half of the frame red, the right half green: after the blit the window shows the
// frame stretched over all of it.
TEST_F(ShellDrawing, BlitStretchesTheFrameOverTheWindow) {
    ScreenSize screen;
    FrameTarget frame;
    ASSERT_TRUE(prepareFrame(screen, frame));
    setFrameProjection(screen, 800, 600);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0);
    glVertex3f(-256, -256, -0.5f), glVertex3f(0, -256, -0.5f), glVertex3f(0, 256, -0.5f),
        glVertex3f(-256, 256, -0.5f);
    glColor3f(0, 1, 0);
    glVertex3f(0, -256, -0.5f), glVertex3f(256, -256, -0.5f), glVertex3f(256, 256, -0.5f),
        glVertex3f(0, 256, -0.5f);
    glEnd();
    blitFrame(screen, frame);
    EXPECT_EQ(pixelAt(5, 5), (std::array<GLubyte, 3>{255, 0, 0}));
    EXPECT_EQ(pixelAt(380, 590), (std::array<GLubyte, 3>{255, 0, 0}));
    EXPECT_EQ(pixelAt(420, 300), (std::array<GLubyte, 3>{0, 255, 0}));
    EXPECT_EQ(pixelAt(795, 595), (std::array<GLubyte, 3>{0, 255, 0}));
    destroyFrameTarget(frame);
}

// A window of another shape gets the 4:3 picture in its middle and black bars beside it.
TEST_F(ShellDrawing, BlitKeepsTheFourByThreePictureWithBarsOnOtherShapes) {
    ScreenSize screen;
    FrameTarget frame;
    ASSERT_TRUE(prepareFrame(screen, frame));
    setFrameProjection(screen, 800, 300); // 8:3, as 1920 x 720 would be
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    blitFrame(screen, frame);
    EXPECT_EQ(pixelAt(100, 150), (std::array<GLubyte, 3>{0, 0, 0}));
    EXPECT_EQ(pixelAt(205, 150), (std::array<GLubyte, 3>{255, 0, 0}));
    EXPECT_EQ(pixelAt(595, 150), (std::array<GLubyte, 3>{255, 0, 0}));
    EXPECT_EQ(pixelAt(700, 150), (std::array<GLubyte, 3>{0, 0, 0}));
    destroyFrameTarget(frame);
}

TEST(FrameSize, PictureAreaAndTheCapturesDefaultFrame) {
    const PictureArea hd = pictureAreaIn(1920, 1080);
    EXPECT_EQ(hd.width, 1440);
    EXPECT_EQ(hd.x, 240);
    EXPECT_EQ(pictureAreaIn(800, 600).width, 800);
    EXPECT_EQ(pictureAreaIn(800, 1000).y, 200);
    EXPECT_EQ(defaultFrameFor(800, 600), 512);
    EXPECT_EQ(defaultFrameFor(1024, 768), 512);
    EXPECT_EQ(defaultFrameFor(1920, 1080), 1024);
    EXPECT_EQ(defaultFrameFor(3840, 2160), 2048);
}

// Window 800 x 600: the bar's inner area starts at pixel (238, 248) and is 320 x 100.
TEST_F(ShellDrawing, LoadingBarGrowsSixteenUnitsPerStep) {
    const std::array<GLubyte, 3> red{153, 0, 0}, black{0, 0, 0};
    LoadingBar bar;
    bar.drawStep(800, 600);
    EXPECT_EQ(pixelAt(238 + 5, 300), black);
    EXPECT_EQ(pixelAt(238 + 15, 300), red);
    EXPECT_EQ(pixelAt(236, 300), red); // the 4-unit border
    EXPECT_EQ(pixelAt(230, 300), black);
    for (int step = 2; step <= 20; ++step) bar.drawStep(800, 600);
    EXPECT_EQ(pixelAt(238 + 312, 300), black); // 314 units dark after twenty steps
    EXPECT_EQ(pixelAt(238 + 316, 300), red);   // 6 units of red left in the inner area
    EXPECT_EQ(pixelAt(238 + 322, 300), red);   // and the border
    EXPECT_FLOAT_EQ(bar.progress, 10.0f + 20 * 16.0f);
}

TEST_F(ShellDrawing, PrintTextLeavesTheModelviewMatrix) {
    ScreenSize screen;
    glTranslatef(1, 2, 3);
    const auto before = matrix(GL_MODELVIEW_MATRIX);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    printText(screen, -0.49f, 0.46f, 0.1f, 0.0f, "Time: 1234");
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), before);
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
}

TEST_F(ShellDrawing, TextStateBlendsOverWithoutDepthOrTexture) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    setTextState();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace
