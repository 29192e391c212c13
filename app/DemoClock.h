#pragma once
// The show's clock: the music position, or the tick counter without music, with the pause and
// seek rules of the keyboard.

#include "platform/Events.h"

class MusicStream;

struct DemoClock {
    bool musicEnabled = true;
    int startOffset = 0;      // position at which the music starts
    bool seekPending = true;  // the first frame seeks the stream to startOffset
    unsigned tickBase = 0;    // tick-mode base: demo time = now - tickBase
    int lastTickTime = 0;     // tick-mode demo time of the previous frame
    bool paused = false;
    int pausedPosition = 0;   // music position captured when the pause began
    MusicStream* music = nullptr;

    // Demo time of this frame, given the tick counter now.
    int read(unsigned now);
    // Applies a key press at tick now. Returns true for Escape (quit requested).
    bool pressKey(Key key, unsigned now);
    // Moves the show to demo time ms (the music with it); a pause holds there.
    void jumpTo(int ms, unsigned now);
};
