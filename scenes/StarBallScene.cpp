#include "scenes/StarBallScene.h"

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
#include "scenes/Material.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The lumps rise by up to this many file units along the normal, before the shape is scaled
// down to world size.
constexpr float kSwellHeight = 70.0f;
constexpr float kWorldScale = 0.01f;
// Turbulence this high or higher leaves the skin where it is (the kernel is 0 from 4/3 on).
constexpr float kTurbulenceLimit = 2.0f;

// The ball and the star are loaded and dressed but never drawn.
constexpr ModelFile kModels[] = {
    {"Models/bigball.3ds", 50.0f, 3.0f},
    {"Models/hugecubeball_low.3ds", 1.0f, 1.5f},
    {"Models/tahti3bt.3ds", 0.1f, 2.0f},
};

} // namespace

float starBallNoiseSpeed(float sceneClock) {
    using namespace timetable;
    const float c = static_cast<float>(
        static_cast<int>(sceneClock + static_cast<float>(kStarBallSurge.offset)) % kStarBallSurge.period);
    const float rise = fadeInOver(c, 0.0f, static_cast<float>(kStarBallSurgeRise));
    const float fall = fadeOutOver(c, static_cast<float>(kStarBallSurgeFall.start),
                                   static_cast<float>(kStarBallSurgeFall.length));
    return fall * rise + 0.25f;
}

float starBallIntensity(float sceneClock, float startMark) {
    return fadeInOver(sceneClock, startMark + 3500.0f, 5000.0f);
}

void swellAlongNormals(const NoiseField& field, const Vec3* rest, const Vec3* normals, Vec3* out, int count) {
    for (int i = 0; i < count; ++i) {
        const Vec3& p = rest[i];
        const Vec3& n = normals[i];
        float t = field.turbulence(std::fabs(0.0015f * p.x + 10000.0f), std::fabs(0.005f * p.y + 10000.0f),
                                   std::fabs(0.0015f * p.z + 10000.0f), 5);
        if (t > kTurbulenceLimit) t = kTurbulenceLimit;
        if (t < -kTurbulenceLimit) t = -kTurbulenceLimit;
        const float h = kSwellHeight * wendlandWeight(0.75f * t);
        out[i].set((p.x + n.x * h) * kWorldScale, (p.y + n.y * h) * kWorldScale,
                   (p.z + n.z * h) * kWorldScale);
    }
}

void breatheRadially(const NoiseField& field, Vec3* positions, int count, float noisePhase, float intensity) {
    const float amount = intensity * 0.4f;
    if (amount == 0.0f) return;
    for (int i = 0; i < count; ++i) {
        Vec3& w = positions[i];
        const float r = std::sqrt(w.lengthSquared());
        if (!(r > 0.0f)) continue; // no direction to move along
        const float f = field.fbm(std::fabs(4.0f * w.x + 1.5f * noisePhase + 1000.0f),
                                  std::fabs(w.y + 100000.0f), std::fabs(0.84f * w.z + 10000.0f), 1);
        const float s = 1.0f + f * amount / r;
        w.set(w.x * s, w.y * s, w.z * s);
    }
}

void StarBallScene::setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    stage.setup({screenWidth, screenHeight, effectWidth, effectHeight}, kModels, Vec3(0.33f, 0.27f, 0.25f));

    // In this order: each reseeds the shared generator, and the last leaves it where the next
    // module's set-up draws from.
    noiseFields[0] = NoiseField(256, 255, 10);
    noiseFields[1] = NoiseField(1024, 1023, 2);
    noiseFields[2] = NoiseField(65536, 65535, 512);
    if (!stage.ready) return;

    Model& m = *stage.model;
    MeshObject& cube = m.mesh(kCube);
    cube.scale.set(2.5f, 1.2f, 1.2f);
    m.resetWorkPositions(kCube);
    m.setPosition(kStar, Vec3(0.0f, 0.0f, 0.0f));
    applyMaterial(cube, Material{.texture = TextureSlot::Haaleapunaviiva,
                                 .cubeTexture = TextureSlot::CubeEnv1orbi,
                                 .renderMode = RenderMode::TextureReflect,
                                 .specular = {0.0f, 0.0f, 0.0f, 1.0f},
                                 .shininess = 0.82f,
                                 .constantAttenuation = 0.0f,
                                 .linearAttenuation = 0.0f,
                                 .quadraticAttenuation = 2.5f,
                                 .spotExponent = 0.01f,
                                 .lightW = 1.0f,
                                 .layered = 0});
    MeshObject& ball = m.mesh(kBall);
    ball.texture = TextureSlot::Kivio;
    ball.cubeTexture = TextureSlot::CubeEnv1grRing;
    ball.renderMode = RenderMode::Textured;
    MeshObject& star = m.mesh(kStar);
    star.texture = TextureSlot::Matosini;
    star.cubeTexture = TextureSlot::CubeEnv1grRing;
    star.renderMode = RenderMode::TextureReflect;

    // The lumps depend on the rest shape alone, so every frame would compute the same ones.
    computeSmoothNormals(m, kCube);
    swollenPositions.resize(cube.workPositions.size());
    swellAlongNormals(noiseFields[0], cube.workPositions.data(), cube.vertexNormals.data(),
                      swollenPositions.data(), static_cast<int>(swollenPositions.size()));

    int faces = 0;
    for (int i = 0; i < m.objectCount; ++i) faces += m.mesh(i).faceCount;
    std::printf("%d Faces in scene.\n", faces);
}

