#include "scenes/TitleScene.h"

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
#include "scenes/BeatPulse.h"
#include "scenes/Lattice.h"
#include "scenes/LightTours.h"
#include "scenes/Material.h"
#include "show/Timetable.h"
#include "show/TitleWords.h"

#include <algorithm>
#include <cmath>

namespace {

float sign(float v) { return v > 0.0f ? 1.0f : -1.0f; } // zero counts as negative
float signedPower(float v, float p) { return sign(v) * std::pow(std::fabs(v), p); }

// Base colour of word w, a slightly different blue-white for each.
Vec4 wordColour(int w) {
    const float fw = static_cast<float>(w);
    return Vec4(0.5f + 0.1f * std::sin(3.0f * fw), 0.5f + 0.05f * std::sin(23.0f * fw),
                0.95f + 0.04f * std::sin(123.0f * fw), 1.0f);
}

// From 34.5 to 36.5 s the bend sweeps QUILLMERE's letters, grown to fill the frame, past the light:
// at full strength their burned glow turned an eighth of the frame white. Over those two seconds
// the word's glow is eased to a fifth, which keeps the flash and gives the letters back their edges.
constexpr float kSweepStart = 34500.0f;
constexpr float kSweepEnd = 36500.0f;
constexpr float kSweepEase = 150.0f;
constexpr float kSweepGlow = 0.2f;

float sweepGlow(float sceneClock) {
    return 1.0f - (1.0f - kSweepGlow) *
                      fadeInOutOver(sceneClock, kSweepStart, kSweepEase, kSweepEnd - kSweepEase, kSweepEase);
}

// The word's rise-and-fall bend over a nine-second cycle offset by `offsetMs`.
float deformCycle(float sceneClock, int offsetMs) {
    const float x =
        static_cast<float>(static_cast<int>(sceneClock + static_cast<float>(offsetMs)) % 9000) * 0.001f;
    return fadeInOver(x, 1.0f, 2.0f) * fadeOutOver(x, 4.0f, 3.0f);
}

constexpr ModelFile kModels[] = {
    {"Models/backball.3ds", 20.0f, 0.0025f}, {"Models/text_castr.3ds", 2.5f, 0.06f},
    {"Models/text_demo.3ds", 2.5f, 0.06f},   {"Models/text_called.3ds", 2.5f, 0.06f},
    {"Models/text_qm.3ds", 2.5f, 0.06f},     {"Models/textr_castr.3ds", 2.5f, 0.06f},
    {"Models/textr_demo.3ds", 2.5f, 0.06f},  {"Models/textr_called.3ds", 2.5f, 0.06f},
    {"Models/textr_qm.3ds", 2.5f, 0.06f},    {"Models/sirppi2.3ds", 2.0f, 2.0f, TitleScene::kSickleCount},
};

// The word's lattice wave: the height stretched four-fold.
constexpr LatticeWave kWordWave{.rate = 0.8f, .heightScale = 4.0f};

} // namespace

float titleBeat(float sceneClock) {
    using namespace timetable;
    return beatPulse(sceneClock, kTitleBeat, kTitleAfterBeat, kTitleAfterBeatPause);
}

int titleWordFor(int part, float fade, float seconds) {
    int w = part;
    if (fade != 0.0f) w += 4;
    if (w >= 8) w = 7;
    if (seconds < 15.5f && w >= 4) w -= 4; // before 15.5 s the plain words serve the crossfades too
    return w;
}

float titleDeformAmount(float sceneClock, float fade) {
    // The word stops bending in the second before the first word stands, bends with the fade
    // during the director's crossfades, and takes up its cycle again once the third has ended.
    const float firstWordIn = static_cast<float>(timetable::kTitleWords[0].crossEnd());
    const float cyclesAgain = static_cast<float>(timetable::kTitleWords[2].crossEnd());
    if (sceneClock < firstWordIn)
        return fadeOutOver(sceneClock, firstWordIn - 1000.0f, 1000.0f) * deformCycle(sceneClock, 6000);
    if (sceneClock < cyclesAgain) return fade;
    return fadeInOver(sceneClock, cyclesAgain, 2000.0f) * deformCycle(sceneClock, 3800);
}

