#include "scenes/KukkeliScene.h"

#include "anim/Envelope.h"
#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/Billboard.h"
#include "render/Camera.h"
#include "render/MeshRenderer.h"
#include "render/geometry/Normals.h"
#include "render/PassState.h"
#include "render/Transform.h"
#include "scenes/LightTours.h"
#include "scenes/Material.h"

#include <cmath>

namespace {

// The figure model of this scene's data is never seen, so it is not loaded.
constexpr ModelFile kModels[] = {
    {"Models/bigballe.3ds", 50.0f, 0.15f},
    {"Models/tahti3bt.3ds", 1.75f, 1.0f, KukkeliScene::kCopies* KukkeliScene::kStarCount},
};

constexpr float kLightSpeed = 15.0f; // units per second

// The stars flare one by one, 30 ms apart, from this scene time (s); the ball warms up with them.
constexpr float kPopInStart = 69.6f;
constexpr float kPopInSpacing = 0.03f;
constexpr float kPopInLength = 0.2f;
constexpr float kWarmUpLength = 4.0f;

// The credit rows' common angle before the gather turns them.
constexpr float kCreditAngle = 1.94778704f;
constexpr float kCreditWobble = 2.3f;
constexpr float kCreditHalfSize = 18.0f;

float cube(float v) { return v * v * v; }

} // namespace

void advanceSwarmClock(SceneClock& clock, int& previousVariant, int dt, int variant) {
    clock.advance(dt);
    if (clock.time < kSwarmJumpsUntil && variant != previousVariant) clock.time += 1000.0f;
    previousVariant = variant;
}

bool swarmCloseView(float seconds, int variant) {
    return seconds < 36.4f || (variant == 0 && seconds <= 57.0f);
}

float swarmTwist(float seconds) {
    const float y = fadeInOver(seconds, 62.0f, 4.0f);
    const float settled = y * y;
    return 0.165f - 0.05f * (1.0f - settled) * std::cos(2.0f * seconds * 0.0506708064516129f) -
           0.05f * settled;
}

Vec3 swarmStarPosition(float seconds, int j, float twist) {
    const float t = seconds;
    const float fj = static_cast<float>(j);
    const float s = 4.0f * t + fj + 5.0f * std::sin(0.1f * t);
    const float u = twist * s;
    return Vec3(60.0f * std::sin(14.4f * std::cos(0.0051f * t + 0.0408f * u) + 0.0028f * u),
                15.5f * std::sin(5.5f * std::cos(0.125f * t + 0.119f * u)),
                90.0f * std::cos(14.6f * std::sin(0.00541f * t + 0.01122f * u) + 0.00567f * u));
}

int swarmStarState(const Vec3& star, const Vec3& eye, const Vec3& view) {
    Vec3 d = star.minus(eye);
    const float dist = d.length();
    // Within a unit of the eye a star is always drawn: its direction says nothing there.
    if (dist > 1.0f && dot(d, view) < 0.55f * dist) return 0;
    const float depth = std::fabs(dot(d, view));
    if (dist > 40.0f && depth > 6.0f) return 1;
    if (dist > 20.0f && depth > 3.0f) return 2;
    return 3;
}

