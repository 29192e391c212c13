#pragma once
// Live play: the main loop on the music clock, with the keys, the section jumps and the loop, the
// frame size chosen to hold the display's rate, and the summary at exit.

#include "app/CommandLine.h"
#include "app/FrameSizeGovernor.h"
#include "app/PlayRange.h"
#include "app/PlayStats.h"
#include "app/Shell.h"
#include "platform/Events.h"

#include <optional>

struct Player {
    Shell shell;
    PlayRange range;
    std::optional<FrameSizeGovernor> governor; // none while --frame pins the size
    std::optional<PlayStats> stats;            // with --stats
    bool quitRetrieved = false;
    int lastTime = 0; // demo time of the frame on screen
    void (*clockRead)(int demoTime) = nullptr; // told each frame's time as the clock gave it

    // Opens the window, loads the show and starts the music. False when the program must end
    // at once; exitStatus then holds its status.
    bool startUp(const Options& options, int& exitStatus);
    // One turn of the main loop: takes at most one window event, draws and shows a frame (while
    // the window cannot be seen, waits for an event instead, the clock and the music going on).
    // False once the show is over or the viewer quit (the last frame is still shown).
    bool step();
    // Closes everything down, prints the summary; returns the exit status.
    int finish();

  private:
    void pressKey(Key key, unsigned now);
    void startOverAt(int ms);
    void followWindowSize(int width, int height);
    void takeEvent(const WindowEvent& event);
    void drawFrame(int t, double start, double shownMs);

    double frameStart_ = 0.0; // seconds, of the frame on screen
    bool frameShown_ = false;
    bool hidden_ = false; // the window cannot be seen: nothing is drawn
    int frameSize_ = 0; // what the frame on screen was drawn at
};

// Plays the show with the given options; returns the process exit status: 0 when the show ended
// or the user quit (or declined the windowed fallback), non-zero when start-up failed.
int runDemo(const Options& options);
