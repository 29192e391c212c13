// Meshes through the mesh programs: the passes of the fixed-function renderer's table with
// GL's lighting, texture generation and texture environment in the mesh programs, and the
// texture-and-reflection meshes in one pass wherever depth is written. The raster state each
// pass sets, and the state left behind, are the fixed-function renderer's.
#include "render/Backend.h"

#include "render/DrawCounts.h"
#include "render/geometry/MeshArrays.h"
#include "render/geometry/WorldTransform.h"
#include "render/gles3/Matrices.h"
#include "render/gles3/MeshPrograms.h"
#include "render/gles3/Quads.h"
#include "render/gles3/State.h"
#include "render/gles3/StreamBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace gles3 {

namespace {

constexpr VertexLayout kMeshLayout{.stride = kMeshFloatsPerVertex * sizeof(float),
                                   .positionSize = 3,
                                   .positionOffset = 5 * sizeof(float),
                                   .normalSize = 3,
                                   .normalOffset = 2 * sizeof(float),
                                   .texCoordSize = 2,
                                   .texCoordOffset = 0};
constexpr VertexLayout kBatchLayout{.stride = kBatchFloatsPerVertex * sizeof(float),
                                    .positionSize = 3,
                                    .positionOffset = 9 * sizeof(float),
                                    .normalSize = 3,
                                    .normalOffset = 6 * sizeof(float),
                                    .texCoordSize = 2,
                                    .texCoordOffset = 0,
                                    .colourSize = 4,
                                    .colourOffset = 2 * sizeof(float)};

constexpr GLenum kKeepBlend = 0; // a pass that leaves the blend function as it was

// One row of the pass table: what a pass draws and the raster state it sets.
struct MeshPass {
    MeshFragment fragment = MeshFragment::Colour;
    bool lit = true;
    bool sphere = false;
    bool blend = false;
    GLenum blendSource = kKeepBlend, blendDestination = kKeepBlend;
    GLenum depthFunc = GL_LEQUAL;
    bool repeat = false; // the texture's wrap becomes GL_REPEAT
};

MeshFragment baseFragment(const MeshObject& o) {
    return o.modulateBase != 0 ? MeshFragment::TextureModulate : MeshFragment::TextureAdd;
}

MeshPass meshPassOf(const MeshObject& o, PassScheme scheme, int pass) {
    const bool sphere = o.sphereMap != 0;
    switch (scheme) {
    case PassScheme::LayeredTextureReflect:
        if (pass == 0) return {baseFragment(o), true, sphere, false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
        if (pass == 1) return {MeshFragment::CubeModulate, false, false, true, GL_SRC_ALPHA, GL_DST_ALPHA};
        return {MeshFragment::TextureModulate, true, sphere, true, GL_SRC_ALPHA, GL_DST_ALPHA};
    case PassScheme::LayeredOther:
        if (pass == 0) return {MeshFragment::Colour, true, false, false};
        return {MeshFragment::TextureModulate, true, false, true, GL_SRC_ALPHA, GL_DST_ALPHA, GL_EQUAL};
    case PassScheme::Untextured:
        return {MeshFragment::Colour, true, false, true, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    case PassScheme::Textured:
        return {MeshFragment::TextureModulate, true,      sphere, false, GL_SRC_ALPHA,
                GL_ONE_MINUS_SRC_ALPHA,        GL_LEQUAL, true};
    case PassScheme::Reflect:
        return {MeshFragment::CubeModulate, false, false, false, GL_ONE, GL_ONE};
    case PassScheme::TextureReflect:
        if (pass == 0) return {baseFragment(o), true, sphere, false, GL_SRC_ALPHA, GL_DST_ALPHA};
        return {MeshFragment::CubeModulate, false, false, true, GL_SRC_ALPHA, GL_DST_ALPHA, GL_EQUAL};
    }
    return {};
}

bool samples2D(MeshFragment f) { return f != MeshFragment::Colour && f != MeshFragment::CubeModulate; }

// GL turns texturing off for a texture that was never given a picture (an unloaded slot): the
// pass draws its colour alone.
bool hasPicture(GLuint texture) {
    int width = 0, height = 0;
    textureSizeOf(texture, width, height);
    return width > 0 && height > 0;
}
bool samplesCube(MeshFragment f) {
    return f != MeshFragment::Colour && f != MeshFragment::TextureAdd && f != MeshFragment::TextureModulate;
}

void setRasterState(const MeshPass& p) {
    if (p.blend)
        es::glEnable(GL_BLEND);
    else
        es::glDisable(GL_BLEND);
    if (p.blendSource != kKeepBlend) es::glBlendFunc(p.blendSource, p.blendDestination);
    es::glDepthFunc(p.depthFunc);
}

// The textures a pass samples, bound as the fixed-function pass binds them.
void bindPassTextures(const MeshObject& o, const MeshPass& p) {
    if (samples2D(p.fragment)) {
        const GLuint texture = static_cast<GLuint>(o.texture);
        bindTexture2D(texture);
        if (p.repeat) setWrap(texture, Wrap::Repeat);
    }
    if (samplesCube(p.fragment)) {
        bindCubeTexture(static_cast<GLuint>(o.cubeTexture), 1);
        es::glActiveTexture(GL_TEXTURE1);
        es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
        es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        es::glActiveTexture(GL_TEXTURE0);
    }
}

// Light 0 and the front material as the fixed-function set-up sends them; the light's
// position goes through the view alone, so it stays put while the mesh moves.
MeshLook lookOf(const MeshObject& o, const SceneLight& light, const Mat4& view, const Mat4& modelview) {
    MeshLook look;
    look.projection = projectionMatrix();
    look.modelview = modelview;
    look.lightPosition =
        transform(view, Vec4(light.position.x, light.position.y, light.position.z, o.lightW));
    look.lightColour.set(light.colour.x, light.colour.y, light.colour.z);
    look.attenuation.set(o.constantAttenuation, o.linearAttenuation, o.quadraticAttenuation);
    const float scale = o.layered != 0 ? kLayeredAmbientScale : 1.0f;
    look.ambient = Vec4(o.ambient.x * scale, o.ambient.y * scale, o.ambient.z * scale, o.ambient.w);
    look.specular = o.specular;
    look.shininess = o.shininess;
    return look;
}

float clamped(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// The texture-and-reflection passes, and a layered mesh's colour and texture passes, stand in one
// only while depth is written: the later passes find the base pass's pixels by its depth.
bool drawsInOnePass(PassScheme scheme) {
    if (scheme != PassScheme::TextureReflect && scheme != PassScheme::LayeredTextureReflect &&
        scheme != PassScheme::LayeredOther)
        return false;
    GLboolean depthWrites = GL_FALSE;
    es::glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    return depthWrites == GL_TRUE;
}

MeshFragment onePassFragment(const MeshObject& o, PassScheme scheme) {
    const bool layered = scheme == PassScheme::LayeredTextureReflect;
    if (o.modulateBase != 0)
        return layered ? MeshFragment::OnePassModulateLayered : MeshFragment::OnePassModulate;
    return layered ? MeshFragment::OnePassAddLayered : MeshFragment::OnePassAdd;
}

// The geometry a draw streamed, read by each of its passes.
struct Streamed {
    int triangles = 0;
    const void* indices = nullptr;
};

// Draws the mesh's (or batch's) passes with the geometry streamed.
void drawPasses(const MeshObject& o, const MeshLook& look, const Streamed& geometry) {
    const PassScheme scheme = schemeOf(o);
    const GLuint texture = static_cast<GLuint>(o.texture);
    const bool onePass = drawsInOnePass(scheme) && hasPicture(texture);
    if (onePass && scheme == PassScheme::LayeredOther) {
        MeshPassColour colour{colourFactor(o, 0), passAlpha(o, 0)};
        colour.secondFactor = colourFactor(o, 1);
        colour.layerWeight = std::round(clamped(passAlpha(o, 1)) * 255.0f) / 255.0f; // as the blend takes it
        const MeshPass layer = meshPassOf(o, scheme, 1);
        setRasterState(meshPassOf(o, scheme, 0));
        bindPassTextures(o, layer);
        if (geometry.triangles > 0 &&
            useMeshProgram({MeshFragment::ColourThenModulate, true, false, clampsToBlack(texture)}, look, colour)) {
            es::glDrawElements(GL_TRIANGLES, 3 * geometry.triangles, GL_UNSIGNED_INT, geometry.indices);
            countMeshPass(geometry.triangles);
        }
        setRasterState(layer); // what the last pass leaves
        return;
    }
    if (onePass) {
        const int reflection = 1;
        const float k = colourFactor(o, reflection);
        MeshPassColour colour{colourFactor(o, 0), passAlpha(o, 0)};
        colour.reflectionFactor = k;
        colour.reflectionWeight = clamped(passAlpha(o, reflection));
        colour.layerWeight = scheme == PassScheme::LayeredTextureReflect ? clamped(o.envAlpha) : 0.0f;
        const MeshPass base = meshPassOf(o, scheme, 0);
        setRasterState(base);
        bindPassTextures(o, {onePassFragment(o, scheme)});
        if (geometry.triangles > 0 &&
            useMeshProgram({onePassFragment(o, scheme), true, base.sphere, clampsToBlack(texture)}, look, colour)) {
            es::glDrawElements(GL_TRIANGLES, 3 * geometry.triangles, GL_UNSIGNED_INT, geometry.indices);
            countMeshPass(geometry.triangles);
        }
        setRasterState(meshPassOf(o, scheme, passCountOf(o) - 1)); // what the last pass leaves
        return;
    }
    const int passes = passCountOf(o);
    for (int pass = 0; pass < passes; ++pass) {
        MeshPass p = meshPassOf(o, scheme, pass);
        if (samples2D(p.fragment) && !hasPicture(static_cast<GLuint>(o.texture)))
            p.fragment = MeshFragment::Colour;
        setRasterState(p);
        bindPassTextures(o, p);
        if (geometry.triangles == 0) continue;
        const MeshPassColour colour{colourFactor(o, pass), passAlpha(o, pass)};
        const bool border = samples2D(p.fragment) && clampsToBlack(texture); // as the pass left its wrap
        if (!useMeshProgram({p.fragment, p.lit, p.sphere, border}, look, colour)) continue;
        es::glDrawElements(GL_TRIANGLES, 3 * geometry.triangles, GL_UNSIGNED_INT, geometry.indices);
        countMeshPass(geometry.triangles);
    }
}

void setCulling(const MeshObject& o) {
    if (o.cullFaces != 0)
        es::glEnable(GL_CULL_FACE);
    else
        es::glDisable(GL_CULL_FACE);
}

void cleanUp() {
    es::glDisable(GL_DEPTH_TEST);
    setTexturing(true);
    es::glDepthFunc(GL_LEQUAL);
    es::glDisable(GL_CULL_FACE);
}

// The rest normals as lines, corner 0's along the normal and the others' against it, over the
// finished mesh: a look at a mesh's normals, which no scene asks for. ES has no smoothed or thin
// lines: they are one pixel wide.
void drawNormalLines(const MeshObject& o, const Mat4& modelview) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t corners = 3 * static_cast<std::size_t>(o.faceCount);
    if (o.vertexCount <= 0 || o.faceIndices.size() < corners || o.positions.size() < vertices ||
        o.restNormals.size() < vertices)
        return;
    MeshArrays& lines = sharedMeshArrays();
    if (lines.vertices.size() < 6 * corners) lines.vertices.resize(6 * corners);
    for (std::size_t c = 0; c < corners; ++c) {
        const Vec3& p = o.positions[static_cast<std::size_t>(o.faceIndices[c])];
        const Vec3& n = o.restNormals[static_cast<std::size_t>(o.faceIndices[c])];
        const float sign = c % 3 == 0 ? 1.0f : -1.0f;
        float* v = &lines.vertices[6 * c];
        v[0] = p.x, v[1] = p.y, v[2] = p.z;
        v[3] = p.x + sign * n.x, v[4] = p.y + sign * n.y, v[5] = p.z + sign * n.z;
    }
    es::glEnable(GL_BLEND);
    MeshLook look;
    look.projection = projectionMatrix();
    look.modelview = modelview;
    if (!useMeshProgram({MeshFragment::Colour, false, false}, look, {})) return;
    streamVertices({.stride = 3 * sizeof(float)}, lines.vertices.data(), static_cast<int>(2 * corners));
    es::glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(2 * corners));
}

void drawObject(Model& model, int mesh, const SceneLight& light, int geometry, NormalLines normals) {
    const MeshObject& o = model.mesh(mesh);
    const Mat4 view = modelviewMatrix();
    const Mat4 placed = view * placementOf(o);
    const MeshLook look = lookOf(o, light, view, placed);
    es::glEnable(GL_DEPTH_TEST);
    setCulling(o);

    Streamed streamed;
    const ShapeSource source = shapeSource(o, geometry);
    MeshArrays& arrays = sharedMeshArrays();
    if (source.faces > 0) streamed.triangles = gatherArrays(o, source, viewConeOf(model), arrays);
    if (streamed.triangles > 0) {
        streamVertices(kMeshLayout, arrays.vertices.data(), static_cast<int>(arrays.vertexCount));
        streamed.indices = streamIndices(arrays.indices.data(), 3 * streamed.triangles);
    }
    setConstantColour(o.colour.x, o.colour.y, o.colour.z, 1.0f);
    drawPasses(o, look, streamed);
    if (normals == NormalLines::Shown) drawNormalLines(o, placed);
    cleanUp();
}

void drawObjects(Model& model, const int* meshes, int count, const SceneLight& light, int geometry) {
    MeshBatch& batch = sharedMeshBatch();
    int lead = -1;
    Streamed streamed;
    streamed.triangles = gatherBatch(model, meshes, count, geometry, batch, lead);
    if (lead < 0) return;
    const MeshObject& o = model.mesh(lead);
    const Mat4 view = modelviewMatrix();
    const MeshLook look = lookOf(o, light, view, view); // placements are in the vertices
    es::glEnable(GL_DEPTH_TEST);
    setCulling(o);
    if (streamed.triangles > 0) {
        fillBatchColours(batch, 1.0f, 1.0f); // each pass scales them in its program
        streamVertices(kBatchLayout, batch.vertices.data(), static_cast<int>(batch.vertexCount));
        streamed.indices = streamIndices(batch.indices.data(), 3 * streamed.triangles);
    }
    drawPasses(o, look, streamed);
    cleanUp();
}

} // namespace

extern const MeshOps meshOps{.drawObject = drawObject, .drawObjects = drawObjects};

} // namespace gles3
