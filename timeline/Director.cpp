#include "timeline/Director.h"

#include "anim/Envelope.h"
#include "post/EffectBuffers.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// The title words: each part holds until its end time, then crossfades into the next over L ms.
constexpr int kTitleEnds[4] = {10800, 18400, 29500, 43500};
constexpr int kTitleParts[5] = {-1, 0, 1, 3, 3};

int titleFadeLength(int t) { return t <= 18400 ? 6000 : (t <= 30000 ? 8500 : 3500); }

// The star swarm alternates its two views every 3700 ms, offset by 3100 ms.
int swarmVariant(int t) { return (t + 3100) % 7400 >= 3700 ? 1 : 0; }

// The show's sections in order, each running until its end time.
enum class Section { Title, Swarm, StarBall, WhiteOut, Hipu, Duck, StarBall2, Cave, Potko, Closing, End };

struct SectionSpan {
    int end;
    const char* name;
};

constexpr SectionSpan kSections[] = {
    {41800, "title"},
    {70000, "swarm"},
    {86000, "star ball"},
    {97300, "white-out"},
    {126000, "hipu"},
    {157000, "duck"},
    {164000, "star ball 2"},
    {220000, "cave"},
    {246000, "potko"},
    {Director::kShowEnd, "closing"},
    {0, "end"},
};

Section sectionAt(int t) {
    int i = 0;
    while (i < static_cast<int>(Section::End) && t >= kSections[i].end) ++i;
    return static_cast<Section>(i);
}

} // namespace

const char* Director::sectionName(int t) { return kSections[static_cast<int>(sectionAt(t))].name; }

void Director::attach(const SceneCalls& scenes, EffectBuffers& effects, Envelope& envelope) {
    scenes_ = scenes;
    fx_ = &effects;
    env_ = &envelope;
}

