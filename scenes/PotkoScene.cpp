#include "scenes/PotkoScene.h"

#include "anim/Envelope.h"
#include "assets/TextureSlots.h"
#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/geometry/Deform.h"
#include "render/MeshRenderer.h"
#include "render/geometry/Normals.h"
#include "render/PassState.h"
#include "render/Transform.h"
#include "scenes/Lattice.h"
#include "scenes/Material.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr ModelFile kModels[] = {
    {"Models/potkoball.3ds", 5.0f, 6.0f},
    {"Models/potko2.3ds", 0.5f, 2.0f},
};

// The handle rows sway along this path; the light tours it resampled.
constexpr Vec3 kSwayLoop[PotkoScene::kSwayPoints] = {{-20, 10, 25}, {20, 7, -15},  {-20, 27, 25},
                                                     {30, 17, -25}, {-30, 15, 15}, {20, -15, -25},
                                                     {-30, 12, 5},  {20, 21, -5},  {-14, 32, 25}};

// The opening: the picture comes out of black and out of a blur over these two seconds.
constexpr float kOpeningSeconds = 2.0f;

// The camera at scene time s: a wide orbit round the tower whose distance breathes.
Vec3 cameraPosition(float s) {
    const float w = s * 1.8f * 0.25f;
    const float distance = 5.2f + 1.6f * std::sin(1.42f * s);
    return Vec3(distance * 13.0f * std::sin(w), distance * 12.3f * std::cos(w),
                distance * 9.0f * std::cos(s * 1.8f * 0.1625f));
}

Vec4 scaled(Vec4 v, float s) {
    v.scale(s);
    return v;
}

} // namespace

float potkoKick(float sceneClock) {
    using namespace timetable;
    const float b = static_cast<float>(static_cast<int>(sceneClock + kPotkoKick.offset) % kPotkoKick.period);
    // Squared rise to a peak 400 ms after the beat, then down by 900 ms.
    const float shape = fadeInOver(b, 0.0f, 400.0f) * fadeInOutOver(b, 0.0f, 400.0f, 500.0f, 400.0f);
    return shape * fadeInOver(sceneClock, kPotkoKickGateIn.start, kPotkoKickGateIn.length) *
           fadeOutOver(sceneClock, kPotkoKickGateOut.start, kPotkoKickGateOut.length);
}

float potkoThrob(float sceneClock) {
    using namespace timetable;
    const float b =
        static_cast<float>(static_cast<int>(sceneClock + kPotkoThrob.offset) % kPotkoThrob.period);
    return fadeInOutOver(b, 0.0f, 200.0f, 300.0f, 300.0f) *
           fadeInOver(sceneClock, kPotkoKickGateOut.start, kPotkoKickGateOut.length);
}

float potkoOpeningBlur(float seconds) {
    const float h = std::pow(fadeInOver(seconds, 0.0f, kOpeningSeconds), 8.0f);
    return 0.15f * (1.0f - h);
}

