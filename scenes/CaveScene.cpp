#include "scenes/CaveScene.h"

#include "anim/Envelope.h"
#include "anim/Random.h"
#include "assets/TextureSlots.h"
#include "math/Angles.h"
#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/MeshRenderer.h"
#include "render/geometry/Normals.h"
#include "render/PassState.h"
#include "render/ShadowVolume.h"
#include "render/Transform.h"
#include "scenes/Material.h"
#include "scenes/ShadowedFrame.h"

#include <cmath>
#include <cstdio>

namespace {

CaveGreeting greetingAt(int k) {
    const CaveGreetingPlace& p = kCaveGreetingPlaces[k];
    const auto f = [](double v) { return static_cast<float>(v); };
    return {f(p.start), f(p.lead), Vec3(f(p.offset[0]), f(p.offset[1]), f(p.offset[2])),
            Vec3(f(p.rotation[0]), f(p.rotation[1]), f(p.rotation[2]))};
}

} // namespace

const CaveGreeting kCaveGreetings[kCaveGreetingCount] = {greetingAt(0), greetingAt(1), greetingAt(2), greetingAt(3),
                                                         greetingAt(4)};

namespace {

constexpr std::uint32_t kJitterSeed = 123;

// The passage's centre line, (x, z) in the designer's table units; the paths scale it by 15 about
// the table's centre.
constexpr float kCaveTable[44][2] = {
    {0.84422f, 8.3402f},    {1.2531f, 6.7326f},    {0.84422f, 4.3213f},  {0.45996f, 1.7583f},
    {-1.4821f, 1.9592f},    {-3.9729f, 1.599f},    {-5.8317f, 2.3244f},  {-7.2626f, 2.1234f},
    {-3.9308f, 1.2216f},    {-4.6884f, -1.2878f},  {-5.5061f, -2.9958f}, {-4.8929f, -3.2972f},
    {-4.0752f, -0.082101f}, {-1.9931f, 1.3564f},   {0.97101f, 1.3564f},  {3.2197f, 1.5573f},
    {5.0595f, 0.75354f},    {6.3883f, -0.75354f},  {6.8993f, -0.55016f}, {4.344f, 1.2559f},
    {1.2777f, 1.5573f},     {0.50868f, 0.95449f},  {0.58813f, -1.3564f}, {-0.15332f, -3.1649f},
    {0.45996f, -4.471f},    {1.3799f, -4.0691f},   {0.76659f, -2.763f},  {-1.3799f, -3.8682f},
    {0.051106f, -4.1696f},  {-0.21775f, -6.2795f}, {-0.52438f, -8.289f}, {0.59995f, -7.7866f},
    {-0.013323f, -5.2748f}, {0.56217f, -3.6672f},  {2.5042f, -3.8682f},  {5.3056f, -4.2848f},
    {5.7144f, -5.39f},      {3.7724f, -4.4857f},   {0.35774f, -3.2654f}, {0.50868f, -0.5526f},
    {-0.051106f, 1.5573f},  {1.0486f, 3.7184f},    {0.6398f, 6.3307f},   {0.74201f, 7.4359f},
};
constexpr float kTableScale = 15.0f;
constexpr float kTableCentreX = 0.689204f;
constexpr float kTableCentreY = 0.001438f;
constexpr float kTableCentreZ = 1.668403f;
constexpr float kJitterHeight = 6.0f; // the lantern's path is spread this much up and down

// The lantern floats this far ahead of the camera, and the camera aims this far ahead.
constexpr float kLanternLeadMs = 1000.0f;
constexpr float kAimLeadMs = 3000.0f;
constexpr float kCameraLift = 1.7f;  // times the lantern's height
constexpr float kSwayShare = -0.12f; // of the sway loop in the lantern's position

const Vec4 kBlack{0.0f, 0.0f, 0.0f, 1.0f};

constexpr ModelFile kModels[] = {
    {"Models/greet1.3ds", static_cast<float>(kCaveGreetingPlaces[0].vertexScale), 1.0f},
    {"Models/greet2.3ds", static_cast<float>(kCaveGreetingPlaces[1].vertexScale), 1.0f},
    {"Models/greet3.3ds", static_cast<float>(kCaveGreetingPlaces[2].vertexScale), 1.0f},
    {"Models/greet4.3ds", static_cast<float>(kCaveGreetingPlaces[3].vertexScale), 1.0f},
    {"Models/greet5.3ds", static_cast<float>(kCaveGreetingPlaces[4].vertexScale), 1.0f},    {"Models/luola2.3ds", 15.0f, 2.0f},
    {"Models/holeboxsd.3ds", 2.0f, 1.0f}, {"Models/bitball.3ds", 0.9f, 1.0f},
};

// A small loop whose share sways the lantern.
constexpr Vec3 kSwayLoop[] = {{-17, 0, -5}, {-14, 3, 4}, {0, -3, 6}, {15, 2, 4}, {16, 0, -6}, {0, 3, -7}};

// Blurred so far that the fast path may draw it at half size.
const ShadowMaskLook kCaveShadowMask{
    .copy = Copy::Work,
    .blur = {.passes = 5, .stretchX = 1.25f, .stretchY = 1.25f, .spread = 0.041666668f},
    .drawnAtHalfSize = true};

// What the passes change of a mesh's look; specular stays black and alpha whole throughout.
struct PassLook {
    RenderMode renderMode;
    int layered;
    Vec4 colour;
    Vec4 ambient;
};

void drawAs(Model& m, int mesh, const SceneLight& light, const PassLook& look, int geometry) {
    MeshObject& o = m.mesh(mesh);
    o.renderMode = look.renderMode;
    o.layered = look.layered;
    o.colour = look.colour;
    o.ambient = look.ambient;
    o.specular = kBlack;
    o.alpha = 1.0f;
    drawObject(m, mesh, light, geometry);
}

// The greetings' lighting in the shaft and lit passes.
void lightGreeting(MeshObject& o) {
    o.shininess = 0.82f;
    o.envAlpha = 1.0f;
    o.constantAttenuation = 0.035f;
    o.linearAttenuation = 0.02f;
    o.quadraticAttenuation = 0.0f;
    o.spotExponent = 0.05f;
    o.lightW = 0.0f;
}

// The angle a whole number of turns away from angle that lies nearest to reference. angleOf
// jumps by a full turn where a direction crosses its seam; half way through a fade that jump
// would spin the lantern round in one frame.
float nearestTurn(float angle, float reference) {
    constexpr float kTurn = 2.0f * kShowPi;
    return angle + kTurn * std::round((reference - angle) / kTurn);
}

} // namespace

