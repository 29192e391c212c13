// The back end builds the matrices; the front records the eye.
#include "render/Camera.h"

#include "render/Backends.h"

namespace {

void setStretchedPerspective(Model& model, const CameraFrame& camera, int width, int height) {
    backend().camera->setStretchedPerspective(camera, model.fieldOfView, width, height);
    model.eyePosition.copyFrom(camera.position);
    model.eyeDirection.copyFrom(camera.forward);
}

void setPixelOrtho(int width, int height) { backend().camera->setPixelOrtho(width, height); }

} // namespace

void setPerspectiveScreen(Model& model, const CameraFrame& camera) {
    setStretchedPerspective(model, camera, model.screenWidth, model.screenHeight);
}

void setPerspectiveEffect(Model& model, const CameraFrame& camera) {
    setStretchedPerspective(model, camera, model.effectWidth, model.effectHeight);
}

void setPerspectiveEffectHalfWidth(Model& model, const CameraFrame& camera) {
    setStretchedPerspective(model, camera, model.effectWidth / 2, model.effectHeight);
}

void setPerspectiveHalfScreen(Model& model, const CameraFrame& camera) {
    setStretchedPerspective(model, camera, model.screenWidth / 2, model.screenHeight / 2);
}

ViewMatrices currentView() { return backend().camera->currentView(); }

void setOrthoEffect(Model& model) { setPixelOrtho(model.effectWidth, model.effectHeight); }

void setOrthoScreen(Model& model) { setPixelOrtho(model.screenWidth, model.screenHeight); }
