#include "scenes/Lattice.h"

#include <cmath>

void stackRings(std::span<const float[2]> ring, int rows, float firstY, float rowStep, Vec3* out) {
    float y = firstY;
    for (int row = 0; row < rows; ++row, y += rowStep)
        for (const float* point : ring) *out++ = Vec3(point[0], y, point[1]);
}

float wavePhase(const Vec3& r) {
    const float d = r.x * r.x + r.z * r.z;
    return 5.026544f * r.y * (0.3f * std::cos(9.42477f * d * r.y) + 1.0f);
}

void waveLattice(const Vec3* rest, const float* phase, int count, float seconds, const LatticeWave& wave,
                 Vec3* moved) {
    for (int k = 0; k < count; ++k) {
        const Vec3& r = rest[k];
        const float d = r.x * r.x + r.z * r.z;
        const float w = 0.9f * std::sin(phase[k] + wave.rate * seconds) + 1.0f;
        Vec3 m((0.5f * w + wave.widenX) * r.x, wave.heightScale * (r.y + wave.heightLift),
               (0.5f * w + 1.0f) * r.z);
        rotateY(m, wave.twist * std::sin(w + 6.0f * r.y) / (wave.twistFalloff * d + 1.0f));
        moved[k] = m;
    }
}
