// Cameras on GL's own matrix stack, built with GLU; a mesh's placement applied on it.
#include "render/Backend.h"

#include "render/fixed/Placement.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace fixed {

namespace {

// The view is built from the negated position, looking along -forward: scene space is the
// camera path's space mirrored through the origin.
void lookFrom(const CameraFrame& camera) {
    const Vec3& p = camera.position;
    const Vec3& f = camera.forward;
    const Vec3& u = camera.up;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(-p.x, -p.y, -p.z, -p.x - f.x, -p.y - f.y, -p.z - f.z, u.x, u.y, u.z);
}

void setStretchedPerspective(const CameraFrame& camera, float fieldOfView, int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, kCameraAspect, kCameraNear, kCameraFar);
    GLfloat m[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    m[10] = kStretchedDepthScale;
    m[14] = kStretchedDepthOffset;
    glLoadMatrixf(m);
    lookFrom(camera);
}

void setPixelOrtho(int width, int height) {
    const int halfW = width / 2, halfH = height / 2; // truncated, as the viewport is
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfW, halfW, -halfH, halfH, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, width, height);
}

ViewMatrices currentView() {
    ViewMatrices view;
    glGetFloatv(GL_MODELVIEW_MATRIX, view.modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, view.projection);
    return view;
}

Mat4 placedModelview(const MeshObject& o) {
    Mat4 m;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    applyPlacement(o);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.m);
    glPopMatrix();
    return m;
}

} // namespace

extern const CameraOps cameraOps{.setStretchedPerspective = setStretchedPerspective,
                                 .setPixelOrtho = setPixelOrtho,
                                 .currentView = currentView,
                                 .placedModelview = placedModelview};

} // namespace fixed
