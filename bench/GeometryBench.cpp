// Per-frame geometry costs: handle deformations per vertex and handle, normals per face, world
// copies per vertex, the draw arrays gathered per face (one mesh, or a batch of placed ones),
// shadow-volume builds per edge and their counting into the stencil on each renderer, and the
// setup-time edge search, hashed against the linear search it replaces.
#include "bench/BenchRenderer.h"
#include "render/Camera.h"
#include "render/PassState.h"
#include "render/ScreenBlit.h"
#include "render/ShadowVolume.h"
#include "render/Transform.h"
#include "render/geometry/Deform.h"
#include "render/geometry/MeshArrays.h"
#include "render/geometry/Normals.h"

#include "tests/render/GeometryTestMeshes.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A closed ball of about `faces` triangles (2 * segments * (rings - 1)), radius 3.
testmesh::Shape ballOf(int faces) {
    const int segments = 100;
    const int rings = faces / (2 * segments) + 1;
    return testmesh::lumpyBall(rings, segments, 3.0f);
}

// A column of handles like the scenes' lattices: eight points round the axis per row, rows
// spread over the ball's height, each reaching about half the radius.
struct Handles {
    std::vector<Vec3> sources, targets;
    std::vector<float> strengths, radii2;
    explicit Handles(int n) {
        const float base[8][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {0, -1}, {1, 0}, {-1, 0}, {0, 1}};
        const int rows = (n + 7) / 8;
        for (int i = 0; i < n; ++i) {
            const float y =
                -3.0f + 6.0f * static_cast<float>(i / 8) / static_cast<float>(rows > 1 ? rows - 1 : 1);
            sources.emplace_back(2.0f * base[i % 8][0], y, 2.0f * base[i % 8][1]);
            targets.emplace_back(2.4f * base[i % 8][0], 1.1f * y, 2.4f * base[i % 8][1]);
            strengths.push_back(0.9f);
            radii2.push_back(2.8f);
        }
    }
};

void BM_DeformWeighted(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(5000));
    const int n = static_cast<int>(state.range(0));
    const Handles h(n);
    for (auto _ : state) {
        deformWeighted(model, mesh, n, h.sources.data(), h.targets.data(), h.strengths.data(),
                       h.radii2.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * model.mesh(mesh).vertexCount * n);
    state.SetLabel("items = vertex x handle");
}
BENCHMARK(BM_DeformWeighted)->Arg(64)->Arg(128);

void BM_DeformBlended(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(5000));
    const int n = static_cast<int>(state.range(0));
    const Handles h(n);
    for (auto _ : state) {
        deformBlended(model, mesh, n, h.sources.data(), h.targets.data(), h.radii2.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * model.mesh(mesh).vertexCount * n);
    state.SetLabel("items = vertex x handle");
}
BENCHMARK(BM_DeformBlended)->Arg(128);

void BM_WendlandWeight(benchmark::State& state) {
    std::vector<float> ratios(4096);
    for (std::size_t i = 0; i < ratios.size(); ++i) ratios[i] = static_cast<float>(i) / 3000.0f;
    for (auto _ : state) {
        float sum = 0.0f;
        for (float x : ratios) sum += wendlandWeight(x);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(ratios.size()));
}
BENCHMARK(BM_WendlandWeight);

void BM_ComputeSmoothNormals(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(10000));
    resetWorkPositions(model, mesh);
    for (auto _ : state) {
        computeSmoothNormals(model, mesh);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * model.mesh(mesh).faceCount);
    state.SetLabel("items = faces");
}
BENCHMARK(BM_ComputeSmoothNormals);

// The argument is the threshold in hundredths: 88 (sharp creases kept) and -100 (all smooth).
void BM_ComputeCreaseNormals(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(10000));
    resetWorkPositions(model, mesh);
    const float threshold = static_cast<float>(state.range(0)) / 100.0f;
    for (auto _ : state) {
        computeCreaseNormals(model, mesh, threshold);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * model.mesh(mesh).faceCount);
    state.SetLabel("items = faces");
}
BENCHMARK(BM_ComputeCreaseNormals)->Arg(88)->Arg(-100);

void BM_TransformToWorld(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(10000));
    resetWorkPositions(model, mesh);
    prepareWorldBuffers(model, mesh);
    for (auto _ : state) {
        transformToWorldBy(model, mesh, identity, worldFromWorking, true);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * model.mesh(mesh).vertexCount);
    state.SetLabel("items = vertices, smooth");
}
BENCHMARK(BM_TransformToWorld);

// A ball as the renderer draws it: texture coordinates, and the working shape's normals creased
// so that the flat corners get vertices of their own.
int addDrawnBall(Model& model, int faces) {
    const int mesh = testmesh::add(model, ballOf(faces));
    MeshObject& o = model.mesh(mesh);
    const std::size_t n = static_cast<std::size_t>(o.vertexCount);
    o.texU.assign(n, 0.25f);
    o.texV.assign(n, 0.75f);
    o.vertexNormals.assign(n, Vec3());
    resetWorkPositions(model, mesh);
    computeCreaseNormals(model, mesh, 0.88f);
    return mesh;
}

