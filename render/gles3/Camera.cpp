// Cameras: the matrices of GL's stack, made as GLU makes them, kept in Matrices.h.
#include "render/Backend.h"

#include "glext/EsTable.h"
#include "render/gles3/Matrices.h"
#include "render/geometry/WorldTransform.h"

namespace gles3 {

namespace {

void lookFrom(const CameraFrame& camera) {
    const Vec3& p = camera.position;
    const Vec3& f = camera.forward;
    modelviewMatrix() = lookAt(Vec3(-p.x, -p.y, -p.z), Vec3(-p.x - f.x, -p.y - f.y, -p.z - f.z), camera.up);
}

void setStretchedPerspective(const CameraFrame& camera, float fieldOfView, int width, int height) {
    es::glViewport(0, 0, width, height);
    Mat4 projection = perspective(fieldOfView, kCameraAspect, kCameraNear, kCameraFar);
    projection[10] = kStretchedDepthScale;
    projection[14] = kStretchedDepthOffset;
    projectionMatrix() = projection;
    lookFrom(camera);
}

void setPixelOrtho(int width, int height) {
    const int halfW = width / 2, halfH = height / 2; // truncated, as the viewport is
    projectionMatrix() = ortho(-halfW, halfW, -halfH, halfH, 0.0, 1.0);
    modelviewMatrix() = Mat4{};
    es::glViewport(0, 0, width, height);
}

ViewMatrices currentView() {
    ViewMatrices view;
    for (int i = 0; i < 16; ++i) {
        view.modelview[i] = modelviewMatrix()[i];
        view.projection[i] = projectionMatrix()[i];
    }
    return view;
}

Mat4 placedModelview(const MeshObject& mesh) { return modelviewMatrix() * placementOf(mesh); }

} // namespace

extern const CameraOps cameraOps{.setStretchedPerspective = setStretchedPerspective,
                                 .setPixelOrtho = setPixelOrtho,
                                 .currentView = currentView,
                                 .placedModelview = placedModelview};

} // namespace gles3
