#include "render/MeshRenderer.h"

#include "glext/GlExt.h"
#include "math/Angles.h"
#include "render/FragmentProgram.h"
#include "render/Placement.h"
#include "render/RenderPath.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// Layered meshes get a darker ambient because the extra pass adds light on top.
constexpr float kLayeredAmbientScale = 0.33f;

// Faces whose first corner lies outside this cone around the view direction are skipped. With
// the 75-degree, 4:3 view the cone (about 56.6 degrees half-angle) encloses the whole frustum.
constexpr float kConeCosine = 0.55f;
constexpr float kConeNearDistance = 0.1f; // faces this close to the eye are always drawn
constexpr float kConeLengthEpsilon = 0.000001f;

constexpr float kNormalLineWidth = 0.2f;

std::int64_t gTriangles = 0;
std::int64_t gBatches = 0;
// Indexed client-side arrays send the same corners as immediate mode, but shared vertices are
// lit once instead of once per face: measured over a third faster on llvmpipe.
MeshSubmission gSubmission = MeshSubmission::VertexArrays;

// The current draw as vertex arrays, reused by every pass of a call: one T2F_N3F_V3F entry per
// vertex plus one per flat corner (which has its own normal), and the corners of the kept faces
// as indices. They grow only when a larger mesh than any before is drawn (the warm-up renders),
// never in a steady frame.
std::vector<float> gVertices;
std::vector<GLuint> gIndices;
constexpr std::size_t kFloatsPerVertex = 8;

// The current batch of drawObjects: one T2F_C4F_N3F_V3F entry per vertex and flat corner of
// every mesh, already placed, and each mesh's range and colour for the per-pass colour fill.
// Grown at start-up by reserveObjectBatch or by the first batches (the warm-up renders).
std::vector<float> gBatchVertices;
std::vector<GLuint> gBatchIndices;
struct BatchMesh {
    std::size_t firstVertex = 0;
    std::size_t vertexCount = 0;
    Vec4 colour;
};
std::vector<BatchMesh> gBatchMeshes;
constexpr std::size_t kBatchFloatsPerVertex = 12;

// Which row set of the pass table a mesh uses.
enum class PassScheme { LayeredTextureReflect, LayeredOther, Untextured, Textured, Reflect, TextureReflect };

PassScheme schemeOf(const MeshObject& o) {
    if (o.layered != 0)
        return o.renderMode == RenderMode::TextureReflect ? PassScheme::LayeredTextureReflect
                                                          : PassScheme::LayeredOther;
    switch (o.renderMode) {
    case RenderMode::Untextured:
        return PassScheme::Untextured;
    case RenderMode::Reflect:
        return PassScheme::Reflect;
    case RenderMode::TextureReflect:
        return PassScheme::TextureReflect;
    default:
        return PassScheme::Textured; // Textured, and the values no scene sets
    }
}

float passAlpha(const MeshObject& o, int pass) {
    if (o.renderMode == RenderMode::TextureReflect) {
        const int envPass = o.layered != 0 ? 2 : 1; // the one pass that takes envAlpha
        return pass == envPass ? o.envAlpha : o.alpha;
    }
    return o.renderMode == RenderMode::Reflect ? o.envAlpha : o.alpha;
}

float colourFactor(const MeshObject& o, int pass) {
    if (o.layered != 0) return o.renderMode == RenderMode::TextureReflect || pass == 0 ? 1.0f : 2.0f;
    return o.renderMode == RenderMode::TextureReflect ? 2.0f : 4.0f;
}

void setEnv(GLint mode) { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode); }
void setEnable(GLenum cap, bool on) { on ? glEnable(cap) : glDisable(cap); }
void bindTexture(const MeshObject& o) { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(o.texture)); }
void repeatWrap() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void noGeneration() {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
}

