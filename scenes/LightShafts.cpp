#include "scenes/LightShafts.h"

#include "render/Camera.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

ShaftCentre shaftCentreOf(const float* m, const float* projection, const Vec3& p) {
    const float ex = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    const float ey = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    const float ez = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
    ShaftCentre c;
    c.depth = std::max(-ez, kShaftMinDepth);
    c.x = projection[0] * ex / c.depth;
    c.y = projection[5] * ey / c.depth;
    // A light beside or behind the camera would put the centre so far out that every zoomed copy
    // samples past the picture's edge; keep its direction and bring it in.
    const float reach = std::sqrt(c.x * c.x + c.y * c.y);
    if (reach > kShaftCentreReach) {
        c.x *= kShaftCentreReach / reach;
        c.y *= kShaftCentreReach / reach;
    }
    return c;
}

ShaftCentre shaftCentreSeenBy(Model& model, const CameraFrame& camera, const Vec3& light) {
    setPerspectiveEffect(model, camera);
    float modelview[16] = {};
    float projection[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    return shaftCentreOf(modelview, projection, light);
}

void streakShafts(Model& model, EffectBuffers& fx, const ShaftStreak& streak) {
    setOrthoEffect(model);
    fx.grab(0);
    fx.burn(0, streak.burnPasses, 1.0f);
    fx.grab(0);
    fx.blur(0, {.passes = 3, .stretchX = 1.25f, .stretchY = 1.25f, .spread = 0.0078125f});
    fx.grab(0);
    fx.streakFade = streak.streakFade;
    ZoomStreakDesc zoom = streak.zoom;
    zoom.overItsGrab = true;
    fx.zoomStreak(0, zoom);
    fx.overlay(0, 1.0f, 0.0f, 0);
    fx.grab(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    fx.sampleSmall = fx.targetSmall = 0;
}
