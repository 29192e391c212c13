#include "render/geometry/Deform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// One scratch array per operation, so neither can disturb the other's weights.
float weightedScratch[maxDeformHandles] = {};
float blendedScratch[maxDeformHandles] = {};

// The working shape, allocated on first use; the count both arrays cover.
int prepareWork(MeshObject& o) {
    o.prepareWorkBuffers();
    return std::min(
        {o.vertexCount, static_cast<int>(o.positions.size()), static_cast<int>(o.workPositions.size())});
}

bool handleCountFits(int n) { return n >= 0 && n <= maxDeformHandles; }

// The kernel of one vertex and handle. Most handles are out of reach of most vertices: a squared
// distance beyond the squared radius gives a ratio of at least 1, which weighs 0, so the
// division is skipped for them without changing any weight. A handle without a positive radius
// reaches nothing (rather than dividing 0 by 0 at its own source).
float handleWeight(const Vec3& p, const Vec3& source, float squaredRadius) {
    const float d2 = p.minus(source).lengthSquared();
    if (!(squaredRadius > 0.0f) || d2 > squaredRadius) return 0.0f;
    return wendlandWeight(d2 / squaredRadius);
}

} // namespace

float wendlandWeight(float x) {
    if (!(x >= 0.0f && x <= 1.0f)) return 0.0f;
    const float q = std::sqrt(x);
    const float t = 1.0f - q;
    const float t2 = t * t;
    const float t4 = t2 * t2;
    return t4 * t4 * (((32.0f * q + 25.0f) * q + 8.0f) * q + 1.0f);
}

void deformWeighted(Model& model, int mesh, int n, const Vec3* sources, const Vec3* targets,
                    const float* strengths, const float* squaredRadii) {
    MeshObject& o = model.mesh(mesh);
    const int vertexCount = prepareWork(o);
    std::copy_n(o.positions.begin(), vertexCount, o.workPositions.begin());
    if (!handleCountFits(n)) return;

    float* weights = weightedScratch;
    for (int i = 0; i < vertexCount; ++i) {
        const Vec3& p = o.positions[static_cast<std::size_t>(i)];
        int reached = 0;
        for (int j = 0; j < n; ++j) {
            weights[j] = handleWeight(p, sources[j], squaredRadii[j]);
            reached += weights[j] != 0.0f;
        }
        if (reached == 0) continue;
        Vec3& w = o.workPositions[static_cast<std::size_t>(i)];
        for (int j = 0; j < n; ++j) {
            if (weights[j] == 0.0f) continue;
            Vec3 pull = targets[j].minus(sources[j]);
            pull.scale(strengths[j] * weights[j]);
            w.add(pull);
        }
    }
}

void deformBlended(Model& model, int mesh, int n, const Vec3* sources, const Vec3* targets,
                   const float* squaredRadii) {
    MeshObject& o = model.mesh(mesh);
    const int vertexCount = prepareWork(o);
    std::copy_n(o.positions.begin(), vertexCount, o.workPositions.begin());
    if (!handleCountFits(n)) return;

    float* weights = blendedScratch;
    for (int i = 0; i < vertexCount; ++i) {
        const Vec3& p = o.positions[static_cast<std::size_t>(i)];
        int reached = 0;
        float total = 0.0f;
        for (int j = 0; j < n; ++j) {
            weights[j] = handleWeight(p, sources[j], squaredRadii[j]);
            reached += weights[j] != 0.0f;
            total += weights[j];
        }
        if (reached == 0) continue;
        Vec3& w = o.workPositions[static_cast<std::size_t>(i)];
        for (int j = 0; j < n; ++j) {
            if (weights[j] == 0.0f) continue;
            Vec3 pull = targets[j].minus(sources[j]);
            pull.scale(weights[j] / total);
            w.add(pull);
        }
    }
}
