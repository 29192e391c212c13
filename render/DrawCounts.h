#pragma once
// What the mesh renderers sent since the counts were last reset, for the statistics of captures
// and benchmarks: triangles, and batches (one per pass of a drawn mesh). On the software
// rasteriser each batch costs a state validation whatever its size, so many small meshes are
// bound by the batches rather than by their triangles.

#include <cstdint>

// Adds a drawn pass of `triangles` triangles.
void countMeshPass(int triangles);

std::int64_t drawnTriangles();
void resetDrawnTriangles();

std::int64_t drawnBatches();
void resetDrawnBatches();
