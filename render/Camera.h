#pragma once
// Cameras and projections: the set-ups a scene calls before each pass. The perspective ones
// take the camera from a CameraFrame and record its eye in the Model, where drawObject's cone
// test and the billboards read it later in the frame.

#include "anim/CameraFrame.h"
#include "assets/Model.h"

// Aspect ratio of every perspective, whatever the viewport.
inline constexpr double kCameraAspect = 4.0 / 3.0;
inline constexpr double kCameraNear = 0.1;
inline constexpr double kCameraFar = 1000.0;

// The stretched-depth perspective replaces the projection's third-row depth terms (elements 10
// and 14): clip depth -0.01 z - 0.101 over w = -z puts the near distance at -1 and every farther
// point above -1 and below 0.01, so there is no far plane. Shadow-volume caps sent to infinity
// depend on it.
inline constexpr float kStretchedDepthScale = -0.01f;
inline constexpr float kStretchedDepthOffset = -0.101f;

// Viewport = screen size, stretched-depth perspective with the model's field of view, view from
// the camera; records eyePosition and eyeDirection.
void setPerspectiveScreen(Model& model, const CameraFrame& camera);
// The same over the effect size.
void setPerspectiveEffect(Model& model, const CameraFrame& camera);
// The same over half the screen size each way, in its lower-left quarter.
void setPerspectiveHalfScreen(Model& model, const CameraFrame& camera);
// The effect-sized view squeezed into half the effect width, at its left.
void setPerspectiveEffectHalfWidth(Model& model, const CameraFrame& camera);
// Viewport 512 x 384, plain 75-degree perspective, view from the camera; records nothing.
void setPerspectiveFixed(Model& model, const CameraFrame& camera);
// The projection and the view the last set-up left, column-major 4 x 4 as GL keeps them: where a
// scene point lands on screen.
struct ViewMatrices {
    float modelview[16] = {};
    float projection[16] = {};
};
ViewMatrices currentView();

// Pixel-centred orthographic projection (origin mid-viewport, depth 0..1) over the effect size.
void setOrthoEffect(Model& model);
// The same over the screen size.
void setOrthoScreen(Model& model);