float caveGreetingShown(int k, float campos) {
    const float start = kCaveGreetings[k].start;
    return fadeInOutOver(campos, start, 0.035f, start + 0.07f, 0.01f);
}

void CaveScene::setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    stage.setup({screenWidth, screenHeight, effectWidth, effectHeight}, kModels, Vec3(1.01f, 1.01f, 1.01f));

    seedRandom(kJitterSeed);
    SplinePath sway = closedPath(kSwayLoop, 5.0f);
    swayPath = resampledLoop(sway);

    // The lantern's path is the cave's with each point moved up or down at random.
    cavePath = SplinePath(100, true);
    SplinePath jittered(100, true);
    for (const auto& row : kCaveTable) {
        const float x = -kTableScale * (row[0] - kTableCentreX);
        const float y = -kTableScale * (0.0f - kTableCentreY);
        const float z = kTableScale * (row[1] - kTableCentreZ);
        cavePath.addPoint(x, y, z);
        jittered.addPoint(x, drawRandomFraction() * kJitterHeight + y - 0.5f * kJitterHeight, z);
    }
    cavePath.build(8.0f, true);
    cameraPath = resampledLoop(cavePath);
    jittered.build(8.0f, true);
    lanternPath = resampledLoop(jittered);
    if (!stage.ready) return;

    Model& m = *stage.model;
    for (int k = 0; k < kCaveGreetingCount; ++k) {
        const int g = kFirstGreeting + k;
        prepareShadowCaster(m, g);
        resetWorkPositions(m, g);
        computeCreaseNormals(m, g, 0.82f);
        applyMaterial(m.mesh(g), Material{.texture = TextureSlot::KivisementtiBB,
                                          .cubeTexture = TextureSlot::CubeEnv1gr,
                                          .renderMode = RenderMode::TextureReflect,
                                          .colour = {1.0f, 0.4f, 0.1f, 1.0f},
                                          .ambient = {0.25f, 0.15f, 0.075f, 1.0f},
                                          .constantAttenuation = 0.05f,
                                          .linearAttenuation = 0.025f,
                                          .spotExponent = 0.05f,
                                          .lightW = 0.0f});
    }

    prepareShadowCaster(m, kCave);
    MeshObject& cave = m.mesh(kCave);
    applyMaterial(cave, Material{.texture = TextureSlot::KivisementtiBB,
                                 .cubeTexture = TextureSlot::CubeEnv1gr,
                                 .renderMode = RenderMode::Reflect,
                                 .colour = {0.66f, 0.7f, 0.8f, 1.0f},
                                 .ambient = {0.2f, 0.2f, 0.24f, 1.0f},
                                 .constantAttenuation = 0.1f,
                                 .linearAttenuation = 0.15f,
                                 .spotExponent = 0.0001f});
    cave.sphereMap = 1;

    resetWorkPositions(m, kLantern);
    computeCreaseNormals(m, kLantern, 0.7f);
    prepareShadowCaster(m, kLantern);
    applyMaterial(m.mesh(kLantern), kBlueStoneMaterial);

    applyMaterial(m.mesh(kBulb), kLightBallMaterial);
    m.mesh(kBulb).translation.set(0.0f, 0.0f, 0.0f);
}