void PotkoScene::setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    stage.setup({screenWidth, screenHeight, effectWidth, effectHeight}, kModels, Vec3(1.51f, 1.45f, 1.01f));

    // Sixteen rows of eight handles from y = -16 up to 16.
    stackRings(kSquareRing, kHandleRows, -16.0f, 32.0f / 15.0f, restHandles);
    for (float& r2 : handleRadius2) r2 = 49.0f;

    swayPath = closedPath(kSwayLoop, 29.0f);
    lightPath = resampledLoop(swayPath);
    if (!stage.ready) return;

    Model& m = *stage.model;
    m.mesh(kSky).scale.y *= 5.0f;
    resetWorkPositions(m, kTower);
    applyMaterial(m.mesh(kTower), Material{.texture = TextureSlot::KivisementtiBBsumea,
                                           .cubeTexture = TextureSlot::CubeEnv1gr,
                                           .renderMode = RenderMode::TextureReflect,
                                           .colour = {0.5f, 0.5f, 0.95f, 1.0f},
                                           .specular = {0.2f, 0.2f, 0.2f, 1.0f},
                                           .ambient = {0.2f, 0.2f, 0.2f, 1.0f},
                                           .constantAttenuation = 0.0f,
                                           .linearAttenuation = 0.025f,
                                           .spotExponent = 0.01f});
    // The ball's reflection pass needs a cube map (GL refuses to bind a 2D picture as one and
    // would leave the pass sampling whatever cube was bound last). The warm pub picture on one
    // face keeps its glints in the room's colours; the sky picture flared into yellow shards
    // once the glow had burnt it in.
    applyMaterial(m.mesh(kSky), Material{.texture = TextureSlot::KivioSumea2,
                                         .cubeTexture = TextureSlot::CubeEnv1pubi,
                                         .renderMode = RenderMode::Textured,
                                         .colour = {0.12f, 0.1f, 0.07f, 1.0f},
                                         .specular = {0.0f, 0.0f, 0.0f, 1.0f},
                                         .ambient = {0.1f, 0.1f, 0.14f, 1.0f},
                                         .constantAttenuation = 0.75f,
                                         .linearAttenuation = 0.015f,
                                         .spotExponent = 0.08f});

    // Three fields in this order, though only the second is sampled: the modules set up after
    // this one draw from the shared generator where the last of them leaves it.
    const NoiseField fine(256, 255, 111);
    surfaceNoise = NoiseField(512, 511, 222);
    const NoiseField coarse(1024, 1023, 333);
    bulgeBall();
}

// The bulge does not move, so the ball is shaped once.
void PotkoScene::bulgeBall() {
    Model& m = *stage.model;
    resetWorkPositions(m, kSky);
    for (Vec3& p : m.mesh(kSky).workPositions) {
        const float g = std::clamp(surfaceNoise.fractalSum(std::fabs(p.x) * 0.01125f, std::fabs(p.y) * 0.012f,
                                                           std::fabs(p.z) * 0.0225f, 5, 1.5f, 0.6f),
                                   -1.0f, 1.0f);
        p.scale(1.0f + 0.45f * g);
    }
    computeSmoothNormals(m, kSky);
}

void PotkoScene::moveHandles(float w7, float bright, float stretch) {
    const float sway = w7 * 1.5f + bright * 0.25f;
    for (int row = 0; row < kHandleRows; ++row) {
        const float k = static_cast<float>(row);
        // A squeeze wave up the rows; the first second keeps the column narrow and tall.
        const float d = 5.0f * std::sin(0.9f * k + 0.6f * beatClock);
        const float across = (d + 7.5f) * w7 + 3.0f;
        const float upright = stretch + (d + 8.5f) * w7;
        Vec3 offset;
        swayPath.evaluate(offset, k * static_cast<float>(kSwayPoints) * 15.0f / 16.0f + 0.05f * beatClock);
        offset.scale(sway);
        for (int l = 0; l < kHandlesPerRow; ++l) {
            const int h = row * kHandlesPerRow + l;
            const Vec3& r = restHandles[h];
            movedHandles[h].set(across * r.x + offset.x, upright * r.y + offset.y, across * r.z + offset.z);
        }
    }
}

void PotkoScene::placeCopy(int copy) {
    MeshObject& tower = stage.model->mesh(kTower);
    tower.translation.y = static_cast<float>(copy);
    tower.rotationY = static_cast<float>(copy) * kCopyTurn;
}

void PotkoScene::drawTower(const Vec4& colour, const Vec4& ambient) {
    Model& m = *stage.model;
    MeshObject& tower = m.mesh(kTower);
    tower.renderMode = RenderMode::TextureReflect;
    tower.alpha = 1.0f;
    tower.layered = 0;
    tower.colour = colour;
    tower.ambient = ambient;
    for (int c = 0; c < kTowerCopies; ++c) {
        placeCopy(c);
        drawObject(m, kTower, stage.light, kWorkingShape);
    }
    tower.rotationY = 0.0f;
}

