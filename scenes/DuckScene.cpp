#include "scenes/DuckScene.h"

#include "anim/Envelope.h"
#include "assets/TextureSlots.h"
#include "math/Angles.h"
#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/geometry/Deform.h"
#include "render/MeshRenderer.h"
#include "render/geometry/Normals.h"
#include "render/PassState.h"
#include "render/Transform.h"
#include "render/geometry/VertexSmoothing.h"
#include "scenes/LightTours.h"
#include "scenes/Material.h"

#include <algorithm>
#include <cmath>

namespace {

// This scene's own rounding of pi/2, for its quarter turns and quarter waves.
constexpr float kQuarterTurn = kSceneHalfPi;

constexpr float kBobRate = static_cast<float>(timetable::kDuckBobRate);

// Handles pull with more than their full displacement and reach past the whole wing.
constexpr float kHandleStrength = 1.65f;
constexpr float kHandleSquaredRadius = 250.0f;
// The hidden wings are loaded at 6.5 and their handles drawn in to this much of that.
constexpr float kHandleShrink = 0.723f;

// Every file holds one mesh, in this order: the meshes' indices are DuckScene's constants.
constexpr ModelFile kModels[] = {
    {"Models/siipi2lowlh.3ds", 6.5f, 0.05f}, {"Models/siipi2lowrh.3ds", 6.5f, 0.05f},
    {"Models/duckball.3ds", 5.0f, 0.05f},    {"Models/amme.3ds", 1.5f, 0.01f},
    {"Models/kvs.3ds", 1.5f, 1.0f},          {"Models/ankka.3ds", 1.0f, 1.0f},
    {"Models/siipi1l_low.3ds", 3.0f, 1.0f},  {"Models/siipi1r_low.3ds", 3.0f, 1.0f},
    {"Models/tahti3b.3ds", 2.0f, 2.0f},
};

// How far each duck lifts (from its floating height to -2) and how steeply it tilts with it.
struct DuckDrop {
    float delay; // after kDuckDropStart, ms
    float length;
    float lift;
    float tilt; // radians of lean per unit of height
};
constexpr DuckDrop kDrops[DuckScene::kDuckCount] = {{0.0f, 1000.0f, 1.5f, 0.69115024f},
                                                    {1000.0f, 800.0f, 3.0f, 0.69115024f},
                                                    {1500.0f, 800.0f, 3.0f, 0.4781503024f},
                                                    {2000.0f, 800.0f, 3.0f, 0.5943892064f}};
constexpr float kDuckX[DuckScene::kDuckCount] = {-3.0f, 0.0f, 1.5f, 3.0f};
constexpr float kDuckZ[DuckScene::kDuckCount] = {0.0f, 0.65f, -0.65f, 0.0f};
constexpr float kDuckScale[DuckScene::kDuckCount] = {1.0f, 0.3f, 0.3f, 0.3f};

// The glow pass's colours are scaled by this. Our sky (the reflection of both glowing meshes, and
// the title's too) is bright enough that at full strength the burned and blurred glow of the
// whole sphere turns every frame white; at a quarter the tub keeps a red-orange halo and the
// sphere a dim warm haze.
constexpr float kGlowStrength = 0.25f;

// How far the noise pushes the sphere's wall in. Deeper lumps tilt the reflected sky's horizon
// into tight, broken contour lines; at this depth it flows in broad bands.
constexpr float kLumpDepth = 50.0f;

// Round the sphere the noise makes some 35 lumps, each with finer ripples of its own, on 64
// segments: sampled at the vertices as it is, its slopes alias from vertex to vertex, and the
// reflection, worked out per vertex, folds the sky's streaks into zig-zag bands with stepped
// edges (more segments only move the steps). Averaging the depths with their neighbours keeps
// only what the mesh can carry; after three passes the bands flow.
constexpr int kLumpSmoothing = 3;

// Upside down (the model is built upright in file space) with a lean that the height adds to.
constexpr float kDuckRoll = 3.462592f;

// Fills the handles of one wing from the vertices of its hidden mesh.
void fillHandles(WingHandles& h, const MeshObject& hidden) {
    const auto n = static_cast<std::size_t>(hidden.vertexCount);
    h.targets.resize(n);
    h.sources.resize(n);
    h.strengths.assign(n, kHandleStrength);
    h.squaredRadii.assign(n, kHandleSquaredRadius);
    for (std::size_t i = 0; i < n; ++i) {
        h.targets[i] = hidden.positions[i];
        h.targets[i].scale(kHandleShrink);
        h.sources[i] = h.targets[i];
    }
}

} // namespace

