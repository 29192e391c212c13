#include "scenes/ClosingScene.h"

#include "anim/Envelope.h"
#include "assets/TextureSlots.h"
#include "math/Angles.h"
#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/Deform.h"
#include "render/MeshRenderer.h"
#include "render/Normals.h"
#include "render/ShadowVolume.h"
#include "render/Transform.h"
#include "scenes/BeatPulse.h"
#include "scenes/Material.h"
#include "scenes/ShadowedFrame.h"

#include <GL/gl.h>

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

// Lightly blurred: the word's thin lines of light and shadow need it drawn at full size.
const ShadowMaskLook kClosingShadowMask{
    .copy = 3, .blur = {.passes = 2, .stretchX = 1.25f, .stretchY = 1.25f, .spread = 0.010416667f}};

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
    model = std::make_unique<Model>(10000, screenWidth, screenHeight, effectWidth, effectHeight);
    Model& m = *model;
    m.flipFaceNormals = 1;

    // Sixteen rows of four handles, the rows running up the word's height.
    const float corners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    float y = -1.0f;
    for (int r = 0; r < kHandleRows; ++r, y += 2.0f / 15.0f) {
        for (int c = 0; c < 4; ++c) {
            restHandles[4 * r + c].set(corners[c][0], y, corners[c][1]);
            handleStrength[4 * r + c] = 1.0f;
            handleRadius2[4 * r + c] = 40.0f;
        }
    }

    light.setColour(1.01f, 1.01f, 1.01f);
    light.camera = &camera;
    light.position.set(0.0f, 0.0f, 0.0f);
    camera.position.set(0.0f, 5.0f, -25.0f);
    camera.forward.set(0.0f, 0.0f, 1.0f);

    SplinePath rough(100, true);
    const float points[7][3] = {{-1.7f, 2.0f, 11.5f}, {1.4f, 3.3f, 10.5f}, {0.0f, 0.7f, 12.5f},
                                {-1.5f, 3.2f, 10.5f}, {1.6f, 2.0f, 12.5f}, {0.0f, 2.0f, 6.5f},
                                {0.0f, 3.3f, 13.5f}};
    for (const auto& p : points) rough.addPoint(p[0], p[1], p[2]);
    rough.build(5.0f, true);
    rough.planResample();
    lightPath = SplinePath(rough.resampleCount, true);
    rough.resampleInto(lightPath);

    // Each file holds one mesh; its index stays -1 when the file could not be read.
    auto loadInto = [&m](int& index, const char* file, float vertexScale) {
        const int next = m.objectCount;
        m.vertexScale = vertexScale;
        m.texCoordScale = 1.0f;
        m.load(file);
        if (m.objectCount > next) index = next;
    };
    loadInto(roomIndex, "Models/backball2.3ds", 1.5f);
    loadInto(titleIndex, "Models/text_castr.3ds", 7.0f);
    loadInto(bulbIndex, "Models/ball.3ds", 5.0f);

    roomNoise = NoiseField(512, 511, 222);
    if (!ready()) return;

    prepareShadowCaster(m, roomIndex);
    lumpRoom();

    MeshObject& title = m.mesh(titleIndex);
    title.translation.y += 2.4f;
    resetWorkPositions(m, titleIndex);
    computeCreaseNormals(m, titleIndex, 0.7f);
    prepareShadowCaster(m, titleIndex);

    applyMaterial(m.mesh(roomIndex), Material{.texture = TextureSlot::Env1pubi,
                                              .cubeTexture = TextureSlot::CubeEnv1pubi,
                                              .renderMode = RenderMode::Reflect,
                                              .colour = {0.66f, 0.7f, 0.8f, 1.0f},
                                              .ambient = {0.2f, 0.2f, 0.24f, 1.0f},
                                              .constantAttenuation = 0.5f,
                                              .linearAttenuation = 0.5f,
                                              .spotExponent = 0.0001f});
    applyMaterial(title, kBlueStoneMaterial);
    applyMaterial(m.mesh(bulbIndex), kLightBallMaterial);
    m.mesh(bulbIndex).translation.set(0.0f, 0.0f, 0.0f);
}

bool ClosingScene::ready() const { return model && roomIndex >= 0 && titleIndex >= 0 && bulbIndex >= 0; }

