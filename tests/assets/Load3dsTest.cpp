#include "tests/assets/LoadTestSupport.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <pthread.h>

namespace {

using threeds::Face;
using threeds::UV;
using threeds::Vertex;
using threeds::Writer;

const std::vector<Vertex> triangle = {{0, 0, 0}, {2, 0, 0}, {0, 3, 0}};
const std::vector<Face> oneFace = {{0, 1, 2}};

std::vector<unsigned char> boxes(int count) {
    return threeds::file([&](Writer& w) {
        for (int i = 0; i < count; ++i) w.meshObject(threeds::numbered("Box0", i + 1), triangle, oneFace);
    });
}

Model makeModel() { return Model(10000, 512, 512, 256, 128); }

// --- Chunk walk ---------------------------------------------------------------------------

using ChunkWalk = QuietStartup;

TEST_F(ChunkWalk, WholeFileReadReturnsOneAndCreatesAnObjectPerNamedMesh) {
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, boxes(3)), 1);
    EXPECT_EQ(model.objectCount, 3);
    EXPECT_STREQ(model.mesh(2).name, "Box03");
    EXPECT_FALSE(takeQuitMessage());
}

TEST_F(ChunkWalk, ContainerLengthDoesNotBoundItsWalk) {
    // The first mesh container claims to run far past the end of the file; its nested walk
    // still stops at its object's end and reading resumes after the last chunk it handled.
    const auto bytes = threeds::file([](Writer& w) {
        const std::size_t o = w.open(0x4000);
        w.name("Box01");
        w.header(0x4100, 0x7FFFFFF0);
        w.vertexList(triangle);
        w.faceList(oneFace, true);
        w.close(o);
        w.meshObject("Box02", triangle, oneFace);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 2);
    EXPECT_EQ(model.mesh(0).faceCount, 1);
    EXPECT_STREQ(model.mesh(1).name, "Box02");
}

TEST_F(ChunkWalk, ContainersDeclaredEmptyStillHaveTheirChildrenReadAsSiblings) {
    const auto bytes = threeds::file([](Writer& w) {
        const std::size_t o = w.open(0x4000);
        w.name("Box01");
        w.header(0x4100, 6); // empty mesh container; its lists follow it
        w.vertexList(triangle);
        w.faceList(oneFace);
        w.close(o);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(model.mesh(0).vertexCount, 3);
    EXPECT_EQ(model.mesh(0).faceCount, 1);
}

TEST_F(ChunkWalk, UnknownChunksAreSkippedWithEverythingInsideThem) {
    const auto bytes = threeds::file([](Writer& w) {
        const std::size_t keyframer = w.open(0xB000); // holds a complete named mesh object
        w.meshObject("Hidden", triangle, oneFace);
        w.close(keyframer);
        w.meshObject("Box01", triangle, oneFace);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_STREQ(model.mesh(0).name, "Box01");
}

TEST_F(ChunkWalk, MaterialsCamerasAndLightsLeaveNoTrace) {
    const auto bytes = threeds::file([](Writer& w) {
        w.material("Red", "brick.jpg");
        w.material("Blue", "sky.jpg");
        w.cameraObject("Camera01");
        w.lightObject("Light01", true);
        w.lightObject("Omni01", false);
        w.meshObject("Box01", triangle, oneFace);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(model.mesh(0).vertexCount, 3);
    EXPECT_EQ(model.mesh(0).colour.x, 0.0f);
}

TEST_F(ChunkWalk, ZeroLengthChunkStopsTheLoadWithZeroAndNoMessage) {
    auto bytes = boxes(1);
    Writer tail;
    tail.header(0x0002, 0);
    bytes.insert(bytes.end(), tail.bytes.begin(), tail.bytes.end());
    Model model = makeModel();
    std::string err;
    int result = -1;
    err = stderrOf([&] { result = loadBytes(model, bytes); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(model.objectCount, 1); // what was read stays
    EXPECT_EQ(err, "");
    EXPECT_FALSE(takeQuitMessage());
}

// A file that cannot be a whole 3DS file is reported like a missing one, so the show does not
// start with an object silently missing from every frame.
TEST_F(ChunkWalk, DamagedFilesAreReportedAsUnreadable) {
    auto cutInHeader = boxes(1);
    cutInHeader.push_back(0x10), cutInHeader.push_back(0x41), cutInHeader.push_back(3); // half a header
    auto cutInChunk = boxes(2);
    cutInChunk.resize(cutInChunk.size() - 10); // inside the second object's face list
    const std::vector<unsigned char> jpegMagic = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0};
    const std::vector<std::vector<unsigned char>> damaged = {{}, cutInHeader, cutInChunk, jpegMagic};
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        resetQuitState();
        Model model = makeModel();
        int result = -1;
        const std::string err = stderrOf([&] { result = loadBytes(model, damaged[i]); });
        EXPECT_EQ(result, 0) << "case " << i;
        EXPECT_NE(err.find("Can't load file"), std::string::npos) << "case " << i;
        EXPECT_TRUE(startupFailed()) << "case " << i;
    }
    const std::string dir = tempPath("folder.3ds");
    std::filesystem::create_directories(dir);
    Model model = makeModel();
    const std::string err = stderrOf([&] { EXPECT_EQ(model.load(dir.c_str()), 0); });
    EXPECT_NE(err.find("Can't load file " + dir), std::string::npos) << err;
    std::filesystem::remove(dir);
}

TEST_F(ChunkWalk, ZeroBytesAfterTheLastChunkArePaddingNotDamage) {
    auto bytes = boxes(1);
    bytes.insert(bytes.end(), 3, 0); // fewer than a header, all zero
    Model model = makeModel();
    std::string err;
    err = stderrOf([&] { EXPECT_EQ(loadBytes(model, bytes), 0); });
    EXPECT_EQ(model.objectCount, 1);
    EXPECT_EQ(err, "");
    EXPECT_FALSE(startupFailed());
}

TEST_F(ChunkWalk, MissingFileReportsCantLoadFileAndPostsQuit) {
    Model model = makeModel();
    int result = -1;
    const std::string err = stderrOf([&] { result = model.load("Models/no_such_file.3ds"); });
    EXPECT_EQ(result, 0);
    EXPECT_NE(err.find("File read error: Can't load file Models/no_such_file.3ds"), std::string::npos) << err;
    EXPECT_TRUE(takeQuitMessage());
    EXPECT_TRUE(startupFailed());
}

TEST_F(ChunkWalk, DeepRunOfContainersIsRefusedWithoutExhaustingTheStack) {
    Writer w;
    for (int i = 0; i < 100000; ++i) w.header(0x4D4D, 6);
    Model model = makeModel();
    int result = -1;
    const std::string err = stderrOf([&] { result = loadBytes(model, w.bytes); });
    EXPECT_EQ(result, 0);
    EXPECT_NE(err.find("Can't load file"), std::string::npos);
}

// The walk must fit a small thread stack whatever the file: runs of containers nest without
// recursing, and objects nested in objects stop at a shallow bound.
TEST_F(ChunkWalk, HostileNestingFitsInAOneMegabyteStack) {
    Writer containers;
    for (int i = 0; i < 100000; ++i) containers.header(0x4D4D, 6);
    Writer objects;
    objects.header(0x4D4D, 6);
    for (int i = 0; i < 100000; ++i) {
        objects.header(0x4000, 0x7FFFFFF0);
        objects.name("o");
    }
    struct Job {
        const std::vector<unsigned char>* bytes;
        int result;
        std::string err;
    };
    for (const std::vector<unsigned char>* bytes : {&containers.bytes, &objects.bytes}) {
        resetQuitState(); // one file name for both, and each file is reported once
        Job job{bytes, -1, {}};
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstacksize(&attr, 1 << 20);
        pthread_t thread;
        ASSERT_EQ(pthread_create(
                      &thread, &attr,
                      [](void* p) -> void* {
                          Job& j = *static_cast<Job*>(p);
                          Model model = makeModel();
                          j.err = stderrOf([&] { j.result = loadBytes(model, *j.bytes); });
                          return nullptr;
                      },
                      &job),
                  0);
        pthread_join(thread, nullptr);
        pthread_attr_destroy(&attr);
        EXPECT_EQ(job.result, 0);
        EXPECT_NE(job.err.find("Can't load file"), std::string::npos);
    }
}

TEST_F(ChunkWalk, ModeratelyNestedContainersLoadNormally) {
    // Hundreds of material blocks each nest the walk two levels deeper.
    const auto bytes = threeds::file([](Writer& w) {
        for (int i = 0; i < 500; ++i) w.material(threeds::numbered("M", i), "t.jpg");
        w.meshObject("Box01", triangle, oneFace);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    EXPECT_EQ(model.objectCount, 1);
}

// --- Named objects ------------------------------------------------------------------------

using NamedObjects = QuietStartup;

TEST_F(NamedObjects, FileOfCamerasAndLightsCreatesNoMesh) {
    const auto bytes = threeds::file([](Writer& w) {
        w.cameraObject("Camera01");
        w.cameraObject("Cameraman");
        w.lightObject("Light02", true);
        w.lightObject("Omni01", false);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    EXPECT_EQ(model.objectCount, 0);
}

TEST_F(NamedObjects, MeshUnderALightNameGoesToTheMostRecentMesh) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", triangle, oneFace);
        w.meshObject("Omni01", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2}, {1, 3, 2}});
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_STREQ(model.mesh(0).name, "Box01");
    EXPECT_EQ(model.mesh(0).vertexCount, 4);
    EXPECT_EQ(model.mesh(0).faceCount, 2);
}

TEST_F(NamedObjects, ClassificationIsCaseSensitiveAndByPrefixOnly) {
    const auto bytes = threeds::file([](Writer& w) {
        for (const char* n : {"camera01", "Box01", "Omn", "LightX"}) w.meshObject(n, triangle, oneFace);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 3);
    EXPECT_EQ(std::memcmp(model.mesh(0).name, "camera01", 8), 0);
    EXPECT_STREQ(model.mesh(1).name, "Box01");
    EXPECT_STREQ(model.mesh(2).name, "Omn");
}

TEST_F(NamedObjects, EightCharacterNameFillsNameWithoutTerminator) {
    Model model = makeModel();
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Sphere01", triangle, oneFace);
        w.meshObject("Tub", triangle, oneFace);
        w.meshObject("VeryLongObjectName", triangle, oneFace);
    });
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 3);
    EXPECT_EQ(std::memcmp(model.mesh(0).name, "Sphere01", 8), 0);
    EXPECT_EQ(std::memcmp(model.mesh(1).name, "Tub\0\0\0\0\0", 8), 0);
    EXPECT_EQ(std::memcmp(model.mesh(2).name, "VeryLong", 8), 0);
}

TEST_F(NamedObjects, NameEndsAtByte255) {
    const auto bytes = threeds::file([](Writer& w) {
        const std::size_t o = w.open(0x4000);
        w.name("Ab", false);
        w.u8(255);
        const std::size_t t = w.open(0x4100);
        w.vertexList(triangle);
        w.close(t);
        w.close(o);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(std::memcmp(model.mesh(0).name, "Ab\0\0\0\0\0\0", 8), 0);
    EXPECT_EQ(model.mesh(0).vertexCount, 3);
}

TEST_F(NamedObjects, NamesLongerThan63BytesAreReadWhole) {
    // The object's data must still be found after a 300-byte name.
    const auto bytes =
        threeds::file([](Writer& w) { w.meshObject(std::string(300, 'Q'), triangle, oneFace); });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(model.mesh(0).faceCount, 1);
}

TEST_F(NamedObjects, NewMeshStartsWithCreationDefaultsAndFaceListSetsModeFive) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", triangle, oneFace);
        const std::size_t o = w.open(0x4000);
        w.name("Verts");
        const std::size_t t = w.open(0x4100);
        w.vertexList(triangle);
        w.close(t);
        w.close(o);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const MeshObject& faced = model.mesh(0);
    const MeshObject& bare = model.mesh(1);
    EXPECT_EQ(faced.renderMode, RenderMode::TextureReflect);
    EXPECT_EQ(faced.coneCull, 0);
    EXPECT_EQ(bare.renderMode, RenderMode::Textured);
    EXPECT_EQ(bare.faceCount, 0);
    EXPECT_EQ(bare.layered, 1);
    EXPECT_EQ(bare.useEuler, 1);
    EXPECT_EQ(bare.cullFaces, 1);
    EXPECT_EQ(bare.alpha, 1.0f);
    EXPECT_EQ(bare.envAlpha, 1.0f);
    EXPECT_EQ(bare.shininess, 1.0f);
    EXPECT_EQ(bare.lightW, 1.0f);
    EXPECT_EQ(bare.constantAttenuation, 1.0f);
    EXPECT_EQ(bare.scale.x, 1.0f);
    EXPECT_EQ(bare.scale.z, 1.0f);
    EXPECT_EQ(bare.workBuffersReady, 0);
    EXPECT_TRUE(bare.workPositions.empty());
}

// --- Geometry -----------------------------------------------------------------------------

using Geometry = QuietStartup;

TEST_F(Geometry, PositionsAreStoredAsXMinusZYTimesVertexScale) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", {{1, 2, 3}, {-4, 5, -6}, {0, 0, 1}}, oneFace);
    });
    Model model = makeModel();
    model.vertexScale = 2.5f;
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const MeshObject& o = model.mesh(0);
    ASSERT_EQ(o.vertexCount, 3);
    EXPECT_EQ(o.positions[0].x, 2.5f);
    EXPECT_EQ(o.positions[0].y, -7.5f);
    EXPECT_EQ(o.positions[0].z, 5.0f);
    EXPECT_EQ(o.positions[1].x, -10.0f);
    EXPECT_EQ(o.positions[1].y, 15.0f);
    EXPECT_EQ(o.positions[1].z, 12.5f);
}

TEST_F(Geometry, TextureCoordinatesAreScaledByTexCoordScale) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", triangle, oneFace, {{0.5f, 0.25f}, {1, 2}, {-1, 4}});
    });
    Model model = makeModel();
    model.texCoordScale = 4.0f;
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const MeshObject& o = model.mesh(0);
    EXPECT_EQ(o.texU[0], 2.0f);
    EXPECT_EQ(o.texV[0], 1.0f);
    EXPECT_EQ(o.texU[2], -4.0f);
    EXPECT_EQ(o.texV[2], 16.0f);
}

TEST_F(Geometry, FaceIndicesAreKeptInFileOrder) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2}, {3, 2, 1}});
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const std::vector<int> expected = {0, 1, 2, 3, 2, 1};
    EXPECT_EQ(model.mesh(0).faceIndices, expected);
    EXPECT_EQ(model.mesh(0).cornerFlat, std::vector<std::uint8_t>(6, 0));
    EXPECT_EQ(model.mesh(0).cornerNormals.size(), 6u);
    EXPECT_EQ(model.mesh(0).faceNormals.size(), 2u);
}

