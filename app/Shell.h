#pragma once
// Start-up, the frame of the main loop, and shutdown of the demo. The interactive player and the
// fixed-step capture drive the same Shell: they differ only in where the demo time comes from and
// where the finished frame goes.

#include "anim/Random.h"
#include "app/CommandLine.h"
#include "app/DemoClock.h"
#include "app/FrameRate.h"
#include "app/LoadAll.h"
#include "platform/GlContext.h"
#include "platform/MusicStream.h"
#include "render/FrameProjection.h"
#include "render/FrameTarget.h"
#include "render/ShellText.h"
#include "scenes/SceneRegistry.h"
#include "timeline/Director.h"

#include <memory>

// Says once, on standard error, when the soundtrack ends before the show (which then plays on in
// silence).
void noteSoundtrackLength(const MusicStream& music);

struct Shell {
    ScreenSize screen;
    GlWindow window;
    FrameTarget frame; // what the director draws into, stretched over the window each frame
    unsigned creationTick = 0;
    DemoClock clock;
    FrameRate frameRate;
    MusicStream music;
    Director director;
    ShowResources show;
    ShowScenes scenes;
    LoadingBar loadingBar;
    bool quitRequested = false;
    bool printStatus = true; // the per-frame console line
    unsigned glError = 0;    // the first GL error a frame ran into (reported then), 0 for none
    // Frames between GL error checks. Errors stay flagged until read, so none is missed; a browser
    // answers the check only once the GPU process has caught up, which costs frames.
    int glCheckFrames = 1;

    // Opens the window (or the offscreen surface), sets up GL and loads everything.
    // Returns false when the program must end at once; exitStatus then holds its status.
    bool startUp(const WindowDesc& desc, int& exitStatus);
    // Opens and starts the soundtrack as the clock; reports a missing file.
    void startMusic(const Options& options);
    // Renders one frame for demoTime into the back buffer: director, blit, status line; then
    // checks that GL took every call of it.
    void renderFrame(int demoTime);
    // Renders from the next frame on at a new square frame size; the feedback the scenes draw
    // from keeps its picture. False when the context cannot render at that size.
    bool changeFrameSize(int size);
    // Keeps the state the show starts from (every scene, the director, the random numbers), and
    // puts it back: a section the show then jumps to plays as when started there. Live play
    // keeps it once loaded; the effect buffers and the frame size stay as they are.
    void keepStartState();
    void startOver();
    void shutDown();

  private:
    bool openWindow(const WindowDesc& desc, int& exitStatus);
    void writeStatus(int demoTime);
    int framesUnchecked_ = 0;

    struct StartState {
        ShowScenes scenes;
        Director director;
        RandomGenerator random;
    };
    std::unique_ptr<StartState> start_;
};