// The camera flies the resampled cave path, lifted with the lantern's height and aimed three
// seconds ahead; the lantern floats one second ahead on its jittered path, swaying a little, and
// swings on its own.
void CaveScene::moveFlight(float moved, float seconds) {
    CameraFrame& camera = stage.camera;
    SceneLight& light = stage.light;
    cameraPath.advance(camera.position, kCameraSpeed, moved);
    const float aimAt = cameraPath.peek(kCameraSpeed, kAimLeadMs);
    const float lanternAt = cameraPath.peek(kCameraSpeed, kLanternLeadMs);

    Vec3 ahead;
    lanternPath.evaluate(ahead, lanternAt);
    swayPath.advance(light.position, kCameraSpeed, moved);
    light.position.scale(kSwayShare);
    light.position.sub(ahead);

    cavePath.evaluate(target, aimAt);
    camera.position.y += kCameraLift * ahead.y;
    camera.aimAt(target);

    MeshObject& lantern = stage.model->mesh(kLantern);
    lantern.rotationX = 2.002f * std::sin(kScenePi * std::sin(0.25f * seconds));
    lantern.rotationZ = 0.736f * std::sin(0.13f * seconds);
}

// Each greeting stands in its place; while one is shown the camera and the lantern's front
// window swing towards it. Where two windows overlap both turns apply, the later one last.
void CaveScene::turnToGreetings(float seconds) {
    Model& m = *stage.model;
    MeshObject& lantern = m.mesh(kLantern);
    for (int k = 0; k < kCaveGreetingCount; ++k) {
        const CaveGreeting& greeting = kCaveGreetings[k];
        MeshObject& g = m.mesh(kFirstGreeting + k);
        Vec3 at;
        cameraPath.evaluate(at, greeting.start + greeting.lead);
        g.translation.set(greeting.offset.x - at.x, greeting.offset.y - at.y, greeting.offset.z - at.z);
        g.rotationX = greeting.rotation.x;
        g.rotationY = greeting.rotation.y;
        g.rotationZ = greeting.rotation.z;

        const float t = caveGreetingShown(k, campos());
        greetingVisible[k] = t != 0.0f;
        if (!greetingVisible[k]) continue;
        const float s = 1.0f - t;
        const Vec3 d = g.translation.minus(stage.light.position);
        const float heading = nearestTurn(angleOf(d.z, d.x), -lantern.rotationY);
        lantern.rotationX *= s;
        lantern.rotationY *= s;
        lantern.rotationZ *= s;
        lantern.rotationY -= t * heading;
        lantern.rotationX = t * angleOf(d.y, std::sqrt(d.z * d.z + d.x * d.x));

        // The aim point is in the camera path's space, the greeting's place mirrored.
        Vec3 drift;
        swayPath.evaluate(drift, 0.1f * seconds);
        target.set(s * target.x - t * g.translation.x + 0.01f * drift.x,
                   s * target.y - t * g.translation.y + 0.01f * drift.y,
                   s * target.z - t * g.translation.z + 0.01f * drift.z);
        stage.camera.aimAt(target);
    }
}

