#include "scenes/ClosingScene.h"

#include "anim/Envelope.h"
#include "assets/TextureSlots.h"
#include "math/Angles.h"
#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/geometry/Deform.h"
#include "render/MeshRenderer.h"
#include "render/geometry/Normals.h"
#include "render/ShadowVolume.h"
#include "render/Transform.h"
#include "scenes/BeatPulse.h"
#include "scenes/Lattice.h"
#include "scenes/Material.h"
#include "scenes/ShadowedFrame.h"

#include <algorithm>
#include <cmath>

namespace {

// The word's twist: in over the first 1.5 s of each 8 s cycle, out from 4 s over 1.5 s.
constexpr int kTwistCycle = 8000;
constexpr int kTwistOffset = 3000;

// The room's lumps: noise sampled at this scale of the loaded positions, shifted well away from
// the origin because the noise is only continuous for positive inputs.
constexpr float kLumpFrequency = 0.03f;
constexpr float kLumpShift = 1000.0f;
constexpr float kLumpDepth = 20.0f;
constexpr float kLumpBias = 0.95f; // nearly every lump pushes the wall inwards

constexpr float kLightSpeed = 5.0f; // units per second along the light's path
// The light's path is raised (screen-up is -y) so that from the camera the light hangs clear above
// the word instead of on its top edge: its marker and shafts frame the letters rather than cross
// them. Hidden behind the word, the low-resolution glow would shine through the gaps of the letters.
constexpr float kLightRise = 1.5f;

const Vec4 kBlack{0.0f, 0.0f, 0.0f, 1.0f};

constexpr ModelFile kModels[] = {
    {"Models/backball2.3ds", 1.5f, 1.0f},
    {"Models/text_castr.3ds", 7.0f, 1.0f},
    {"Models/ball.3ds", 5.0f, 1.0f},
};

// The light wanders round the word on this loop.
constexpr Vec3 kLightLoop[] = {{-1.7f, 2.0f, 11.5f}, {1.4f, 3.3f, 10.5f}, {0.0f, 0.7f, 12.5f},
                               {-1.5f, 3.2f, 10.5f}, {1.6f, 2.0f, 12.5f}, {0.0f, 2.0f, 6.5f},
                               {0.0f, 3.3f, 13.5f}};

// The word's lattice wave, slower than the title's and narrower across.
constexpr LatticeWave kTitleWave{.rate = 0.4f, .widenX = 0.75f, .heightScale = 2.5f};

// Lightly blurred: the word's thin lines of light and shadow keep the fixed renderer's mask at full
// size. At half size they come out 1 to 3 dB further from the reference, no difference to see.
const ShadowMaskLook kClosingShadowMask{
    .copy = Copy::Wrapping,
    .blur = {.passes = 2, .stretchX = 1.25f, .stretchY = 1.25f, .spread = 0.010416667f},
    .halfSizeWhereShaded = true};

} // namespace

float closingBeat(float sceneClock) {
    using namespace timetable;
    return beatPulse(sceneClock, kClosingBeat, kClosingAfterBeat, kClosingAfterBeatPause);
}

float closingTwistAmount(float sceneClock) {
    const float x = static_cast<float>(static_cast<int>(sceneClock + kTwistOffset) % kTwistCycle);
    return fadeInOutOver(x, 0.0f, 1500.0f, 4000.0f, 1500.0f);
}

Vec3 closingCameraPosition(float seconds) {
    const float w = seconds * 0.4f;
    Vec3 p(5.0f * std::sin(0.3425f * w), 2.3f * std::cos(0.25f * w), 3.5f * std::cos(0.1625f * w) + 11.0f);
    p.scale(0.85f);
    return p;
}

