#pragma once
// SceneLight: the one light of a scene. The mesh renderer sends it as light 0 and the shadow
// volumes cast from its position.

#include "math/Vec.h"

struct CameraFrame;

struct SceneLight {
    CameraFrame* camera = nullptr; // the scene's camera, for the scene's own use
    Vec3 position;
    Vec3 colour;

    void setColour(float r, float g, float b) { colour.set(r, g, b); }
};
