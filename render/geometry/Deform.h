#pragma once
// Handle deformations of a mesh's working shape. A handle pulls the rest shape around its
// source point towards its target, with a Wendland C6 falloff that reaches zero at the handle's
// radius. Handle sets are parallel arrays owned by the scene; a handle whose squared radius is
// not positive moves nothing.

#include "assets/Model.h"
#include "math/Vec.h"

// The most handles one deformation takes: the largest vertex count a 3DS mesh can hold, since one
// scene places a handle on every vertex of a model file. The per-handle weights live in fixed
// scratch arrays of this length.
constexpr int maxDeformHandles = 65535;

// Wendland's C6 kernel of x = squared distance / squared radius: (1 - q)^8 (32q^3 + 25q^2 + 8q + 1)
// with q = sqrt(x); 1 at the centre, 0 from x = 1 on. Outside [0, 1] (and for NaN) it is 0.
float wendlandWeight(float x);

// workPositions = positions + sum over handles of (target - source) * strength * weight.
// The weights are not normalized: overlapping handles add their full pulls. A handle count
// outside [0, maxDeformHandles] deforms nothing (the working shape is the rest shape).
void deformWeighted(Model& model, int mesh, int n, const Vec3* sources, const Vec3* targets,
                    const float* strengths, const float* squaredRadii);

// workPositions = positions + the weight-averaged displacement of the handles that reach the
// vertex. Same handle-count rule as deformWeighted.
void deformBlended(Model& model, int mesh, int n, const Vec3* sources, const Vec3* targets,
                   const float* squaredRadii);
