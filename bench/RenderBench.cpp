// Cost of drawing meshes on the software rasteriser, on each renderer: one 10k-face mesh with the
// default look of a loaded mesh (texture plus cube reflection, layered: three passes), with a
// clear-and-finish baseline for the frame overhead; and on the fixed-function renderer its two
// ways of handing the triangles to GL.
#include "bench/BenchRenderer.h"
#include "render/Camera.h"
#include "render/MeshRenderer.h"
#include "render/PassState.h"
#include "render/ScreenBlit.h"
#include "render/Backends.h"
#include "render/TextureUpload.h"
#include "render/fixed/MeshSubmission.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kFrameSize = 512;
constexpr int kTextureSlot = 10;
constexpr int kCubeSlot = 11;

void makeTextures() {
    std::vector<unsigned char> texels(256 * 256 * 3);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            unsigned char* t = &texels[static_cast<std::size_t>(3 * (256 * y + x))];
            t[0] = static_cast<unsigned char>(x);
            t[1] = static_cast<unsigned char>(y);
            t[2] = static_cast<unsigned char>((x ^ y) & 0xff);
        }
    uploadTexture2D(kTextureSlot, 256, 256, texels.data());
    for (int face = 0; face < 6; ++face) uploadCubeFace(kCubeSlot, face, 256, 256, texels.data());
}

// A latitude-longitude sphere of radius 2: rings x segments x 2 faces, wound outwards.
void buildSphere(MeshObject& o, int rings, int segments) {
    for (int i = 0; i <= rings; ++i)
        for (int j = 0; j <= segments; ++j) {
            const float theta = 3.14159265f * static_cast<float>(i) / static_cast<float>(rings);
            const float phi = 6.2831853f * static_cast<float>(j) / static_cast<float>(segments);
            Vec3 n(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi));
            o.positions.emplace_back(2.0f * n.x, 2.0f * n.y, 2.0f * n.z);
            o.restNormals.emplace_back(-n.x, -n.y, -n.z); // the renderer negates stored normals
            o.texU.push_back(static_cast<float>(j) / static_cast<float>(segments));
            o.texV.push_back(static_cast<float>(i) / static_cast<float>(rings));
        }
    const int row = segments + 1;
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j) {
            const int a = i * row + j, b = a + 1, c = a + row, d = c + 1;
            const int faces[2][3] = {{a, b, d}, {a, d, c}};
            for (const int* f : faces) {
                // Wind each face so its normal points away from the centre.
                const Vec3& p0 = o.positions[static_cast<std::size_t>(f[0])];
                Vec3 n;
                n.cross(o.positions[static_cast<std::size_t>(f[1])].minus(p0),
                        o.positions[static_cast<std::size_t>(f[2])].minus(p0));
                const bool outwards = dot(n, p0) >= 0.0f;
                o.faceIndices.push_back(f[0]);
                o.faceIndices.push_back(outwards ? f[1] : f[2]);
                o.faceIndices.push_back(outwards ? f[2] : f[1]);
            }
        }
    o.vertexCount = static_cast<int>(o.positions.size());
    o.faceCount = static_cast<int>(o.faceIndices.size() / 3);
    o.cornerFlat.assign(o.faceIndices.size(), 0);
    o.cornerNormals.assign(o.faceIndices.size(), Vec3());
    o.workPositions = o.positions;
    o.vertexNormals = o.restNormals;
    o.workBuffersReady = 1;
}

struct BenchScene {
    Model model{10, kFrameSize, kFrameSize, 256, 128};
    SceneLight light;
    CameraFrame camera;

    BenchScene() {
        model.objects[0] = std::make_unique<MeshObject>();
        model.objectCount = 1;
        MeshObject& o = model.mesh(0);
        buildSphere(o, 50, 100);                   // 10000 faces
        o.renderMode = RenderMode::TextureReflect; // as loaded: texture plus reflection, layered
        o.layered = 1;
        o.texture = kTextureSlot;
        o.cubeTexture = kCubeSlot;
        o.colour.set(0.8f, 0.7f, 0.6f, 1);
        o.ambient.set(0.2f, 0.2f, 0.2f, 1);
        o.specular.set(0.2f, 0.2f, 0.2f, 1);
        o.shininess = 0.82f;
        o.spotExponent = 0.05f;
        light.position.set(3, 4, 6);
        light.setColour(1, 1, 1);
        camera.position.set(0, 0, -6);
        camera.aimAt(Vec3(0, 0, 0));
        camera.squareUp();
    }
};

