#pragma once
// How the fixed-function renderer hands a mesh's triangles to GL: glBegin/glEnd per pass, or
// indexed client-side arrays built once per call. Both send the same corners in the same order
// and give the same pixels; the arrays light shared vertices once and are the faster, so they
// are what it draws with unless a comparison asks for the other.

namespace fixed {

enum class MeshSubmission { Immediate, VertexArrays };

void setMeshSubmission(MeshSubmission submission);

} // namespace fixed
