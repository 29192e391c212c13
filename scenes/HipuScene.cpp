#include "scenes/HipuScene.h"

#include "anim/Envelope.h"
#include "anim/Random.h"
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
#include "scenes/Lattice.h"
#include "scenes/LightTours.h"
#include "scenes/Material.h"

#include <cmath>

namespace {

using namespace timetable;

constexpr ModelFile kModels[] = {
    {"Models/bigballe.3ds", 7.0f, 3.0f},
    {"Models/ballbig_s_r.3ds", 1.5f, 0.2f},
    {"Models/hipu.3ds", 0.25f, 0.001f, HipuScene::kRiserCount},
};

constexpr int kRows = 10;
static_assert(kRows * 8 == HipuScene::kHandleCount);

// The zoom cycle, in ms of the scene stage.clock.
constexpr int kZoomCycle = 24000;
constexpr int kZoomInStart = 5000;
constexpr int kZoomHoldStart = 7000;
constexpr int kZoomOutStart = 22000;
constexpr float kZoomFar = 3.0f;

// One flare of the double beat, starting at `start` ms into the cycle: a sharpened rise over
// 250 ms and a fall over the next 400.
float flare(float b, float start) {
    const float rise = fadeInOver(b, start, 250.0f);
    return rise * rise * fadeOutOver(b, start + 250.0f, 400.0f);
}

// The risers' warm hues, spread by object index.
float riserRed(float fj) { return 1.0f + 0.455f * std::sin(0.2f * fj); }
float riserGreen(float fj) { return 0.51f + 0.045f * std::sin(0.2f * fj - 0.8f); }

// Opacity of trail copy k (0 at the riser, 4 the leading one): faint behind, strongest in front.
float trailAlpha(int k) {
    return 0.15f * (std::sin(static_cast<float>(k) * 0.22222222f * kScenePi - kSceneHalfPi) + 1.0f) + 0.02f;
}
constexpr int kTrailCopies = 5;

// The glow colours of the ball and the blob want darker pictures than ours. Slot 25 (a light,
// blurred stone cement averaging about 0.55) and the blob's painted gravel are shared with the
// title words, the tower, the lantern and the swarm's stars, so the glow takes the difference:
// at full strength the burned ball glows a flat bright orange at rest and a washed-out yellow
// on every beat, and the blob's lit side is white before any flare, so its flares barely show.
constexpr float kGlowLevel = 0.35f;
// The blob stands closest to the camera and fills the middle of the frame: at the ball's level
// its glow, burned twice, still whitened its core between the flares (3-5 % of the frame at full
// white), so the flares had nothing left to brighten. Lower, it rests as a warm haze and flares.
constexpr float kBlobGlowLevel = 0.2f;
// The blob's middle faces the camera and so reflects the brightest band of the sky; burned into
// the glow, that reflection alone whitened the core between the flares. Faint in the glow pass,
// it leaves the core showing the blob's own texture until a flare brightens it.
constexpr float kBlobGlowReflection = 0.3f;

} // namespace

float hipuBeat(float sceneClock) {
    if (sceneClock < static_cast<float>(kHipuBeatFrom)) return 0.0f;
    const float b = static_cast<float>(static_cast<int>(sceneClock + static_cast<float>(kHipuBeat.offset)) %
                                       kHipuBeat.period);
    return flare(b, 0.0f) + flare(b, static_cast<float>(kHipuSecondFlare));
}

float hipuFlow(float sceneClock) { return fadeInOver(sceneClock, static_cast<float>(kHipuBeatFrom), 600.0f); }

float hipuZoomFactor(float sceneClock) {
    const int cycle = static_cast<int>(sceneClock) % kZoomCycle; // negative before the scene's zero
    if (cycle < kZoomInStart) return kZoomFar;
    float s = 1.0f;
    if (cycle < kZoomHoldStart)
        s = static_cast<float>(cycle - kZoomInStart) * 0.0005f;
    else if (cycle >= kZoomOutStart)
        s = 1.0f - static_cast<float>(cycle - kZoomOutStart) * 0.0005f;
    return (1.0f - 0.6f * std::sqrt(s)) * kZoomFar;
}

