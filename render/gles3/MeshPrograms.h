#pragma once
// The mesh programs of the shader renderer: the fixed-function pipeline's light 0, colour
// material, sphere-map and reflection-map generation and texture environment as GLSL, one
// program per combination a pass uses (built on first use), and the uniforms that stand for
// GL's light, material and texture environment state.
//
// Lighting is per vertex as GL's: one light (directional when its w is 0), GL's default scene
// ambient of 0.2, the light's ambient 1, its colour as diffuse and specular, the vertex colour as
// the diffuse reflectance (unclamped, so a colour far above 1 lights to white), a viewer at
// infinity; the lit colour is clamped. Texture coordinates are generated per vertex in eye space.

#include "glext/EsTable.h"
#include "math/Mat4.h"

namespace gles3 {

// What a fragment is made of.
enum class MeshFragment {
    Colour,          // the vertex colour: texturing off
    TextureAdd,      // colour + 2D texel (GL_ADD)
    TextureModulate, // colour x 2D texel (GL_MODULATE)
    CubeModulate,    // colour x the cube map along the reflection vector
    // The texture-and-reflection passes in one: the base texel with the colour (added or
    // multiplied), plus the reflection weighted by its pass's alpha, plus for a layered mesh the
    // texel once more weighted by envAlpha; each term rounded to eight bits as the framebuffer
    // rounds it between the passes it stands for.
    OnePassAdd,
    OnePassModulate,
    OnePassAddLayered,
    OnePassModulateLayered,
    // A layered mesh's colour pass and texture pass in one: the lit colour as the first pass
    // leaves it, plus the texel times the colour lit at the second pass's factor, weighted by its
    // eight-bit alpha, as the second pass's blend adds it.
    ColourThenModulate,
};

struct MeshProgramKey {
    MeshFragment fragment = MeshFragment::Colour;
    bool lit = false;
    bool sphere = false;      // 2D coordinates from the sphere map, not the mesh's
    bool blackBorder = false; // the 2D texture clamps to black (GL_CLAMP), see ShaderState.h
};

// The state a mesh program reads, as GL keeps it for light 0 and the front material.
struct MeshLook {
    Mat4 projection;
    Mat4 modelview;
    Vec4 lightPosition; // in eye space: the position transformed by the view it was sent under
    Vec3 lightColour;
    Vec3 attenuation; // constant, linear, quadratic
    Vec4 ambient;     // material
    Vec4 specular;    // material
    float shininess = 0.0f;
};

// Per pass: the colour factor, the vertex alpha, and for the one-pass programs the reflection's
// colour factor (its colour is the vertex colour times it, clamped) and the weights of the
// reflection and of the layer.
struct MeshPassColour {
    float factor = 1.0f;
    float alpha = 1.0f;
    float reflectionFactor = 1.0f;
    float reflectionWeight = 0.0f;
    float layerWeight = 0.0f;
    float secondFactor = 1.0f; // ColourThenModulate: the second pass's colour factor
};

// Makes the key's program current with the look and pass colour set; the 2D texture is read
// from unit 0, the cube map from unit 1. False when the program does not build (reported).
bool useMeshProgram(const MeshProgramKey& key, const MeshLook& look, const MeshPassColour& colour);

} // namespace gles3
