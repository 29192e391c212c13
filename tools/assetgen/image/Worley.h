#pragma once
// Periodic cellular (Worley) noise: one jittered feature point per cell of a grid that wraps
// across the image. Stones, pebbles, gravel and cracks are built from its three outputs.

#include "image/Image.h"

#include <cstdint>

struct CellParams {
    int cellsX = 8;
    int cellsY = 8;
    float jitter = 1.0f; // 0 puts every point at its cell centre, 1 anywhere in the cell
    uint32_t seed = 1;
};

struct CellFields {
    Field f1; // distance to the nearest feature point, in cell widths
    Field f2; // distance to the second nearest; f2 - f1 is 0 on the borders between cells
    Field id; // a random value in 0..1 per cell, the same for every pixel of the cell
};

CellFields worley(int width, int height, const CellParams& p);