CreditRow creditRowAt(int row, float creditsSeconds, float seconds, float c0) {
    const float p = fadeInOutOver(creditsSeconds, 3.5f, 1.0f, 5.5f, 1.0f);
    const float q = fadeInOutOver(creditsSeconds, 11.0f, 1.0f, 13.0f, 1.0f);
    const float f = row == 0 ? p : q;
    CreditRow r;
    if (f <= 0.0f) return r;
    r.spread = 1.0f - 0.8f * f;
    // 100 spread + 1 sprites (ten more in the first row), written so that a gathered row (f = 1)
    // gets its full 21: 100 spread would round to just under 20.
    r.count = static_cast<int>(101.0f - 80.0f * f) + (row == 0 ? 10 : 0);
    const float turn = row == 0 ? (1.0f - 0.8f * q) * kCreditAngle : r.spread * kCreditAngle;
    const float a = row == 0 ? 0.12f * seconds + 49.8f : 0.12f * seconds + 36.52f;
    const float radius = 10.0f * c0 + 33.0f;
    r.centre.set(std::sin(0.1f * seconds + (row == 0 ? 30.0f : 22.0f)) * (c0 + 33.0f),
                 std::sin(a) * radius + (row == 0 ? 4.0f : 3.0f), std::cos(a) * radius);
    const float stepLength = 2.5f * r.spread * 2.4f / static_cast<float>(r.count);
    r.step.set(stepLength, stepLength, 0.0f);
    rotateZ(r.step, turn);
    r.alpha = (row == 0 ? 0.5f : 0.75f) * f;
    r.slot = row == 0 ? TextureSlot::Credpe : TextureSlot::Credko;
    r.colour.set(1.0f, row == 0 ? 0.7f : 0.8f, 0.2f, r.alpha);
    return r;
}

Vec3 creditSpritePosition(const CreditRow& row, int m, const NoiseField& noise, float seconds) {
    const float t = seconds;
    const float k = row.spread;
    const float along = static_cast<float>(m - 1);
    Vec3 p(row.centre.x + along * row.step.x, row.centre.y + along * row.step.y,
           row.centre.z + along * row.step.z);
    // The noise is smooth for non-negative coordinates only; the row crosses x = 0.
    p.x += kCreditWobble * noise.fbm(std::fabs(p.x) * k * 9.23f, 0.023f * t, 0.13f * t, 1);
    p.y += kCreditWobble * noise.fbm(std::fabs(p.x) * k * 0.123f, 0.0323f * t, 0.073f * t, 1);
    p.z += kCreditWobble * noise.fbm(std::fabs(p.x) * k * 2.22f, 0.053f * t, 0.023f * t, 1);
    return p;
}

void KukkeliScene::setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    stage.setup({screenWidth, screenHeight, effectWidth, effectHeight}, kModels, Vec3(1.0f, 1.1f, 1.0f));
    lightPath = resampledLoop(kSwarmTour, 29.0f);
    noiseField = NoiseField(256, 255, 10);
    if (!stage.ready) return;

    Model& m = *stage.model;
    const Material star{.texture = TextureSlot::KivisementtiBBsumea,
                        .cubeTexture = TextureSlot::CubeEnv1grRing,
                        .renderMode = RenderMode::TextureReflect,
                        .specular = {0.07f, 0.07f, 0.07f, 1.0f},
                        .ambient = {0.1f, 0.1f, 0.1f, 1.0f},
                        .constantAttenuation = 0.0f,
                        .linearAttenuation = 0.05f,
                        .spotExponent = 0.08f};
    for (int j = kFirstStar; j < m.objectCount; ++j) {
        resetWorkPositions(m, j);
        computeCreaseNormals(m, j, -1.0f); // every corner smooth: soft, round-looking stars
        applyMaterial(m.mesh(j), star);
    }
    const MeshObject& one = m.mesh(kFirstStar);
    reserveObjectBatch(kStarCount, kStarCount * one.vertexCount, kStarCount * 3 * one.faceCount);
    m.setPosition(kFirstStar, Vec3(0.0f, 0.0f, 0.0f));

    applyMaterial(m.mesh(kSky), Material{.texture = TextureSlot::Kivio,
                                         .renderMode = RenderMode::Textured,
                                         .colour = {0.0f, 0.0f, 0.0f, 1.0f},
                                         .ambient = {1.6f, 1.0f, 0.4f, 1.0f},
                                         .alpha = 0.5f,
                                         .envAlpha = 0.0f,
                                         .constantAttenuation = 8.0f,
                                         .spotExponent = 0.08f});

    // Up to 111 sprites a frame pile up on each other: skipping their black borders saves much
    // of the frame.
    creditWindow[0] = inkWindowOf(TextureSlot::Credpe);
    creditWindow[1] = inkWindowOf(TextureSlot::Credko);
}

