#pragma once
// Edge topology checks: a shadow volume needs every edge shared by exactly two faces, used once
// in each direction (closed and consistently oriented).

#include "mesh/Mesh.h"

struct EdgeReport {
    std::size_t edges = 0;        // distinct undirected edges
    std::size_t borderEdges = 0;  // used by one face
    std::size_t crowdedEdges = 0; // used by three or more faces
    std::size_t flippedEdges = 0; // used twice in the same direction
    bool closed() const { return edges > 0 && borderEdges == 0 && crowdedEdges == 0; }
    bool closedAndOriented() const { return closed() && flippedEdges == 0; }
};

EdgeReport inspectEdges(const Mesh& m);