void sphereGeneration(const MeshObject& o) {
    glDisable(GL_TEXTURE_GEN_R);
    if (o.sphereMap != 0) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

// The calls of one pass, in the order the look was tuned with.
void setPassState(const MeshObject& o, PassScheme scheme, int pass) {
    const GLint baseEnv = o.modulateBase != 0 ? GL_MODULATE : GL_ADD;
    switch (scheme) {
    case PassScheme::LayeredTextureReflect:
        if (pass == 0) {
            setEnv(baseEnv);
            glEnable(GL_TEXTURE_2D);
            glDisable(GL_BLEND);
            glEnable(GL_LIGHTING);
            glDepthFunc(GL_LEQUAL);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            bindTexture(o);
            sphereGeneration(o);
        } else if (pass == 1) {
            setEnv(GL_MODULATE);
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glDepthFunc(GL_LEQUAL);
            glDisable(GL_LIGHTING);
            glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
            applyCubeReflection(o.cubeTexture);
        } else {
            glEnable(GL_TEXTURE_2D);
            setEnv(GL_MODULATE);
            glEnable(GL_BLEND);
            glEnable(GL_LIGHTING);
            glDepthFunc(GL_LEQUAL);
            glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
            bindTexture(o);
            sphereGeneration(o);
        }
        break;
    case PassScheme::LayeredOther:
        if (pass == 0) {
            setEnv(GL_ADD);
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_BLEND);
            glDepthFunc(GL_LEQUAL);
        } else {
            setEnv(GL_MODULATE);
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glDepthFunc(GL_EQUAL);
            glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
        }
        bindTexture(o);
        noGeneration();
        break;
    case PassScheme::Untextured:
        setEnv(GL_MODULATE);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDepthFunc(GL_LEQUAL);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        // No repeat wrap here: this pass binds nothing, so it would land on whatever texture is
        // bound, often an effect copy that must clamp at the frame's edges.
        noGeneration();
        break;
    case PassScheme::Textured:
        bindTexture(o);
        setEnv(GL_MODULATE);
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDepthFunc(GL_LEQUAL);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        repeatWrap();
        sphereGeneration(o);
        break;
    case PassScheme::Reflect:
        setEnv(GL_MODULATE);
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glDepthFunc(GL_LEQUAL);
        glBlendFunc(GL_ONE, GL_ONE);
        glDisable(GL_TEXTURE_2D);
        applyCubeReflection(o.cubeTexture);
        break;
    case PassScheme::TextureReflect:
        if (pass == 0) {
            bindTexture(o);
            setEnv(baseEnv);
            glEnable(GL_TEXTURE_2D);
            glDisable(GL_BLEND);
            glEnable(GL_LIGHTING);
            glDepthFunc(GL_LEQUAL);
            glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
            sphereGeneration(o);
        } else {
            setEnv(GL_MODULATE);
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glDepthFunc(GL_EQUAL);
            glDisable(GL_LIGHTING);
            glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
            applyCubeReflection(o.cubeTexture);
        }
        break;
    }
}

// The arrays one draw reads, chosen by geometry and coneCull. Empty (faces == 0) when the
// shape is not drawable: an unknown geometry or arrays that were never made.
struct ShapeSource {
    const Vec3* positions = nullptr;
    const Vec3* normals = nullptr;
    const std::uint8_t* cornerFlat = nullptr; // null: every corner takes its vertex normal
    const Vec3* cornerNormals = nullptr;
    bool coneTest = false;
    int faces = 0;
};

bool holds(const std::vector<Vec3>& a, std::size_t n) { return a.size() >= n; }

ShapeSource shapeSource(const MeshObject& o, int geometry) {
    ShapeSource s;
    if (o.vertexCount <= 0 || o.faceCount <= 0) return s;
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t corners = 3 * static_cast<std::size_t>(o.faceCount);
    if (o.faceIndices.size() < corners || o.texU.size() < vertices || o.texV.size() < vertices) return s;
    const bool cornersMade = o.cornerFlat.size() >= corners && holds(o.cornerNormals, corners);
    if (geometry == kRestShape) {
        if (!holds(o.positions, vertices) || !holds(o.restNormals, vertices)) return s;
        s.positions = o.positions.data();
        s.normals = o.restNormals.data();
        if (o.coneCull != 0 && cornersMade) {
            s.cornerFlat = o.cornerFlat.data();
            s.cornerNormals = o.cornerNormals.data();
        }
    } else if (geometry == kWorkingShape) {
        if (!holds(o.workPositions, vertices) || !holds(o.vertexNormals, vertices)) return s;
        s.positions = o.workPositions.data();
        s.normals = o.vertexNormals.data();
        if (cornersMade) {
            s.cornerFlat = o.cornerFlat.data();
            s.cornerNormals = o.cornerNormals.data();
        }
        s.coneTest = o.coneCull != 0;
    } else {
        return s;
    }
    s.faces = o.faceCount;
    return s;
}

