// The 3DS reader behind Model::load. The chunk tree is read as one flat sequence: a container's
// nested walk runs to the enclosing walk's limit, so it reads the container's children and then
// its later siblings. Every count and index is checked against its chunk, the file and the
// mesh before it is used; a file that fails those checks, or that ends inside a chunk, stops the
// load with the file error message, and objects read until then stay whole.

#include "assets/Model.h"
#include "platform/DataFile.h"
#include "platform/Quit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/types.h>
#include <vector>

namespace {

enum : unsigned {
    MainChunk = 0x4D4D,
    EditorChunk = 0x3D3D,
    NamedObject = 0x4000,
    TriangleMesh = 0x4100,
    VertexList = 0x4110,
    FaceList = 0x4120,
    FaceMaterial = 0x4130,
    MappingCoords = 0x4140,
    SmoothGroups = 0x4150,
    MeshMatrix = 0x4160,
    LightChunk = 0x4600,
    SpotLight = 0x4610,
    CameraChunk = 0x4700,
    MaterialName = 0xA000,
    TextureMap = 0xA200,
    TextureFile = 0xA300,
    MaterialBlock = 0xAFFF,
};

// Why a walk stopped: End is a zero-length chunk, the format's own end marker (padding after the
// last chunk), which stops the load with 0 but no message; Short a file that ends inside a chunk
// its header announced; Bad a file whose contents contradict themselves.
enum class Step { Ok, End, Short, Bad };

// Every container nests the walk one level deeper until the enclosing limit, so a file of many
// containers in a row nests once per container; 8192 levels is far beyond a real file (two per
// material block). Containers nest without recursing (the nested walk has the same limit), so
// their depth costs no stack.
constexpr int maxWalkDepth = 8192;
// The handlers that walk their own children (named objects, face lists, lights) do recurse. A
// real file nests them two or three deep; the bound keeps a hostile file well inside a 1 MB
// stack, sanitizers included.
constexpr int maxNestedWalks = 32;
// Each level re-reads the chunks after the last one handled when it unwinds; hostile lengths can
// make that quadratic. Real files stay far below a million headers plus 16 per byte.
constexpr std::int64_t baseHeaderBudget = 1 << 20;

struct Walker {
    Model& model;
    int firstObject = 0; // objectCount when this file started: earlier objects are not its own
    std::int64_t headerBudget = 0;
    std::vector<unsigned char> scratch;
    int nestedWalks = 0; // walks running now, this one included

    std::int64_t tell() const { return static_cast<std::int64_t>(ftello(model.file)); }
    void seek(std::int64_t pos) const { fseeko(model.file, static_cast<off_t>(pos), SEEK_SET); }
    bool read(void* dst, std::size_t n) const { return std::fread(dst, 1, n, model.file) == n; }

    bool readU16(unsigned& v) const {
        unsigned char b[2] = {};
        if (!read(b, 2)) return false;
        v = b[0] | (b[1] << 8);
        return true;
    }
    bool readU32(std::uint32_t& v) const {
        unsigned char b[4] = {};
        if (!read(b, 4)) return false;
        v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
        return true;
    }

    // Checks that bytes of data at the current position lie inside the chunk (else Bad) and the
    // file (else Short), then reads them into scratch.
    Step readRecords(std::int64_t end, std::int64_t bytes) {
        const std::int64_t pos = tell();
        if (pos + bytes > end) return Step::Bad;
        if (pos + bytes > model.fileSize) return Step::Short;
        scratch.resize(static_cast<std::size_t>(bytes));
        return read(scratch.data(), scratch.size()) ? Step::Ok : Step::Short;
    }
    // Steps over discarded data; running past the chunk is harmless, past the file is not.
    Step skipBytes(std::int64_t bytes) const {
        const std::int64_t pos = tell();
        if (pos + bytes > model.fileSize) return Step::Short;
        seek(pos + bytes);
        return Step::Ok;
    }

    // A name ends at a zero byte, a 255 byte or the end of the file; 63 bytes are kept.
    void readName(char (&name)[64]) const {
        int kept = 0;
        for (;;) {
            const int c = getc_unlocked(model.file);
            if (c == EOF || c == 0 || c == 255) break;
            if (kept < 63) name[kept++] = static_cast<char>(c);
        }
    }