Vec3 titleCameraPosition(int word, float seconds, float fade, float& roll) {
    const float k = (word == -1 || word == 0 || word == 4) ? 0.275f : 0.35f;
    switch (word) {
    case 0:
    case 4:
        roll = -0.28f;
        break;
    case 1:
    case 5:
        roll = -0.3f;
        break;
    case 2:
    case 6:
        roll = -0.25f;
        break;
    case 3:
    case 7:
        roll = -0.05f;
        break;
    default:
        break;
    }
    const float g = 0.6f + roll * (1.0f + std::cos(kShowPi * fade / 2.0f)) / 2.0f;
    Vec3 p(-5.0f * std::sin(1.5f * k * seconds), 3.3f * std::cos(2.25f * k * seconds),
           2.0f * std::cos(0.1625f * k * seconds) + 7.0f);
    p.scale(g);
    return p;
}

float titleCameraTurn(float fade, float sceneClock) {
    if (sceneClock >= 36000.0f) return 0.0f;
    const float h = (1.0f - std::cos(2.0f * kShowPi * fade)) / 2.0f;
    return (1.0f - wendlandWeight(h)) * kShowPi;
}

void TitleScene::setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    stage.setup({screenWidth, screenHeight, effectWidth, effectHeight}, kModels, Vec3(1.51f, 1.45f, 1.01f),
                false);

    // A lattice of 16 rows of four handles, the rows running down the word's height, spaced
    // exactly rather than step by step. Its wave's phase is the common ripple multiplied in the
    // order the word's motion was tuned with.
    for (int i = 0; i < 16; ++i) {
        const float t = -1.0f + static_cast<float>(i) * 2.0f / 15.0f;
        for (int c = 0; c < 4; ++c)
            lattice.rest[4 * i + c] = Vec3(kSquareCorners[c][0], t, kSquareCorners[c][1]);
    }
    lattice.prepare(0.9f, 25.0f);
    for (int k = 0; k < kHandleCount; ++k) {
        const Vec3& r = lattice.rest[k];
        const float q = r.x * r.x + r.z * r.z;
        lattice.phase[k] = (1.0f + 0.3f * std::cos(9.42477f * q * r.y)) * r.y * 5.026544f;
    }

    cameraPath = resampledLoop(kRoomTour, 29.0f);
    if (!stage.ready) return;

    Model& m = *stage.model;
    for (int w = 0; w < 8; ++w) {
        MeshObject& o = m.mesh(kFirstWord + w);
        switch (w % 4) { // each word sits a little differently in its frame
        case 0:
            o.scale.y = 1.31f, o.translation.y += 0.25f;
            break;
        case 1:
            o.scale.x = 1.2f, o.scale.y = 1.5f, o.translation.x += 0.35f;
            break;
        case 3:
            o.translation.y += 0.1f;
            break;
        default:
            break;
        }
        o.texOffsetU += (w == 3 || w == 7) ? 0.23f : 0.13f;
        resetWorkPositions(m, kFirstWord + w);
        applyMaterial(o, Material{.texture = TextureSlot::SoraBvaritettu,
                                  .cubeTexture = TextureSlot::CubeEnv1grRing,
                                  .renderMode = RenderMode::TextureReflect,
                                  .colour = wordColour(w),
                                  .specular = {0.0f, 0.0f, 0.0f, 0.0f},
                                  .constantAttenuation = 0.05f,
                                  .linearAttenuation = 0.05f,
                                  .spotExponent = 0.01f});
    }

    for (int i = 0; i < kSickleCount; ++i) {
        MeshObject& o = m.mesh(kFirstSickle + i);
        applyMaterial(o, kRiserMaterial);
        o.scale.set(i % 2 ? 0.05f : 0.03f, 0.03f, 0.03f);
        m.setPosition(kFirstSickle + i, Vec3(0, 0, 0));
        o.translation.x = drawRandomFraction() * 8.0f - 4.0f;
        o.translation.z = drawRandomFraction() * 8.0f - 4.0f;
        o.translation.y = drawRandomFraction() * 9.0f - 13.0f;
    }

    // The slot set here is never drawn: every frame draws the room with kRoomTexture.
    applyMaterial(m.mesh(kSky), Material{.texture = TextureSlot::Punasuhero,
                                         .cubeTexture = TextureSlot::CubeEnv1gr,
                                         .renderMode = RenderMode::TextureReflect,
                                         .colour = {0.0f, 0.0f, 0.0f, 0.0f},
                                         .specular = {0.0f, 0.0f, 0.0f, 0.0f},
                                         .ambient = {0.2f, 0.2f, 0.24f, 1.0f},
                                         .constantAttenuation = 8.0f,
                                         .spotExponent = 0.08f});
    m.mesh(kSky).texOffsetV = 0.66f;
}