TEST_F(Geometry, FaceNormalIsUnnormalisedWithLengthTwiceTheArea) {
    // File triangle (0,0,0) (2,0,0) (0,3,0): area 3. Stored as (x, -z, y).
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, boxes(1)), 1);
    const Vec3 n = model.mesh(0).restFaceNormals[0];
    EXPECT_FLOAT_EQ(std::sqrt(n.lengthSquared()), 6.0f);
    // (P1 - P0) x (P2 - P0) = (2,0,0) x (0,0,3) = (0,-6,0)
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, -6.0f);
    EXPECT_EQ(n.z, 0.0f);
}

TEST_F(Geometry, FlipFaceNormalsNegatesFaceAndVertexNormals) {
    Model model = makeModel();
    model.flipFaceNormals = 1;
    EXPECT_EQ(loadBytes(model, boxes(1)), 1);
    EXPECT_EQ(model.mesh(0).restFaceNormals[0].y, 6.0f);
    EXPECT_EQ(model.mesh(0).restNormals[0].y, 1.0f);
}

TEST_F(Geometry, RestNormalsAreUnitSumsWeightedByFaceArea) {
    // Two faces share vertices 0 and 1: one small in the file's xy plane, one larger in xz.
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 3}}, {{0, 1, 2}, {0, 3, 1}});
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const MeshObject& o = model.mesh(0);
    Vec3 sum = o.restFaceNormals[0];
    sum.add(o.restFaceNormals[1]);
    sum.normalize();
    EXPECT_FLOAT_EQ(o.restNormals[0].x, sum.x);
    EXPECT_FLOAT_EQ(o.restNormals[0].y, sum.y);
    EXPECT_FLOAT_EQ(o.restNormals[0].z, sum.z);
    // The larger face pulls the shared normal towards its own direction.
    Vec3 large = o.restFaceNormals[1];
    large.normalize();
    Vec3 small = o.restFaceNormals[0];
    small.normalize();
    EXPECT_GT(dot(o.restNormals[0], large), dot(o.restNormals[0], small));
    // A vertex of one face only takes that face's direction.
    EXPECT_FLOAT_EQ(o.restNormals[2].y, small.y);
}