void drawRiserSpot(float& x, float& z) {
    do {
        x = 8.0f * drawRandomFraction() - 4.0f;
        z = 8.0f * drawRandomFraction() - 4.0f;
    } while (!riserSpotAccepted(x, z));
}

void HipuScene::setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    stage.setup({screenWidth, screenHeight, effectWidth, effectHeight}, kModels, Vec3(1.1f, 1.1f, 1.1f));

    // Rows from -1 to 1 of the ring of eight.
    stackRings(kSquareRing, kRows, -1.0f, 2.0f / 9.0f, lattice.rest);
    lattice.prepare(0.405f, 2.8f);

    lightPath = resampledLoop(kSwarmTour, 29.0f);
    if (!stage.ready) return;

    Model& m = *stage.model;
    m.mesh(kSky).scale.y = 7.0f;
    resetWorkPositions(m, kBlob);

    for (int i = 0; i < kRiserCount; ++i) {
        MeshObject& o = m.mesh(kFirstRiser + i);
        applyMaterial(o, kRiserMaterial);
        m.setPosition(kFirstRiser + i, Vec3(0.0f, 0.0f, 0.0f));
        drawRiserSpot(o.translation.x, o.translation.z);
        o.translation.y = 30.0f * drawRandomFraction() - 25.0f;
    }

    applyMaterial(m.mesh(kBlob), Material{.texture = TextureSlot::SoraBvaritettu,
                                          .cubeTexture = TextureSlot::CubeEnv1gr,
                                          .renderMode = RenderMode::TextureReflect,
                                          .colour = {0.5f, 0.5f, 1.25f, 1.0f},
                                          .specular = {0.0f, 0.0f, 0.0f, 1.0f},
                                          .ambient = {0.9f, 0.9f, 1.52f, 1.0f},
                                          .constantAttenuation = 0.5f,
                                          .linearAttenuation = 0.05f,
                                          .spotExponent = 0.01f});

    // Textured only: the cube slot is never sampled. Its light is all but attenuated away, so
    // the ball shows its ambient colour.
    applyMaterial(m.mesh(kSky), Material{.texture = TextureSlot::KivisementtiBBsumea,
                                         .cubeTexture = TextureSlot::Vihermaa,
                                         .renderMode = RenderMode::Textured,
                                         .colour = {0.0f, 0.0f, 0.0f, 1.0f},
                                         .specular = {0.0f, 0.0f, 0.0f, 1.0f},
                                         .ambient = {0.63f, 0.63f, 0.786f, 1.0f},
                                         .envAlpha = 0.0f,
                                         .constantAttenuation = 8.0f,
                                         .spotExponent = 0.08f});
}

void HipuScene::moveRisers(float seconds, float frameSeconds) {
    Model& m = *stage.model;
    const float climb = 15.0f * (1.0f + 0.9f * beat) * frameSeconds; // faster on the beat
    for (int i = 0; i < kRiserCount; ++i) {
        const int j = kFirstRiser + i;
        const float fj = static_cast<float>(j);
        MeshObject& o = m.mesh(j);
        const float across = 0.093f + 0.001f * std::sin((fj + seconds) * 0.2f);
        o.scale.set(across, 0.2f, across);
        o.rotationX = 0.0f;
        o.rotationY = std::cos(0.05f * seconds + 0.01f * fj);
        o.translation.y += climb;
        if (o.translation.y > kRiserTop) {
            o.translation.y = 5.0f * drawRandomFraction() - 10.0f;
            drawRiserSpot(o.translation.x, o.translation.z);
        }
    }
}

void HipuScene::moveLight(int dt) {
    lightPath.advance(stage.light.position, 15.0f, static_cast<float>(dt));
    stage.light.position.scale(-0.7f);
    stage.light.position.y *= 0.3f;
}

