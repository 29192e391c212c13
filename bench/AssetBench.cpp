// Model loading: our 3DS loader against lib3ds and assimp on the same files, so one run shows
// the ratio. The files are the generated show models when the data directory holds them, and
// otherwise a set of spheres of realistic sizes written here.

#include "assets/Model.h"
#include "platform/MessageBox.h"
#include "tests/assets/ThreeDsWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#ifdef CASTRELLE_BENCH_LIB3DS
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#endif
#ifdef CASTRELLE_BENCH_ASSIMP
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#endif

namespace {

namespace fs = std::filesystem;

struct BenchFile {
    std::string label;
    std::string path;
    long faces = 0;
};

// Spheres of 2k to 20k faces, and a scene-like file of several objects with materials,
// a camera and a light.
std::vector<BenchFile> writeGeneratedSet() {
    const fs::path dir = fs::temp_directory_path() / "castrelle_asset_bench";
    fs::create_directories(dir);
    std::vector<BenchFile> files;
    for (const auto& [rings, segments] : {std::pair{32, 32}, std::pair{64, 64}, std::pair{100, 100}}) {
        const threeds::Mesh ball = threeds::sphere(rings, segments, 5.0f);
        const std::string name = "ball_" + std::to_string(ball.faces.size()) + ".3ds";
        threeds::save((dir / name).string(), threeds::file([&](threeds::Writer& w) {
                          w.material("Stone", "stone.jpg");
                          w.meshObject("Ball", ball.vertices, ball.faces, ball.uvs);
                      }));
        files.push_back({name, (dir / name).string(), static_cast<long>(ball.faces.size())});
    }
    const threeds::Mesh part = threeds::sphere(40, 50, 2.0f);
    threeds::save((dir / "scene_5x4000.3ds").string(), threeds::file([&](threeds::Writer& w) {
                      for (int m = 0; m < 4; ++m) w.material(std::to_string(m).insert(0, "Mat"), "tex.jpg");
                      w.cameraObject("Camera01");
                      w.lightObject("Omni01", false);
                      for (int i = 0; i < 5; ++i)
                          w.meshObject(std::to_string(i).insert(0, "Part"), part.vertices, part.faces, part.uvs);
                  }));
    files.push_back({"scene_5x4000.3ds", (dir / "scene_5x4000.3ds").string(), 5 * static_cast<long>(part.faces.size())});
    return files;
}

std::vector<BenchFile> benchFiles() {
    std::vector<BenchFile> files;
    const fs::path models = fs::path(CASTRELLE_DEFAULT_DATA_DIR) / "Models";
    std::error_code error;
    if (fs::is_directory(models, error)) {
        for (const auto& entry : fs::directory_iterator(models, error))
            if (entry.path().extension() == ".3ds")
                files.push_back({entry.path().filename().string(), entry.path().string(), 0});
    }
    if (files.empty()) files = writeGeneratedSet();
    return files;
}

void countFaces(benchmark::State& state, long faces) {
    state.counters["faces"] = static_cast<double>(faces);
    state.SetItemsProcessed(state.iterations() * faces);
}

void ours(benchmark::State& state, const BenchFile& file) {
    setMessageBoxesInteractive(false);
    long faces = 0;
    for (auto _ : state) {
        Model model(64, 512, 512, 256, 128);
        if (model.load(file.path.c_str()) != 1) state.SkipWithError("load failed");
        faces = 0;
        for (int i = 0; i < model.objectCount; ++i) faces += model.mesh(i).faceCount;
        benchmark::DoNotOptimize(model.objects.data());
    }
    countFaces(state, faces);
}

#ifdef CASTRELLE_BENCH_LIB3DS
void lib3ds(benchmark::State& state, const BenchFile& file) {
    long faces = 0;
    for (auto _ : state) {
        Lib3dsFile* loaded = lib3ds_file_load(file.path.c_str());
        if (!loaded) {
            state.SkipWithError("lib3ds failed");
            break;
        }
        faces = 0;
        for (Lib3dsMesh* m = loaded->meshes; m; m = m->next) faces += static_cast<long>(m->faces);
        lib3ds_file_free(loaded);
    }
    countFaces(state, faces);
}
#endif

#ifdef CASTRELLE_BENCH_ASSIMP
// No post-processing steps requested; the importer object is made once, as an application would.
void assimp(benchmark::State& state, const BenchFile& file) {
    Assimp::Importer importer;
    long faces = 0;
    for (auto _ : state) {
        const aiScene* scene = importer.ReadFile(file.path, 0);
        if (!scene) {
            state.SkipWithError("assimp failed");
            break;
        }
        faces = 0;
        for (unsigned i = 0; i < scene->mNumMeshes; ++i) faces += static_cast<long>(scene->mMeshes[i]->mNumFaces);
        importer.FreeScene();
    }
    countFaces(state, faces);
}
#endif

// Registered before main runs, one benchmark per reader and file, peers next to each other.
const int registered = [] {
    for (const BenchFile& file : benchFiles()) {
        benchmark::RegisterBenchmark(("Load3ds/ours/" + file.label).c_str(), ours, file)->Unit(benchmark::kMicrosecond);
#ifdef CASTRELLE_BENCH_LIB3DS
        benchmark::RegisterBenchmark(("Load3ds/lib3ds/" + file.label).c_str(), lib3ds, file)
            ->Unit(benchmark::kMicrosecond);
#endif
#ifdef CASTRELLE_BENCH_ASSIMP
        benchmark::RegisterBenchmark(("Load3ds/assimp/" + file.label).c_str(), assimp, file)
            ->Unit(benchmark::kMicrosecond);
#endif
    }
    return 0;
}();

} // namespace