void KukkeliScene::moveStars(float t) {
    Model& m = *stage.model;
    twist = swarmTwist(t);
    centre.set(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < kStarCount; ++i) {
        const int j = kFirstStar + i;
        const float fj = static_cast<float>(j);
        popIn[i] = fadeInOver(t, kPopInStart + kPopInSpacing * fj, kPopInLength);

        const float wave = std::sin((fj + t) * 0.2f);
        const float size = j % 8 == 0 ? 1.5f : 0.7f; // every eighth star stands out
        const Vec3 scale((1.75f + 0.5f * wave) * size, 1.75f * size, (1.75f + 0.5f * wave) * size);
        const float flare = 2.0f * popIn[i] + 1.2f;
        const Vec4 colour(1.0f + 0.35f * flare * wave,
                          0.6f + 0.15f * flare * std::sin(0.2f * t - 0.6f + 0.2f * fj), 0.23f, 1.0f);
        const Vec3 position = swarmStarPosition(t, j, twist);
        const float rx = std::sin(t * 0.023f + 0.01f * fj);
        const float ry = std::cos(t * 0.05f + 0.01f * fj);
        for (int c = 0; c < kCopies; ++c) {
            MeshObject& o = m.mesh(starObject(i, c));
            o.rotationX = rx;
            o.rotationY = ry;
            o.scale = scale;
            o.colour = colour;
            o.ambient.x = 0.02f, o.ambient.y = 0.02f, o.ambient.z = 0.075f;
            o.translation = position;
        }
        centre.add(position);
    }
    centre.scale(1.0f / static_cast<float>(kStarCount));
}

void KukkeliScene::moveLightAndCamera(int dt, int variant, float t) {
    Model& m = *stage.model;
    lightPath.advance(stage.light.position, kLightSpeed, static_cast<float>(dt));
    stage.light.position.scale(-0.7f);
    stage.light.position.y *= 0.3f;

    const float w = t * 1.3f * 0.25f;
    Vec3 orbit(9.0f * std::sin(w), 6.3f * std::cos(w), 8.0f * std::cos(t * 1.3f * 0.1625f) - 1.0f);
    // The camera record holds negated world positions: star positions enter negated.
    const Vec3 first = m.mesh(kFirstStar).translation;
    if (swarmCloseView(t, variant)) {
        orbit.scale(0.07f);
        stage.camera.position.set(-first.x, -first.y + 16.0f, -first.z);
        const Vec3 ahead = m.mesh(kFirstStar + 12).translation;
        target.set(-ahead.x, -ahead.y + 2.5f, -ahead.z);
    } else {
        orbit.scale(0.03f);
        stage.camera.position.set(-2.0f * first.x, -2.0f * first.y + 48.0f, -2.0f * first.z);
        stage.camera.position.scale(0.54321f);
        target.set(-centre.x, -centre.y, -centre.z);
    }
    stage.camera.position.add(orbit);
    // The camera starts five times farther out and closes in over the scene's first 1.5 s.
    const float intro = cube(fadeOutOver(stage.clock.time, timetable::clockStart::kKukkeli, 1500.0f));
    stage.camera.position.scale(4.0f * intro + 1.0f);
    stage.camera.aimAt(target);
}

void KukkeliScene::classifyStars() {
    const Vec3 eye(-stage.camera.position.x, -stage.camera.position.y, -stage.camera.position.z);
    Vec3 view(-stage.camera.forward.x, -stage.camera.forward.y, -stage.camera.forward.z);
    view.normalize();
    for (int i = 0; i < kStarCount; ++i)
        starState[i] = swarmStarState(stage.model->mesh(kFirstStar + i).translation, eye, view);
}

void KukkeliScene::drawStars() {
    if (!starsEnabled) return;
    Model& m = *stage.model;
    int drawn = 0;
    for (int i = 0; i < kStarCount; ++i) {
        if (starState[i] == 0) continue;
        const int object = starObject(i, starState[i] - 1);
        MeshObject& o = m.mesh(object);
        o.renderMode = RenderMode::TextureReflect;
        o.layered = 0;
        batch[drawn++] = object;
    }
    // One batch per pass for the whole swarm: drawn one by one, the stars' per-call cost on the
    // software rasteriser was most of the frame.
    drawObjects(m, batch, drawn, stage.light, kWorkingShape);
}

