// The loading bar and the text state with the quad programs. No glyphs are drawn, so placing
// text changes nothing.
#include "render/Backend.h"

#include "glext/EsTable.h"
#include "render/FrameSize.h"
#include "render/gles3/Matrices.h"
#include "render/gles3/Quads.h"
#include "render/gles3/State.h"

namespace gles3 {

namespace {

void setTextState() {
    es::glDisable(GL_DEPTH_TEST);
    setTexturing(false);
    es::glEnable(GL_BLEND);
    es::glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    es::glLineWidth(1.0f); // smoothed lines are the desktop's; no line is drawn anyway
}

void placeText(const ScreenSize&, float, float, float, float, const char*) {}

void placeStatusText(const ScreenSize&, const char*, const char*) { setTextState(); }

void drawLoadingBar(float progress, int width, int height) {
    projectionMatrix() = ortho(-(width / 2), width / 2, -(height / 2), height / 2, 0.0, 1.0);
    es::glViewport(0, 0, width, height);
    es::glClear(GL_COLOR_BUFFER_BIT);
    setTexturing(false);
    es::glDisable(GL_BLEND);
    // Laid out for an 800 x 600 picture, scaled to the window's 4:3 picture.
    const float scale = static_cast<float>(pictureAreaIn(width, height).height) / 600.0f;
    modelviewMatrix() = scaling(scale, scale, 1.0f) * translation(-162.0f, -52.0f, 0.0f);
    drawRectangle(Texturing::None, {0.6f, 0.0f, 0.0f, 1.0f}, -4, -4, 324, 104, -1); // the red frame
    drawRectangle(Texturing::None, {0.0f, 0.0f, 0.0f, 1.0f}, 0, 0, progress, 100, -1);
}

} // namespace

extern const ShellOps shellOps{.setTextState = setTextState,
                               .placeText = placeText,
                               .placeStatusText = placeStatusText,
                               .drawLoadingBar = drawLoadingBar};

} // namespace gles3
