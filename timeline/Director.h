#pragma once
// The script of the show: called once per frame with the demo time, it decides what is drawn.
//
// This first version only keeps the frame black and ends the show at its last millisecond;
// the scenes and their transitions join it as they are built.

class Director {
public:
    static constexpr int kShowEnd = 286500; // ms

    // Name of the section of the show that plays at demo time t, for reports and benchmarks.
    static const char* sectionName(int t);

    // Draws the frame for demoTime; sets quitRequested once the show is over.
    void run(int demoTime, bool& quitRequested);

private:
    int previousTime_ = 0;
    int runningTotal_ = 0;
};
