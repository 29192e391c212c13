#pragma once
// Decimation by quadric error edge collapse (Garland-Heckbert). Used on polygonized shapes,
// whose grid-sized triangles are far more than the budget. A collapse is refused when it would
// break the 2-manifold (link condition, valences) or fold a face over, so a closed, consistently
// oriented mesh stays closed and oriented.

#include "mesh/Mesh.h"

// Collapses edges, cheapest first, until at most targetFaces faces remain or no collapse is
// allowed. Texture coordinates are dropped (project them afterwards).
void decimate(Mesh& m, std::size_t targetFaces);