// The bulb, the lantern round it nearly black and the cave and greetings dimmed: the bulb shines
// only through the holes, and the streaks from the lantern's place on screen turn those openings
// into shafts.
void CaveScene::drawShaftPicture() {
    Model& m = *stage.model;
    const SceneLight& light = stage.light;
    MeshObject& bulb = m.mesh(kBulb);
    bulb.translation = light.position;
    bulb.scale.set(1.0f, 1.0f, 1.0f);
    drawAs(m, kBulb, light,
           {RenderMode::Untextured, 1, {0.535f, 0.431f, 0.275f, 1.0f}, {1.32f, 0.96f, 0.444f, 1.0f}},
           kRestShape);
    m.mesh(kLantern).translation = light.position;
    drawAs(m, kLantern, light,
           {RenderMode::Reflect, 0, {0.01f, 0.0f, 0.0f, 1.0f}, {0.035f, 0.015f, 0.01f, 0.25f}}, kRestShape);
    drawAs(m, kCave, light,
           {RenderMode::Textured, 1, {0.01f, 0.01f, 0.01f, 1.0f}, {0.005f, 0.005f, 0.005f, 1.0f}},
           kRestShape);
    for (int k = 0; k < kCaveGreetingCount; ++k) {
        if (!greetingVisible[k]) continue;
        lightGreeting(m.mesh(kFirstGreeting + k));
        drawAs(m, kFirstGreeting + k, light,
               {RenderMode::TextureReflect, 0, {0.07f, 0.0125f, 0.01f, 1.0f}, {0.025f, 0.01f, 0.0075f, 1.0f}},
               kWorkingShape);
    }
}

// The cave, the lantern and the greetings shown, as they look when lit.
void CaveScene::drawLit() {
    Model& m = *stage.model;
    const SceneLight& light = stage.light;
    drawAs(m, kCave, light, {RenderMode::Textured, 1, {0.5f, 0.55f, 0.5f, 1.0f}, {0.16f, 0.12f, 0.12f, 1.0f}},
           kRestShape);
    drawAs(m, kLantern, light,
           {RenderMode::Reflect, 1, {0.7f, 0.7f, 0.7f, 1.0f}, {0.05f, 0.06f, 0.03f, 1.0f}}, kRestShape);
    for (int k = 0; k < kCaveGreetingCount; ++k) {
        if (!greetingVisible[k]) continue;
        drawAs(m, kFirstGreeting + k, light,
               {RenderMode::TextureReflect, 0, {0.7f, 0.125f, 0.1f, 1.0f}, {0.25f, 0.1f, 0.075f, 1.0f}},
               kWorkingShape);
    }
}

// White where the lantern's light gets out through its holes, black in the shadows of the
// lantern, of the cave's own bends and of the greetings shown.
void CaveScene::drawMaskSurfaces() {
    Model& m = *stage.model;
    const PassLook white{RenderMode::Untextured, 0, kMaskWhite, kMaskWhite};
    drawAs(m, kCave, stage.light, white, kRestShape);
    drawAs(m, kLantern, stage.light, white, kRestShape);
    for (int k = 0; k < kCaveGreetingCount; ++k)
        if (greetingVisible[k]) drawAs(m, kFirstGreeting + k, stage.light, white, kWorkingShape);
}

void CaveScene::render(int dt) {
    if (dt == 0 || !stage.open(dt)) return;
    const float seconds = stage.clock.time * 0.001f;
    {
        LogicTimer logic;
        moveFlight(stage.clock.moved, seconds);
    }
    stage.startFrame();
    if (printCampos) std::printf("campos_time is %f\n", static_cast<double>(campos()));
    turnToGreetings(seconds);

    shaftCentre = shaftPass(
        stage,
        {.burnPasses = 1,
         .zoom = {.passes = 12, .alpha = 0.88f, .angle = 0.5f, .strength = 0.135f, .streakFade = 0.8f}},
        [&] { drawShaftPicture(); });
    litPass(stage, [&] { drawLit(); });
    // The lantern's volume follows its swing; the cave and the greetings stand still.
    ShadowCaster casters[2 + kCaveGreetingCount] = {{kLantern, worldFromWorking}, {kCave, worldFromRest}};
    int casterCount = 2;
    for (int k = 0; k < kCaveGreetingCount; ++k)
        if (greetingVisible[k]) casters[casterCount++] = {kFirstGreeting + k, worldFromRest};
    shadowMaskPass(stage, std::span(casters, static_cast<std::size_t>(casterCount)), kCaveShadowMask,
                   [&] { drawMaskSurfaces(); });
    composeShadowedFrame(*stage.effects, kCaveShadowMask);
    applyPassState(kScreenPass);
}
