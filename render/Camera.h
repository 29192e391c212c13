#pragma once
// Cameras and projections: the set-ups a scene calls before each pass. The perspective ones
// take the camera from a CameraFrame and record its eye in the Model, where drawObject's cone
// test and the billboards read it later in the frame.

#include "anim/CameraFrame.h"
#include "assets/Model.h"
#include "render/RenderTypes.h"

// Viewport = screen size, stretched-depth perspective with the model's field of view, view from
// the camera; records eyePosition and eyeDirection.
void setPerspectiveScreen(Model& model, const CameraFrame& camera);
// The same over the effect size.
void setPerspectiveEffect(Model& model, const CameraFrame& camera);
// The same over half the screen size each way, in its lower-left quarter.
void setPerspectiveHalfScreen(Model& model, const CameraFrame& camera);
// The effect-sized view squeezed into half the effect width, at its left.
void setPerspectiveEffectHalfWidth(Model& model, const CameraFrame& camera);
// The projection and the view the last set-up left (ViewMatrices: where a scene point lands on
// screen).
ViewMatrices currentView();

// Pixel-centred orthographic projection (origin mid-viewport, depth 0..1) over the effect size.
void setOrthoEffect(Model& model);
// The same over the screen size.
void setOrthoScreen(Model& model);
