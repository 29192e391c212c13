#include "render/geometry/VertexSmoothing.h"

#include "tests/render/GeometryTestMeshes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// On a grid an inner vertex has six neighbours and a corner with one triangle two; none is the
// vertex itself and none comes twice.
TEST(VertexNeighbours, ListEachOtherCornerOfTheFacesRoundAVertexOnce) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::grid(2));
    const VertexNeighbours n = neighboursOf(model.mesh(mesh));
    ASSERT_EQ(n.start.size(), 10u);
    auto of = [&](int v) {
        std::vector<int> list(n.list.begin() + n.start[v], n.list.begin() + n.start[v + 1]);
        return list;
    };
    EXPECT_EQ(of(4), (std::vector<int>{1, 2, 3, 5, 6, 7}));
    EXPECT_EQ(of(0), (std::vector<int>{1, 3}));
    EXPECT_EQ(of(8), (std::vector<int>{5, 7}));
}

// What the filter is for: a ripple from vertex to vertex dies out, a smooth slope survives, and a
// level field stays level.
TEST(SmoothOverNeighbours, DampsARippleAtTheMeshSpacingButKeepsSlopesAndLevels) {
    constexpr int n = 12;
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::grid(n));
    const VertexNeighbours neighbours = neighboursOf(model.mesh(mesh));
    std::vector<float> ripple, slope, level, scratch;
    for (int z = 0; z <= n; ++z)
        for (int x = 0; x <= n; ++x) {
            ripple.push_back((x + z) % 2 == 0 ? 1.0f : -1.0f);
            slope.push_back(0.1f * static_cast<float>(x));
            level.push_back(2.5f);
        }
    smoothOverNeighbours(neighbours, ripple, scratch, 3);
    smoothOverNeighbours(neighbours, slope, scratch, 3);
    smoothOverNeighbours(neighbours, level, scratch, 3);
    for (int z = 3; z <= n - 3; ++z) // the grid's edge reaches in one vertex a pass
        for (int x = 3; x <= n - 3; ++x) {
            const auto v = static_cast<std::size_t>(z * (n + 1) + x);
            EXPECT_LT(std::fabs(ripple[v]), 0.1f);
            EXPECT_NEAR(slope[v], 0.1f * static_cast<float>(x), 1e-5f);
        }
    for (float value : level) EXPECT_FLOAT_EQ(value, 2.5f);
}

} // namespace
