#pragma once
// MeshObject: one triangle mesh. The 3DS loader fills the geometry (rest positions, faces,
// texture coordinates, rest normals); the owning scene fills the appearance; the deformation
// code keeps the working copies; the shadow volumes keep their edge and volume data here.
//
// Per-vertex arrays hold vertexCount entries, per-face arrays faceCount entries and per-corner
// arrays three entries per face (corner k of face f at 3f + k). An array that was never made
// is empty.

#include "assets/IntList.h"
#include "math/Vec.h"

#include <cstdint>
#include <vector>

// An edge of a shadow caster: the face that created it, the other face sharing it (when users
// is 2), its vertices in the corner order of firstFace, and in silhouette copies whether
// firstFace faces away from the light.
struct ShadowEdge {
    int firstFace = 0;
    int secondFace = 0;
    int users = 0;
    int fromVertex = 0;
    int toVertex = 0;
    int flip = 0;
};

// How drawObject surfaces a mesh; the values are the ones the show's data uses.
enum class RenderMode : int {
    Untextured = 0,
    Textured = 1,
    Reflect = 4,        // cube-map reflection only
    TextureReflect = 5, // texture plus cube-map reflection
};

struct MeshObject {
    int vertexCount = 0;
    int faceCount = 0;
    float matrix[16] = {}; // OpenGL column order; 12, 13, 14 hold the translation
    int coneCull = 0;
    int workBuffersReady = 0;

    std::vector<Vec3> positions;
    std::vector<Vec3> restNormals;
    std::vector<Vec3> workPositions;
    std::vector<Vec3> vertexNormals;
    std::vector<Vec3> worldPositions;
    std::vector<Vec3> worldVertexNormals;
    std::vector<Vec3> worldFaceNormals;
    std::vector<IntList> vertexFaces;
    std::vector<float> texU;
    std::vector<float> texV;
    std::vector<int> faceIndices;
    std::vector<std::uint8_t> cornerFlat;
    std::vector<Vec3> cornerNormals;
    std::vector<Vec3> restFaceNormals;
    std::vector<Vec3> faceNormals;

    // Shadow-volume data, filled by prepareShadowCaster and buildShadowVolume.
    int edgeCount = 0;
    std::vector<ShadowEdge> edges;
    int silhouetteCount = 0;
    std::vector<ShadowEdge> silhouette;
    int sideQuadCount = 0;
    std::vector<Vec4> sideQuads;
    int capTriangleCount = 0;
    std::vector<Vec4> capVertices;

    Vec4 colour;
    Vec4 specular;
    Vec4 ambient;
    float alpha = 1.0f;
    float envAlpha = 1.0f;
    float shininess = 1.0f;
    RenderMode renderMode = RenderMode::Textured;
    int modulateBase = 1;
    int sphereMap = 0;
    int texture = 0;
    float texOffsetU = 0.0f;
    float texOffsetV = 0.0f;
    int cubeTexture = 0;
    float lightW = 1.0f;
    float spotExponent = 0.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
    int layered = 1;
    char name[8] = {}; // first 8 bytes of the file's name, not always terminated
    Vec3 scale{1.0f, 1.0f, 1.0f};
    int cullFaces = 1;
    Vec3 translation;
    int useEuler = 1;
    float rotationX = 0.0f;
    float rotationY = 0.0f;
    float rotationZ = 0.0f;

    // Allocates workPositions and vertexNormals (zeroed) unless workBuffersReady says they exist.
    void prepareWorkBuffers();
};