void HipuScene::placeCamera(float seconds) {
    const float w = seconds * 0.98f * 0.25f;
    stage.camera.position.set(9.0f * std::sin(w), 6.3f * std::cos(w),
                              12.0f * std::cos(seconds * 0.98f * 0.1625f + 0.656f));
    stage.camera.position.scale((0.75f * std::pow(blobExtent2, 0.25f) + 0.1f) * zoomFactor * 0.1f);
    stage.camera.aimAt(Vec3(0.0f, 0.0f, 0.0f));
    stage.camera.squareUp();
}

void HipuScene::shapeBlob(float seconds) {
    Model& m = *stage.model;
    MeshObject& blob = m.mesh(kBlob);
    blob.rotationX = 0.0f;
    blob.rotationY = seconds;

    // The rings swell and twist in waves running up the lattice; cubing across exaggerates the
    // outer handles far more than the inner ones.
    const float lift = 2.5f * std::cos(0.0751234f * seconds) + 3.0f;
    const LatticeWave wave{
        .rate = 0.24f, .heightScale = lift, .heightLift = 1.0f, .twist = 1.125f, .twistFalloff = 0.51f};
    lattice.wave(seconds, wave);
    for (Vec3& h : lattice.moved) {
        h.x = h.x * h.x * h.x * 0.75f;
        h.z = h.z * h.z * h.z * 0.45f;
    }
    lattice.bend(m, kBlob);

    // Squash: the farther a point was pushed out, the harder it is pulled back in, and the
    // blob stands taller than it is wide.
    blobExtent2 = 0.0f;
    for (int v = 0; v < blob.vertexCount; ++v) {
        Vec3& p = blob.workPositions[static_cast<size_t>(v)];
        const float q = p.lengthSquared();
        const float f = q * q * 40.0f + 1.0f;
        p.set(p.x * 50.0f / f, p.y * 125.0f / f, p.z * 50.0f / f);
        const float after = p.lengthSquared();
        if (after > blobExtent2) blobExtent2 = after;
    }
    computeSmoothNormals(m, kBlob);
}

void HipuScene::cullRisers() {
    const Model& m = *stage.model;
    const Vec3 eye(-stage.camera.position.x, -stage.camera.position.y, -stage.camera.position.z);
    const Vec3 view(-stage.camera.forward.x, -stage.camera.forward.y, -stage.camera.forward.z);
    for (int i = 0; i < kRiserCount; ++i) {
        Vec3 d = m.mesh(kFirstRiser + i).translation.minus(eye);
        const float distance = d.length();
        if (distance > 0.0f) d.scale(1.0f / distance);
        riserVisible[i] = !(dot(d, view) < 0.55f && distance > 1.0f);
    }
}

void HipuScene::drawRisers(float gain, float blue) {
    Model& m = *stage.model;
    for (int i = 0; i < kRiserCount; ++i) {
        if (!riserVisible[i]) continue;
        const int j = kFirstRiser + i;
        const float fj = static_cast<float>(j);
        MeshObject& o = m.mesh(j);
        o.renderMode = RenderMode::Untextured;
        o.colour.x = 2.0f * riserRed(fj) * gain;
        o.colour.y = 2.0f * riserGreen(fj) * gain;
        o.colour.z = blue;
        o.ambient.x = 2.5f * gain, o.ambient.y = 1.8f * gain, o.ambient.z = 1.0f * gain;
        const float y = o.translation.y;
        for (int k = 0; k < kTrailCopies; ++k) {
            o.alpha = o.envAlpha = trailAlpha(k);
            drawObject(m, j, stage.light, kRestShape);
            o.translation.y += trailStep;
        }
        o.translation.y = y;
        o.alpha = 1.0f;
        o.renderMode = RenderMode::TextureReflect;
    }
}

