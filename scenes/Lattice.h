#pragma once
// The handle lattices that bend the scenes' meshes through render/Deform.h: rings of handles
// stacked up a column, and the wave that runs up the rows, widening and twisting them, for the
// title word, the closing title and the Hipu blob.

#include "assets/Model.h"
#include "math/Vec.h"
#include "render/geometry/Deform.h"

#include <span>

// A ring of handles as (x, z): the corners of the square round the column's axis, or the corners
// and then the middles of its sides.
inline constexpr float kSquareCorners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
inline constexpr float kSquareRing[8][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1},
                                            {0, -1},  {1, 0},  {-1, 0}, {0, 1}};

// rows copies of the ring, the first at height firstY and each next one rowStep higher (the
// height accumulated row by row, as the lattices were tuned), into out, row after row.
void stackRings(std::span<const float[2]> ring, int rows, float firstY, float rowStep, Vec3* out);

// How the wave moves each handle at rest (x, y, z), with d = x^2 + z^2 and its phase p: the wave
// w = 0.9 sin(p + rate s) + 1 at scene seconds s widens it by 0.5 w + widenX across x and
// 0.5 w + 1 across z, sets its height to heightScale (y + heightLift), and turns it about y by
// twist sin(w + 6 y) / (twistFalloff d + 1).
struct LatticeWave {
    float rate = 0.0f; // radians per second
    float widenX = 1.0f;
    float heightScale = 1.0f;
    float heightLift = 0.0f;
    float twist = 0.5f;
    float twistFalloff = 0.1f;
};

// A handle's phase: a ripple up the column, 5.026544 y (0.3 cos(9.42477 d y) + 1). It depends on
// the rest position alone, so each lattice works it out once.
float wavePhase(const Vec3& rest);

// The moved handles at scene seconds, before each scene shapes them further.
void waveLattice(const Vec3* rest, const float* phase, int count, float seconds, const LatticeWave& wave,
                 Vec3* moved);

// A lattice the wave moves: its handles at rest with their phases, where the wave put them this
// frame, and how each pulls the mesh.
template <int N>
struct WaveLattice {
    static constexpr int kCount = N;
    Vec3 rest[N];
    float phase[N] = {};
    Vec3 moved[N];
    float strength[N] = {};
    float radius2[N] = {};

    // The phases of the common ripple at the rest handles, and one pull for all of them.
    void prepare(float pull, float reach2) {
        for (int k = 0; k < N; ++k) {
            phase[k] = wavePhase(rest[k]);
            strength[k] = pull;
            radius2[k] = reach2;
        }
    }
    void wave(float seconds, const LatticeWave& w) { waveLattice(rest, phase, N, seconds, w, moved); }
    // The mesh's working shape bent from the rest handles to the moved ones.
    void bend(Model& model, int mesh) const {
        deformWeighted(model, mesh, N, moved, rest, strength, radius2);
    }
};
