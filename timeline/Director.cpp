#include "timeline/Director.h"

#include "anim/Envelope.h"
#include "post/EffectBuffers.h"
#include "render/PassProfile.h"
#include "render/PassState.h"
#include "render/RenderPath.h"
#include "show/Timetable.h"
#include "show/TitleWords.h"

#include <cmath>

namespace {

using namespace timetable;

// The star swarm alternates its close and wide views.
int swarmVariant(int t) {
    return (t + kSwarmViewOffset) % (2 * kSwarmViewLength) >= kSwarmViewLength ? 1 : 0;
}

// The star ball's dissolve into the Hipu scene streaks each frame by how far it is gone: the
// streaks reach further and their centre swings off the middle as x grows.
ZoomStreakDesc dissolveStreak(float x) {
    return {.passes = 5,
            .alpha = 0.5f,
            .angle = 0.5f,
            .strength = 0.15f * x,
            .centreX = 0.13f * std::sin(4.75f * x * x),
            .centreY = 0.04f * (1.0f - std::cos(3.75f * x))};
}

} // namespace

void Director::attach(const SceneCalls& scenes, EffectBuffers& effects) {
    scenes_ = scenes;
    fx_ = &effects;
}

void Director::scene(SceneId id, int dt, int arg, float fade) {
    if (scenes_.isAvailable(id))
        scenes_.render(scenes_.context, id, dt, SceneArgs{arg, fade});
    else
        clear(Buffers::ColourAndDepth);
}

void Director::run(int demoTime, bool& quitRequested) {
    // The delta in 64 bits, held to what a scene clock can take: any two demo times are safe.
    const long long wide = static_cast<long long>(demoTime) - previousTime_;
    const int dt = static_cast<int>(wide < -kLargestDelta ? -kLargestDelta
                                                          : (wide > kLargestDelta ? kLargestDelta : wide));
    previousTime_ = demoTime;
    const int t = demoTime; // the sum of all deltas, as both start at 0

    setPassProfileSection(sectionNameAt(t));
    beginShowFrame();
    if (t >= kShowEnd) {
        quitRequested = true;
        return;
    }
    if (!fx_) { // nothing attached: a black frame
        clear(Buffers::Colour);
        return;
    }
    switch (kSections[sectionIndexAt(t)].id) {
    case Section::Title:
        title(t, dt);
        break;
    case Section::Swarm:
        swarmWithFlashes(t, dt);
        break;
    case Section::StarBall:
        starBallIntoHipu(t, dt);
        break;
    case Section::WhiteOut:
        swarmWhiteOut(t, dt);
        break;
    case Section::Hipu:
        hipuOutOfWhite(t, dt);
        break;
    case Section::Duck:
        scene(SceneId::Duck, dt);
        break;
    case Section::StarBallAgain:
        scene(SceneId::StarBall, dt);
        break;
    case Section::Cave:
        scene(SceneId::Cave, dt);
        break;
    case Section::Potko:
        scene(SceneId::Potko, dt);
        break;
    case Section::Closing:
        closing(t, dt);
        break;
    }
}

void Director::title(int t, int dt) {
    const TitleWord& word = kTitleWords[titleWordAt(t)];
    const float ft = static_cast<float>(t);
    if (t > word.crossStart) {
        const float v =
            rampUpOver(ft, static_cast<float>(word.crossStart), static_cast<float>(word.crossLength));
        crossValue = v;
        if (word.part == -1) {
            scene(SceneId::Title, dt, word.nextPart, 1.0f - v);
        } else {
            // The outgoing word, grabbed, is laid over the incoming one with falling opacity.
            scene(SceneId::Title, dt, word.part, v);
            fx_->grab(Copy::Picture);
            scene(SceneId::Title, 0, word.nextPart, 1.0f - v);
            fx_->overlay(Copy::Picture, 1.0f - v, 0.0f, Overlay::Mix);
        }
    } else {
        scene(SceneId::Title, dt, word.part, 0.0f);
    }
    middleStart = -1.0f;
    if (t > kTitleFadeToBlack.start) streakedFadeToBlack(kTitleFadeToBlack, ft);
}

void Director::streakedFadeToBlack(timetable::Window window, float t) {
    const float w = fadeInOver(t, static_cast<float>(window.start), static_cast<float>(window.length));
    fx_->grab(Copy::Work);
    fx_->zoomStreak(Copy::Work, {.passes = 10, .alpha = 0.4f, .strength = 0.2f * w});
    fx_->grab(Copy::Work);
    fx_->show(Copy::Work, 1.0f - w);
}