void HipuScene::glowPass(float frameSeconds, float flow) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const GlowPass glow(stage);

    MeshObject& blob = m.mesh(kBlob);
    blob.renderMode = RenderMode::TextureReflect;
    blob.colour.set(2.5f * beat + 0.7f, 2.5f * beat + 0.65f, 1.25f * beat + 0.3f, 1.0f);
    blob.colour.scale(kBlobGlowLevel);
    blob.ambient.set(0.01f * beat + 0.06f, 0.01f * beat + 0.055f, 0.01f * beat + 0.04f, 1.0f);
    blob.ambient.scale(kBlobGlowLevel);
    blob.alpha = 1.0f;
    blob.layered = 0;
    blob.envAlpha = kBlobGlowReflection;
    drawObject(m, kBlob, stage.light, kWorkingShape);
    blob.envAlpha = 1.0f;

    MeshObject& sky = m.mesh(kSky);
    sky.texOffsetV += 0.7f * (flow + 1.0f) * frameSeconds;
    sky.ambient.set(0.82f, 0.35f, 0.151f, 1.0f);
    sky.ambient.scale((beat + 1.0f) * kGlowLevel);
    drawObject(m, kSky, stage.light, kRestShape);

    if (risersOn) drawRisers(beat + 0.6f, 0.2f * (beat + 0.6f));

    applyPassState(kScreenPass);
    setOrthoEffect(m);
    fx.grab(Copy::Work);
    fx.burn(Copy::Work, burnPasses, 1.0f);
    fx.grab(Copy::Work);
    burnPasses = 2;
    // The flares add a second burn on top of the first: the glow grows with the beat, from as
    // bright as without it (beat 0) to twice as bright at the peak. Two passes from black here
    // would instead dim the glow far below its resting level whenever the beat is small, and
    // make it jump back as the beat reaches 0.
    if (beat != 0.0f) {
        fx.burn(Copy::Work, 1, 0.5f * beat);
        fx.grab(Copy::Work);
    }
    fx.blur(Copy::Work, {.passes = 8, .stretchX = 1.5f, .stretchY = 1.5f, .spread = 0.03125f});
    fx.grab(Copy::Glow);
    clear(Buffers::ColourAndDepth);
}

void HipuScene::fullPass() {
    Model& m = *stage.model;
    setPerspectiveScreen(m, stage.camera);
    applyPassState(kMeshPass);

    MeshObject& sky = m.mesh(kSky);
    sky.alpha = 1.0f;
    sky.colour.set(0.0f, 0.0f, 0.0f, 1.0f);
    sky.ambient.set(0.46f, 0.1935f, 0.132f, 1.0f);
    drawObject(m, kSky, stage.light, kRestShape);

    MeshObject& blob = m.mesh(kBlob);
    blob.colour.set(0.65f, 0.35f, 0.351f, 1.0f);
    blob.ambient.set(0.75f, 0.65f, 0.1151f, 1.0f);
    blob.renderMode = RenderMode::TextureReflect;
    blob.layered = 1;
    blob.alpha = 1.0f;
    drawObject(m, kBlob, stage.light, kWorkingShape);

    if (risersOn) drawRisers(1.0f, 0.2f * (beat + 0.6f));
}

void HipuScene::render(int dt) {
    if (!stage.open(dt)) return;
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const float seconds = stage.clock.time * 0.001f;
    beat = hipuBeat(stage.clock.time);
    const float flow = hipuFlow(stage.clock.time);
    zoomFactor = hipuZoomFactor(stage.clock.time);
    if (dt != 0) trailStep = 4.0f * stage.clock.frameSeconds;

    {
        LogicTimer logic;
        moveRisers(seconds, stage.clock.frameSeconds);
        moveLight(dt);
        shapeBlob(seconds);
        placeCamera(seconds);
        cullRisers();
    }

    stage.startFrame();
    glowPass(stage.clock.frameSeconds, flow);
    fullPass();

    // Lay the small processed glow over the whole frame.
    setOrthoScreen(m);
    applyPassState(kScreenPass);
    fx.addGlow(Copy::Glow, 1.0f);
}
