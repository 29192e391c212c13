#pragma once
// Live play's choice of the internal frame size: the largest size, between a floor and the
// ceiling the screen sets, whose frames are drawn within the display's frame time.
//
// It looks at the frames in windows of at least half a second. A window that misses the target
// steps one size down at once. A step up needs two windows in a row in which the larger size
// would still take under four fifths of the target. What a step costs is learnt: at first the
// ratio of the pixel counts (drawing is never dearer than its pixels), then what the frames on
// either side of the last change of that step took, since much of a frame's work does not grow
// with its pixels. A size that was left for missing is not tried again until a wait has passed
// that doubles each time it misses anew. So it settles instead of going back and forth. Pure
// logic: the caller measures the frames and changes the size.

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

    // The next frames say nothing of the size (a jump, a resize): measuring starts over after
    // them, and what came before is not compared with what comes after.
    void restartWindow();

    static constexpr double kWindowMs = 500.0;
    static constexpr int kWindowFrames = 8;    // at least, however slow the frames
    static constexpr int kSettleFrames = 3;    // left out after a change
    static constexpr double kMissShare = 1.08; // a window's interval above the target by this misses
    static constexpr double kRoomShare = 0.8;  // the larger size must fit within this share
    static constexpr double kFirstWaitMs = 4000.0;
    static constexpr double kLongestWaitMs = 128000.0;

  private:
    static constexpr int kMaxSizes = 7;

    void step(int to);
    void startWindow();
    void learnStepCost(double busy);
    int indexOf(int size) const;

    double targetMs_;
    std::array<int, kMaxSizes> sizes_{};
    int count_ = 0;   // sizes on offer
    int current_ = 0; // index into sizes_
    int ceilingIndex_ = 0;

    // The window: sums and the largest frame, which is left out (one stall is not a trend).
    int settle_ = 0;
    int frames_ = 0;
    double busySum_ = 0.0, intervalSum_ = 0.0;
    double busyMax_ = 0.0, intervalMax_ = 0.0;
    int roomyWindows_ = 0;

    // stepCost_[i]: how much dearer a frame of size i + 1 is than one of size i. The last window
    // measured, to learn it from the first window after a change.
    std::array<double, kMaxSizes> stepCost_{};
    int lastWindowIndex_ = -1;
    double lastWindowBusy_ = 0.0;

    // Per size: played time before which it is not tried again, and the wait after its next miss.
    double clockMs_ = 0.0;
    std::array<double, kMaxSizes> retryAt_{};
    std::array<double, kMaxSizes> wait_{};
};
