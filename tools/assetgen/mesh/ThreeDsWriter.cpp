#include "mesh/ThreeDsWriter.h"

#include <cstdio>
#include <cstring>

namespace {

// Little-endian byte sink with chunk bookkeeping: a chunk's length field is patched when the
// chunk closes, so nested chunks need no size pre-computation.
struct ChunkWriter {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> open;

    void u8(std::uint8_t v) { bytes.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v & 0xFF));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void f32(float v) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void name(const std::string& s) {
        for (char c : s) u8(static_cast<std::uint8_t>(c));
        u8(0);
    }
    void begin(std::uint16_t id) {
        open.push_back(bytes.size());
        u16(id);
        u32(0);
    }
    void end() {
        const std::size_t start = open.back();
        open.pop_back();
        const auto length = static_cast<std::uint32_t>(bytes.size() - start);
        for (int i = 0; i < 4; ++i) bytes[start + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
};

void writeObject(ChunkWriter& w, const NamedMesh& object) {
    const Mesh& m = object.mesh;
    w.begin(0x4000);
    w.name(object.name);
    w.begin(0x4100);

    w.begin(0x4110);
    w.u16(static_cast<std::uint16_t>(m.positions.size()));
    for (const Vec3d& p : m.positions) {
        w.f32(static_cast<float>(p.x));
        w.f32(static_cast<float>(p.y));
        w.f32(static_cast<float>(p.z));
    }
    w.end();

    w.begin(0x4140);
    w.u16(static_cast<std::uint16_t>(m.positions.size()));
    for (std::size_t i = 0; i < m.positions.size(); ++i) {
        const Vec2d uv = i < m.uvs.size() ? m.uvs[i] : Vec2d{};
        w.f32(static_cast<float>(uv.x));
        w.f32(static_cast<float>(uv.y));
    }
    w.end();

    // Identity placement: the vertices are already where the object sits.
    w.begin(0x4160);
    const float identity[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    for (float v : identity) w.f32(v);
    w.end();

    w.begin(0x4120);
    w.u16(static_cast<std::uint16_t>(m.faces.size()));
    for (const Face& f : m.faces) {
        w.u16(static_cast<std::uint16_t>(f[0]));
        w.u16(static_cast<std::uint16_t>(f[1]));
        w.u16(static_cast<std::uint16_t>(f[2]));
        w.u16(0x0007); // all three edges visible
    }
    w.begin(0x4150);
    for (std::size_t i = 0; i < m.faces.size(); ++i) w.u32(1);
    w.end();
    w.end();

    w.end(); // 0x4100
    w.end(); // 0x4000
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

} // namespace

std::string checkThreeDsObjects(const std::vector<NamedMesh>& objects) {
    if (objects.empty()) return "no objects";
    for (const NamedMesh& o : objects) {
        if (o.name.empty() || o.name.size() > 10)
            return "object name '" + o.name + "' is not 1 to 10 characters";
        if (startsWith(o.name, "Camera") || startsWith(o.name, "Light") || startsWith(o.name, "Omni"))
            return "object name '" + o.name + "' would be read as a camera or light";
        if (o.mesh.positions.size() > kThreeDsMaxCount || o.mesh.faces.size() > kThreeDsMaxCount)
            return "object '" + o.name + "' has more than 65535 vertices or faces";
        if (o.mesh.faces.empty()) return "object '" + o.name + "' has no faces";
        for (const Face& f : o.mesh.faces)
            for (std::uint32_t v : f)
                if (v >= o.mesh.positions.size())
                    return "object '" + o.name + "' has a face index out of range";
    }
    return {};
}

std::vector<std::uint8_t> encodeThreeDs(const std::vector<NamedMesh>& objects) {
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x0002);
    w.u32(3);
    w.end();
    w.begin(0x3D3D);
    w.begin(0x3D3E);
    w.u32(3);
    w.end();
    for (const NamedMesh& o : objects) writeObject(w, o);
    w.end();
    w.end();
    return std::move(w.bytes);
}

bool writeThreeDs(const std::filesystem::path& file, const std::vector<NamedMesh>& objects) {
    const std::string problem = checkThreeDsObjects(objects);
    if (!problem.empty()) {
        std::fprintf(stderr, "assetgen: %s: %s\n", file.c_str(), problem.c_str());
        return false;
    }
    const std::vector<std::uint8_t> bytes = encodeThreeDs(objects);
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", file.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok;
}