float duckOrbitSpeed(float sceneClock) { return 1.3f - 0.25f * fadeInOver(sceneClock, 17000.0f, 4000.0f); }

Vec3 duckCameraPosition(float sceneClock, float u) {
    const float e = fadeInOver(sceneClock, 17000.0f, 4000.0f);
    const float s = sceneClock * 0.001f;
    const float zoom = 1.05f + 0.794f * std::sin(1.42f * s) * (0.2f * e + 0.6f * (1.0f - e));
    const float height = e * (3.0f * std::cos(u / 4.0f) + 15.0f) + (1.0f - e) * 12.3f * std::cos(u / 4.0f);
    Vec3 p(13.0f * std::sin(u / 4.0f), height, 9.0f * std::cos(0.1625f * u));
    p.scale(zoom);
    return p;
}

float duckBob(float seconds) { return (-0.4f - 0.5f * std::sin(kBobRate * seconds)) * -2.0f; }

float duckHeight(int n, float sceneClock) {
    const DuckDrop& d = kDrops[n];
    return d.lift * fadeOutOver(sceneClock, kDuckDropStart + d.delay, d.length) - 2.0f;
}

WingAngles duckWingAngles(float seconds) {
    return {.flap = 0.05f + 0.15f * (-0.4f - 0.5f * std::sin(kBobRate * seconds)),
            .joint = 0.15f * (0.5f * std::sin(7.48f * seconds) + 0.4f)};
}

void flapWingHandles(WingSide side, WingAngles angles, const Vec3* targets, Vec3* sources, int count) {
    // The right wing works in the left's mirror image, so its outer part folds at its own joint
    // (z >= 5.5) rather than at the left's, which it never reaches.
    const float mirror = side == WingSide::Left ? 1.0f : -1.0f;
    for (int i = 0; i < count; ++i) {
        Vec3 s = targets[i];
        s.z *= mirror;
        rotateY(s, angles.flap);
        if (s.z <= -kWingJoint) {
            s.z += kWingJoint;
            rotateX(s, angles.joint);
            s.z -= kWingJoint;
        }
        s.z *= mirror;
        sources[i] = s;
    }
}

