#pragma once
// Frames per second, sampled once a second (not averaged).
struct FrameRate {
    int frameCounter = 0;
    int framesPerSecond = 0;
    unsigned fpsTimer = 0; // starts at 0, so the first frame already takes a sample

    void countFrame(unsigned now) {
        ++frameCounter;
        if (now - fpsTimer > 1000u) {
            fpsTimer = now;
            framesPerSecond = frameCounter;
            frameCounter = 0;
        }
    }
};
