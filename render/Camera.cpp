// The front of Camera.h: the renderers build the matrices; the front records the eye.
#include "render/Camera.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

namespace {

void setStretchedPerspective(Model& model, const CameraFrame& camera, int width, int height) {
    if (renderer() == Renderer::Shader)
        shader::setStretchedPerspective(camera, model.fieldOfView, width, height);
    else
        fixedfn::setStretchedPerspective(camera, model.fieldOfView, width, height);
    model.eyePosition.copyFrom(camera.position);
    model.eyeDirection.copyFrom(camera.forward);
}

void setPixelOrtho(int width, int height) {
    if (renderer() == Renderer::Shader) return shader::setPixelOrtho(width, height);
    fixedfn::setPixelOrtho(width, height);
}

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

void setPerspectiveFixed(Model&, const CameraFrame& camera) {
    constexpr int kFixedWidth = 512, kFixedHeight = 384;
    constexpr double kFixedFieldOfView = 75.0;
    if (renderer() == Renderer::Shader)
        return shader::setPlainPerspective(camera, kFixedFieldOfView, kFixedWidth, kFixedHeight);
    fixedfn::setPlainPerspective(camera, kFixedFieldOfView, kFixedWidth, kFixedHeight);
}

ViewMatrices currentView() {
    if (renderer() == Renderer::Shader) return shader::currentView();
    return fixedfn::currentView();
}

void setOrthoEffect(Model& model) { setPixelOrtho(model.effectWidth, model.effectHeight); }

void setOrthoScreen(Model& model) { setPixelOrtho(model.screenWidth, model.screenHeight); }