// The cone test of one face, from its first corner. The mesh's placement is not applied: the
// meshes that use it sit at the origin.
struct ViewCone {
    Vec3 eye;       // GL eye point, the negated recorded position
    Vec3 direction; // GL viewing direction
};

bool insideCone(const ViewCone& cone, const Vec3& p, const Vec3& scale) {
    const float px = p.x * scale.x - cone.eye.x;
    const float py = p.y * scale.y - cone.eye.y;
    const float pz = p.z * scale.z - cone.eye.z;
    const float d = std::sqrt(px * px + py * py + pz * pz);
    const float inv = 1.0f / (d + kConeLengthEpsilon);
    const float c = px * inv * cone.direction.x + py * inv * cone.direction.y + pz * inv * cone.direction.z;
    return c >= kConeCosine || d <= kConeNearDistance;
}

ViewCone viewConeOf(const Model& model) {
    ViewCone cone;
    cone.eye.set(-model.eyePosition.x, -model.eyePosition.y, -model.eyePosition.z);
    cone.direction.set(-model.eyeDirection.x, -model.eyeDirection.y, -model.eyeDirection.z);
    return cone;
}

const Vec3& cornerNormal(const ShapeSource& s, int corner, int vertex) {
    if (s.cornerFlat != nullptr && s.cornerFlat[corner] != 0) return s.cornerNormals[corner];
    return s.normals[vertex];
}

// Sends every face of the shape as one immediate-mode triangle list; returns the triangles sent.
int emitImmediate(const MeshObject& o, const ShapeSource& s, const ViewCone& cone) {
    const int* indices = o.faceIndices.data();
    const float* u = o.texU.data();
    const float* v = o.texV.data();
    const float offU = o.texOffsetU, offV = o.texOffsetV;
    const float sx = o.scale.x, sy = o.scale.y, sz = o.scale.z;
    int sent = 0;
    glBegin(GL_TRIANGLES);
    for (int f = 0; f < s.faces; ++f) {
        const int* corner = indices + 3 * f;
        if (s.coneTest && !insideCone(cone, s.positions[corner[0]], o.scale)) continue;
        for (int k = 0; k < 3; ++k) {
            const int vertex = corner[k];
            const Vec3& n = cornerNormal(s, 3 * f + k, vertex);
            const Vec3& p = s.positions[vertex];
            glTexCoord2f(u[vertex] + offU, v[vertex] + offV);
            glNormal3f(-n.x, -n.y, -n.z);
            glVertex3f(p.x * sx, p.y * sy, p.z * sz);
        }
        ++sent;
    }
    glEnd();
    return sent;
}

void putVertex(float* out, float u, float v, const Vec3& n, const Vec3& p, const Vec3& scale) {
    out[0] = u;
    out[1] = v;
    out[2] = -n.x;
    out[3] = -n.y;
    out[4] = -n.z;
    out[5] = p.x * scale.x;
    out[6] = p.y * scale.y;
    out[7] = p.z * scale.z;
}

