#pragma once
// Depth-fail stencil shadow volumes from the scene's one point light: the volumes built on the
// CPU (geometry/ShadowCasting.h), counted into the stencil buffer here. The far geometry at
// infinity needs a projection without a far plane (the stretched-depth perspective).
//
// Frame order: draw the scene as it looks in shadow; clear the stencil to 127; with an identity
// modelview, transformToWorld(mesh, 1, true) and buildShadowVolume for each caster; set the camera
// and drawShadowVolume each caster; then draw the lit scene where the stencil is still 127.

#include "render/RenderTypes.h"
#include "render/geometry/ShadowCasting.h"

// Counts the volume into the stencil buffer under the current projection and modelview: front
// faces wrap-increment and back faces wrap-decrement where they fail the depth test. Leaves the
// stencil test off (its function GL_EQUAL 127, operations all GL_KEEP), depth test on, depth
// and colour writes on, back-face culling selected.
void drawShadowVolume(Model& model, int mesh);

// Lays black over the whole frame wherever the volumes left a count, whatever the projection;
// every other state stays as it was.
void blackenShadowed();