void KukkeliScene::glowPass(float g) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    stage.startFrame();
    const GlowPass glow(stage);

    const float h = 1.0f - g;
    MeshObject& sky = m.mesh(kSky);
    sky.colour.set(0.75f * g, 0.6f * g, 0.525f * g, 1.0f);
    sky.specular.set(0.0f, 0.0f, 0.0f, 1.0f);
    sky.ambient.set(0.36f * h + 0.2f * g, 0.0822f * h + 0.2f * g, 0.063f * h + 0.2f * g, 1.0f);
    drawObject(m, kSky, stage.light, kRestShape);
    drawStars();

    applyPassState(kScreenPass);
    setOrthoEffect(m);
    fx.grab(Copy::Work);
    fx.burn(Copy::Work, feedbackPasses, 1.0f);
    fx.grab(Copy::Work);
    fx.blur(Copy::Work, {.passes = 6, .stretchX = 2.5f, .stretchY = 2.5f, .spread = 0.03125f});
    fx.grab(Copy::Glow);
    clear(Buffers::ColourAndDepth);
    setOrthoScreen(m);
    applyPassState(kMeshPass);
}

void KukkeliScene::fullPass(float g) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const float h = 1.0f - g;
    setPerspectiveScreen(m, stage.camera);
    MeshObject& sky = m.mesh(kSky);
    sky.alpha = 1.0f;
    sky.colour.set(0.75f * g, 0.6f * g, 0.525f * g, 1.0f);
    sky.specular.set(0.0f, 0.0f, 0.0f, 1.0f);
    sky.ambient.set(0.44f * h + 0.2f * g, 0.16f * h + 0.2f * g, 0.062f * h + 0.2f * g, 1.0f);
    drawObject(m, kSky, stage.light, kRestShape);
    drawStars();

    // The glow of the small pass over the whole frame.
    applyPassState(kScreenPass);
    setOrthoScreen(m);
    fx.addGlow(Copy::Glow, 0.75f);
}

void KukkeliScene::drawCredits(float t) {
    Model& m = *stage.model;
    setPerspectiveScreen(m, stage.camera);
    const float c0 = noiseField.fbm(0.0f, 0.0f, 0.0f, 1);
    const float halfSize = kCreditHalfSize + noiseField.fbm(0.22f * t, 0.023f * t, 0.13f * t, 1);
    for (int row = 0; row < 2; ++row) {
        const CreditRow r = creditRowAt(row, creditsClock, t, c0);
        for (int k = 0; k < r.count; ++k) {
            const Vec3 p = creditSpritePosition(r, k, noiseField, t);
            drawBillboard(m, p.x, p.y, p.z, r.slot, halfSize, halfSize, r.colour.x, r.colour.y, r.colour.z,
                          r.colour.w, creditWindow[row]);
        }
    }
    setOrthoScreen(m);
}

void KukkeliScene::render(int dt, int variant) {
    if (!stage.drawable()) return;
    advanceSwarmClock(stage.clock, previousVariant, dt, variant);
    const float t = stage.clock.time * 0.001f;

    {
        LogicTimer logic;
        moveStars(t);
        moveLightAndCamera(dt, variant, t);
        classifyStars();
    }

    // The ball warms from dark red to lit as the stars arrive, with a triple flicker.
    Envelope flicker;
    flicker.inStart = kPopInStart;
    flicker.inLength = kWarmUpLength;
    const float g = 0.5f * flicker.fadeIn(t, 3.0f, 1.0f) + 0.5f * flicker.fadeIn(t, 1.0f, 1.0f);

    glowPass(g);
    fullPass(g);

    creditsClock += static_cast<float>(dt) * 0.001f;
    drawCredits(t);
}