// Fills gVertices and gIndices with the corners emitImmediate would send, shared vertices sent
// once; returns the triangle count.
int gatherArrays(const MeshObject& o, const ShapeSource& s, const ViewCone& cone) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t corners = 3 * static_cast<std::size_t>(s.faces);
    const std::size_t most = kFloatsPerVertex * (vertices + corners);
    if (gVertices.size() < most) gVertices.resize(most);
    if (gIndices.size() < corners) gIndices.resize(corners);
    const float offU = o.texOffsetU, offV = o.texOffsetV;
    float* out = gVertices.data();
    for (std::size_t v = 0; v < vertices; ++v, out += kFloatsPerVertex)
        putVertex(out, o.texU[v] + offU, o.texV[v] + offV, s.normals[v], s.positions[v], o.scale);
    GLuint next = static_cast<GLuint>(vertices);
    GLuint* index = gIndices.data();
    const int* faceCorners = o.faceIndices.data();
    int kept = 0;
    for (int f = 0; f < s.faces; ++f) {
        const int* corner = faceCorners + 3 * f;
        if (s.coneTest && !insideCone(cone, s.positions[corner[0]], o.scale)) continue;
        for (int k = 0; k < 3; ++k) {
            const int c = 3 * f + k;
            const int vertex = corner[k];
            if (s.cornerFlat != nullptr && s.cornerFlat[c] != 0) {
                putVertex(out, o.texU[vertex] + offU, o.texV[vertex] + offV, s.cornerNormals[c],
                          s.positions[vertex], o.scale);
                out += kFloatsPerVertex;
                *index++ = next++;
            } else {
                *index++ = static_cast<GLuint>(vertex);
            }
        }
        ++kept;
    }
    return kept;
}

// The mesh's placement as drawObject applies it (translate, then turn about Y, Z and X with
// glRotatef's degrees, or its matrix): a 3 x 3 column-major rotation and a translation.
struct Placement {
    float r[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float t[3] = {0, 0, 0};
};

// Column-major 3 x 3 product a * b.
void multiply3(float* out, const float* a, const float* b) {
    float m[9];
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            m[3 * c + r] = a[r] * b[3 * c] + a[3 + r] * b[3 * c + 1] + a[6 + r] * b[3 * c + 2];
    for (int i = 0; i < 9; ++i) out[i] = m[i];
}

// glRotatef's matrix about a unit axis (one of x, y, z) for an angle in degrees.
void axisRotation(float* out, float degrees, int axis) {
    const double radians = static_cast<double>(degrees) * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
    const int a = (axis + 1) % 3, b = (axis + 2) % 3; // the plane turned, in right-handed order
    for (int i = 0; i < 9; ++i) out[i] = 0.0f;
    out[4 * axis] = 1.0f;
    out[3 * a + a] = c;
    out[3 * b + b] = c;
    out[3 * a + b] = s;  // column a, row b
    out[3 * b + a] = -s; // column b, row a
}

Placement placementOf(const MeshObject& o) {
    Placement p;
    if (o.useEuler != 0) {
        p.t[0] = o.translation.x, p.t[1] = o.translation.y, p.t[2] = o.translation.z;
        float turn[9];
        axisRotation(turn, degreesOf(o.rotationY), 1);
        multiply3(p.r, p.r, turn);
        axisRotation(turn, degreesOf(o.rotationZ), 2);
        multiply3(p.r, p.r, turn);
        axisRotation(turn, degreesOf(o.rotationX), 0);
        multiply3(p.r, p.r, turn);
    } else {
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r) p.r[3 * c + r] = o.matrix[4 * c + r];
        p.t[0] = o.matrix[12], p.t[1] = o.matrix[13], p.t[2] = o.matrix[14];
    }
    return p;
}

void putPlacedVertex(float* out, float u, float v, const Vec3& n, const Vec3& p, const Vec3& scale,
                     const Placement& m) {
    const float px = p.x * scale.x, py = p.y * scale.y, pz = p.z * scale.z;
    out[0] = u;
    out[1] = v;
    // out[2..5], the colour, is filled per pass.
    out[6] = -(m.r[0] * n.x + m.r[3] * n.y + m.r[6] * n.z);
    out[7] = -(m.r[1] * n.x + m.r[4] * n.y + m.r[7] * n.z);
    out[8] = -(m.r[2] * n.x + m.r[5] * n.y + m.r[8] * n.z);
    out[9] = m.r[0] * px + m.r[3] * py + m.r[6] * pz + m.t[0];
    out[10] = m.r[1] * px + m.r[4] * py + m.r[7] * pz + m.t[1];
    out[11] = m.r[2] * px + m.r[5] * py + m.r[8] * pz + m.t[2];
}