void TitleScene::moveLattice(float s, float d) {
    const float exponent =
        3.0f * (1.0f + (1.0f + std::sin(kShowPi * 2.0f * d * (std::sin(0.25f * s) + 1.0f) / 2.0f)) / 2.0f);
    lattice.wave(s, kWordWave);
    for (Vec3& m : lattice.moved) {
        m.x = signedPower(m.x, exponent) * 0.1f;
        m.z = signedPower(m.z, exponent) * 0.2f;
    }
}

void TitleScene::shapeWord(int word, float d) {
    Model& m = *stage.model;
    const int mesh = kFirstWord + word;
    if (d != 0.0f) lattice.bend(m, mesh);
    MeshObject& o = m.mesh(mesh);
    o.prepareWorkBuffers();
    for (int v = 0; v < o.vertexCount; ++v) {
        Vec3& p = o.workPositions[static_cast<size_t>(v)];
        p.z = signedPower(p.z, 3.0f); // the depth cubed: thin parts flatten, thick ones swell
        if (d != 1.0f) {
            const Vec3& r = o.positions[static_cast<size_t>(v)];
            p.set((1.0f - d) * r.x + d * p.x, (1.0f - d) * r.y + d * p.y, (1.0f - d) * r.z + d * p.z);
        }
    }
    computeCreaseNormals(m, mesh, 0.88f);
}

void TitleScene::moveSickles(float s, float fs) {
    Model& m = *stage.model;
    const Vec3 eye(-stage.camera.position.x, -stage.camera.position.y, -stage.camera.position.z);
    const Vec3 view(-stage.camera.forward.x, -stage.camera.forward.y, -stage.camera.forward.z);
    for (int i = 0; i < kSickleCount; ++i) {
        MeshObject& o = m.mesh(kFirstSickle + i);
        const float fi = static_cast<float>(i);
        const float q = 0.3f * std::cos(1.2f * fi) + 1.0f;
        const float r = 2.2f * fi;
        o.colour.x = 1.0f + 0.455f * std::sin(0.2f * (fi + s));
        o.colour.y = 0.51f + 0.045f * std::sin(0.2f * s - 0.8f + 0.2f * fi);
        o.ambient.x = 2.5f, o.ambient.y = 1.0f, o.ambient.z = 1.0f;
        o.translation.y += (1.0f + 1.1f * std::sin(2.5f * q * s + r)) * fs;
        o.rotationX = 1.3f * std::sin(2.5f * q * s + r);
        o.rotationY = 0.94f * std::sin((1.0f + 0.3f * std::cos(14.2f * fi)) * 4.25f * s + 1.23f * fi);
        if (o.translation.y > 3.0f) o.translation.y = drawRandomFraction() * 2.0f - 6.0f;
        Vec3 v = o.translation.minus(eye);
        const float distance = v.length();
        if (distance > 0.0f) v.scale(1.0f / distance);
        sickleVisible[i] = !(dot(v, view) < 0.55f && distance > 1.0f);
    }
}