void Director::scene(SceneId id, int dt, int arg, float fade) {
    if (scenes_.isAvailable(id))
        scenes_.render(scenes_.context, id, dt, arg, fade);
    else
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Director::run(int demoTime, bool& quitRequested) {
    const int dt = demoTime - previousTime_;
    previousTime_ = demoTime;
    runningTotal_ += dt;
    const int t = runningTotal_;

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDepthFunc(GL_ALWAYS);
    if (t >= kShowEnd) {
        quitRequested = true;
        return;
    }
    if (!fx_ || !env_) { // nothing attached: a black frame
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    switch (sectionAt(t)) {
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
    case Section::StarBall2:
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
    case Section::End:
        break;
    }
}

void Director::title(int t, int dt) {
    const int fadeLength = titleFadeLength(t);
    int j = 0;
    while (j < 3 && t > kTitleEnds[j]) ++j;
    const int crossStart = kTitleEnds[j] - fadeLength;
    const float ft = static_cast<float>(t);
    if (t > crossStart) {
        env_->inStart = static_cast<float>(crossStart);
        env_->inLength = static_cast<float>(fadeLength);
        const float v = env_->rampUp(ft);
        crossValue = v;
        if (kTitleParts[j] == -1) {
            scene(SceneId::Title, dt, kTitleParts[j + 1], 1.0f - v);
        } else {
            // The outgoing word, grabbed, is laid over the incoming one with falling opacity.
            scene(SceneId::Title, dt, kTitleParts[j], v);
            fx_->grab(0);
            scene(SceneId::Title, 0, kTitleParts[j + 1], 1.0f - v);
            fx_->overlay(0, 1.0f - v, 0.0f, 1);
        }
    } else {
        scene(SceneId::Title, dt, kTitleParts[j], 0.0f);
    }
    middleStart = -1.0f;
    if (t > 41100) streakedFadeToBlack(41100.0f, 700.0f, ft);
}

void Director::streakedFadeToBlack(float start, float length, float t) {
    env_->inStart = start;
    env_->inLength = length;
    const float w = env_->fadeIn(t, 1.0f, 1.0f);
    fx_->grab(0);
    fx_->zoomStreak(0, 10, 0.4f, 0.0f, 0.0f, 0.2f * w, 0.0f, 0.0f);
    fx_->grab(0);
    fx_->show(0, 1.0f - w);
}

void Director::swarmWithFlashes(int t, int dt) {
    const float ft = static_cast<float>(t);
    if (middleStart == -1.0f) middleStart = ft;
    // Star-ball flashes on a 3600 ms beat from 56.5 s; m is negative just before the first one.
    const int m = (t - 56500) % 3600;
    if (t > 56200 && m < 700) {
        env_->inStart = 0.0f;
        env_->inLength = 250.0f;
        const float s = std::sqrt(env_->fadeOut(static_cast<float>(m), 1.0f, 1.0f));
        scene(SceneId::StarBall, dt);
        fx_->grab(3); // index 3 wraps, so the smear wraps around the frame edges
        fx_->blur(3, 7, 4.5f, 0.02f, 0.2f * s, 1.0f, 1.0f, 1.0f);
    } else {
        scene(SceneId::Kukkeli, dt, swarmVariant(t));
    }

    env_->inStart = middleStart;
    env_->inLength = 1000.0f;
    const float ramp = env_->rampUp(ft);
    const float q = ramp * ramp;
    if (q != 1.0f) { // fade in from black over the first second
        fx_->grab(2);
        fx_->show(2, q);
    }

    if (ft < middleStart + 3000.0f) { // streaks that die away over three seconds
        env_->inStart = middleStart;
        env_->inLength = 3000.0f;
        const float z = env_->fadeIn(ft, 1.0f, 1.0f);
        fx_->grab(0);
        fx_->zoomStreak(0, 10, 0.4f, 0.0f, 0.0f, 0.2f - 0.2f * z, 0.0f, 0.0f);
    } else if (t < 56200) { // two streak pulses in every 3660 ms cycle
        const float h = static_cast<float>((t + 2600) % 3660);
        env_->inStart = 0.0f, env_->inLength = 150.0f, env_->outStart = 150.0f, env_->outLength = 150.0f;
        const float a1 = env_->fadeInOut(h, 1.0f, 1.0f);
        env_->inStart = 600.0f, env_->inLength = 150.0f, env_->outStart = 750.0f, env_->outLength = 150.0f;
        const float a2 = env_->fadeInOut(h, 1.0f, 1.0f);
        fx_->grab(0);
        fx_->zoomStreak(0, 10, 0.4f, 0.0f, 0.0f, 0.1f * (a1 + a2), 0.0f, 0.0f);
    }
    transitionStarted = 0.0f;
}

void Director::starBallIntoHipu(int t, int dt) {
    const float ft = static_cast<float>(t);
    if (transitionStarted == 0.0f) {
        if (crossValue != 1.0f) scene(SceneId::Kukkeli, 0, 0);
        if (crossValue != 0.0f) scene(SceneId::Kukkeli, 0, 1);
        fx_->grab(0);
        transitionStarted = 1.0f;
        transitionStart = ft;
        hipuStart = ft + 15500.0f;
    }
    env_->inStart = transitionStart;
    env_->inLength = 2000.0f;
    crossValue = env_->fadeIn(ft, 1.0f, 1.0f);
    env_->inStart = hipuStart;
    env_->inLength = 1500.0f;
    const float w = env_->fadeIn(ft, 1.0f, 1.0f);

    scene(SceneId::StarBall, dt);
    if (w != 0.0f) { // the streaked star-ball frame dissolves into the Hipu frame
        fx_->grab(0);
        fx_->zoomStreak(0, 5, 0.5f, 0.5f, 0.0f, 0.15f * w, 0.13f * std::sin(4.75f * w * w),
                        0.04f * (1.0f - std::cos(3.75f * w)));
        fx_->grab(1);
        scene(SceneId::Hipu, dt);
        fx_->grab(2);
        const float n = 1.0f - w;
        fx_->zoomStreak(2, 5, 0.5f, 0.5f, 0.0f, 0.15f * n, 0.13f * std::sin(4.75f * n * n),
                        0.04f * (1.0f - std::cos(3.75f * n)));
        fx_->overlay(1, 1.0f - w, 0.0f, 1);
    }
}

void Director::swarmWhiteOut(int t, int dt) {
    scene(SceneId::Kukkeli, dt, swarmVariant(t));
    env_->inStart = 93800.0f;
    env_->inLength = 4000.0f;
    const float g = env_->fadeIn(static_cast<float>(t), 1.0f, 1.0f);
    if (g != 0.0f) {
        fx_->grab(2);
        fx_->zoomStreak(2, 6, 0.75f, 0.5f, 0.0f, 0.18f * g, 0.0f, 0.0f);
        fx_->fill(g, 1.0f, 1.0f, 1.0f);
    }
}

void Director::hipuOutOfWhite(int t, int dt) {
    scene(SceneId::Hipu, dt);
    env_->inStart = 97300.0f;
    env_->inLength = 3000.0f;
    const float g = env_->fadeOut(static_cast<float>(t), 1.0f, 1.0f);
    if (g != 0.0f) {
        fx_->grab(2);
        fx_->blur(2, 3, 1.5f, 1.5f, 0.1f * g, 1.0f, 1.0f, 1.0f);
        fx_->grab(2);
        fx_->zoomStreak(2, 5, 0.75f, 0.5f, 0.0f, 0.18f * g, 0.0f, 0.0f);
        fx_->fill(g, 1.0f, 1.0f, 1.0f);
    }
}

void Director::closing(int t, int dt) {
    scene(SceneId::Closing, dt);
    if (t > 285300) streakedFadeToBlack(285300.0f, 800.0f, static_cast<float>(t));
}