void DuckScene::setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    stage.setup({screenWidth, screenHeight, effectWidth, effectHeight}, kModels, Vec3(1.0f, 1.0f, 1.0f));
    lightPath = resampledLoop(kRoomTour, 29.0f);
    if (!stage.ready) return;
    Model& m = *stage.model;

    fillHandles(leftHandles, m.mesh(kLeftHandleWing));
    fillHandles(rightHandles, m.mesh(kRightHandleWing));

    MeshObject& sphere = m.mesh(kSphere);
    sphereNeighbours = neighboursOf(sphere);
    sphere.scale.y = 5.0f;
    applyMaterial(sphere, Material{.texture = TextureSlot::Kivio,
                                   .cubeTexture = TextureSlot::CubeEnv1grRing,
                                   .renderMode = RenderMode::Textured,
                                   .colour = {0.66f, 0.7f, 0.8f, 1.0f},
                                   .ambient = {0.2f, 0.2f, 0.24f, 1.0f},
                                   .constantAttenuation = 5.0f,
                                   .spotExponent = 0.05f});

    MeshObject& tub = m.mesh(kTub);
    applyMaterial(tub, Material{.texture = TextureSlot::KivioSumea2,
                                .cubeTexture = TextureSlot::CubeEnv1gr,
                                .renderMode = RenderMode::TextureReflect,
                                .colour = {0.5f, 0.5f, 0.95f, 1.0f},
                                .specular = {0.2f, 0.2f, 0.2f, 1.0f},
                                .constantAttenuation = 1.5f,
                                .linearAttenuation = 0.15f,
                                .spotExponent = 0.05f,
                                .lightW = 0.0f});
    tub.sphereMap = 1;

    prepareWorldBuffers(m, kGlass);
    MeshObject& glass = m.mesh(kGlass);
    glass.translation.set(0.0f, 0.0f, 0.0f);
    // The slot holds no picture: every frame draws the grabbed frame instead.
    applyMaterial(glass, Material{.texture = TextureSlot::Unloaded27,
                                  .cubeTexture = TextureSlot::CubeEnv1gr,
                                  .renderMode = RenderMode::Textured,
                                  .ambient = {0.5f, 0.5f, 0.5f, 1.0f},
                                  .constantAttenuation = 0.0f,
                                  .spotExponent = 0.05f,
                                  .lightW = 0.0f});

    MeshObject& duck = m.mesh(kDuck);
    duck.translation.set(0.0f, 0.0f, 0.0f);
    applyMaterial(duck, Material{.texture = TextureSlot::Tummet,
                                 .cubeTexture = TextureSlot::CubeEnv1gr,
                                 .renderMode = RenderMode::Textured,
                                 .colour = {1.0f, 1.0f, 0.3f, 1.0f},
                                 .ambient = {0.5f, 0.5f, 0.1f, 1.0f},
                                 .constantAttenuation = 0.0f,
                                 .spotExponent = 0.05f,
                                 .lightW = 0.0f,
                                 .layered = 1});

    const Material wing{.texture = TextureSlot::Valko,
                        .cubeTexture = TextureSlot::CubeEnv1gr,
                        .renderMode = RenderMode::Textured,
                        .ambient = {0.5f, 0.5f, 0.5f, 1.0f},
                        .constantAttenuation = 0.0f,
                        .spotExponent = 0.05f,
                        .lightW = 0.0f};
    for (const int w : {kLeftWing, kRightWing}) {
        resetWorkPositions(m, w);
        m.mesh(w).translation.set(0.0f, 0.0f, 0.0f);
        applyMaterial(m.mesh(w), wing);
    }
    resetWorkPositions(m, kTub);

    m.setPosition(kStar, Vec3(0.0f, 0.0f, 0.0f));

    noise = NoiseField(128, 127, 222);
}

void DuckScene::shapeWing(int mesh, WingHandles& h, float rampStart, bool left) {
    Model& m = *stage.model;
    deformWeighted(m, mesh, h.count(), h.sources.data(), h.targets.data(), h.strengths.data(),
                   h.squaredRadii.data());
    // The part near the body stays at rest; further out the wing follows the flap, widened.
    MeshObject& o = m.mesh(mesh);
    for (int v = 0; v < o.vertexCount; ++v) {
        const Vec3& p = o.positions[static_cast<std::size_t>(v)];
        Vec3& w = o.workPositions[static_cast<std::size_t>(v)];
        const float k = rampUpOver(left ? 0.15f - p.z : p.z, rampStart, 3.1f);
        w.set((1.0f - k) * p.x + k * 1.2f * w.x, (1.0f - k) * p.y + k * w.y, (1.0f - k) * p.z + k * w.z);
    }
    computeCreaseNormals(m, mesh, -1.0f);
}

void DuckScene::pushSphere(float s) {
    Model& m = *stage.model;
    resetWorkPositions(m, kSphere);
    computeSmoothNormals(m, kSphere);
    MeshObject& o = m.mesh(kSphere);
    const auto vertices = static_cast<std::size_t>(o.vertexCount);
    lumpDepths.resize(vertices); // sized on the first frame, kept after
    for (std::size_t v = 0; v < vertices; ++v) {
        const Vec3& w = o.workPositions[v];
        // Absolute values: the noise is continuous for non-negative inputs only.
        const float x = std::fabs(0.05f * w.x) * 0.45f;
        const float y = std::fabs(0.01f * w.y + 2.0f * s + 10000.0f);
        const float z = std::fabs(0.05f * w.z) * 0.45f;
        const float q = std::clamp(noise.fractalSum(x, y, z, 1, 1.5f, 0.2f), 0.0f, 1.0f);
        lumpDepths[v] = (1.0f - 0.5f * std::sqrt(0.4f * std::sin(q * kQuarterTurn) + 0.5f)) * kLumpDepth;
    }
    smoothOverNeighbours(sphereNeighbours, lumpDepths, lumpScratch, kLumpSmoothing);
    for (std::size_t v = 0; v < vertices; ++v) {
        Vec3& w = o.workPositions[v];
        const Vec3& n = o.vertexNormals[v];
        const float d = lumpDepths[v];
        w.set(w.x + n.x * d, w.y + n.y * d, w.z + n.z * d);
    }
    computeSmoothNormals(m, kSphere);
}