// Appends mesh o, placed, to the batch; returns its triangle count.
int gatherPlaced(const MeshObject& o, const ShapeSource& s, const ViewCone& cone, std::size_t& vertexEnd,
                 std::size_t& indexEnd) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t corners = 3 * static_cast<std::size_t>(s.faces);
    const std::size_t most = kBatchFloatsPerVertex * (vertexEnd + vertices + corners);
    if (gBatchVertices.size() < most) gBatchVertices.resize(most);
    if (gBatchIndices.size() < indexEnd + corners) gBatchIndices.resize(indexEnd + corners);
    const Placement m = placementOf(o);
    const float offU = o.texOffsetU, offV = o.texOffsetV;
    const std::size_t first = vertexEnd;
    float* out = gBatchVertices.data() + kBatchFloatsPerVertex * first;
    for (std::size_t v = 0; v < vertices; ++v, out += kBatchFloatsPerVertex)
        putPlacedVertex(out, o.texU[v] + offU, o.texV[v] + offV, s.normals[v], s.positions[v], o.scale, m);
    GLuint next = static_cast<GLuint>(first + vertices);
    GLuint* index = gBatchIndices.data() + indexEnd;
    const int* faceCorners = o.faceIndices.data();
    int kept = 0;
    for (int f = 0; f < s.faces; ++f) {
        const int* corner = faceCorners + 3 * f;
        if (s.coneTest && !insideCone(cone, s.positions[corner[0]], o.scale)) continue;
        for (int k = 0; k < 3; ++k) {
            const int c = 3 * f + k;
            const int vertex = corner[k];
            if (s.cornerFlat != nullptr && s.cornerFlat[c] != 0) {
                putPlacedVertex(out, o.texU[vertex] + offU, o.texV[vertex] + offV, s.cornerNormals[c],
                                s.positions[vertex], o.scale, m);
                out += kBatchFloatsPerVertex;
                *index++ = next++;
            } else {
                *index++ = static_cast<GLuint>(first + static_cast<std::size_t>(vertex));
            }
        }
        ++kept;
    }
    vertexEnd = next;
    indexEnd = static_cast<std::size_t>(index - gBatchIndices.data());
    return kept;
}

// Each mesh's colour times the pass's factor, with the pass's vertex alpha.
void fillBatchColours(float k, float alpha) {
    for (const BatchMesh& b : gBatchMeshes) {
        float* out = gBatchVertices.data() + kBatchFloatsPerVertex * b.firstVertex + 2;
        for (std::size_t v = 0; v < b.vertexCount; ++v, out += kBatchFloatsPerVertex) {
            out[0] = b.colour.x * k;
            out[1] = b.colour.y * k;
            out[2] = b.colour.z * k;
            out[3] = alpha;
        }
    }
}

// The texture-and-reflection meshes in one pass (fast path). The reference draws the lit base
// with blending off, then adds the unlit cube reflection weighted by its pass's alpha, and for a
// layered mesh the lit texture once more weighted by envAlpha; every term is positive and the
// later passes touch only the pixels the base wrote, so adding the terms in one fragment program
// gives the same pixels. Each term is rounded to eight bits as the framebuffer rounds it between
// the reference's passes: the glows burn the frame up several times, which would otherwise show
// the difference. Texture unit 0 holds the 2D texture with the base pass's coordinates, unit 1
// the cube map with reflection coordinates.
//   local 0: the reflection's vertex colour, clamped as GL clamps it
//   local 1: x, the reflection pass's alpha; y, the layered mesh's second texture layer's alpha
#define CASTRELLE_EIGHT_BITS(r)                                                                              \
    "MAD " r ", " r ", eight.x, eight.y;\n"                                                                  \
    "FLR " r ", " r ";\n"
#define CASTRELLE_WEIGHTED(r, w)                                                                             \
    "MAD " r ", " r ", " w ", eight.y;\n"                                                                    \
    "FLR " r ", " r ";\n"
#define CASTRELLE_ONE_PASS_HEAD                                                                              \
    "!!ARBfp1.0\n"                                                                                           \
    "PARAM eight = {255, 0.5, 0.0039215686, 0};\n"                                                           \
    "TEMP texel, base, cube, sum;\n"                                                                         \
    "TEX texel, fragment.texcoord[0], texture[0], 2D;\n"                                                     \
    "TEX cube, fragment.texcoord[1], texture[1], CUBE;\n"                                                    \
    "MUL_SAT cube, cube, program.local[0];\n" CASTRELLE_EIGHT_BITS("cube")                                   \
        CASTRELLE_WEIGHTED("cube", "program.local[1].x")
