#include "render/DrawCounts.h"

namespace {

std::int64_t gTriangles = 0;
std::int64_t gBatches = 0;

} // namespace

void countMeshPass(int triangles) {
    gTriangles += triangles;
    ++gBatches;
}

std::int64_t drawnTriangles() { return gTriangles; }

void resetDrawnTriangles() { gTriangles = 0; }

std::int64_t drawnBatches() { return gBatches; }

void resetDrawnBatches() { gBatches = 0; }