void DuckScene::glowPass(float bob) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const GlowPass glow(stage);

    MeshObject& sphere = m.mesh(kSphere);
    sphere.rotationZ = kQuarterTurn;
    sphere.renderMode = RenderMode::Reflect;
    sphere.alpha = sphere.envAlpha = 1.0f;
    sphere.layered = 0;
    sphere.colour.set(0.2f * kGlowStrength, 0.12f * kGlowStrength, 0.12f * kGlowStrength, 1.0f);
    sphere.ambient.set(0.02f, 0.02f, 0.02f, 1.0f);
    drawObject(m, kSphere, stage.light, kWorkingShape);

    MeshObject& tub = m.mesh(kTub);
    tub.renderMode = RenderMode::Reflect;
    tub.cubeTexture = TextureSlot::CubeEnv1grRing;
    tub.alpha = tub.envAlpha = 1.0f;
    tub.translation.y = bob;
    tub.layered = 0;
    tub.colour.set(1.28f * kGlowStrength, 0.28f * kGlowStrength, 0.1f * kGlowStrength, 1.0f);
    tub.specular.set(0.0f, 0.0f, 0.0f, 1.0f);
    tub.ambient.set(0.03162f, 0.05766f, 0.0372f, 1.0f);
    drawObject(m, kTub, stage.light, kWorkingShape);

    // Brighten, blur wide and keep the result in the small glow copy for the end of the frame.
    applyPassState(kScreenPass);
    setOrthoEffect(m);
    fx.grab(Copy::Glow);
    fx.burn(Copy::Glow, 1, 1.0f);
    fx.grab(Copy::Glow);
    fx.blur(Copy::Glow, {.passes = 6, .stretchX = 2.0f, .stretchY = 2.0f, .spread = 0.020833334f});
    fx.grab(Copy::Glow);
    clear(Buffers::ColourAndDepth);
}

void DuckScene::mainPass(float bob) {
    Model& m = *stage.model;
    setPerspectiveScreen(m, stage.camera);
    applyPassState(kMeshPass);

    MeshObject& sphere = m.mesh(kSphere);
    sphere.renderMode = RenderMode::Reflect;
    sphere.colour.set(0.03f, 0.22f, 0.01f, 1.0f);
    sphere.ambient.set(0.472f, 0.57033f, 0.365012f, 1.0f);
    drawObject(m, kSphere, stage.light, kWorkingShape);

    MeshObject& tub = m.mesh(kTub);
    tub.cubeTexture = TextureSlot::CubeEnv1grRing;
    tub.renderMode = RenderMode::TextureReflect;
    tub.alpha = 1.0f;
    tub.layered = 0;
    tub.colour.set(1.64f, 1.232f, 0.32f, 1.0f);
    tub.specular.set(0.0f, 0.0f, 0.0f, 1.0f);
    tub.ambient.set(0.081f, 0.092f, 0.0812f, 1.0f);
    drawObject(m, kTub, stage.light, kWorkingShape);

    // The wings hang off the tub's long sides, tilted nearly flat, and bob with it.
    for (const int w : {kLeftWing, kRightWing}) {
        MeshObject& o = m.mesh(w);
        const bool left = w == kLeftWing;
        o.translation.set(-1.0f, bob - 1.0f, left ? -4.0f : 4.0f);
        o.rotationZ = -1.21f;
        o.rotationY = left ? 0.05f : -0.05f;
        o.rotationX = 0.0f;
        o.cubeTexture = TextureSlot::CubeEnv1grRing;
        o.renderMode = RenderMode::TextureReflect;
        o.alpha = 1.0f;
        o.layered = 0;
        drawObject(m, w, stage.light, kWorkingShape);
    }
}