void PotkoScene::glowPass(float bright) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const GlowPass glow(stage);

    MeshObject& sky = m.mesh(kSky);
    sky.renderMode = RenderMode::TextureReflect;
    sky.ambient = scaled(Vec4(0.120773f, 0.08871f, 0.039683f, 1.0f), bright);
    sky.colour = scaled(Vec4(0.48f, 0.215f, 0.1f, 1.0f), bright);
    drawObject(m, kSky, stage.light, kWorkingShape);
    drawTower(Vec4(0.625f, 0.5f, 1.0f, 1.0f), Vec4(0.23f, 0.2f, 0.2f, 1.0f));

    applyPassState(kScreenPass);
    setOrthoEffect(m);
    fx.grab(Copy::Glow);
    fx.show(Copy::Glow, showAlpha);
    fx.grab(Copy::Work);
    fx.burn(Copy::Work, feedbackPasses, 1.0f);
    fx.grab(Copy::Work);
    fx.blur(Copy::Work, {.passes = 6, .stretchX = 2.0f, .stretchY = 2.0f, .spread = 0.020833334f});
    fx.grab(Copy::Glow);
    clear(Buffers::ColourAndDepth);
    setOrthoScreen(m);
    applyPassState(kMeshPass);
}

void PotkoScene::fullPass(float bright, float s) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    MeshObject& sky = m.mesh(kSky);
    sky.alpha = 1.0f;
    sky.renderMode = RenderMode::TextureReflect;
    sky.ambient = scaled(Vec4(0.55f, 0.333333f, 0.333333f, 1.0f), bright);
    sky.colour = scaled(Vec4(0.22f, 0.073333f, 0.066667f, 1.0f), bright);
    setPerspectiveScreen(m, stage.camera);
    drawObject(m, kSky, stage.light, kWorkingShape);
    drawTower(Vec4(1.2f, 0.4f, 0.05f, 1.0f), Vec4(0.3885f, 0.3465f, 0.252f, 1.0f));

    // The glow, stretched from the small copy over the whole frame.
    setOrthoScreen(m);
    applyPassState(kScreenPass);
    fx.addGlow(Copy::Glow, 1.0f);

    const float spread = potkoOpeningBlur(s);
    if (spread != 0.0f) {
        fx.grab(Copy::Wrapping);
        fx.blur(Copy::Wrapping, {.passes = 5, .spread = spread});
    }
    setOrthoScreen(m);
    applyPassState(kScreenPass);
}

void PotkoScene::render(int dt) {
    if (!stage.open(dt)) return;
    Model& m = *stage.model;
    const float s = stage.clock.time * 0.001f;

    lightPath.advance(stage.light.position, 15.0f, static_cast<float>(dt));
    stage.light.position.scale(-0.7f);
    stage.light.position.y *= 0.3f;

    stage.camera.position = cameraPosition(s);
    stage.camera.aimAt(Vec3(0.0f, -10.0f, 0.0f));
    stage.startFrame();
    m.mesh(kTower).rotationX = 0.0f;

    const float bright = std::sqrt(fadeInOver(s, 0.0f, kOpeningSeconds));
    const float w7 = 0.7f * fadeInOver(s, 1.0f, 2.0f); // the squeeze and sway grow in over [1, 3] s
    const float throb = potkoThrob(stage.clock.time);
    const float kick = potkoKick(stage.clock.time);
    beatClock += (3.25f * throb + 1.0f) * stage.clock.frameSeconds;
    // Tall and thin at first; from 3 s the squeeze wave takes over part of the height.
    const float stretch = 2.0f * kick + 4.0f * throb + 40.0f - 30.0f * w7;
    {
        LogicTimer logic;
        moveHandles(w7, bright, stretch);
        deformBlended(m, kTower, kHandleCount, restHandles, movedHandles, handleRadius2);
        computeSmoothNormals(m, kTower);
    }

    m.mesh(kSky).texOffsetV = 0.1f * std::sin(0.5f * s) - 0.5f * s;
    glowPass(bright);
    fullPass(bright, s);
}