void ClosingScene::setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    stage.setup({screenWidth, screenHeight, effectWidth, effectHeight}, kModels, Vec3(1.01f, 1.01f, 1.01f));

    // Sixteen rows of four handles, the rows running up the word's height.
    stackRings(kSquareCorners, kHandleRows, -1.0f, 2.0f / 15.0f, lattice.rest);
    lattice.prepare(1.0f, 40.0f);

    lightPath = resampledLoop(kLightLoop, 5.0f);
    roomNoise = NoiseField(512, 511, 222);
    if (!stage.ready) return;

    Model& m = *stage.model;
    prepareShadowCaster(m, kRoom);
    lumpRoom();

    MeshObject& title = m.mesh(kTitle);
    title.translation.y += 2.4f;
    resetWorkPositions(m, kTitle);
    computeCreaseNormals(m, kTitle, 0.7f);
    prepareShadowCaster(m, kTitle);

    applyMaterial(m.mesh(kRoom), Material{.texture = TextureSlot::Env1pubi,
                                          .cubeTexture = TextureSlot::CubeEnv1pubi,
                                          .renderMode = RenderMode::Reflect,
                                          .colour = {0.66f, 0.7f, 0.8f, 1.0f},
                                          .ambient = {0.2f, 0.2f, 0.24f, 1.0f},
                                          .constantAttenuation = 0.5f,
                                          .linearAttenuation = 0.5f,
                                          .spotExponent = 0.0001f});
    applyMaterial(title, kBlueStoneMaterial);
    applyMaterial(m.mesh(kBulb), kLightBallMaterial);
    m.mesh(kBulb).translation.set(0.0f, 0.0f, 0.0f);
}

// Pushes the room's wall in along its normals by a fixed noise: the lumps never move, so they are
// made once.
void ClosingScene::lumpRoom() {
    Model& m = *stage.model;
    resetWorkPositions(m, kRoom);
    computeSmoothNormals(m, kRoom);
    MeshObject& room = m.mesh(kRoom);
    for (int v = 0; v < room.vertexCount; ++v) {
        Vec3& p = room.workPositions[static_cast<std::size_t>(v)];
        const Vec3& n = room.vertexNormals[static_cast<std::size_t>(v)];
        const float h = std::clamp(roomNoise.fbm(std::fabs(kLumpFrequency * p.x + kLumpShift),
                                                 std::fabs(kLumpFrequency * p.y + kLumpShift),
                                                 std::fabs(kLumpFrequency * p.z + kLumpShift), 1),
                                   -1.0f, 1.0f);
        const float push = -kLumpDepth * (h + kLumpBias);
        p.set(p.x + push * n.x, p.y + push * n.y, p.z + push * n.z);
    }
    computeSmoothNormals(m, kRoom);
}

// The lattice's wave with its handles cubed across (cubes keep their sign), let through by the
// twist's cycle.
void ClosingScene::shapeTitle(float seconds) {
    lattice.wave(seconds, kTitleWave);
    for (Vec3& h : lattice.moved) {
        h.x = h.x * h.x * h.x;
        h.z = h.z * h.z * h.z;
    }
    Model& m = *stage.model;
    lattice.bend(m, kTitle);
    const float x = closingTwistAmount(stage.clock.time);
    MeshObject& o = m.mesh(kTitle);
    if (x != 1.0f) {
        for (int v = 0; v < o.vertexCount; ++v) {
            Vec3& p = o.workPositions[static_cast<std::size_t>(v)];
            const Vec3& r = o.positions[static_cast<std::size_t>(v)];
            p.set(x * p.x + (1.0f - x) * r.x, x * p.y + (1.0f - x) * r.y, x * p.z + (1.0f - x) * r.z);
        }
    }
    computeCreaseNormals(m, kTitle, 0.88f);
}

// The light, the word as a black cut-out and the dimmed room, for the shafts.
void ClosingScene::drawShaftPicture(float beat) {
    Model& m = *stage.model;
    const SceneLight& light = stage.light;
    MeshObject& bulb = m.mesh(kBulb);
    bulb.translation = light.position;
    bulb.scale.set(1.0f, 1.0f, 1.0f);
    bulb.colour.set(0.3f, 0.15f, 0.15f, 1.0f);
    bulb.specular = kBlack;
    bulb.ambient.set(0.4f, 0.3f, 0.22f, 1.0f);
    bulb.renderMode = RenderMode::Untextured;
    bulb.layered = 0;
    drawObject(m, kBulb, light, kRestShape);

    MeshObject& title = m.mesh(kTitle);
    title.renderMode = RenderMode::Untextured;
    title.alpha = 1.0f;
    title.layered = 0;
    title.colour = title.specular = title.ambient = kBlack;
    drawObject(m, kTitle, light, kWorkingShape);

    // The room's glow drops out on the beat, leaving the light's own shafts.
    const float h = 0.4f * (1.0f - beat);
    shaftRoomDrawn = h != 0.0f;
    if (shaftRoomDrawn) {
        MeshObject& room = m.mesh(kRoom);
        room.renderMode = RenderMode::TextureReflect;
        room.sphereMap = 1;
        room.layered = 1;
        room.ambient.set(0.142f * h, 0.13f * h, 0.124f * h, 1.0f);
        room.colour.set(0.71f * h, 0.151f * h, 0.131f * h, 1.0f);
        drawObject(m, kRoom, light, kWorkingShape);
    }
}