void BM_GatherArrays(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = addDrawnBall(model, 10000);
    const MeshObject& o = model.mesh(mesh);
    const ShapeSource source = shapeSource(o, kWorkingShape);
    if (source.faces == 0) return state.SkipWithError("the ball is not drawable");
    MeshArrays arrays;
    for (auto _ : state) benchmark::DoNotOptimize(gatherArrays(o, source, viewConeOf(model), arrays));
    state.SetItemsProcessed(state.iterations() * o.faceCount);
    state.SetLabel("items = faces");
}
BENCHMARK(BM_GatherArrays);

// Forty small creased balls, each placed, in one batch, as the swarm draws its stars.
void BM_GatherBatch(benchmark::State& state) {
    constexpr int kMeshes = 40;
    Model model(kMeshes + 1, 512, 512, 256, 128);
    int meshes[kMeshes];
    for (int i = 0; i < kMeshes; ++i) {
        meshes[i] = addDrawnBall(model, 400);
        MeshObject& o = model.mesh(meshes[i]);
        o.translation.set(static_cast<float>(i % 8), static_cast<float>(i / 8), 0.0f);
        o.rotationY = 0.1f * static_cast<float>(i);
    }
    MeshBatch batch;
    int lead = -1;
    for (auto _ : state) benchmark::DoNotOptimize(gatherBatch(model, meshes, kMeshes, kWorkingShape, batch, lead));
    state.SetItemsProcessed(state.iterations() * kMeshes * model.mesh(meshes[0]).faceCount);
    state.SetLabel("items = faces");
}
BENCHMARK(BM_GatherBatch);

void BM_BuildShadowVolume(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(10000));
    prepareShadowCaster(model, mesh);
    resetWorkPositions(model, mesh);
    transformToWorldBy(model, mesh, identity, worldFromWorking, true);
    SceneLight light;
    light.position.set(4.0f, 9.0f, 2.0f);
    for (auto _ : state) {
        buildShadowVolume(model, mesh, light);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * model.mesh(mesh).edgeCount);
    state.counters["silhouette"] = model.mesh(mesh).silhouetteCount;
    state.SetLabel("items = edges");
}
BENCHMARK(BM_BuildShadowVolume);

// Setup-time edge search over a mesh of the argument's face count.
void BM_FindShadowEdges(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(static_cast<int>(state.range(0))));
    std::vector<ShadowEdge> edges;
    for (auto _ : state) {
        findShadowEdges(model.mesh(mesh), edges);
        benchmark::DoNotOptimize(edges.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(edges.size()));
    state.counters["faces"] = model.mesh(mesh).faceCount;
}
BENCHMARK(BM_FindShadowEdges)->Arg(2000)->Arg(10000)->Arg(60000)->Unit(benchmark::kMillisecond);

void BM_FindShadowEdgesBySearch(benchmark::State& state) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(static_cast<int>(state.range(0))));
    std::vector<ShadowEdge> edges;
    for (auto _ : state) {
        findShadowEdgesBySearch(model.mesh(mesh), edges);
        benchmark::DoNotOptimize(edges.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(edges.size()));
    state.counters["faces"] = model.mesh(mesh).faceCount;
}
BENCHMARK(BM_FindShadowEdgesBySearch)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindShadowEdgesBySearch)->Arg(60000)->Iterations(1)->Unit(benchmark::kMillisecond);


// Counting one caster's volume into the stencil of the frame, as a shadowing scene does each
// frame: a 10k-face ball under a light above it, seen from a camera beside it.
void drawShadowVolumes(benchmark::State& state, const RenderBackend&) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, ballOf(10000));
    prepareShadowCaster(model, mesh);
    resetWorkPositions(model, mesh);
    transformToWorldBy(model, mesh, identity, worldFromWorking, true);
    SceneLight light;
    light.position.set(4.0f, 12.0f, 2.0f);
    buildShadowVolume(model, mesh, light);

    CameraFrame camera;
    camera.position.set(0.0f, -2.0f, -12.0f); // the view's eye is the negated position
    camera.aimAt(Vec3(0.0f, 2.0f, 0.0f));
    camera.squareUp();
    setPerspectiveScreen(model, camera);
    clear(Buffers::Depth);
    for (auto _ : state) {
        clear(Buffers::Stencil);
        drawShadowVolume(model, mesh);
        finishFrame();
    }
    const MeshObject& o = model.mesh(mesh);
    state.counters["triangles"] = 2 * o.sideQuadCount + o.capTriangleCount;
    state.SetItemsProcessed(state.iterations() * (2 * o.sideQuadCount + o.capTriangleCount));
    state.SetLabel("items = volume triangles");
}

const int kRegistered = [] {
    onEachRenderer("BM_DrawShadowVolume", drawShadowVolumes,
                   [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->UseRealTime(); });
    return 0;
}();

} // namespace
