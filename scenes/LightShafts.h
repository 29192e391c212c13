#pragma once
// Light shafts from a point light: the scene draws the light and its occluders dimly at the small
// effect size, and these passes burn, blur and zoom-streak that picture from the light's place on
// screen. The result is left in the small glow copy for the scene to add over its finished frame.

#include "anim/CameraFrame.h"
#include "assets/Model.h"
#include "math/Vec.h"
#include "post/EffectBuffers.h"

// Where the light shafts radiate from: the light's eye-space point projected with the
// perspective's x and y scales, in [-1, 1] texture space when the light is on screen. A light in
// the camera plane or behind it projects through the smallest depth allowed, and the centre is
// kept within kShaftCentreReach of the middle so the streaks still sample the picture.
struct ShaftCentre {
    float x = 0.0f;
    float y = 0.0f;
    float depth = 0.0f; // eye-space distance in front of the camera, at least kShaftMinDepth
};
inline constexpr float kShaftMinDepth = 0.00001f;
inline constexpr float kShaftCentreReach = 2.0f;
// modelview and projection are column-major 4 x 4 matrices as GL returns them.
ShaftCentre shaftCentreOf(const float* modelview, const float* projection, const Vec3& light);

// The centre for the light as the effect-sized camera sees it. Leaves that perspective set.
ShaftCentre shaftCentreSeenBy(Model& model, const CameraFrame& camera, const Vec3& light);

// How the small picture is thickened and streaked.
struct ShaftStreak {
    int burnPasses = 1;
    ZoomStreakDesc zoom; // its centre is the shaft centre
    // The picture may be drawn at half the effect width where the chain runs at that width: for
    // a light and occluders with no detail finer than two pixels.
    bool pictureAtHalfWidth = false;
};

// Burns, blurs and streaks the small picture on screen into the small glow copy, then clears
// colour and depth. Expects the post stack held at its small size and the picture drawn.
void streakShafts(Model& model, EffectBuffers& effects, const ShaftStreak& streak);