TEST_F(Geometry, VertexNoFaceUsesGetsTheNormalisedZeroVector) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, oneFace);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    Vec3 zero;
    zero.normalize();
    EXPECT_EQ(model.mesh(0).vertexFaces[3].count, 0);
    EXPECT_EQ(std::isnan(model.mesh(0).restNormals[3].x), std::isnan(zero.x));
}

TEST_F(Geometry, VertexFacesListEveryFaceOfAVertexAndRepeatsDoubledCorners) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
                     {{0, 1, 2}, {2, 1, 3}, {3, 3, 0}});
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const MeshObject& o = model.mesh(0);
    ASSERT_EQ(o.vertexFaces.size(), 4u);
    EXPECT_EQ(o.vertexFaces[0].count, 2);
    EXPECT_EQ(o.vertexFaces[0][0], 0);
    EXPECT_EQ(o.vertexFaces[0][1], 2);
    EXPECT_EQ(o.vertexFaces[3].count, 3); // face 1 once, face 2 twice
    EXPECT_EQ(o.vertexFaces[3][1], 2);
    EXPECT_EQ(o.vertexFaces[3][2], 2);
}

TEST_F(Geometry, FanAroundOneVertexGrowsItsListBySixAtATime) {
    // Vertex 0 is the hub of a 13-triangle fan.
    std::vector<Vertex> vs = {{0, 0, 0}};
    std::vector<Face> fs;
    for (int i = 0; i < 14; ++i) vs.push_back({std::cos(i * 0.4f), std::sin(i * 0.4f), 0});
    for (int i = 1; i < 14; ++i)
        fs.push_back({0, static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1)});
    const auto bytes = threeds::file([&](Writer& w) { w.meshObject("Fan", vs, fs); });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const IntList& hub = model.mesh(0).vertexFaces[0];
    EXPECT_EQ(hub.count, 13);
    EXPECT_EQ(hub.capacity, 18);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(hub[i], i);
    EXPECT_EQ(model.mesh(0).vertexFaces[1].capacity, 6);
}