void TitleScene::drawSickles() {
    Model& m = *stage.model;
    for (int i = 0; i < kSickleCount; ++i) {
        if (!sickleVisible[i]) continue;
        m.mesh(kFirstSickle + i).renderMode = RenderMode::TextureReflect;
        drawObject(m, kFirstSickle + i, stage.light, kRestShape);
    }
}

void TitleScene::drawRoom(const Vec4& ambient, float constantAttenuation, bool effectSize) {
    Model& m = *stage.model;
    MeshObject& sky = m.mesh(kSky);
    sky.ambient = ambient;
    sky.constantAttenuation = constantAttenuation;
    sky.texture = kRoomTexture;
    sky.alpha = 1.0f;
    sky.renderMode = RenderMode::TextureReflect;
    if (effectSize)
        setPerspectiveEffect(m, stage.camera);
    else
        setPerspectiveScreen(m, stage.camera);
    drawObject(m, kSky, stage.light, kRestShape);
    if (effectSize)
        setOrthoEffect(m);
    else
        setOrthoScreen(m);
}

void TitleScene::glowPass(int part, int word, float fade, float beat, float wordFadeIn, float s) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    const SmallEffects small(fx);
    applyPassState(kMeshPass);
    if (part != -1) {
        MeshObject& o = m.mesh(kFirstWord + word);
        o.renderMode = RenderMode::Reflect;
        o.alpha = o.envAlpha = 1.0f;
        o.layered = 0;
        const Vec4 colour = o.colour;
        const float ease = sweepGlow(stage.clock.time);
        if (ease != 1.0f) {
            // A reflection-only draw shows the reflection at four times the colour, clamped at one,
            // so the word's colour saturates it: ease what reaches the frame instead.
            auto eased = [ease](float c) { return std::min(4.0f * c, 1.0f) * ease / 4.0f; };
            o.colour.set(eased(colour.x), eased(colour.y), eased(colour.z), colour.w);
        }
        setPerspectiveEffect(m, stage.camera);
        drawObject(m, kFirstWord + word, stage.light, kWorkingShape);
        o.colour = colour;
    }
    if (wordFadeIn != 1.0f) { // until the word has faded in, keep it aside and add it back weighted
        setOrthoEffect(m);
        fx.grab(Copy::Wrapping);
        clear(Buffers::ColourAndDepth);
    }
    MeshObject& sky = m.mesh(kSky);
    sky.texOffsetV += (0.005f * std::cos(0.01f * s) + 0.008f) * stage.clock.frameSeconds * 0.075f;
    sky.colour.set(0.01f, 0.0f, 0.0f, 1.0f);
    Vec4 ambient(0.119f, 0.0575f, 0.04f, 1.0f);
    ambient.scale(1.4f - 0.85f * beat); // the room darkens on the beat
    drawRoom(ambient, 2.0f, true);
    if (wordFadeIn != 1.0f) fx.overlay(Copy::Wrapping, wordFadeIn, 0.0f, Overlay::Add);
    setPerspectiveEffect(m, stage.camera);
    if (sicklesOn) drawSickles();

    applyPassState(kScreenPass);
    setOrthoEffect(m);
    fx.grab(Copy::Work);
    fx.burn(Copy::Work, 1, 1.0f);
    fx.grab(Copy::Work);
    fx.blur(Copy::Work, {.passes = 5, .stretchX = 1.5f, .stretchY = 1.5f, .spread = 0.020833334f});
    fx.grab(Copy::Glow);
    if (fade != 0.0f) {
        const float h = (1.0f - std::cos(2.0f * kShowPi * fade)) / 2.0f;
        fx.zoomStreak(Copy::Glow, {.passes = 8, .alpha = 0.4f, .angle = 0.5f, .strength = 0.15f * h});
    }
    fx.grab(Copy::Glow);
    clear(Buffers::ColourAndDepth);
    setOrthoScreen(m);
    applyPassState(kMeshPass);
}