// Pushes the room's wall in along its normals by a fixed noise: the lumps never move, so they are
// made once.
void ClosingScene::lumpRoom() {
    Model& m = *model;
    resetWorkPositions(m, roomIndex);
    computeSmoothNormals(m, roomIndex);
    MeshObject& room = m.mesh(roomIndex);
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
    computeSmoothNormals(m, roomIndex);
}

void ClosingScene::moveHandles(float seconds) {
    for (int k = 0; k < kHandleCount; ++k) {
        const Vec3& r = restHandles[k];
        const float d = r.x * r.x + r.z * r.z;
        const float a = std::cos(9.42477f * d * r.y);
        const float b = std::sin(5.026544f * r.y * (0.3f * a + 1.0f) + 0.4f * seconds);
        const float f = 0.9f * b + 1.0f;
        const float g = 0.5f * f;
        Vec3 moved((g + 0.75f) * r.x, 2.5f * r.y, (g + 1.0f) * r.z);
        rotateY(moved, 0.5f * std::sin(f + 6.0f * r.y) / (0.1f * d + 1.0f));
        moved.x = moved.x * moved.x * moved.x; // cubes keep their sign
        moved.z = moved.z * moved.z * moved.z;
        movedHandles[k] = moved;
    }
}

void ClosingScene::shapeTitle() {
    Model& m = *model;
    deformWeighted(m, titleIndex, kHandleCount, movedHandles, restHandles, handleStrength, handleRadius2);
    const float x = closingTwistAmount(clock.time);
    MeshObject& o = m.mesh(titleIndex);
    if (x != 1.0f) {
        for (int v = 0; v < o.vertexCount; ++v) {
            Vec3& p = o.workPositions[static_cast<std::size_t>(v)];
            const Vec3& r = o.positions[static_cast<std::size_t>(v)];
            p.set(x * p.x + (1.0f - x) * r.x, x * p.y + (1.0f - x) * r.y, x * p.z + (1.0f - x) * r.z);
        }
    }
    computeCreaseNormals(m, titleIndex, 0.88f);
}

// The light, the word as a black cut-out and the dimmed room at the small size, burnt, blurred
// and streaked from the light's place on screen.
void ClosingScene::shaftPass(float beat) {
    Model& m = *model;
    EffectBuffers& fx = *effects_;
    glEnable(GL_BLEND);
    fx.sampleSmall = fx.targetSmall = 1;
    glEnable(GL_DEPTH_TEST);
    setPerspectiveEffect(m, camera);

    MeshObject& bulb = m.mesh(bulbIndex);
    bulb.translation = light.position;
    bulb.scale.set(1.0f, 1.0f, 1.0f);
    bulb.colour.set(0.3f, 0.15f, 0.15f, 1.0f);
    bulb.specular = kBlack;
    bulb.ambient.set(0.4f, 0.3f, 0.22f, 1.0f);
    bulb.renderMode = RenderMode::Untextured;
    bulb.layered = 0;
    drawObject(m, bulbIndex, light, 0, kRestShape);

    MeshObject& title = m.mesh(titleIndex);
    title.renderMode = RenderMode::Untextured;
    title.alpha = 1.0f;
    title.layered = 0;
    title.colour = title.specular = title.ambient = kBlack;
    drawObject(m, titleIndex, light, 0, kWorkingShape);

    // The room's glow drops out on the beat, leaving the light's own shafts.
    const float h = 0.4f * (1.0f - beat);
    shaftRoomDrawn = h != 0.0f;
    if (shaftRoomDrawn) {
        MeshObject& room = m.mesh(roomIndex);
        room.renderMode = RenderMode::TextureReflect;
        room.sphereMap = 1;
        room.layered = 1;
        room.ambient.set(0.142f * h, 0.13f * h, 0.124f * h, 1.0f);
        room.colour.set(0.71f * h, 0.151f * h, 0.131f * h, 1.0f);
        drawObject(m, roomIndex, light, 0, kWorkingShape);
    }

    glDisable(GL_DEPTH_TEST);
    shaftCentre = shaftCentreSeenBy(m, camera, light.position);
    // The shafts lengthen on the beat.
    streakShafts(m, fx,
                 {.burnPasses = 2,
                  .streakFade = 0.5f,
                  .zoom = {.passes = 8,
                           .alpha = 0.82f,
                           .angle = 0.4f,
                           .strength = (beat + 1.0f) * 0.01f,
                           .centreX = shaftCentre.x,
                           .centreY = shaftCentre.y}});
}

