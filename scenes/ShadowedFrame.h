#pragma once
// A frame lit by one point light with soft stencil shadows, in three passes the scene fills with
// its meshes: the lit picture (grabbed into the full picture copy), a mask that is white where the light
// reaches and black inside the shadow volumes, and the composition of the lit picture times the
// softened mask with the light shafts added on top.

#include "anim/CameraFrame.h"
#include "assets/Model.h"
#include "math/Vec.h"
#include "post/EffectBuffers.h"
#include "render/ShadowVolume.h"

// Far beyond 1 after the renderer's lighting: the mask's lit parts come out pure white.
inline const Vec4 kMaskWhite{100.0f, 100.0f, 100.0f, 1.0f};

// Meshes through the screen-sized camera.
void beginLitPass(Model& model, const CameraFrame& camera);

// Clears colour and the shadow counts and sets the identity modelview the shadow volumes are
// built under.
void beginShadowVolumes(Model& model);

// After the volumes are counted: draws land only where no volume covers, depth tested, through
// the screen-sized camera.
void beginMaskFill(Model& model, const CameraFrame& camera);

// The screen pass over the screen-sized orthographic projection.
void endMaskFill(Model& model);

// How a scene's mask is softened: the reference grabs it into full copy `copy` and blurs it
// there. The fast path blurs it at half the frame's size each way, which a blurred mask does not
// show; with drawnAtHalfSize it also draws it at that size, which only a mask blurred far
// beyond its finest lines of light and shadow hides.
struct ShadowMaskLook {
    Copy copy = Copy::Work;
    BlurDesc blur;
    bool drawnAtHalfSize = false;
};

// Whether the fast path's mask runs on this context.
bool fastShadowMask(EffectBuffers& effects);

// The steps drawShadowMask takes at half size: the surfaces drawn with depth writes on over a
// cleared depth buffer, the volumes counted against that depth, then black laid wherever they
// left a count.
void beginHalfSizeSurfaces(Model& model, const CameraFrame& camera);
void beginHalfSizeVolumes(Model& model, const CameraFrame& camera);
// The full-size first step: the volumes counted against the lit pass's depth.
void beginFullSizeVolumes(Model& model, const CameraFrame& camera);

// After beginShadowVolumes and the volumes' building: the mask, white where surfaces() draws
// and no volume drawn by volumes() covers it, black elsewhere; then endMaskFill.
template <typename Volumes, typename Surfaces>
void drawShadowMask(Model& model, const CameraFrame& camera, EffectBuffers& effects,
                    const ShadowMaskLook& look, Volumes volumes, Surfaces surfaces) {
    if (look.drawnAtHalfSize && fastShadowMask(effects)) {
        beginHalfSizeSurfaces(model, camera);
        surfaces();
        beginHalfSizeVolumes(model, camera);
        volumes();
        blackenShadowed();
    } else {
        beginFullSizeVolumes(model, camera);
        volumes();
        beginMaskFill(model, camera);
        surfaces();
    }
    endMaskFill(model);
}

// Softens the mask drawShadowMask left on screen, lays the lit picture back, multiplies it by
// the mask and adds the shafts from the small glow copy.
void composeShadowedFrame(EffectBuffers& effects, const ShadowMaskLook& look);
