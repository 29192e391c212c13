// The loading bar and the text state on GL's matrix stack. No glyphs are drawn: placing text
// only moves the matrix as the design does.
#include "render/Backend.h"

#include "render/FrameSize.h"

#include <GL/gl.h>

#include <cstring>

namespace fixed {

namespace {

// Where the status lines go: the clock and the frame rate in the top-left corner, the second a
// line below the first on a 768-pixel-high window.
constexpr float kStatusX = -0.49f;
constexpr float kStatusY = 0.46f;
constexpr float kStatusScale = 0.1f;
constexpr float kStatusLineStep = 0.02f;
constexpr float kStatusLineScale = 0.0013020834f; // 1/768 of the window height

void setTextState() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
    glLineWidth(1.0f);
}

void placeText(const ScreenSize& screen, float x, float y, float scale, float centring, const char* text) {
    const float n = static_cast<float>(std::strlen(text));
    glPushMatrix();
    glTranslatef(static_cast<float>(screen.windowWidth) * x - n * scale * centring * 104.76f,
                 static_cast<float>(screen.windowHeight) * y, 0.0f);
    glScalef(scale, scale, scale);
    glPopMatrix();
}

void drawLoadingBar(float progress, int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-(width / 2), width / 2, -(height / 2), height / 2, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    // Laid out for an 800 x 600 picture, scaled to the window's 4:3 picture.
    const float scale = static_cast<float>(pictureAreaIn(width, height).height) / 600.0f;
    if (scale != 1.0f) glScalef(scale, scale, 1.0f);
    glTranslatef(-162.0f, -52.0f, 0.0f);

    glColor4f(0.6f, 0.0f, 0.0f, 1.0f); // the red frame, 328 x 108
    glBegin(GL_QUADS);
    glVertex3f(-4, -4, -1), glVertex3f(324, -4, -1), glVertex3f(324, 104, -1), glVertex3f(-4, 104, -1);
    glEnd();

    glColor4f(0.0f, 0.0f, 0.0f, 1.0f); // the dark part grows from the left of the inner area
    glBegin(GL_QUADS);
    glVertex3f(0, 0, -1), glVertex3f(progress, 0, -1), glVertex3f(progress, 100, -1), glVertex3f(0, 100, -1);
    glEnd();
}

void placeStatusText(const ScreenSize& screen, const char* timeText, const char* fpsText) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1.0f);
    setTextState();
    const float sy = static_cast<float>(screen.windowHeight) * kStatusLineScale;
    glColor4f(1, 1, 1, 1);
    placeText(screen, kStatusX, kStatusY, kStatusScale, 0.0f, timeText);
    placeText(screen, kStatusX, kStatusY - kStatusLineStep / sy, kStatusScale, 0.0f, fpsText);
    glPopMatrix();
}

} // namespace

extern const ShellOps shellOps{.setTextState = setTextState,
                               .placeText = placeText,
                               .placeStatusText = placeStatusText,
                               .drawLoadingBar = drawLoadingBar};

} // namespace fixed