TEST_F(Geometry, MeshMatrixFillsAxesAndOriginInColumnOrder) {
    const auto bytes = threeds::file([](Writer& w) {
        const std::size_t o = w.open(0x4000);
        w.name("Box01");
        const std::size_t t = w.open(0x4100);
        w.vertexList(triangle);
        w.meshMatrix({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        w.close(t);
        w.close(o);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const float expected[16] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 1};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(model.mesh(0).matrix[i], expected[i]) << i;
}

// --- Several files in one model -----------------------------------------------------------

using SeveralFiles = QuietStartup;

TEST_F(SeveralFiles, ObjectsOfLaterFilesFollowAtConsecutiveIndicesWithTheirOwnScale) {
    Model model = makeModel();
    model.vertexScale = 1.0f;
    EXPECT_EQ(loadBytes(model, boxes(3), "three.3ds"), 1);
    model.vertexScale = 10.0f;
    EXPECT_EQ(loadBytes(model, boxes(2), "two.3ds"), 1);
    model.vertexScale = 100.0f; // changing it afterwards rescales nothing
    ASSERT_EQ(model.objectCount, 5);
    EXPECT_STREQ(model.mesh(2).name, "Box03");
    EXPECT_STREQ(model.mesh(3).name, "Box01");
    EXPECT_STREQ(model.mesh(4).name, "Box02");
    EXPECT_EQ(model.mesh(2).positions[1].x, 2.0f);
    EXPECT_EQ(model.mesh(3).positions[1].x, 20.0f);
}

// --- Malformed files ----------------------------------------------------------------------

using MalformedFiles = QuietStartup;

void expectRefused(Model& model, const std::vector<unsigned char>& bytes) {
    int result = -1;
    const std::string err = stderrOf([&] { result = loadBytes(model, bytes, "bad.3ds"); });
    EXPECT_EQ(result, 0);
    EXPECT_NE(err.find("File read error: Can't load file " + tempPath("bad.3ds")), std::string::npos) << err;
    EXPECT_TRUE(takeQuitMessage());
}

TEST_F(MalformedFiles, FaceIndexAtVertexCountStopsTheLoadKeepingEarlierObjects) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Good", triangle, oneFace);
        w.meshObject("Bad", triangle, {{0, 1, 3}});
        w.meshObject("After", triangle, oneFace);
    });
    Model model = makeModel();
    expectRefused(model, bytes);
    ASSERT_EQ(model.objectCount, 2);
    EXPECT_EQ(model.mesh(0).faceCount, 1);
    const MeshObject& bad = model.mesh(1);
    EXPECT_EQ(bad.faceCount, 0); // the refused face list left nothing half made
    EXPECT_TRUE(bad.faceIndices.empty());
    EXPECT_EQ(bad.vertexCount, 3);
}