#define CASTRELLE_ONE_PASS_BASE(op)                                                                          \
    op " base, texel, fragment.color;\n" CASTRELLE_EIGHT_BITS("base") "ADD sum, base, cube;\n"
#define CASTRELLE_ONE_PASS_LAYER                                                                             \
    "MUL_SAT texel, texel, fragment.color;\n" CASTRELLE_EIGHT_BITS("texel")                                  \
        CASTRELLE_WEIGHTED("texel", "program.local[1].y") "ADD sum, sum, texel;\n"
#define CASTRELLE_ONE_PASS_TAIL "MUL_SAT result.color, sum, eight.z;\nEND\n"
FragmentProgram gOnePass[2][2] = {
    // [modulateBase][layered]
    {{CASTRELLE_ONE_PASS_HEAD CASTRELLE_ONE_PASS_BASE("ADD_SAT") CASTRELLE_ONE_PASS_TAIL},
     {CASTRELLE_ONE_PASS_HEAD CASTRELLE_ONE_PASS_BASE("ADD_SAT")
          CASTRELLE_ONE_PASS_LAYER CASTRELLE_ONE_PASS_TAIL}},
    {{CASTRELLE_ONE_PASS_HEAD CASTRELLE_ONE_PASS_BASE("MUL_SAT") CASTRELLE_ONE_PASS_TAIL},
     {CASTRELLE_ONE_PASS_HEAD CASTRELLE_ONE_PASS_BASE("MUL_SAT")
          CASTRELLE_ONE_PASS_LAYER CASTRELLE_ONE_PASS_TAIL}},
};
#undef CASTRELLE_ONE_PASS_TAIL
#undef CASTRELLE_ONE_PASS_LAYER
#undef CASTRELLE_ONE_PASS_BASE
#undef CASTRELLE_ONE_PASS_HEAD
#undef CASTRELLE_WEIGHTED
#undef CASTRELLE_EIGHT_BITS

// The later passes find the base pass's pixels by its depth, so one pass stands for them only
// while depth is written.
bool drawsInOnePass(PassScheme scheme) {
    if (scheme != PassScheme::TextureReflect && scheme != PassScheme::LayeredTextureReflect) return false;
    if (!fastRendering()) return false;
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    return depthWrites == GL_TRUE;
}

