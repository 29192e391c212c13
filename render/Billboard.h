#pragma once
// Billboards: textured, additively blended rectangles that face the viewer (glows, sparks).
// Drawn after the camera set-up and the opaque meshes; they never write depth, so sprites do
// not hide each other, but nearer geometry hides them.

#include "assets/Model.h"
#include "render/RenderTypes.h"

// Draws one sprite centred on (x, y, z) in the current modelview's space, halfWidth by
// halfHeight in world units, texture `slot` modulated by (r, g, b, a). The rectangle stays
// parallel to the screen except for a tilt about the screen's horizontal axis by the negated
// pitch of the recorded eye direction.
// Leaves blending (SRC_ALPHA, ONE_MINUS_SRC_ALPHA), depth test, 2D texturing and colour
// material on, depth writes on, GL_ADD, the slot bound and the colour current.
void drawBillboard(Model& model, float x, float y, float z, int slot, float halfWidth, float halfHeight,
                   float r, float g, float b, float a, const BillboardWindow& window = {});

// The window of the 2D texture in `slot` that holds every texel that is not black, with a margin
// for linear filtering: as the sprites add their texels, drawing only this part adds exactly what
// the whole sprite does, over fewer pixels. The whole texture when it is black or unreadable.
// Reads the texture back: start-up only.
BillboardWindow inkWindowOf(int slot);
