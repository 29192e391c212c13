#include "render/Camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// Replacing the third row's depth terms gives clip depth -0.01 z - 0.101 over w = -z: the near
// distance maps to -1 and every farther point stays above -1 and below 0.01, so there is no far
// plane. Shadow-volume caps sent to infinity depend on it.
constexpr float kStretchedDepthScale = -0.01f;
constexpr float kStretchedDepthOffset = -0.101f;

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

void setStretchedPerspective(Model& model, const CameraFrame& camera, int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(model.fieldOfView, kCameraAspect, kCameraNear, kCameraFar);
    GLfloat m[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    m[10] = kStretchedDepthScale;
    m[14] = kStretchedDepthOffset;
    glLoadMatrixf(m);
    lookFrom(camera);
    model.eyePosition.copyFrom(camera.position);
    model.eyeDirection.copyFrom(camera.forward);
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

} // namespace

void setPerspectiveScreen(Model& model, const CameraFrame& camera) {
    setStretchedPerspective(model, camera, model.screenWidth, model.screenHeight);
}

void setPerspectiveEffect(Model& model, const CameraFrame& camera) {
    setStretchedPerspective(model, camera, model.effectWidth, model.effectHeight);
}

void setPerspectiveHalfScreen(Model& model, const CameraFrame& camera) {
    setStretchedPerspective(model, camera, model.screenWidth / 2, model.screenHeight / 2);
}

void setPerspectiveFixed(Model&, const CameraFrame& camera) {
    constexpr int kFixedWidth = 512, kFixedHeight = 384;
    constexpr double kFixedFieldOfView = 75.0;
    glViewport(0, 0, kFixedWidth, kFixedHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFixedFieldOfView, kCameraAspect, kCameraNear, kCameraFar);
    lookFrom(camera);
}

ViewMatrices currentView() {
    ViewMatrices view;
    glGetFloatv(GL_MODELVIEW_MATRIX, view.modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, view.projection);
    return view;
}

void setOrthoEffect(Model& model) { setPixelOrtho(model.effectWidth, model.effectHeight); }

void setOrthoScreen(Model& model) { setPixelOrtho(model.screenWidth, model.screenHeight); }
