#pragma once
// A frame lit by one point light with soft stencil shadows, in three passes the scene fills with
// its meshes: the lit picture (grabbed into the full copy 2), a mask that is white where the light
// reaches and black inside the shadow volumes, and the composition of the lit picture times the
// softened mask with the light shafts added on top.

#include "anim/CameraFrame.h"
#include "assets/Model.h"
#include "math/Vec.h"
#include "post/EffectBuffers.h"

// Far beyond 1 after the renderer's lighting: the mask's lit parts come out pure white.
inline const Vec4 kMaskWhite{100.0f, 100.0f, 100.0f, 1.0f};

// The screen-sized camera with depth test and writes on, blending on and the stencil test off
// (its function and operations already those of the mask).
void beginLitPass(Model& model, const CameraFrame& camera);

// Clears colour and stencil (to shadowStencilClear) and sets the identity modelview the shadow
// volumes are built under.
void beginShadowVolumes(Model& model);

// After the volumes are counted: draws land only where no volume covers, depth tested, through
// the screen-sized camera.
void beginMaskFill(Model& model, const CameraFrame& camera);

// Stencil and depth tests off, the screen-sized orthographic projection, the effect flags clear.
void endMaskFill(Model& model, EffectBuffers& effects);

// Grabs the mask on screen into full copy maskCopy, softens it, lays the lit picture back,
// multiplies it by the mask and adds the shafts from the small copy 0.
void composeShadowedFrame(EffectBuffers& effects, int maskCopy, const BlurDesc& maskBlur);
