#include "mesh/Projection.h"

#include <cmath>
#include <numbers>

namespace {

// 0 at angle 0, 1 at pi, back to 0 at 2 pi: continuous all the way round.
double mirroredTurn(double angle) { return std::fabs(angle) / std::numbers::pi; }

} // namespace

void projectPlanar(Mesh& m, Vec3d uAxis, Vec3d vAxis, double scale) {
    m.uvs.resize(m.positions.size());
    for (std::size_t i = 0; i < m.positions.size(); ++i)
        m.uvs[i] = {dot(m.positions[i], uAxis) * scale, dot(m.positions[i], vAxis) * scale};
}

void projectCylindrical(Mesh& m, Vec3d centre, double repeats, double vScale) {
    m.uvs.resize(m.positions.size());
    for (std::size_t i = 0; i < m.positions.size(); ++i) {
        const Vec3d d = m.positions[i] - centre;
        m.uvs[i] = {mirroredTurn(std::atan2(d.y, d.x)) * repeats, d.z * vScale};
    }
}

void projectSpherical(Mesh& m, Vec3d centre, double uRepeats, double vRepeats) {
    m.uvs.resize(m.positions.size());
    for (std::size_t i = 0; i < m.positions.size(); ++i) {
        const Vec3d d = normalized(m.positions[i] - centre);
        const double latitude = std::asin(std::fmax(-1.0, std::fmin(1.0, d.z)));
        m.uvs[i] = {mirroredTurn(std::atan2(d.y, d.x)) * uRepeats,
                    (latitude / std::numbers::pi + 0.5) * vRepeats};
    }
}
