// The generated model files: reproducible to the byte, one named object each, and read with the
// same counts by the demo loader's chunk walk, by lib3ds and by assimp.
#include "recipes/ModelCatalog.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path generate(const char* tag) {
    const fs::path dir =
        fs::temp_directory_path() / ("castrelle_models_" + std::to_string(getpid()) + "_" + tag);
    fs::remove_all(dir);
    const std::string command =
        std::string(ASSETGEN_BINARY) + " --out " + dir.string() + " --only models > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return dir;
}

// One generation per test process, removed at exit.
const fs::path& modelsDir() {
    static const struct Dir {
        fs::path path = generate("a");
        ~Dir() { fs::remove_all(path); }
    } dir;
    return dir.path;
}

std::vector<std::uint8_t> readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// What the demo's loader sees: it walks the chunks as one flat sequence (containers do not
// bound their children), creates an object per 0x4000 not named like a camera or light, and
// fills it from 0x4110 / 0x4120 / 0x4140.
struct LoadedObject {
    std::string name; // first 8 bytes
    std::size_t vertices = 0, faces = 0, texels = 0;
    std::size_t maxIndex = 0;
};

std::vector<LoadedObject> loaderView(const std::vector<std::uint8_t>& b) {
    auto u16 = [&](std::size_t at) { return static_cast<std::size_t>(b[at] | (b[at + 1] << 8)); };
    auto u32 = [&](std::size_t at) { return u16(at) | (u16(at + 2) << 16); };
    std::vector<LoadedObject> objects;
    std::size_t at = 0;
    while (at + 6 <= b.size()) {
        const std::size_t id = u16(at), len = u32(at + 2);
        if (len == 0) break;
        const std::size_t data = at + 6;
        if (id == 0x4D4D || id == 0x3D3D || id == 0x4100) {
            at = data;
            continue;
        }
        if (id == 0x4000) {
            std::string name;
            std::size_t p = data;
            while (b[p] != 0 && b[p] != 255) name.push_back(static_cast<char>(b[p++]));
            const bool notMesh =
                name.rfind("Camera", 0) == 0 || name.rfind("Light", 0) == 0 || name.rfind("Omni", 0) == 0;
            if (!notMesh) objects.push_back({name.substr(0, 8)});
            at = p + 1;
            continue;
        }
        if (!objects.empty()) {
            LoadedObject& o = objects.back();
            if (id == 0x4110) o.vertices = u16(data);
            if (id == 0x4140) o.texels = u16(data);
            if (id == 0x4120) {
                o.faces = u16(data);
                for (std::size_t i = 0; i < o.faces * 4; ++i)
                    if (i % 4 != 3) o.maxIndex = std::max(o.maxIndex, u16(data + 2 + 2 * i));
            }
        }
        at += len; // handlers leave the position at the chunk's end (0x4120's sub-chunks are skipped here)
    }
    return objects;
}

} // namespace

TEST(ModelFiles, twoRunsWriteIdenticalBytes) {
    const fs::path second = generate("b");
    std::size_t compared = 0;
    for (const ModelEntry& e : modelCatalog()) {
        const std::string name = "Models/" + e.file + ".3ds";
        const auto a = readBytes(modelsDir() / name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == readBytes(second / name)) << name << " differs between runs";
        ++compared;
    }
    EXPECT_EQ(compared, modelCatalog().size());
    fs::remove_all(second);
}

TEST(ModelFiles, theModelsFolderHoldsExactlyTheCatalogsFiles) {
    std::set<std::string> expected, found;
    for (const ModelEntry& e : modelCatalog()) expected.insert(e.file + ".3ds");
    for (const auto& entry : fs::directory_iterator(modelsDir() / "Models"))
        found.insert(entry.path().filename());
    EXPECT_EQ(found, expected);
    EXPECT_EQ(expected.size(), 38u);
}

TEST(ModelFiles, theLoadersWalkFindsOneObjectPerFileWithConsistentCounts) {
    for (const ModelEntry& e : modelCatalog()) {
        const auto objects = loaderView(readBytes(modelsDir() / "Models" / (e.file + ".3ds")));
        ASSERT_EQ(objects.size(), 1u) << e.file;
        const LoadedObject& o = objects[0];
        EXPECT_EQ(o.name, e.objectName.substr(0, 8)) << e.file;
        EXPECT_GT(o.faces, 0u) << e.file;
        EXPECT_EQ(o.texels, o.vertices) << e.file;
        EXPECT_LT(o.maxIndex, o.vertices) << e.file;
        EXPECT_LE(o.faces, e.maxFaces) << e.file << " is over its triangle budget";
    }
}

TEST(ModelFiles, lib3dsReadsTheSameObjectVertexAndFaceCounts) {
    for (const ModelEntry& e : modelCatalog()) {
        const fs::path file = modelsDir() / "Models" / (e.file + ".3ds");
        const auto ours = loaderView(readBytes(file));
        Lib3dsFile* f = lib3ds_file_load(file.c_str());
        ASSERT_NE(f, nullptr) << e.file;
        std::size_t meshes = 0;
        for (Lib3dsMesh* m = f->meshes; m; m = m->next) {
            ++meshes;
            EXPECT_EQ(std::string(m->name), e.objectName) << e.file;
            EXPECT_EQ(m->points, ours[0].vertices) << e.file;
            EXPECT_EQ(m->faces, ours[0].faces) << e.file;
            EXPECT_EQ(m->texels, ours[0].texels) << e.file;
        }
        EXPECT_EQ(meshes, ours.size()) << e.file;
        lib3ds_file_free(f);
    }
}

TEST(ModelFiles, assimpReadsTheSameObjectVertexAndFaceCounts) {
    for (const ModelEntry& e : modelCatalog()) {
        const fs::path file = modelsDir() / "Models" / (e.file + ".3ds");
        const auto ours = loaderView(readBytes(file));
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(file.string(), aiProcess_JoinIdenticalVertices);
        ASSERT_NE(scene, nullptr) << e.file << ": " << importer.GetErrorString();
        ASSERT_EQ(scene->mNumMeshes, ours.size()) << e.file;
        EXPECT_EQ(scene->mMeshes[0]->mNumFaces, ours[0].faces) << e.file;
        // assimp splits vertices per face corner, then joins corners that agree in position,
        // smooth normal and texture coordinate: for these welded meshes that is every vertex.
        EXPECT_EQ(scene->mMeshes[0]->mNumVertices, ours[0].vertices) << e.file;
    }
}
