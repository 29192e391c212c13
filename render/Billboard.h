#pragma once
// Billboards: textured, additively blended rectangles that face the viewer (glows, sparks).
// Drawn after the camera set-up and the opaque meshes; they never write depth, so sprites do
// not hide each other, but nearer geometry hides them.

#include "assets/Model.h"

// Draws one sprite centred on (x, y, z) in the current modelview's space, halfWidth by
// halfHeight in world units, texture `slot` modulated by (r, g, b, a). The rectangle stays
// parallel to the screen except for a tilt about the screen's horizontal axis by the negated
// pitch of the recorded eye direction.
// Leaves blending (SRC_ALPHA, ONE_MINUS_SRC_ALPHA), depth test, 2D texturing and colour
// material on, depth writes on, GL_ADD, the slot bound and the colour current.
void drawBillboard(Model& model, float x, float y, float z, int slot, float halfWidth, float halfHeight,
                   float r, float g, float b, float a);