void StarBallScene::shapeCube() {
    Model& m = *stage.model;
    MeshObject& cube = m.mesh(kCube);
    std::copy(swollenPositions.begin(), swollenPositions.end(), cube.workPositions.begin());
    breatheRadially(noiseFields[0], cube.workPositions.data(), static_cast<int>(cube.workPositions.size()),
                    noisePhase, intensity);
    computeSmoothNormals(m, kCube);
}

void StarBallScene::glowPass() {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    MeshObject& cube = m.mesh(kCube);

    // A darker, reflection-only copy at the effect size is the glow's source.
    const GlowPass glow(stage);
    cube.colour.set(0.25f, 0.25f, 0.25f, 1.0f);
    cube.ambient.set(0.2f, 0.16f, 0.136f, 1.0f);
    cube.renderMode = RenderMode::Reflect;
    cube.alpha = 1.0f;
    cube.layered = 0;
    cube.sphereMap = 0;
    cube.envAlpha = intensity;
    cube.coneCull = 1;
    drawObject(m, kCube, stage.light, kWorkingShape);

    // Burn it bright, streak it with the camera's sway, burn it once more into the glow copy.
    applyPassState(kScreenPass);
    setOrthoEffect(m);
    fx.grab(Copy::Work);
    fx.burn(Copy::Work, 1, 1.0f);
    fx.grab(Copy::Work);
    const float reach = (std::sin(phase + kScenePi) * 0.4f + 0.5f) * intensity * 0.1f;
    // Without reach every pass lays the grab unzoomed over itself and changes nothing; twelve
    // passes at the wide size are the frame's dearest step, so the first seconds skip them.
    if (reach != 0.0f)
        fx.zoomStreak(Copy::Work,
                      {.passes = 12, .alpha = 0.33f, .angle = 0.5f, .phase = 0.0f, .strength = reach});
    fx.grab(Copy::Glow);
    fx.burn(Copy::Glow, 1, 0.4f);
    fx.grab(Copy::Glow);
    // The small glow copy now holds the glow. Blurring the emptied frame and adding the glow back onto
    // it would leave that copy as it is, for a third of the frame's time; the glow goes on as is.
    clear(Buffers::ColourAndDepth);
}

void StarBallScene::mainPass() {
    Model& m = *stage.model;
    MeshObject& cube = m.mesh(kCube);
    setPerspectiveScreen(m, stage.camera);
    applyPassState(kMeshPass);
    cube.colour.set(1.0f, 0.9f, 0.68f, 1.0f);
    cube.ambient.set(0.001f, 0.001f, 0.001f, 1.0f);
    cube.renderMode = RenderMode::TextureReflect;
    cube.layered = 0;
    cube.alpha = 1.0f;
    cube.envAlpha = intensity;
    drawObject(m, kCube, stage.light, kWorkingShape);
}

void StarBallScene::render(int dt) {
    if (!stage.drawable()) return;
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;

    if (startMark == kNotStarted) startMark = stage.clock.time;
    stage.clock.advance(dt);
    phase = stage.clock.time * 0.001f + 10.0f;

    // The light hangs just beyond the origin, between the camera and the cube, which it lights
    // with a steep falloff; the camera sways within 0.1 of 0.4 before the origin, looking at it.
    stage.light.position.set(0.15f, 0.0f, 0.0f);
    const float a = 0.375f * phase;
    const float b = 0.24375f * phase;
    stage.camera.position.set(0.06f * std::sin(a) + 0.4f, 0.063f * std::cos(a), 0.08f * std::cos(b));
    stage.camera.aimAt(target);
    stage.startFrame();
    m.mesh(kCube).rotationX = m.mesh(kCube).rotationY = 0.0f;

    // The drift keeps running through stalled frames and seeks: it follows dt, not the clock.
    noisePhase += stage.clock.frameSeconds * starBallNoiseSpeed(stage.clock.time) * 0.9f * 0.75f;
    intensity = starBallIntensity(stage.clock.time, startMark);
    {
        LogicTimer logic;
        shapeCube();
    }

    glowPass();
    mainPass();

    // Lay the small glow over the whole frame.
    setOrthoScreen(m);
    applyPassState(kScreenPass);
    fx.addGlow(Copy::Glow, 1.0f);
}
