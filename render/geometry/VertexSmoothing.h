#pragma once
// Averaging a value held per vertex with its neighbours on the mesh: a low-pass filter at the
// mesh's own spacing, for fields that change faster than the vertices can follow.

#include <vector>

struct MeshObject;

// Every vertex's neighbours (the other corners of the faces round it), each listed once:
// vertex v's are list[start[v]] up to list[start[v + 1]].
struct VertexNeighbours {
    std::vector<int> start;
    std::vector<int> list;
};

VertexNeighbours neighboursOf(const MeshObject& o);

// Each pass replaces every value by the mean of itself and its neighbours. scratch holds the
// previous pass; both keep their storage, so after the first call nothing is allocated.
void smoothOverNeighbours(const VertexNeighbours& n, std::vector<float>& values, std::vector<float>& scratch,
                          int passes);