void DuckScene::drawDucks(float s, float bob) {
    Model& m = *stage.model;
    MeshObject& duck = m.mesh(kDuck);
    for (int n = 0; n < kDuckCount; ++n) {
        const float fn = static_cast<float>(n);
        const float h = duckHeight(n, stage.clock.time);
        duckScales[n].set(kDuckScale[n], kDuckScale[n], kDuckScale[n]);
        duckPositions[n].set(kDuckX[n], h + bob, kDuckZ[n]);
        duck.translation = duckPositions[n];
        duck.scale = duckScales[n];
        duck.rotationZ = h * kDrops[n].tilt + kDuckRoll;
        duck.rotationY = 0.6f * std::sin(0.453f * s + 1.23f * fn) - kQuarterTurn;
        duck.rotationX = 4.1f * std::cos(2.13f * fn + 0.04123f * s);
        drawObject(m, kDuck, stage.light, kRestShape);
    }
}

void DuckScene::drawGlass(float s, float bob) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    MeshObject& glass = m.mesh(kGlass);
    // Placed before it is carried into eye space, so the frame it shows lines up with where it
    // is drawn this frame.
    glass.translation.y = bob;
    transformToWorld(m, kGlass, worldFromRest, true); // the camera view is loaded: eye space
    setOrthoScreen(m);
    fx.grab(Copy::Picture);
    setPerspectiveScreen(m, stage.camera);

    glass.colour.set(1.0f, 1.0f, 1.0f, 1.0f);
    glass.ambient.set(0.25f, 0.25f, 0.25f, 1.0f);
    glass.renderMode = RenderMode::Textured;
    glass.texture = fx.textureOf(Copy::Picture);
    {
        LogicTimer logic;
        // Each vertex samples the frame where it lies on screen, shifted by a moving ripple.
        for (int v = 0; v < glass.vertexCount; ++v) {
            const auto i = static_cast<std::size_t>(v);
            const Vec3& e = glass.worldPositions[i];
            const Vec3& p = glass.positions[i];
            const float d = std::max(-e.z, 0.0001f);
            const float x = std::fabs(0.2f * p.x * 2.1f + 100.0f);
            const float z = std::fabs(0.2f * p.z * 2.1f + 100.0f);
            glass.texU[i] = 0.5f * e.x / d + 0.5f + 0.031f * std::sin(8.0f * noise.fbm(x, z, 1.5f * s, 2));
            glass.texV[i] =
                0.5f * e.y / d + 0.5f + 0.031f * std::sin(8.0f * noise.fbm(x, z + 0.33f, 1.5f * s, 2));
        }
    }
    drawObject(m, kGlass, stage.light, kRestShape);
}

void DuckScene::render(int dt) {
    if (!stage.open(dt)) return;
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const float c = stage.clock.time;
    const float s = c * 0.001f;

    // Both move with the real delta, even one the clock ignores.
    lightPath.advance(stage.light.position, 15.0f, static_cast<float>(dt));
    stage.light.position.scale(-0.7f);
    stage.light.position.y *= 0.3f;
    orbitAngle += duckOrbitSpeed(c) * stage.clock.frameSeconds;

    stage.camera.position = duckCameraPosition(c, orbitAngle);
    stage.camera.aimAt(Vec3(0.0f, 0.0f, 0.0f));
    stage.startFrame();

    m.mesh(kTub).rotationX = 0.0f;
    const float bob = duckBob(s);
    {
        LogicTimer logic;
        const WingAngles angles = duckWingAngles(s);
        flapWingHandles(WingSide::Left, angles, leftHandles.targets.data(), leftHandles.sources.data(),
                        leftHandles.count());
        flapWingHandles(WingSide::Right, angles, rightHandles.targets.data(), rightHandles.sources.data(),
                        rightHandles.count());
        shapeWing(kLeftWing, leftHandles, 0.752f, true);
        shapeWing(kRightWing, rightHandles, 1.152f, false);
        resetWorkPositions(m, kTub);
        computeCreaseNormals(m, kTub, 0.0f);
        pushSphere(s);
    }

    glowPass(bob);
    mainPass(bob);
    drawDucks(s, bob);
    drawGlass(s, bob);

    // Lay the small blurred glow over the whole frame.
    applyPassState(kScreenPass);
    setOrthoScreen(m);
    fx.addGlow(Copy::Glow, 1.0f);
}
