#pragma once
// The front the scenes and the director draw through for everything but meshes, sprites and the
// post stack's copies: clearing, the state a pass draws under and the start of a show frame.
// Each operation says what a pass is for and names no GL enum; the back end chosen at start-up
// (Backends.h) turns it into calls. The records they take are in RenderTypes.h.

#include "render/RenderTypes.h"

void clear(Buffers buffers);

void applyPassState(const PassState& state);

// Every frame of the show starts here: the post stack's own clears give black, and its quads,
// which lie on the far plane, are not hidden where a scene leaves depth testing on.
void beginShowFrame();
