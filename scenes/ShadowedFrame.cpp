#include "scenes/ShadowedFrame.h"

#include "render/Camera.h"
#include "render/PassProfile.h"
#include "render/PassState.h"
#include "render/RenderPath.h"
#include "render/ShadowVolume.h"

void beginLitPass(Model& model, const CameraFrame& camera) {
    setPerspectiveScreen(model, camera);
    applyPassState(kMeshPass);
}

void beginShadowVolumes(Model& model) {
    clear(Buffers::ColourAndStencil);
    setOrthoScreen(model); // the volumes are built in world space: identity modelview
}

void beginMaskFill(Model& model, const CameraFrame& camera) {
    applyPassState(kUnshadowedPass);
    setPerspectiveScreen(model, camera);
}

void endMaskFill(Model& model) {
    applyPassState(kScreenPass);
    setOrthoScreen(model);
}

bool fastShadowMask(EffectBuffers& fx) { return fastRendering() && fx.canComposeHalfMask(); }

bool halfSizeShadowMask(EffectBuffers& fx, const ShadowMaskLook& look) {
    const bool halfSize = look.drawnAtHalfSize || (look.halfSizeWhereShaded && fx.halvesMasksWhereAllowed());
    return halfSize && fastShadowMask(fx);
}

void beginHalfSizeSurfaces(Model& model, const CameraFrame& camera) {
    clear(Buffers::Depth);
    applyPassState(kUnshadowedPass); // the stencil is clear: every surface lands
    setPerspectiveHalfScreen(model, camera);
}

void beginHalfSizeVolumes(Model& model, const CameraFrame& camera) {
    setPerspectiveHalfScreen(model, camera);
}

void beginFullSizeVolumes(Model& model, const CameraFrame& camera) { setPerspectiveScreen(model, camera); }

void composeShadowedFrame(EffectBuffers& fx, const ShadowMaskLook& look) {
    const PassTimer t("composition (all)");
    if (fastShadowMask(fx)) {
        fx.composeHalfMask({.picture = Copy::Picture,
                            .mask = look.copy,
                            .maskOnScreenAtHalfSize = halfSizeShadowMask(fx, look),
                            .maskBlur = look.blur,
                            .glow = Copy::Glow});
        return;
    }
    fx.grab(look.copy);
    fx.blur(look.copy, look.blur);
    fx.grab(look.copy);
    clear(Buffers::Colour);
    fx.overlay(Copy::Picture, 1.0f, 0.0f, Overlay::Mix);
    fx.multiply(look.copy);
    fx.addGlow(Copy::Glow, 1.0f);
}
