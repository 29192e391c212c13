#include "scenes/LightShafts.h"

#include "render/Camera.h"
#include "render/PassState.h"

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
    const ViewMatrices view = currentView();
    return shaftCentreOf(view.modelview, view.projection, light);
}

void streakShafts(Model& model, EffectBuffers& fx, const ShaftStreak& streak) {
    setOrthoEffect(model);
    fx.shaftGlow(Copy::Glow,
                 {.burnPasses = streak.burnPasses,
                  .blur = {.passes = 3, .stretchX = 1.25f, .stretchY = 1.25f, .spread = 0.0078125f},
                  .zoom = streak.zoom,
                  .pictureAtHalfWidth = streak.pictureAtHalfWidth});
    clear(Buffers::ColourAndDepth);
}
