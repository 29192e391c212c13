#include "scenes/PotkoScene.h"

#include "anim/Envelope.h"
#include "assets/TextureSlots.h"
#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/Deform.h"
#include "render/MeshRenderer.h"
#include "render/Normals.h"
#include "render/Transform.h"
#include "scenes/Material.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// One row of the handle lattice: the corners and edge midpoints of a 2 x 2 square round the axis.
const float kRowPoints[PotkoScene::kHandlesPerRow][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1},
                                                         {0, -1},  {1, 0},  {-1, 0}, {0, 1}};

const float kSwayPath[PotkoScene::kSwayPoints][3] = {{-20, 10, 25}, {20, 7, -15},  {-20, 27, 25},
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
    model = std::make_unique<Model>(10000, screenWidth, screenHeight, effectWidth, effectHeight);
    Model& m = *model;
    m.flipFaceNormals = 1;

    // Sixteen rows of eight handles from y = -16 up to 16, the height accumulated row by row.
    float y = -16.0f;
    for (int row = 0; row < kHandleRows; ++row) {
        for (int l = 0; l < kHandlesPerRow; ++l) {
            const int k = row * kHandlesPerRow + l;
            restHandles[k].set(kRowPoints[l][0], y, kRowPoints[l][1]);
            handleRadius2[k] = 49.0f;
        }
        y += 32.0f / 15.0f;
    }

    camera.position.set(0.0f, 5.0f, -25.0f);
    camera.forward.set(0.0f, 0.0f, 1.0f);
    light.setColour(1.51f, 1.45f, 1.01f);
    light.camera = &camera;
    light.position.set(0.0f, 0.0f, 0.0f);

    swayPath = SplinePath(100, true);
    for (const auto& p : kSwayPath) swayPath.addPoint(p[0], p[1], p[2]);
    swayPath.build(29.0f, true);
    swayPath.planResample();
    lightPath = SplinePath(swayPath.resampleCount, true);
    swayPath.resampleInto(lightPath);

    m.vertexScale = 5.0f;
    m.texCoordScale = 6.0f;
    m.load("Models/potkoball.3ds");
    m.vertexScale = 0.5f;
    m.texCoordScale = 2.0f;
    m.load("Models/potko2.3ds");
    if (m.objectCount <= kTower) return; // the loader has reported the missing file

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
    Model& m = *model;
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
    MeshObject& tower = model->mesh(kTower);
    tower.translation.y = static_cast<float>(copy);
    tower.rotationY = static_cast<float>(copy) * kCopyTurn;
}

void PotkoScene::drawTower(const Vec4& colour, const Vec4& ambient) {
    Model& m = *model;
    MeshObject& tower = m.mesh(kTower);
    tower.renderMode = RenderMode::TextureReflect;
    tower.alpha = 1.0f;
    tower.layered = 0;
    tower.colour = colour;
    tower.ambient = ambient;
    for (int c = 0; c < kTowerCopies; ++c) {
        placeCopy(c);
        drawObject(m, kTower, light, 0, kWorkingShape);
    }
    tower.rotationY = 0.0f;
}

void PotkoScene::glowPass(float bright) {
    Model& m = *model;
    EffectBuffers& fx = *effects_;
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    setPerspectiveEffect(m, camera);

    MeshObject& sky = m.mesh(kSky);
    sky.renderMode = RenderMode::TextureReflect;
    sky.ambient = scaled(Vec4(0.120773f, 0.08871f, 0.039683f, 1.0f), bright);
    sky.colour = scaled(Vec4(0.48f, 0.215f, 0.1f, 1.0f), bright);
    drawObject(m, kSky, light, 0, kWorkingShape);
    drawTower(Vec4(0.625f, 0.5f, 1.0f, 1.0f), Vec4(0.23f, 0.2f, 0.2f, 1.0f));

    glDisable(GL_DEPTH_TEST);
    setOrthoEffect(m);
    fx.sampleSmall = fx.targetSmall = 1;
    fx.grab(0);
    fx.show(0, showAlpha);
    fx.grab(1);
    fx.burn(1, feedbackPasses, 1.0f);
    fx.grab(1);
    fx.blur(1, {.passes = 6, .stretchX = 2.0f, .stretchY = 2.0f, .spread = 0.020833334f});
    fx.grab(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setOrthoScreen(m);
    fx.sampleSmall = fx.targetSmall = 0;
    glEnable(GL_DEPTH_TEST);
}

void PotkoScene::fullPass(float bright, float s) {
    Model& m = *model;
    EffectBuffers& fx = *effects_;
    MeshObject& sky = m.mesh(kSky);
    sky.alpha = 1.0f;
    sky.renderMode = RenderMode::TextureReflect;
    sky.ambient = scaled(Vec4(0.55f, 0.333333f, 0.333333f, 1.0f), bright);
    sky.colour = scaled(Vec4(0.22f, 0.073333f, 0.066667f, 1.0f), bright);
    setPerspectiveScreen(m, camera);
    drawObject(m, kSky, light, 0, kWorkingShape);
    drawTower(Vec4(1.2f, 0.4f, 0.05f, 1.0f), Vec4(0.3885f, 0.3465f, 0.252f, 1.0f));

    // The glow, stretched from the small copy over the whole frame.
    setOrthoScreen(m);
    glDisable(GL_DEPTH_TEST);
    fx.sampleSmall = 1;
    fx.targetSmall = fx.spare1 = fx.spare2 = 0;
    fx.overlay(0, 1.0f, 0.0f, 0);
    fx.sampleSmall = 0;

    const float spread = potkoOpeningBlur(s);
    if (spread != 0.0f) {
        fx.grab(3);
        fx.blur(3, {.passes = 5, .spread = spread});
    }
    setOrthoScreen(m);
    glDisable(GL_DEPTH_TEST);
}

void PotkoScene::render(int dt) {
    if (!model || !effects_ || model->objectCount <= kTower) return;
    Model& m = *model;
    effects_->streakFade = 0.0f;
    clock.advance(dt);
    const float s = clock.time * 0.001f;

    lightPath.advance(light.position, 15.0f, static_cast<float>(dt));
    light.position.scale(-0.7f);
    light.position.y *= 0.3f;

    camera.position = cameraPosition(s);
    camera.aimAt(Vec3(0.0f, -10.0f, 0.0f));
    setOrthoScreen(m);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    camera.squareUp();
    m.mesh(kTower).rotationX = 0.0f;

    const float bright = std::sqrt(fadeInOver(s, 0.0f, kOpeningSeconds));
    const float w7 = 0.7f * fadeInOver(s, 1.0f, 2.0f); // the squeeze and sway grow in over [1, 3] s
    const float throb = potkoThrob(clock.time);
    const float kick = potkoKick(clock.time);
    beatClock += (3.25f * throb + 1.0f) * clock.frameSeconds;
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
