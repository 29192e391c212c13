#pragma once
// Reflection projections: how a panorama looks in a mirror ball, and how the renderer's sphere
// mapping and cube-map reflection show a texture. Used to make sphere maps and to preview
// reflections on the review sheet. The eye looks down -z with +y up.

#include "image/Image.h"

#include <array>

// A sphere map (the picture a fixed-function sphere-mapped surface samples) of a
// latitude-longitude panorama whose top row is straight up and bottom row straight down.
Image sphereMapFromPanorama(const Image& panorama, int size);

// A mirror ball of diameter `size` reflecting a cube map. Faces are in OpenGL order
// (+X, -X, +Y, -Y, +Z, -Z) as picture files, top row first; like the demo's texture bank
// they are taken as uploaded bottom row first. A null face is black.
Image mirrorBallFromCube(const std::array<const Image*, 6>& faces, int size);

// A ball of diameter `size` with sphere mapping of a 2D texture file, as the demo draws it.
Image sphereMappedBall(const Image& texture, int size);
