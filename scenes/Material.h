#pragma once
// The appearance settings every scene gives its meshes at set-up, as one value.

#include "assets/MeshObject.h"
#include "assets/TextureSlots.h"
#include "math/Vec.h"

struct Material {
    int texture = 0;
    int cubeTexture = 0;
    RenderMode renderMode = RenderMode::Textured;
    Vec4 colour{1.0f, 1.0f, 1.0f, 1.0f};
    Vec4 specular{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 ambient{0.2f, 0.2f, 0.2f, 1.0f};
    float shininess = 0.82f;
    float alpha = 1.0f;
    float envAlpha = 1.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
    float spotExponent = 0.0f;
    float lightW = 1.0f;
    int layered = 0;
};

inline void applyMaterial(MeshObject& o, const Material& m) {
    o.texture = m.texture;
    o.cubeTexture = m.cubeTexture;
    o.renderMode = m.renderMode;
    o.colour = m.colour;
    o.specular = m.specular;
    o.ambient = m.ambient;
    o.shininess = m.shininess;
    o.alpha = m.alpha;
    o.envAlpha = m.envAlpha;
    o.constantAttenuation = m.constantAttenuation;
    o.linearAttenuation = m.linearAttenuation;
    o.quadraticAttenuation = m.quadraticAttenuation;
    o.spotExponent = m.spotExponent;
    o.lightW = m.lightW;
    o.layered = m.layered;
}

// The ball that marks a scene's light: reflection only, lit as from a direction (w = 0), which
// has no falloff.
inline const Material kLightBallMaterial{.texture = TextureSlot::Unloaded27,
                                         .cubeTexture = TextureSlot::CubeEnv1gr,
                                         .renderMode = RenderMode::Reflect,
                                         .constantAttenuation = 0.0f,
                                         .spotExponent = 0.05f,
                                         .lightW = 0.0f};

// The small risers, glinting warm: the title's sickles and the Hipu scene's risers.
inline const Material kRiserMaterial{.texture = TextureSlot::Matosini,
                                     .cubeTexture = TextureSlot::CubeEnv1grRing,
                                     .renderMode = RenderMode::TextureReflect,
                                     .colour = {0.55f, 0.43f, 0.23f, 1.0f},
                                     .specular = {0.07f, 0.07f, 0.07f, 1.0f},
                                     .ambient = {0.1f, 0.1f, 0.1f, 1.0f},
                                     .constantAttenuation = 0.5f,
                                     .quadraticAttenuation = 0.05f,
                                     .spotExponent = 0.08f};

// Blurred stone under a green-grey reflection, tinted blue, lit as from a direction: the closing
// title and the cave's lantern.
inline const Material kBlueStoneMaterial{.texture = TextureSlot::KivisementtiBBsumea,
                                         .cubeTexture = TextureSlot::CubeEnv1gr,
                                         .renderMode = RenderMode::TextureReflect,
                                         .colour = {0.5f, 0.5f, 0.95f, 1.0f},
                                         .specular = {0.2f, 0.2f, 0.2f, 1.0f},
                                         .constantAttenuation = 0.02f,
                                         .linearAttenuation = 0.2f,
                                         .spotExponent = 0.05f,
                                         .lightW = 0.0f};
