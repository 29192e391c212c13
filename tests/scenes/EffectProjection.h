#pragma once
// Where a scene's effect-sized camera puts a point, in pixels of the effect viewport: the
// reference the shaft centres are checked against.

#include "anim/CameraFrame.h"
#include "assets/Model.h"
#include "render/Camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

struct EffectPixel {
    double x = 0.0;
    double y = 0.0;
    bool projected = false;
};

inline EffectPixel projectOnEffect(Model& model, const CameraFrame& camera, const Vec3& p) {
    setPerspectiveEffect(model, camera);
    GLdouble mv[16] = {}, pr[16] = {};
    GLint vp[4] = {};
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    glGetDoublev(GL_PROJECTION_MATRIX, pr);
    glGetIntegerv(GL_VIEWPORT, vp);
    EffectPixel out;
    GLdouble z = 0.0;
    out.projected = gluProject(p.x, p.y, p.z, mv, pr, vp, &out.x, &out.y, &z) == GL_TRUE;
    return out;
}