TEST_F(MalformedFiles, MappingCountAboveVertexCountIsRefused) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", triangle, oneFace, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    });
    Model model = makeModel();
    expectRefused(model, bytes);
    EXPECT_EQ(model.mesh(0).texU.size(), 3u);
}

TEST_F(MalformedFiles, ShortMappingListLeavesZeroCoordinates) {
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", triangle, oneFace, {{0.5f, 0.5f}});
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    EXPECT_EQ(model.mesh(0).texU[0], 0.5f);
    EXPECT_EQ(model.mesh(0).texU[2], 0.0f);
    EXPECT_EQ(model.mesh(0).texV[2], 0.0f);
}

TEST_F(MalformedFiles, MeshChunkBeforeAnyMeshObjectIsRefused) {
    const auto bytes = threeds::file([](Writer& w) {
        w.vertexList(triangle);
        w.meshObject("Box01", triangle, oneFace);
    });
    Model model = makeModel();
    expectRefused(model, bytes);
    EXPECT_EQ(model.objectCount, 0);
}

TEST_F(MalformedFiles, MeshChunkBeforeTheFilesFirstObjectDoesNotReachAnEarlierFile) {
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, boxes(1), "first.3ds"), 1);
    const auto bytes = threeds::file([](Writer& w) { w.faceList(oneFace); });
    expectRefused(model, bytes);
    EXPECT_EQ(model.mesh(0).faceCount, 1);
}

