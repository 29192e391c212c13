// The 3DS writer: the chunk tree our loader walks, the limits it enforces, and agreement with two
// independent readers (lib3ds and assimp) on small meshes.
#include "mesh/ThreeDsWriter.h"
#include "mesh/Primitives.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

struct Chunk {
    std::uint16_t id = 0;
    std::size_t start = 0, end = 0; // end = start + length
    std::vector<Chunk> children;
};

std::uint16_t read16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return read16(b, at) | (static_cast<std::uint32_t>(read16(b, at + 2)) << 16);
}

// Parses the chunks between from and to; `dataBytes(id, at)` gives how many payload bytes precede
// a chunk's sub-chunks (containers have none).
std::vector<Chunk> parse(const std::vector<std::uint8_t>& b, std::size_t from, std::size_t to) {
    std::vector<Chunk> out;
    while (from + 6 <= to) {
        Chunk c;
        c.id = read16(b, from);
        c.start = from;
        c.end = from + read32(b, from + 2);
        std::size_t payload = 0;
        if (c.id == 0x4000) // zero-terminated name before the sub-chunks
            while (b[from + 6 + payload++] != 0) {
            }
        if (c.id == 0x4120) payload = 2 + 8 * read16(b, from + 6);
        const bool container =
            c.id == 0x4D4D || c.id == 0x3D3D || c.id == 0x4100 || c.id == 0x4000 || c.id == 0x4120;
        if (container) c.children = parse(b, from + 6 + payload, c.end);
        out.push_back(c);
        from = c.end;
    }
    return out;
}

Mesh tetrahedron() {
    Mesh m;
    m.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    m.uvs = {{0, 0}, {1, 0}, {0, 1}, {0.5, 0.5}};
    m.faces = {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}};
    return m;
}

std::filesystem::path tempFile(const char* name) { return std::filesystem::temp_directory_path() / name; }

} // namespace

TEST(ThreeDsWriterChunks, nestMainEditorObjectAndMeshChunksWithExactLengths) {
    const auto bytes = encodeThreeDs({{"tetra", tetrahedron()}});
    const auto top = parse(bytes, 0, bytes.size());
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].id, 0x4D4D);
    EXPECT_EQ(top[0].end, bytes.size());
    ASSERT_EQ(top[0].children.size(), 2u);
    EXPECT_EQ(top[0].children[0].id, 0x0002);
    EXPECT_EQ(read32(bytes, top[0].children[0].start + 6), 3u);
    const Chunk& editor = top[0].children[1];
    EXPECT_EQ(editor.id, 0x3D3D);
    ASSERT_EQ(editor.children.size(), 2u);
    EXPECT_EQ(editor.children[0].id, 0x3D3E);
    EXPECT_EQ(read32(bytes, editor.children[0].start + 6), 3u);
    const Chunk& object = editor.children[1];
    EXPECT_EQ(object.id, 0x4000);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[object.start + 6])), "tetra");
    ASSERT_EQ(object.children.size(), 1u);
    const Chunk& mesh = object.children[0];
    EXPECT_EQ(mesh.id, 0x4100);
    std::vector<std::uint16_t> ids;
    for (const Chunk& c : mesh.children) ids.push_back(c.id);
    // The loader needs the vertex list before the face list.
    EXPECT_EQ(ids, (std::vector<std::uint16_t>{0x4110, 0x4140, 0x4160, 0x4120}));
    EXPECT_EQ(mesh.end, object.end);
}