    MeshObject* currentMesh() const {
        if (model.objectCount <= firstObject) return nullptr;
        return &model.mesh(model.objectCount - 1);
    }

    Step walk(std::int64_t limit, int depth);
    Step handle(unsigned id, std::int64_t end, int depth);
    Step namedObject(std::int64_t end, int depth);
    Step vertexList(std::int64_t end);
    Step faceList(std::int64_t end, int depth);
    Step mappingCoords(std::int64_t end);
    Step meshMatrix(std::int64_t end);
    Step smoothGroups(std::int64_t end) const;
};

float f32At(const unsigned char* p) {
    const std::uint32_t bits = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    float f = 0.0f;
    std::memcpy(&f, &bits, 4);
    return f;
}

unsigned u16At(const unsigned char* p) { return p[0] | (p[1] << 8); }

bool isContainer(unsigned id) {
    return id == MainChunk || id == EditorChunk || id == TriangleMesh || id == TextureMap ||
           id == MaterialBlock;
}

bool isHandled(unsigned id) {
    switch (id) {
    case NamedObject:
    case VertexList:
    case FaceList:
    case FaceMaterial:
    case MappingCoords:
    case SmoothGroups:
    case MeshMatrix:
    case LightChunk:
    case SpotLight:
    case CameraChunk:
    case MaterialName:
    case TextureFile:
        return true;
    default:
        return false;
    }
}

// A header cut short by the end of the file is padding when every byte left is zero.
bool onlyZerosLeft(std::FILE* file) {
    for (int c = getc_unlocked(file); c != EOF; c = getc_unlocked(file))
        if (c != 0) return false;
    return true;
}

Step Walker::walk(std::int64_t limit, int depth) {
    if (depth > maxWalkDepth || nestedWalks >= maxNestedWalks) return Step::Bad;
    struct Nesting {
        int& walks;
        explicit Nesting(int& w) : walks(w) { ++walks; }
        ~Nesting() { --walks; }
    } nesting(nestedWalks);

    // Containers entered by this walk. Each one's children are read by a nested walk to the
    // same limit; that walk ending is this loop running out, after which reading resumes at the
    // end of the last chunk the nested walk handled.
    int containers = 0;
    for (;;) {
        while (tell() < limit) {
            if (--headerBudget < 0) return Step::Bad;
            const std::int64_t start = tell();
            unsigned id = 0;
            std::uint32_t length = 0;
            if (!readU16(id) || !readU32(length)) {
                seek(start);
                return onlyZerosLeft(model.file) ? Step::End : Step::Short;
            }
            if (length == 0) return Step::End;
            const std::int64_t end = start + length;
            if (isContainer(id)) {
                model.chunkEnd = end;
                if (depth + ++containers > maxWalkDepth) return Step::Bad;
                continue;
            }
            if (isHandled(id)) {
                model.chunkEnd = end;
                const Step s = handle(id, end, depth + containers);
                if (s != Step::Ok) return s;
            } else {
                if (end > model.fileSize) return Step::Short; // the file ends inside it
                seek(end);                                    // the chunk and everything inside it
                if (std::ferror(model.file)) return Step::Ok;
                continue;
            }
            // The nested reading ends wherever its last chunk ended; go back there.
            seek(model.chunkEnd);
            if (std::ferror(model.file)) return Step::Ok;
        }
        if (containers == 0) return Step::Ok;
        --containers;
        seek(model.chunkEnd);
        if (std::ferror(model.file)) return Step::Ok;
    }
}

Step Walker::handle(unsigned id, std::int64_t end, int depth) {
    char name[64] = {};
    switch (id) {
    case NamedObject:
        return namedObject(end, depth);
    case VertexList:
        return vertexList(end);
    case FaceList:
        return faceList(end, depth);
    case MappingCoords:
        return mappingCoords(end);
    case MeshMatrix:
        return meshMatrix(end);
    case SmoothGroups:
        return smoothGroups(end);
    case FaceMaterial: {
        readName(name);
        unsigned n = 0;
        if (!readU16(n)) return Step::Short;
        return skipBytes(2 * static_cast<std::int64_t>(n));
    }
    case LightChunk: {
        const Step s = skipBytes(12); // position, unused
        if (s != Step::Ok) return s;
        return walk(end, depth + 1);
    }
    case SpotLight:
        return skipBytes(20);
    case CameraChunk:
        return skipBytes(32);
    case MaterialName:
    case TextureFile:
        readName(name);
        return Step::Ok;
    default:
        return Step::Ok;
    }
}

Step Walker::namedObject(std::int64_t end, int depth) {
    char name[64] = {};
    readName(name);
    model.objectKind = 0;
    if (std::strncmp(name, "Camera", 6) == 0)
        model.objectKind = 1;
    else if (std::strncmp(name, "Light", 5) == 0)
        model.objectKind = 2;
    else if (std::strncmp(name, "Omni", 4) == 0)
        model.objectKind = 3;
    if (model.objectKind == 0) {
        if (model.objectCount >= model.capacity) return Step::Bad;
        auto created = std::make_unique<MeshObject>();
        std::memcpy(created->name, name, sizeof created->name);
        model.objects[static_cast<std::size_t>(model.objectCount)] = std::move(created);
        model.objectCount += 1;
    }
    return walk(end, depth + 1);
}

Step Walker::vertexList(std::int64_t end) {
    MeshObject* o = currentMesh();
    if (!o) return Step::Bad;
    unsigned n = 0;
    if (!readU16(n)) return Step::Short;
    const Step s = readRecords(end, 12 * static_cast<std::int64_t>(n));
    if (s != Step::Ok) return s;

    // Faces of an earlier vertex list would index the new one; they go with it.
    if (o->faceCount != 0) {
        o->faceCount = 0;
        o->faceIndices.clear();
        o->cornerFlat.clear();
        o->cornerNormals.clear();
        o->restFaceNormals.clear();
        o->faceNormals.clear();
        o->vertexFaces.clear();
    }
    const float scale = model.vertexScale;
    o->positions.assign(n, Vec3());
    o->restNormals.assign(n, Vec3());
    o->texU.assign(n, 0.0f); // zero, so that a short mapping list leaves no garbage to draw
    o->texV.assign(n, 0.0f);
    o->workBuffersReady = 0;
    o->vertexCount = static_cast<int>(n);
    const unsigned char* p = scratch.data();
    for (unsigned i = 0; i < n; ++i, p += 12) {
        const float x = f32At(p), y = f32At(p + 4), z = f32At(p + 8);
        o->positions[i].set(x * scale, -z * scale, y * scale);
    }
    return Step::Ok;
}

Step Walker::faceList(std::int64_t end, int depth) {
    MeshObject* o = currentMesh();
    if (!o) return Step::Bad;
    unsigned n = 0;
    if (!readU16(n)) return Step::Short;
    const Step s = readRecords(end, 8 * static_cast<std::int64_t>(n));
    if (s != Step::Ok) return s;
    const unsigned vertexCount = static_cast<unsigned>(o->vertexCount);
    for (unsigned i = 0; i < n; ++i) {
        const unsigned char* p = scratch.data() + 8 * i;
        if (u16At(p) >= vertexCount || u16At(p + 2) >= vertexCount || u16At(p + 4) >= vertexCount)
            return Step::Bad;
    }

    o->faceCount = static_cast<int>(n);
    o->coneCull = 0;
    o->renderMode = RenderMode::TextureReflect;
    o->faceIndices.assign(3 * std::size_t{n}, 0);
    o->cornerFlat.assign(3 * std::size_t{n}, 0);
    o->cornerNormals.assign(3 * std::size_t{n}, Vec3());
    o->restFaceNormals.assign(n, Vec3());
    o->faceNormals.assign(n, Vec3());
    const std::vector<Vec3>& pos = o->positions;
    const bool flip = model.flipFaceNormals != 0;
    for (unsigned i = 0; i < n; ++i) {
        const unsigned char* p = scratch.data() + 8 * i;
        const int a = static_cast<int>(u16At(p)), b = static_cast<int>(u16At(p + 2)),
                  c = static_cast<int>(u16At(p + 4));
        o->faceIndices[3 * i] = a;
        o->faceIndices[3 * i + 1] = b;
        o->faceIndices[3 * i + 2] = c;
        Vec3 normal;
        normal.cross(pos[b].minus(pos[a]), pos[c].minus(pos[a]));
        if (flip) normal.scale(-1.0f);
        o->restFaceNormals[i] = normal;
    }

    o->vertexFaces.clear();
    o->vertexFaces.resize(vertexCount);
    for (unsigned i = 0; i < n; ++i)
        for (unsigned k = 0; k < 3; ++k) o->vertexFaces[o->faceIndices[3 * i + k]].push(static_cast<int>(i));

    // Face normals keep their length (twice the area), so larger faces weigh more.
    for (unsigned v = 0; v < vertexCount; ++v) {
        const IntList& faces = o->vertexFaces[v];
        Vec3 sum;
        for (int j = 0; j < faces.count; ++j) sum.add(o->restFaceNormals[faces.items[j]]);
        sum.normalize();
        o->restNormals[v].set(sum.x, sum.y, sum.z);
    }
    return walk(end, depth + 1);
}

Step Walker::mappingCoords(std::int64_t end) {
    MeshObject* o = currentMesh();
    if (!o) return Step::Bad;
    const float scale = model.texCoordScale;
    unsigned n = 0;
    if (!readU16(n)) return Step::Short;
    if (n > static_cast<unsigned>(o->vertexCount)) return Step::Bad;
    const Step s = readRecords(end, 8 * static_cast<std::int64_t>(n));
    if (s != Step::Ok) return s;
    const unsigned char* p = scratch.data();
    for (unsigned i = 0; i < n; ++i, p += 8) {
        o->texU[i] = f32At(p) * scale;
        o->texV[i] = f32At(p + 4) * scale;
    }
    return Step::Ok;
}

// Three axis vectors then the origin, into the columns of an OpenGL matrix.
Step Walker::meshMatrix(std::int64_t end) {
    MeshObject* o = currentMesh();
    if (!o) return Step::Bad;
    const Step s = readRecords(end, 48);
    if (s != Step::Ok) return s;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 3; ++row)
            o->matrix[4 * column + row] = f32At(scratch.data() + 4 * (3 * column + row));
        o->matrix[4 * column + 3] = column == 3 ? 1.0f : 0.0f;
    }
    return Step::Ok;
}

