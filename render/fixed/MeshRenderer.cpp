// Meshes through the fixed-function pipeline: light 0 and up to three passes (base, cube-map
// reflection, extra blended layer) as the mesh's appearance fields ask, or on the fast path the
// texture-and-reflection passes in one ARB fragment program.
#include "render/Backend.h"

#include "render/DrawCounts.h"
#include "glext/GlExt.h"
#include "math/Angles.h"
#include "render/RenderPath.h"
#include "render/fixed/FragmentProgram.h"
#include "render/fixed/MeshSubmission.h"
#include "render/fixed/Placement.h"
#include "render/geometry/MeshArrays.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include <cmath>
#include <cstddef>
#include <vector>

namespace fixed {

namespace {

constexpr float kNormalLineWidth = 0.2f;

// Indexed client-side arrays send the same corners as immediate mode, but shared vertices are
// lit once instead of once per face: measured over a third faster on llvmpipe.
MeshSubmission gSubmission = MeshSubmission::VertexArrays;

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

// Cube-map reflection set-up of the reflection passes: cube texturing on with `cubeSlot` bound,
// reflection-map generation of s, t and r, clamped linear sampling, GL_NORMALIZE on.
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
                          o.positions.size() >= vertices && o.restNormals.size() >= vertices;
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

void drawObject(Model& model, int mesh, const SceneLight& light, int geometry, NormalLines normals) {
    const bool showNormals = normals == NormalLines::Shown;
    const MeshObject& o = model.mesh(mesh);
    MeshArrays& gathered = sharedMeshArrays();

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
        arrayTriangles = gatherArrays(o, source, cone, gathered);
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, gathered.vertices.data());
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
            glDrawElements(GL_TRIANGLES, 3 * arrayTriangles, GL_UNSIGNED_INT, gathered.indices.data());
            countMeshPass(arrayTriangles);
        } else if (source.faces > 0) {
            countMeshPass(emitImmediate(o, source, cone));
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
    MeshBatch& batch = sharedMeshBatch();
    int lead = -1;
    const int triangles = gatherBatch(model, meshes, count, geometry, batch, lead);
    if (lead < 0) return;
    const MeshObject& look = model.mesh(lead);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    setUpLightAndMaterial(look, light);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_POLYGON_SMOOTH);
    setEnable(GL_CULL_FACE, look.cullFaces != 0);
    if (triangles > 0) glInterleavedArrays(GL_T2F_C4F_N3F_V3F, 0, batch.vertices.data());

    const PassScheme scheme = schemeOf(look);
    const int passes = passCountOf(look);
    for (int pass = 0; pass < passes; ++pass) {
        glDisable(GL_TEXTURE_CUBE_MAP);
        setPassState(look, scheme, pass);
        glEnable(GL_COLOR_MATERIAL);
        if (triangles == 0) continue;
        fillBatchColours(batch, colourFactor(look, pass), passAlpha(look, pass));
        glDrawElements(GL_TRIANGLES, 3 * triangles, GL_UNSIGNED_INT, batch.indices.data());
        countMeshPass(triangles);
    }

    if (triangles > 0) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    cleanUp();
}

} // namespace

void setMeshSubmission(MeshSubmission submission) { gSubmission = submission; }

extern const MeshOps meshOps{.drawObject = drawObject, .drawObjects = drawObjects};

} // namespace fixed