// The room (textured with the last frame) and the word at full size, as they look when lit.
void ClosingScene::litPass() {
    Model& m = *model;
    beginLitPass(m, camera);

    MeshObject& room = m.mesh(roomIndex);
    room.renderMode = RenderMode::TextureReflect;
    room.sphereMap = 0;
    room.layered = 1;
    room.ambient.set(2.464f, 0.992f, 0.328f, 1.0f);
    room.colour.set(1.91f, 0.71f, 0.41f, 1.0f);
    drawObject(m, roomIndex, light, 0, kWorkingShape);

    MeshObject& title = m.mesh(titleIndex);
    title.renderMode = RenderMode::Reflect;
    title.alpha = 1.0f;
    title.layered = 1;
    title.colour.set(0.56f, 0.55f, 0.54f, 1.0f);
    title.specular = kBlack;
    title.ambient.set(0.52f, 0.042f, 0.042f, 1.0f);
    drawObject(m, titleIndex, light, 0, kWorkingShape);

    effects_->grab(2);
}

// White wherever the light reaches, black in the shadows of the word and of the room's lumps.
void ClosingScene::shadowMask() {
    Model& m = *model;
    beginShadowVolumes(m);
    {
        LogicTimer logic;
        transformToWorld(m, titleIndex, worldFromWorking, true);
        buildShadowVolume(m, titleIndex, light);
        transformToWorld(m, roomIndex, worldFromWorking, true);
        buildShadowVolume(m, roomIndex, light);
    }
    const auto volumes = [&] {
        drawShadowVolume(m, titleIndex);
        drawShadowVolume(m, roomIndex);
    };
    const auto surfaces = [&] {
        MeshObject& room = m.mesh(roomIndex);
        room.renderMode = RenderMode::Untextured;
        room.layered = 0;
        room.ambient = room.colour = kMaskWhite;
        drawObject(m, roomIndex, light, 0, kWorkingShape);

        MeshObject& title = m.mesh(titleIndex);
        title.renderMode = RenderMode::Untextured;
        title.alpha = 1.0f;
        title.layered = 0;
        title.colour = title.ambient = kMaskWhite;
        title.specular = kBlack;
        drawObject(m, titleIndex, light, 0, kWorkingShape);
    };
    drawShadowMask(m, camera, *effects_, kClosingShadowMask, volumes, surfaces);
}

void ClosingScene::render(int dt) {
    if (!model || !effects_) return;
    Model& m = *model;
    EffectBuffers& fx = *effects_;
    fx.streakFade = 0.0f;
    clock.advance(dt);
    if (!ready()) { // a model failed to load: the program is on its way out
        setOrthoScreen(m);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    const float seconds = clock.time * 0.001f;

    // The light follows its path in x, y at half size and in z at full size. It moves by the
    // delta the clock took, so a stalled frame or a long seek does not fling it along its loop.
    const float moved = dt < 2000 ? static_cast<float>(dt) : 0.0f;
    lightPath.advance(light.position, kLightSpeed, moved);
    light.position.x *= 0.5f;
    light.position.y = 0.5f * light.position.y - kLightRise;

    camera.position = closingCameraPosition(seconds);
    camera.aimAt(Vec3(0.0f, 0.0f, 0.0f));
    setOrthoScreen(m);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    camera.squareUp();

    MeshObject& title = m.mesh(titleIndex);
    title.rotationZ = 0.0f;
    title.rotationX = 0.32f * std::sin(3.141592f * std::sin(0.5f * seconds));

    const float beat = closingBeat(clock.time);
    {
        LogicTimer logic;
        moveHandles(seconds);
        shapeTitle();
    }

    shaftPass(beat);
    litPass();
    shadowMask();
    composeShadowedFrame(fx, kClosingShadowMask);

    // Feedback: from the next frame on the room wears this one.
    fx.grab(2);
    m.mesh(roomIndex).texture = static_cast<int>(fx.copyTex[2]);
    setOrthoScreen(m);
}
