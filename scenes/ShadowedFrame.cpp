#include "scenes/ShadowedFrame.h"

#include "render/Camera.h"
#include "render/RenderPath.h"
#include "render/ShadowVolume.h"

#include <GL/gl.h>

namespace {

// Draw only where the stencil still holds its clear value.
void stencilOnUnshadowed() {
    glClearStencil(shadowStencilClear);
    glStencilFunc(GL_EQUAL, shadowStencilClear, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glStencilMask(0xFF);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

} // namespace

void beginLitPass(Model& model, const CameraFrame& camera) {
    setPerspectiveScreen(model, camera);
    glEnable(GL_DEPTH_TEST);
    stencilOnUnshadowed();
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
}

void beginShadowVolumes(Model& model) {
    glClear(GL_COLOR_BUFFER_BIT);
    glClearStencil(shadowStencilClear);
    glClear(GL_STENCIL_BUFFER_BIT);
    setOrthoScreen(model); // the volumes are built in world space: identity modelview
}

void beginMaskFill(Model& model, const CameraFrame& camera) {
    glEnable(GL_STENCIL_TEST);
    stencilOnUnshadowed();
    glEnable(GL_DEPTH_TEST);
    setPerspectiveScreen(model, camera);
}

void endMaskFill(Model& model, EffectBuffers& fx) {
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_DEPTH_TEST);
    setOrthoScreen(model);
    fx.sampleSmall = fx.targetSmall = fx.spare1 = fx.spare2 = 0;
}

bool fastShadowMask(EffectBuffers& fx) { return fastRendering() && fx.canComposeHalfMask(); }

void beginHalfSizeSurfaces(Model& model, const CameraFrame& camera) {
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    stencilOnUnshadowed(); // the stencil is clear: every surface lands
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    setPerspectiveHalfScreen(model, camera);
}

void beginHalfSizeVolumes(Model& model, const CameraFrame& camera) {
    setPerspectiveHalfScreen(model, camera);
}

void beginFullSizeVolumes(Model& model, const CameraFrame& camera) { setPerspectiveScreen(model, camera); }

void blackenShadowed() {
    glPushAttrib(GL_ENABLE_BIT | GL_STENCIL_BUFFER_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, shadowStencilClear, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glColor3f(0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

void composeShadowedFrame(EffectBuffers& fx, const ShadowMaskLook& look) {
    if (fastShadowMask(fx)) {
        fx.composeHalfMask({.picture = 2,
                            .mask = look.copy,
                            .maskOnScreenAtHalfSize = look.drawnAtHalfSize,
                            .maskBlur = look.blur,
                            .glow = 0});
    } else {
        fx.grab(look.copy);
        fx.blur(look.copy, look.blur);
        fx.grab(look.copy);
        glClear(GL_COLOR_BUFFER_BIT);
        fx.overlay(2, 1.0f, 0.0f, 1);
        fx.multiply(look.copy);
        fx.sampleSmall = 1;
        fx.overlay(0, 1.0f, 0.0f, 0);
    }
    fx.sampleSmall = fx.targetSmall = fx.spare1 = fx.spare2 = 0;
}