TEST(ThreeDsWriterChunks, storeVerticesTexelsAndFacesAsLittleEndianRecords) {
    const Mesh m = tetrahedron();
    const auto bytes = encodeThreeDs({{"tetra", m}});
    const auto mesh = parse(bytes, 0, bytes.size())[0].children[1].children[1].children[0];
    const std::size_t vertices = mesh.children[0].start + 6;
    ASSERT_EQ(read16(bytes, vertices), 4);
    float z3 = 0.0f;
    std::memcpy(&z3, &bytes[vertices + 2 + 3 * 12 + 8], 4);
    EXPECT_EQ(z3, 1.0f);
    const std::size_t texels = mesh.children[1].start + 6;
    float v2 = 0.0f;
    std::memcpy(&v2, &bytes[texels + 2 + 2 * 8 + 4], 4);
    EXPECT_EQ(v2, 1.0f);
    const std::size_t faces = mesh.children[3].start + 6;
    ASSERT_EQ(read16(bytes, faces), 4);
    EXPECT_EQ(read16(bytes, faces + 2 + 3 * 8 + 0), 1);
    EXPECT_EQ(read16(bytes, faces + 2 + 3 * 8 + 2), 2);
    EXPECT_EQ(read16(bytes, faces + 2 + 3 * 8 + 4), 3);
}

TEST(ThreeDsWriterLimits, refuseNamesTheLoaderWouldMisreadOrCut) {
    EXPECT_FALSE(checkThreeDsObjects({{"Camera01", tetrahedron()}}).empty());
    EXPECT_FALSE(checkThreeDsObjects({{"Light", tetrahedron()}}).empty());
    EXPECT_FALSE(checkThreeDsObjects({{"Omni2", tetrahedron()}}).empty());
    EXPECT_FALSE(checkThreeDsObjects({{"elevenchars", tetrahedron()}}).empty());
    EXPECT_TRUE(checkThreeDsObjects({{"camera01", tetrahedron()}}).empty());
    EXPECT_TRUE(checkThreeDsObjects({{"tenchars10", tetrahedron()}}).empty());
}

TEST(ThreeDsWriterLimits, refuseObjectsBeyondSixteenBitCountsOrWithBadIndices) {
    Mesh big = tetrahedron();
    big.positions.resize(65536);
    big.uvs.resize(65536);
    EXPECT_FALSE(checkThreeDsObjects({{"big", big}}).empty());
    Mesh bad = tetrahedron();
    bad.faces.push_back({0, 1, 4});
    EXPECT_FALSE(checkThreeDsObjects({{"bad", bad}}).empty());
    EXPECT_FALSE(writeThreeDs(tempFile("castrelle_bad.3ds"), {{"bad", bad}}));
}

TEST(ThreeDsWriterPeers, lib3dsReadsTheSameObjectsCountsAndValues) {
    const auto file = tempFile("castrelle_peer_lib3ds.3ds");
    const Mesh sphere = uvSphere(2.0, 12, 6);
    ASSERT_TRUE(writeThreeDs(file, {{"tetra", tetrahedron()}, {"sphere", sphere}}));
    Lib3dsFile* f = lib3ds_file_load(file.c_str());
    ASSERT_NE(f, nullptr);
    std::vector<Lib3dsMesh*> meshes;
    for (Lib3dsMesh* m = f->meshes; m; m = m->next) meshes.push_back(m);
    ASSERT_EQ(meshes.size(), 2u);
    // lib3ds prepends; find by name.
    Lib3dsMesh* s = std::string(meshes[0]->name) == "sphere" ? meshes[0] : meshes[1];
    EXPECT_EQ(s->points, sphere.vertexCount());
    EXPECT_EQ(s->faces, sphere.faceCount());
    EXPECT_EQ(s->texels, sphere.vertexCount());
    EXPECT_FLOAT_EQ(s->pointL[0].pos[2], static_cast<float>(sphere.positions[0].z));
    EXPECT_EQ(s->faceL[5].points[1], sphere.faces[5][1]);
    lib3ds_file_free(f);
    std::filesystem::remove(file);
}

TEST(ThreeDsWriterPeers, assimpReadsTheSameObjectsAndFaceCounts) {
    const auto file = tempFile("castrelle_peer_assimp.3ds");
    const Mesh sphere = uvSphere(2.0, 12, 6);
    ASSERT_TRUE(writeThreeDs(file, {{"tetra", tetrahedron()}, {"sphere", sphere}}));
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), aiProcess_JoinIdenticalVertices);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 2u);
    std::size_t faces = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) faces += scene->mMeshes[i]->mNumFaces;
    EXPECT_EQ(faces, 4u + sphere.faceCount());
    std::filesystem::remove(file);
}
