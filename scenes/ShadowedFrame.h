#pragma once
// A frame lit by one point light with soft stencil shadows, in three passes the scene fills with
// its meshes: the lit picture (grabbed into the full picture copy), a mask that is white where the light
// reaches and black inside the shadow volumes, and the composition of the lit picture times the
// softened mask with the light shafts added on top.

#include "anim/CameraFrame.h"
#include "assets/Model.h"
#include "math/Vec.h"
#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/PassProfile.h"
#include "render/PassState.h"
#include "render/ShadowVolume.h"
#include "render/Transform.h"
#include "scenes/LightShafts.h"
#include "scenes/SceneStage.h"

#include <span>

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
// halfSizeWhereShaded: drawn at half size too by the renderers that halve masks where a scene
// allows it (EffectBuffers::halvesMasksWhereAllowed: the shader renderer). The fixed renderer
// keeps the frames its fast path has always drawn.
struct ShadowMaskLook {
    Copy copy = Copy::Work;
    BlurDesc blur;
    bool drawnAtHalfSize = false;
    bool halfSizeWhereShaded = false;
};

// Whether the fast path's mask runs on this context.
bool fastShadowMask(EffectBuffers& effects);
// Whether the mask is drawn at half size here.
bool halfSizeShadowMask(EffectBuffers& effects, const ShadowMaskLook& look);

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
    if (halfSizeShadowMask(effects, look)) {
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

// A shadowed frame's passes as a scene runs them, each with its own meshes: shaftPass, litPass,
// shadowMaskPass, then composeShadowedFrame.

// The light and its occluders, drawn by draw() at the small effect size, burnt, blurred and
// streaked into the small glow copy from the light's place on screen, which it returns.
template <typename Draw>
ShaftCentre shaftPass(SceneStage& stage, const ShaftStreak& streak, Draw draw) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const GlowPass glow(stage);
    ShaftStreak fromLight = streak;
    fromLight.pictureAtHalfWidth = streak.pictureAtHalfWidth && fx.shaftsAtHalfWidth();
    if (fromLight.pictureAtHalfWidth) setPerspectiveEffectHalfWidth(m, stage.camera);
    {
        const PassTimer t("shafts' picture");
        draw();
    }
    applyPassState(kScreenPass);
    const ShaftCentre centre = shaftCentreSeenBy(m, stage.camera, stage.light.position);
    fromLight.zoom.centreX = centre.x;
    fromLight.zoom.centreY = centre.y;
    {
        const PassTimer t("shaft chain");
        streakShafts(m, fx, fromLight);
    }
    return centre;
}

// The meshes drawn by draw() at full size as they look when lit, kept in the picture copy.
template <typename Draw>
void litPass(SceneStage& stage, Draw draw) {
    beginLitPass(*stage.model, stage.camera);
    {
        const PassTimer t("lit meshes");
        draw();
    }
    const PassTimer t("picture grab");
    stage.effects->grab(Copy::Picture);
}

// One caster of a frame's shadows: a mesh, and the shape its volume is cast from.
struct ShadowCaster {
    int mesh = 0;
    WorldSource shape = worldFromWorking;
};

// The casters' volumes from the light, counted into the stencil, and the mask over them: white
// where surfaces() draws and no volume reaches, black elsewhere.
template <typename Surfaces>
void shadowMaskPass(SceneStage& stage, std::span<const ShadowCaster> casters, const ShadowMaskLook& look,
                    Surfaces surfaces) {
    Model& m = *stage.model;
    beginShadowVolumes(m);
    {
        LogicTimer logic;
        for (const ShadowCaster& caster : casters) {
            transformToWorld(m, caster.mesh, caster.shape, true);
            buildShadowVolume(m, caster.mesh, stage.light);
        }
    }
    const auto volumes = [&] {
        const PassTimer t("shadow volumes");
        for (const ShadowCaster& caster : casters) drawShadowVolume(m, caster.mesh);
    };
    const auto timedSurfaces = [&] {
        const PassTimer t("mask surfaces");
        surfaces();
    };
    const PassTimer t("mask (all)");
    drawShadowMask(m, stage.camera, *stage.effects, look, volumes, timedSurfaces);
}