void TitleScene::fullPass(int part, int word, float wordFadeIn) {
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    if (part != -1) {
        MeshObject& o = m.mesh(kFirstWord + word);
        o.renderMode = RenderMode::TextureReflect;
        o.layered = 1;
        o.alpha = o.envAlpha = 1.0f;
        o.colour = wordColour(word);
        o.colour.scale(1.5f);
        const Vec4 ambient = o.ambient;
        setPerspectiveScreen(m, stage.camera);
        drawObject(m, kFirstWord + word, stage.light, kWorkingShape);
        setOrthoScreen(m);
        o.ambient = ambient;
    }
    if (wordFadeIn != 1.0f) {
        fx.grab(Copy::Wrapping);
        clear(Buffers::ColourAndDepth);
    }
    m.mesh(kSky).specular.set(0.0f, 0.0f, 0.0f, 1.0f);
    drawRoom(Vec4(0.0125f, 0.0125f, 0.029f, 1.0f), 1.0f, false);
    if (wordFadeIn != 1.0f) fx.overlay(Copy::Wrapping, wordFadeIn, 0.0f, Overlay::Add);
    if (sicklesOn) {
        setPerspectiveScreen(m, stage.camera);
        drawSickles();
        setOrthoScreen(m);
    }
}

void TitleScene::render(int dt, int part, float fade) {
    if (!stage.drawable()) return;
    Model& m = *stage.model;
    EffectBuffers& fx = *stage.effects;
    sicklesOn = stage.clock.time >= 24000.0f;
    stage.clock.advance(dt);
    const float s = stage.clock.time * 0.001f;

    const float beat = titleBeat(stage.clock.time);

    const int word = titleWordFor(part, fade, s);

    Vec3 onPath;
    cameraPath.evaluate(onPath, 0.7f);
    stage.light.position.set(-0.7f * onPath.x, -0.7f * onPath.y * 0.3f, -0.7f * onPath.z);

    stage.camera.position = titleCameraPosition(word, s, fade, roll);
    rotateY(stage.camera.position, titleCameraTurn(fade, stage.clock.time));
    stage.camera.aimAt(Vec3(0.0f, 0.1f, -0.25f));
    stage.startFrame();

    // Word rocking. Before the first word (part -1) the same rocking turns the room instead: the
    // opening seconds show nothing else, and the slow sway keeps them from standing still.
    m.mesh(kFirstWord + word).rotationX =
        (word == 0 || word == 4) ? 0.2f * std::sin(kShowPi * std::sin(0.75f * s + 2.73318504f)) - 0.12566368f
                                 : 0.3f * std::sin(kShowPi * std::sin(0.5f * s));

    const float d = titleDeformAmount(stage.clock.time, fade);
    {
        LogicTimer logic;
        moveLattice(s, d);
        if (part != -1) shapeWord(word, d);
        if (sicklesOn) moveSickles(s, stage.clock.frameSeconds);
    }

    const float wordFadeIn = fadeInOver(s, 5.5f, 1.0f);
    glowPass(part, word, fade, beat, wordFadeIn, s);
    fullPass(part, word, wordFadeIn);

    // Lay the small processed glow over the whole frame.
    setOrthoScreen(m);
    applyPassState(kScreenPass);
    fx.addGlow(Copy::Glow, 1.0f);

    const float fromBlack = fadeInOver(s, 0.0f, 1.0f);
    if (fromBlack != 1.0f) {
        fx.grab(Copy::Wrapping);
        fx.show(Copy::Wrapping, fromBlack);
    }
}