void Director::swarmWithFlashes(int t, int dt) {
    const float ft = static_cast<float>(t);
    if (middleStart == -1.0f) middleStart = ft;
    // Star-ball flashes; m is negative just before the first one.
    const int m = (t - kFlashOrigin) % kFlashPeriod;
    if (t > kFlashesStart && m < kFlashLength) {
        const float s = std::sqrt(fadeOutOver(static_cast<float>(m), 0.0f, static_cast<float>(kFlashFade)));
        scene(SceneId::StarBall, dt);
        fx_->grab(Copy::Wrapping); // the smear wraps around the frame edges
        fx_->blur(Copy::Wrapping, {.passes = 7, .stretchX = 4.5f, .stretchY = 0.02f, .spread = 0.2f * s});
    } else {
        scene(SceneId::Kukkeli, dt, swarmVariant(t));
    }

    const float ramp = rampUpOver(ft, middleStart, 1000.0f);
    const float q = ramp * ramp;
    if (q != 1.0f) { // fade in from black over the first second
        fx_->grab(Copy::Picture);
        fx_->show(Copy::Picture, q);
    }

    const float intro = static_cast<float>(kSwarmIntroStreak);
    if (ft < middleStart + intro) { // streaks that die away
        const float z = fadeInOver(ft, middleStart, intro);
        fx_->grab(Copy::Work);
        fx_->zoomStreak(Copy::Work, {.passes = 10, .alpha = 0.4f, .strength = 0.2f - 0.2f * z});
    } else if (t < kFlashesStart) { // two streak pulses in every cycle
        const float h = static_cast<float>((t + kSwarmPulseOffset) % kSwarmPulseCycle);
        const float rise = static_cast<float>(kSwarmPulseRise);
        float pulses = 0.0f;
        for (const int start : kSwarmPulseStarts) {
            const float s = static_cast<float>(start);
            pulses += fadeInOutOver(h, s, rise, s + rise, rise);
        }
        // Between the pulses the streak would lay the frame unmoved over itself.
        if (pulses != 0.0f || !fastRendering()) {
            fx_->grab(Copy::Work);
            fx_->zoomStreak(Copy::Work, {.passes = 10, .alpha = 0.4f, .strength = 0.1f * pulses});
        }
    }
    transitionStarted = 0.0f;
}

void Director::starBallIntoHipu(int t, int dt) {
    const float ft = static_cast<float>(t);
    if (transitionStarted == 0.0f) {
        if (crossValue != 1.0f) scene(SceneId::Kukkeli, 0, 0);
        if (crossValue != 0.0f) scene(SceneId::Kukkeli, 0, 1);
        fx_->grab(Copy::Picture);
        transitionStarted = 1.0f;
        transitionStart = ft;
        hipuStart = ft + static_cast<float>(kHipuDissolveDelay);
    }
    crossValue = fadeInOver(ft, transitionStart, 2000.0f);
    const float w = fadeInOver(ft, hipuStart, static_cast<float>(kHipuDissolveLength));

    scene(SceneId::StarBall, dt);
    if (w != 0.0f) { // the streaked star-ball frame dissolves into the Hipu frame
        fx_->grab(Copy::Work);
        fx_->zoomStreak(Copy::Work, dissolveStreak(w));
        fx_->grab(Copy::Picture);
        scene(SceneId::Hipu, dt);
        fx_->grab(Copy::Work);
        fx_->zoomStreak(Copy::Work, dissolveStreak(1.0f - w));
        fx_->overlay(Copy::Picture, 1.0f - w, 0.0f, Overlay::Mix);
    }
}

void Director::swarmWhiteOut(int t, int dt) {
    scene(SceneId::Kukkeli, dt, swarmVariant(t));
    const float g = fadeInOver(static_cast<float>(t), static_cast<float>(kWhiteOut.start),
                               static_cast<float>(kWhiteOut.length));
    if (g != 0.0f) {
        fx_->grab(Copy::Work);
        fx_->zoomStreak(Copy::Work, {.passes = 6, .alpha = 0.75f, .angle = 0.5f, .strength = 0.18f * g});
        fx_->fill(g, 1.0f, 1.0f, 1.0f);
    }
}

void Director::hipuOutOfWhite(int t, int dt) {
    scene(SceneId::Hipu, dt);
    const float g = fadeOutOver(static_cast<float>(t), static_cast<float>(kOutOfWhite.start),
                                static_cast<float>(kOutOfWhite.length));
    if (g != 0.0f) {
        fx_->grab(Copy::Work);
        fx_->blur(Copy::Work, {.passes = 3, .stretchX = 1.5f, .stretchY = 1.5f, .spread = 0.1f * g});
        fx_->grab(Copy::Work);
        fx_->zoomStreak(Copy::Work, {.passes = 5, .alpha = 0.75f, .angle = 0.5f, .strength = 0.18f * g});
        fx_->fill(g, 1.0f, 1.0f, 1.0f);
    }
}

void Director::closing(int t, int dt) {
    scene(SceneId::Closing, dt);
    if (t > kClosingFadeToBlack.start) streakedFadeToBlack(kClosingFadeToBlack, static_cast<float>(t));
}
