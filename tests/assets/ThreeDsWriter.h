#pragma once
// A small writer of 3DS chunk streams, for tests, fuzz seeds and benchmarks: the loader is
// exercised on files our own code builds byte by byte.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace threeds {

struct Vertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};
struct Face {
    std::uint16_t a = 0, b = 0, c = 0;
};
struct UV {
    float u = 0.0f, v = 0.0f;
};

// prefix followed by the decimal number, e.g. numbered("Box0", 1) = "Box01".
inline std::string numbered(const char* prefix, long number) {
    char text[64] = {};
    std::snprintf(text, sizeof text, "%s%ld", prefix, number);
    return text;
}

struct Writer {
    std::vector<unsigned char> bytes;

    void u8(unsigned v) { bytes.push_back(static_cast<unsigned char>(v)); }
    void u16(unsigned v) { u8(v & 0xFF), u8((v >> 8) & 0xFF); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
    void f32(float f) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, 4);
        u32(bits);
    }
    // The name bytes followed by a zero, unless terminated is false.
    void name(const std::string& s, bool terminated = true) {
        for (char c : s) u8(static_cast<unsigned char>(c));
        if (terminated) u8(0);
    }
    // Opens a chunk; close() patches its length to cover everything written since.
    std::size_t open(unsigned id) {
        const std::size_t at = bytes.size();
        u16(id);
        u32(0);
        return at;
    }
    void close(std::size_t at) {
        const std::uint32_t length = static_cast<std::uint32_t>(bytes.size() - at);
        for (int i = 0; i < 4; ++i) bytes[at + 2 + i] = static_cast<unsigned char>(length >> (8 * i));
    }
    // A chunk header with an explicit length, for malformed streams.
    void header(unsigned id, std::uint32_t length) { u16(id), u32(length); }

    void vertexList(const std::vector<Vertex>& vs) {
        const std::size_t c = open(0x4110);
        u16(static_cast<unsigned>(vs.size()));
        for (const Vertex& v : vs) f32(v.x), f32(v.y), f32(v.z);
        close(c);
    }
    void faceList(const std::vector<Face>& fs, bool withSubChunks = false) {
        const std::size_t c = open(0x4120);
        u16(static_cast<unsigned>(fs.size()));
        for (const Face& f : fs) u16(f.a), u16(f.b), u16(f.c), u16(7);
        if (withSubChunks) {
            const std::size_t m = open(0x4130);
            name("Material01");
            u16(static_cast<unsigned>(fs.size()));
            for (std::size_t i = 0; i < fs.size(); ++i) u16(static_cast<unsigned>(i));
            close(m);
            const std::size_t s = open(0x4150);
            for (std::size_t i = 0; i < fs.size(); ++i) u32(1);
            close(s);
        }
        close(c);
    }
    void mapping(const std::vector<UV>& uvs) {
        const std::size_t c = open(0x4140);
        u16(static_cast<unsigned>(uvs.size()));
        for (const UV& t : uvs) f32(t.u), f32(t.v);
        close(c);
    }
    void meshMatrix(const float (&m)[12]) {
        const std::size_t c = open(0x4160);
        for (float f : m) f32(f);
        close(c);
    }
    // A named object holding one triangle mesh.
    void meshObject(const std::string& objectName, const std::vector<Vertex>& vs, const std::vector<Face>& fs,
                    const std::vector<UV>& uvs = {}) {
        const std::size_t o = open(0x4000);
        name(objectName);
        const std::size_t t = open(0x4100);
        vertexList(vs);
        if (!uvs.empty()) mapping(uvs);
        faceList(fs, true);
        close(t);
        close(o);
    }
    void cameraObject(const std::string& objectName) {
        const std::size_t o = open(0x4000);
        name(objectName);
        const std::size_t c = open(0x4700);
        for (int i = 0; i < 8; ++i) f32(static_cast<float>(i));
        close(c);
        close(o);
    }
    void lightObject(const std::string& objectName, bool spot) {
        const std::size_t o = open(0x4000);
        name(objectName);
        const std::size_t l = open(0x4600);
        f32(1), f32(2), f32(3);
        if (spot) {
            const std::size_t s = open(0x4610);
            for (int i = 0; i < 5; ++i) f32(0.5f);
            close(s);
        }
        close(l);
        close(o);
    }
    void material(const std::string& materialName, const std::string& textureFile) {
        const std::size_t b = open(0xAFFF);
        const std::size_t n = open(0xA000);
        name(materialName);
        close(n);
        const std::size_t colour = open(0xA020); // diffuse colour, not read
        const std::size_t rgb = open(0x0011);
        u8(200), u8(100), u8(50);
        close(rgb);
        close(colour);
        const std::size_t map = open(0xA200);
        const std::size_t file = open(0xA300);
        name(textureFile);
        close(file);
        close(map);
        close(b);
    }
};

// A whole file: main chunk, editor chunk with the objects written by body, a keyframer chunk.
template <typename Body>
std::vector<unsigned char> file(Body body) {
    Writer w;
    const std::size_t main = w.open(0x4D4D);
    const std::size_t version = w.open(0x0002);
    w.u32(3);
    w.close(version);
    const std::size_t editor = w.open(0x3D3D);
    body(w);
    w.close(editor);
    const std::size_t keyframer = w.open(0xB000);
    const std::size_t header = w.open(0xB00A);
    w.u16(5);
    w.name("MAXSCENE");
    w.u32(100);
    w.close(header);
    w.close(keyframer);
    w.close(main);
    return w.bytes;
}

inline bool save(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A UV sphere of rings x segments quads (two triangles each), with mapping coordinates.
struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<Face> faces;
    std::vector<UV> uvs;
};
inline Mesh sphere(int rings, int segments, float radius) {
    Mesh m;
    for (int r = 0; r <= rings; ++r) {
        const float phi = 3.14159265f * static_cast<float>(r) / static_cast<float>(rings);
        for (int s = 0; s <= segments; ++s) {
            const float theta = 6.2831853f * static_cast<float>(s) / static_cast<float>(segments);
            m.vertices.push_back({radius * std::sin(phi) * std::cos(theta),
                                  radius * std::sin(phi) * std::sin(theta), radius * std::cos(phi)});
            m.uvs.push_back({static_cast<float>(s) / static_cast<float>(segments),
                             static_cast<float>(r) / static_cast<float>(rings)});
        }
    }
    const int row = segments + 1;
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            const auto i = static_cast<std::uint16_t>(r * row + s);
            const auto j = static_cast<std::uint16_t>(i + row);
            m.faces.push_back({i, j, static_cast<std::uint16_t>(i + 1)});
            m.faces.push_back({static_cast<std::uint16_t>(i + 1), j, static_cast<std::uint16_t>(j + 1)});
        }
    return m;
}

} // namespace threeds
