#pragma once
// Live play's choice of the internal frame size: the largest size, between a floor and the
// ceiling the screen sets, whose frames are drawn within the display's frame time.
//
// It looks at the frames in windows of at least half a second. A window that misses the target
// steps one size down at once. A step up needs two windows in a row in which the larger size,
// its cost scaled by its pixel count, would still take under four fifths of the target; and a
// size that was left for missing is not tried again until a wait has passed that doubles each
// time it misses anew. So it settles instead of going back and forth. Pure logic: the caller
// measures the frames and changes the size.

#include <array>

class FrameSizeGovernor {
public:
    // targetMs: the display's frame time; sizes from kFrameSizes within [floor, ceiling].
    FrameSizeGovernor(double targetMs, int startSize, int floor, int ceiling);

    int size() const { return sizes_[current_]; }
    int ceiling() const { return sizes_[ceilingIndex_]; }
    double targetMs() const { return targetMs_; }

    // A new ceiling (the window changed size); the size drops to it at once if above.
    void setCeiling(int ceiling);

    // One frame drawn at size(): busyMs spent drawing it, intervalMs from the start of the
    // previous frame to the start of this one. Returns the size for the next frame.
    int frameDone(double busyMs, double intervalMs);

    // The next frames say nothing of the size (a jump, a resize, a new size's first frames):
    // measuring starts over after them.
    void restartWindow();

    static constexpr double kWindowMs = 500.0;
    static constexpr int kWindowFrames = 8;    // at least, however slow the frames
    static constexpr int kSettleFrames = 3;    // left out after a change
    static constexpr double kMissShare = 1.08; // a window's interval above the target by this misses
    static constexpr double kRoomShare = 0.8;  // the larger size must fit within this share
    static constexpr double kFirstWaitMs = 4000.0;
    static constexpr double kLongestWaitMs = 128000.0;

private:
    void step(int to);
    int indexOf(int size) const;

    double targetMs_;
    std::array<int, 7> sizes_{};
    int count_ = 0;     // sizes on offer
    int current_ = 0;   // index into sizes_
    int ceilingIndex_ = 0;

    // The window: sums and the largest frame, which is left out (one stall is not a trend).
    int settle_ = 0;
    int frames_ = 0;
    double busySum_ = 0.0, intervalSum_ = 0.0;
    double busyMax_ = 0.0, intervalMax_ = 0.0;
    int roomyWindows_ = 0;

    // Per size: played time before which it is not tried again, and the wait after its next miss.
    double clockMs_ = 0.0;
    std::array<double, 7> retryAt_{};
    std::array<double, 7> wait_{};
};
