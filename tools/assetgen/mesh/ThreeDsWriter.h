#pragma once
// Writes meshes as a 3DS file: main chunk 0x4D4D (version 3), editor chunk 0x3D3D (mesh
// version 3) and one named object 0x4000 per mesh holding a triangle mesh 0x4100 with its
// vertex list 0x4110, mapping coordinates 0x4140, an identity mesh matrix 0x4160 and its face
// list 0x4120 (all faces in smoothing group 1, chunk 0x4150).

#include "mesh/Mesh.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct NamedMesh {
    std::string name; // at most 10 characters; must not start with "Camera", "Light" or "Omni"
    Mesh mesh;
};

// The largest vertex or face count one object can hold (the counts are 16-bit).
constexpr std::size_t kThreeDsMaxCount = 65535;

// Checks the limits above. Returns an empty string when the objects can be written, else why not.
std::string checkThreeDsObjects(const std::vector<NamedMesh>& objects);

// The file's bytes. The objects must pass checkThreeDsObjects.
std::vector<std::uint8_t> encodeThreeDs(const std::vector<NamedMesh>& objects);

// Encodes and writes; prints why and returns false on failure.
bool writeThreeDs(const std::filesystem::path& file, const std::vector<NamedMesh>& objects);