float clamped(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// Sets up the one-pass draw; false when its program is not available (draw the passes instead).
bool beginOnePass(const MeshObject& o, PassScheme scheme) {
    const bool layered = scheme == PassScheme::LayeredTextureReflect;
    FragmentProgram& program = gOnePass[o.modulateBase != 0 ? 1 : 0][layered ? 1 : 0];
    if (!useFragmentProgram(program)) return false;
    const int reflectionPass = 1;
    const float k = colourFactor(o, reflectionPass);
    const float a = passAlpha(o, reflectionPass);
    setProgramLocal(0, clamped(o.colour.x * k), clamped(o.colour.y * k), clamped(o.colour.z * k), 0.0f);
    setProgramLocal(1, clamped(a), layered ? clamped(o.envAlpha) : 0.0f, 0.0f, 0.0f);

    glext::glActiveTexture(GL_TEXTURE1);
    applyCubeReflection(o.cubeTexture);
    glDisable(GL_TEXTURE_CUBE_MAP); // the program names its targets; unit 1 needs only its coordinates
    glext::glActiveTexture(GL_TEXTURE0);

    // The base pass's state.
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glDepthFunc(GL_LEQUAL);
    bindTexture(o);
    sphereGeneration(o);
    return true;
}

// Turns the program and unit 1 off and leaves what the reference's last pass leaves.
void endOnePass(const MeshObject& o, PassScheme scheme) {
    endFragmentProgram();
    glext::glActiveTexture(GL_TEXTURE1);
    noGeneration();
    glext::glActiveTexture(GL_TEXTURE0);
    const int last = passCountOf(o) - 1;
    applyCubeReflection(o.cubeTexture); // the binding and generation modes the reflection pass leaves
    glDisable(GL_TEXTURE_CUBE_MAP);
    setPassState(o, scheme, last);
    const float k = colourFactor(o, last);
    glColor4f(o.colour.x * k, o.colour.y * k, o.colour.z * k, passAlpha(o, last));
}

void drawNormalLines(const MeshObject& o) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t corners = 3 * static_cast<std::size_t>(o.faceCount);
    glEnable(GL_LINE_SMOOTH);
    glLineWidth(kNormalLineWidth);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBegin(GL_LINES);
    const bool drawable = o.vertexCount > 0 && o.faceCount > 0 && o.faceIndices.size() >= corners &&
                          holds(o.positions, vertices) && holds(o.restNormals, vertices);
    for (std::size_t c = 0; drawable && c < corners; ++c) {
        const Vec3& p = o.positions[static_cast<std::size_t>(o.faceIndices[c])];
        const Vec3& n = o.restNormals[static_cast<std::size_t>(o.faceIndices[c])];
        // Corner 0 points the line along the normal, corners 1 and 2 against it.
        const float sign = c % 3 == 0 ? 1.0f : -1.0f;
        glVertex3f(p.x, p.y, p.z);
        glVertex3f(p.x + sign * n.x, p.y + sign * n.y, p.z + sign * n.z);
    }
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void setUpLightAndMaterial(const MeshObject& o, const SceneLight& light) {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
    glColorMaterial(GL_FRONT, GL_DIFFUSE); // the vertex colour is the front diffuse reflectance
    glEnable(GL_COLOR_MATERIAL);

    const float ambientScale = o.layered != 0 ? kLayeredAmbientScale : 1.0f;
    const GLfloat ambient[4] = {o.ambient.x * ambientScale, o.ambient.y * ambientScale,
                                o.ambient.z * ambientScale, o.ambient.w};
    const GLfloat specular[4] = {o.specular.x, o.specular.y, o.specular.z, o.specular.w};
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, o.shininess);

    // Sent under the camera's view only, so the light stays put while the mesh moves.
    const GLfloat position[4] = {light.position.x, light.position.y, light.position.z, o.lightW};
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat colour[4] = {light.colour.x, light.colour.y, light.colour.z, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, colour);
    glLightfv(GL_LIGHT0, GL_SPECULAR, colour);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, o.spotExponent);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, o.constantAttenuation);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, o.linearAttenuation);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, o.quadraticAttenuation);
}

void cleanUp() {
    glPopMatrix();
    glDisable(GL_TEXTURE_CUBE_MAP);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    setEnv(GL_ADD);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);
    noGeneration();
}

} // namespace

int passCountOf(const MeshObject& mesh) {
    return 1 + (mesh.layered != 0 ? 1 : 0) + (mesh.renderMode == RenderMode::TextureReflect ? 1 : 0);
}

void applyCubeReflection(int cubeSlot) {
    glEnable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, static_cast<GLuint>(cubeSlot));
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glEnable(GL_NORMALIZE); // reflection vectors need unit normals; left on for later draws
}

void drawObject(Model& model, int mesh, const SceneLight& light, int geometry, NormalLines normals) {
    const bool showNormals = normals == NormalLines::Shown;
    if (mesh < 0 || mesh >= model.objectCount || mesh >= static_cast<int>(model.objects.size()) ||
        model.objects[static_cast<std::size_t>(mesh)] == nullptr)
        return;
    const MeshObject& o = model.mesh(mesh);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    setUpLightAndMaterial(o, light);
    applyPlacement(o);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_POLYGON_SMOOTH);
    setEnable(GL_CULL_FACE, o.cullFaces != 0);

    const ShapeSource source = shapeSource(o, geometry);
    const ViewCone cone = viewConeOf(model);
    const bool arrays = gSubmission == MeshSubmission::VertexArrays && source.faces > 0;
    int arrayTriangles = 0;
    if (arrays) {
        arrayTriangles = gatherArrays(o, source, cone);
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, gVertices.data());
    }

    const PassScheme scheme = schemeOf(o);
    const bool onePass = drawsInOnePass(scheme) && !showNormals && beginOnePass(o, scheme);
    const int passes = onePass ? 1 : passCountOf(o);
    for (int pass = 0; pass < passes; ++pass) {
        glDisable(GL_TEXTURE_CUBE_MAP);
        if (!onePass) setPassState(o, scheme, pass);
        const float k = colourFactor(o, pass);
        // The colour's own alpha is never sent: transparency comes from alpha and envAlpha.
        glColor4f(o.colour.x * k, o.colour.y * k, o.colour.z * k, passAlpha(o, pass));
        glEnable(GL_COLOR_MATERIAL);
        if (arrays) {
            glDrawElements(GL_TRIANGLES, 3 * arrayTriangles, GL_UNSIGNED_INT, gIndices.data());
            gTriangles += arrayTriangles;
            ++gBatches;
        } else if (source.faces > 0) {
            gTriangles += emitImmediate(o, source, cone);
            ++gBatches;
        }
        if (showNormals) drawNormalLines(o);
    }
    if (onePass) endOnePass(o, scheme);

    if (arrays) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    cleanUp();
}