// The room (textured with the last frame) and the word, as they look when lit.
void ClosingScene::drawLit() {
    Model& m = *stage.model;
    MeshObject& room = m.mesh(kRoom);
    room.renderMode = RenderMode::TextureReflect;
    room.sphereMap = 0;
    room.layered = 1;
    room.ambient.set(2.464f, 0.992f, 0.328f, 1.0f);
    room.colour.set(1.91f, 0.71f, 0.41f, 1.0f);
    drawObject(m, kRoom, stage.light, kWorkingShape);

    MeshObject& title = m.mesh(kTitle);
    title.renderMode = RenderMode::Reflect;
    title.alpha = 1.0f;
    title.layered = 1;
    title.colour.set(0.56f, 0.55f, 0.54f, 1.0f);
    title.specular = kBlack;
    title.ambient.set(0.52f, 0.042f, 0.042f, 1.0f);
    drawObject(m, kTitle, stage.light, kWorkingShape);
}

// White wherever the light reaches, black in the shadows of the word and of the room's lumps.
void ClosingScene::drawMaskSurfaces() {
    Model& m = *stage.model;
    MeshObject& room = m.mesh(kRoom);
    room.renderMode = RenderMode::Untextured;
    room.layered = 0;
    room.ambient = room.colour = kMaskWhite;
    drawObject(m, kRoom, stage.light, kWorkingShape);

    MeshObject& title = m.mesh(kTitle);
    title.renderMode = RenderMode::Untextured;
    title.alpha = 1.0f;
    title.layered = 0;
    title.colour = title.ambient = kMaskWhite;
    title.specular = kBlack;
    drawObject(m, kTitle, stage.light, kWorkingShape);
}

void ClosingScene::render(int dt) {
    if (!stage.open(dt)) return;
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const float seconds = stage.clock.time * 0.001f;

    // The light follows its path in x, y at half size and in z at full size, by the delta the
    // clock took: a stalled frame or a long seek does not fling it along its loop.
    SceneLight& light = stage.light;
    lightPath.advance(light.position, kLightSpeed, stage.clock.moved);
    light.position.x *= 0.5f;
    light.position.y = 0.5f * light.position.y - kLightRise;

    stage.camera.position = closingCameraPosition(seconds);
    stage.camera.aimAt(Vec3(0.0f, 0.0f, 0.0f));
    stage.startFrame();

    MeshObject& title = m.mesh(kTitle);
    title.rotationZ = 0.0f;
    title.rotationX = 0.32f * std::sin(kScenePi * std::sin(0.5f * seconds));

    const float beat = closingBeat(stage.clock.time);
    {
        LogicTimer logic;
        shapeTitle(seconds);
    }

    // The shafts lengthen on the beat.
    shaftCentre = shaftPass(stage,
                            {.burnPasses = 2,
                             .zoom = {.passes = 8,
                                      .alpha = 0.82f,
                                      .angle = 0.4f,
                                      .strength = (beat + 1.0f) * 0.01f,
                                      .streakFade = 0.5f},
                             .pictureAtHalfWidth = true},
                            [&] { drawShaftPicture(beat); });
    litPass(stage, [&] { drawLit(); });
    const ShadowCaster casters[] = {{kTitle, worldFromWorking}, {kRoom, worldFromWorking}};
    shadowMaskPass(stage, casters, kClosingShadowMask, [&] { drawMaskSurfaces(); });
    composeShadowedFrame(fx, kClosingShadowMask);

    // Feedback: from the next frame on the room wears this one.
    fx.grab(Copy::Picture);
    m.mesh(kRoom).texture = fx.textureOf(Copy::Picture);
    setOrthoScreen(m);
}