// Smoothing groups are discarded, but they are read as whole u32 values up to the chunk's end,
// so a chunk running past the end of the file is a short read.
Step Walker::smoothGroups(std::int64_t end) const {
    const std::int64_t pos = tell();
    if (pos >= end) return Step::Ok;
    return skipBytes((end - pos + 3) / 4 * 4);
}

} // namespace

int Model::load(const char* path) {
    std::FILE* stream = openDataStream(path); // a directory, a device or a FIFO is refused
    if (!stream) {
        reportUnreadableAsset(path, dataFileError(errno));
        return 0;
    }
    const int result = loadStream(stream, path);
    std::fclose(stream);
    return result;
}

int Model::loadStream(std::FILE* stream, const char* name) {
    file = stream;
    fseeko(file, 0, SEEK_END);
    fileSize = static_cast<std::int64_t>(ftello(file));
    fseeko(file, 0, SEEK_SET);

    // Anything else (an empty file, a picture under a model's name) is not a 3DS file.
    unsigned char magic[2] = {};
    const bool is3ds = std::fread(magic, 1, 2, file) == 2 && (magic[0] | magic[1] << 8) == MainChunk;
    fseeko(file, 0, SEEK_SET);

    Walker walker{*this, objectCount, baseHeaderBudget + 16 * fileSize, {}};
    const Step result = is3ds ? walker.walk(fileSize, 0) : Step::Bad;
    file = nullptr;
    if (result == Step::Short) reportUnreadableAsset(name, "the file ends inside a chunk");
    if (result == Step::Bad)
        reportUnreadableAsset(name, is3ds ? "damaged: a chunk that cannot be read" : "not a 3DS model");
    return result == Step::Ok ? 1 : 0;
}