// The scene, its textures made on the current renderer's context.
BenchScene& sceneFor(const RenderBackend& renderer) {
    static BenchScene scene;
    static std::vector<const RenderBackend*> textured;
    if (std::find(textured.begin(), textured.end(), &renderer) == textured.end()) {
        makeTextures();
        textured.push_back(&renderer);
    }
    return scene;
}

void drawFrame(BenchScene& scene, int geometry) {
    clear(Buffers::ColourAndDepth);
    setPerspectiveScreen(scene.model, scene.camera);
    drawObject(scene.model, 0, scene.light, geometry);
    finishFrame();
}

void drawFrames(benchmark::State& state, const RenderBackend& renderer, int geometry) {
    BenchScene& scene = sceneFor(renderer);
    resetDrawnTriangles();
    for (auto _ : state) drawFrame(scene, geometry);
    const double triangles = static_cast<double>(drawnTriangles());
    state.counters["triangles/frame"] = triangles / static_cast<double>(state.iterations());
    state.counters["triangles/s"] = benchmark::Counter(triangles, benchmark::Counter::kIsRate);
}

// The fixed-function renderer's call styles alternately in one loop, so that load from other
// processes on the machine hits them alike; the counters give each style's mean frame time.
void BM_DrawObject10kMode5Layered_FixedCallStyles(benchmark::State& state) {
    const RenderBackend* fixedRenderer = referenceBackend();
    if (!fixedRenderer || !useRenderer(*fixedRenderer)) {
        state.SkipWithError("no desktop OpenGL context");
        return;
    }
    BenchScene& scene = sceneFor(*fixedRenderer);
    double seconds[2] = {0.0, 0.0};
    const fixed::MeshSubmission styles[2] = {fixed::MeshSubmission::Immediate, fixed::MeshSubmission::VertexArrays};
    for (auto _ : state) {
        for (int k = 0; k < 2; ++k) {
            fixed::setMeshSubmission(styles[k]);
            const auto start = std::chrono::steady_clock::now();
            drawFrame(scene, kRestShape);
            seconds[k] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    fixed::setMeshSubmission(fixed::MeshSubmission::VertexArrays);
    const double frames = static_cast<double>(state.iterations());
    state.counters["immediate_ms"] = 1000.0 * seconds[0] / frames;
    state.counters["arrays_ms"] = 1000.0 * seconds[1] / frames;
    state.counters["arrays_gain_%"] = 100.0 * (seconds[0] / seconds[1] - 1.0);
}

const auto kMilliseconds = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime();
};

const int kRegistered = [] {
    onEachRenderer(
        "BM_DrawObject10kMode5Layered",
        [](benchmark::State& s, const RenderBackend& r) { drawFrames(s, r, kRestShape); }, kMilliseconds);
    // The working shape with the cone test off: the same faces through the per-corner normal choice.
    onEachRenderer(
        "BM_DrawObject10kMode5LayeredWorking",
        [](benchmark::State& s, const RenderBackend& r) { drawFrames(s, r, kWorkingShape); }, kMilliseconds);
    // What a frame costs without the mesh: clear, camera, finish.
    onEachRenderer(
        "BM_ClearAndFinishBaseline",
        [](benchmark::State& s, const RenderBackend& r) {
            BenchScene& scene = sceneFor(r);
            for (auto _ : s) {
                clear(Buffers::ColourAndDepth);
                setPerspectiveScreen(scene.model, scene.camera);
                finishFrame();
            }
        },
        kMilliseconds);
    return 0;
}();

} // namespace

BENCHMARK(BM_DrawObject10kMode5Layered_FixedCallStyles)->Unit(benchmark::kMillisecond)->UseRealTime();