void drawObjects(Model& model, const int* meshes, int count, const SceneLight& light, int geometry) {
    const auto valid = [&](int mesh) {
        return mesh >= 0 && mesh < model.objectCount && mesh < static_cast<int>(model.objects.size()) &&
               model.objects[static_cast<std::size_t>(mesh)] != nullptr;
    };
    int lead = 0;
    while (lead < count && !valid(meshes[lead])) ++lead;
    if (lead == count) return;
    const MeshObject& look = model.mesh(meshes[lead]);

    const ViewCone cone = viewConeOf(model);
    gBatchMeshes.clear(); // keeps its capacity
    std::size_t vertexEnd = 0, indexEnd = 0;
    int triangles = 0;
    for (int i = lead; i < count; ++i) {
        if (!valid(meshes[i])) continue;
        const MeshObject& o = model.mesh(meshes[i]);
        const ShapeSource source = shapeSource(o, geometry);
        if (source.faces == 0) continue;
        const std::size_t first = vertexEnd;
        triangles += gatherPlaced(o, source, cone, vertexEnd, indexEnd);
        gBatchMeshes.push_back({first, vertexEnd - first, o.colour});
    }

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    setUpLightAndMaterial(look, light);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_POLYGON_SMOOTH);
    setEnable(GL_CULL_FACE, look.cullFaces != 0);
    if (triangles > 0) glInterleavedArrays(GL_T2F_C4F_N3F_V3F, 0, gBatchVertices.data());

    const PassScheme scheme = schemeOf(look);
    const int passes = passCountOf(look);
    for (int pass = 0; pass < passes; ++pass) {
        glDisable(GL_TEXTURE_CUBE_MAP);
        setPassState(look, scheme, pass);
        glEnable(GL_COLOR_MATERIAL);
        if (triangles == 0) continue;
        fillBatchColours(colourFactor(look, pass), passAlpha(look, pass));
        glDrawElements(GL_TRIANGLES, 3 * triangles, GL_UNSIGNED_INT, gBatchIndices.data());
        gTriangles += triangles;
        ++gBatches;
    }

    if (triangles > 0) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    cleanUp();
}

void reserveObjectBatch(int meshes, int vertices, int corners) {
    const std::size_t v = static_cast<std::size_t>(vertices > 0 ? vertices : 0);
    const std::size_t c = static_cast<std::size_t>(corners > 0 ? corners : 0);
    gBatchMeshes.reserve(static_cast<std::size_t>(meshes > 0 ? meshes : 0));
    if (gBatchVertices.size() < kBatchFloatsPerVertex * (v + c))
        gBatchVertices.resize(kBatchFloatsPerVertex * (v + c));
    if (gBatchIndices.size() < c) gBatchIndices.resize(c);
}

std::int64_t drawnTriangles() { return gTriangles; }

void resetDrawnTriangles() { gTriangles = 0; }

std::int64_t drawnBatches() { return gBatches; }

void resetDrawnBatches() { gBatches = 0; }

void setMeshSubmission(MeshSubmission submission) { gSubmission = submission; }

MeshSubmission meshSubmission() { return gSubmission; }