TEST_F(MalformedFiles, MeshUnderACameraNameWithNoMeshBeforeItIsRefused) {
    const auto bytes = threeds::file([](Writer& w) { w.meshObject("Camera01", triangle, oneFace); });
    Model model = makeModel();
    expectRefused(model, bytes);
    EXPECT_EQ(model.objectCount, 0);
}

TEST_F(MalformedFiles, MoreObjectsThanCapacityStopTheLoadAtCapacity) {
    Model model(2, 512, 512, 256, 128);
    expectRefused(model, boxes(3));
    EXPECT_EQ(model.objectCount, 2);
    EXPECT_STREQ(model.mesh(1).name, "Box02");
}

TEST_F(MalformedFiles, CountRunningPastItsChunkIsRefused) {
    const auto bytes = threeds::file([](Writer& w) {
        const std::size_t o = w.open(0x4000);
        w.name("Box01");
        const std::size_t t = w.open(0x4100);
        w.header(0x4110, 6 + 2 + 12); // room for one vertex, count says three
        w.u16(3);
        for (int i = 0; i < 9; ++i) w.f32(1.0f);
        w.close(t);
        w.close(o);
    });
    Model model = makeModel();
    expectRefused(model, bytes);
    EXPECT_EQ(model.mesh(0).vertexCount, 0);
    EXPECT_TRUE(model.mesh(0).positions.empty());
}

TEST_F(MalformedFiles, TruncatedVertexListReturnsZeroWithoutAHalfFilledMesh) {
    auto bytes = threeds::file([](Writer& w) { w.meshObject("Box01", triangle, oneFace); });
    // Cut inside the vertex data: main, version, editor, object header, "Box01\0", mesh header,
    // vertex list header, count, then 20 of the 36 bytes of vertices.
    const std::size_t cut = 6 + 10 + 6 + 6 + 6 + 6 + 6 + 2 + 20;
    bytes.resize(cut);
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 0);
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(model.mesh(0).vertexCount, 0);
}

TEST_F(MalformedFiles, VertexListAfterFacesDropsTheFacesThatCouldNoLongerIndexIt) {
    const auto bytes = threeds::file([](Writer& w) {
        const std::size_t o = w.open(0x4000);
        w.name("Box01");
        const std::size_t t = w.open(0x4100);
        w.vertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
        w.faceList({{1, 2, 3}});
        w.vertexList({{0, 0, 0}});
        w.close(t);
        w.close(o);
    });
    Model model = makeModel();
    EXPECT_EQ(loadBytes(model, bytes), 1);
    const MeshObject& o = model.mesh(0);
    EXPECT_EQ(o.vertexCount, 1);
    EXPECT_EQ(o.faceCount, 0);
    EXPECT_TRUE(o.faceIndices.empty());
    EXPECT_TRUE(o.vertexFaces.empty());
}

} // namespace
