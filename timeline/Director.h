#pragma once
// The script of the show: called once per frame with the demo time, it picks the scene modules
// that render, with their arguments, and composes the cuts, crossfades, flashes, streaks and
// fades between them on its own effect buffers. All times are milliseconds of music time.

#include "scenes/SceneCalls.h"
#include "show/Timetable.h"

struct EffectBuffers;

class Director {
  public:
    // Hands the director the scenes it renders and the effect buffers it owns.
    void attach(const SceneCalls& scenes, EffectBuffers& effects);

    // Draws the frame for demoTime; sets quitRequested once the show is over.
    void run(int demoTime, bool& quitRequested);

    // Section state, carried from frame to frame.
    float middleStart = -1.0f;      // first frame of the star swarm section; -1 while not entered
    float crossValue = 0.0f;        // last title crossfade value, later the star-ball fade-in
    float transitionStarted = 0.0f; // 1 from the first frame of the star-ball section
    float transitionStart = 0.0f;
    float hipuStart = 0.0f;

  private:
    void title(int t, int dt);
    void swarmWithFlashes(int t, int dt);
    void starBallIntoHipu(int t, int dt);
    void swarmWhiteOut(int t, int dt);
    void hipuOutOfWhite(int t, int dt);
    void closing(int t, int dt);
    void streakedFadeToBlack(timetable::Window window, float t);
    // Renders a module, or clears the frame when it is not available so its section stays black.
    void scene(SceneId id, int dt, int arg = 0, float fade = 0.0f);

    static constexpr long long kLargestDelta = 1 << 30;
    int previousTime_ = 0;
    SceneCalls scenes_;
    EffectBuffers* fx_ = nullptr;
};
