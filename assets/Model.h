#pragma once
// Model: a scene's container of meshes. A scene creates one at setup, loads its 3DS files into it
// (objects are appended in file order and keep their index for the whole run), then addresses
// every mesh by index. It also carries the viewport sizes, the field of view and the last eye
// the camera set-up recorded, which the renderer and the effects read.

#include "assets/Boxed.h"
#include "assets/MeshObject.h"
#include "math/Vec.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

struct Model {
    int screenWidth = 0;
    int screenHeight = 0;
    int effectWidth = 0;
    int effectHeight = 0;
    int objectCount = 0;
    int capacity = 0;
    int flipFaceNormals = 0;    // nonzero: the loader negates every face normal it computes
    float texCoordScale = 1.0f; // the loader multiplies texture coordinates by it
    float vertexScale = 1.0f;   // the loader multiplies vertex coordinates by it
    float fieldOfView = 75.0f;  // vertical, degrees
    Vec3 eyePosition;           // recorded by the last perspective set-up
    Vec3 eyeDirection;
    std::vector<Boxed<MeshObject>> objects; // capacity entries, the first objectCount made

    // Loader state, meaningful only while a file is being read. Positions are 64-bit so that a
    // chunk length near 4 GiB cannot wrap an end position round to before its start.
    std::FILE* file = nullptr;
    std::int64_t fileSize = 0;
    std::int64_t chunkEnd = 0;
    int objectKind = 0; // current named object: 0 mesh, 1 camera, 2 light, 3 omni light

    Model(int capacity, int screenWidth, int screenHeight, int effectWidth, int effectHeight);

    // Appends the mesh objects of a 3DS file. 1 when the whole file was read, else 0; a missing
    // or malformed file is reported as a start-up error. Objects read before a failure stay valid.
    int load(const char* path);
    // The same from an already open stream (read from its start); name is used in the message.
    int loadStream(std::FILE* stream, const char* name);

    MeshObject& mesh(int index) { return *objects[static_cast<std::size_t>(index)]; }
    const MeshObject& mesh(int index) const { return *objects[static_cast<std::size_t>(index)]; }

    // Places the mesh: translation = v, and the matrix translation column too.
    void setPosition(int index, Vec3 v);
    // Copies the rest positions into the working positions, allocating those on first use.
    void resetWorkPositions(int index);
};
