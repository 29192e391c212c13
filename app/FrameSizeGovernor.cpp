#include "app/FrameSizeGovernor.h"

#include "render/FrameSize.h"

#include <algorithm>

namespace {

double pixelRatio(int larger, int smaller) {
    const double r = static_cast<double>(larger) / smaller;
    return r * r;
}

} // namespace

FrameSizeGovernor::FrameSizeGovernor(double targetMs, int startSize, int floor, int ceiling)
    : targetMs_(targetMs) {
    for (const int s : kFrameSizes)
        if (s >= floor) sizes_[static_cast<size_t>(count_++)] = s;
    if (count_ == 0) sizes_[static_cast<size_t>(count_++)] = kFrameSizes[0];
    for (int i = 0; i + 1 < count_; ++i)
        stepCost_[static_cast<size_t>(i)] =
            pixelRatio(sizes_[static_cast<size_t>(i + 1)], sizes_[static_cast<size_t>(i)]);
    wait_.fill(kFirstWaitMs);
    ceilingIndex_ = count_ - 1;
    setCeiling(ceiling);
    current_ = std::min(indexOf(startSize), ceilingIndex_);
    restartWindow();
}

int FrameSizeGovernor::indexOf(int size) const {
    int i = 0; // the largest offered size not above size, else the smallest
    while (i + 1 < count_ && sizes_[static_cast<size_t>(i + 1)] <= size) ++i;
    return i;
}

void FrameSizeGovernor::setCeiling(int ceiling) {
    ceilingIndex_ = indexOf(ceiling);
    if (current_ > ceilingIndex_) step(ceilingIndex_);
}

void FrameSizeGovernor::startWindow() {
    settle_ = kSettleFrames;
    frames_ = 0;
    busySum_ = intervalSum_ = busyMax_ = intervalMax_ = 0.0;
}

void FrameSizeGovernor::restartWindow() {
    startWindow();
    lastWindowIndex_ = -1;
}

void FrameSizeGovernor::step(int to) {
    current_ = to;
    roomyWindows_ = 0;
    startWindow();
}

// The first window after a change of one step, against the last one before it: what the step
// costs now. Never less than nothing, never more than twice its pixels.
void FrameSizeGovernor::learnStepCost(double busy) {
    const int before = lastWindowIndex_;
    lastWindowIndex_ = current_;
    const double busyBefore = lastWindowBusy_;
    lastWindowBusy_ = busy;
    if (before < 0 || (before != current_ - 1 && before != current_ + 1) || busy <= 0.0 || busyBefore <= 0.0)
        return;
    const int lower = std::min(before, current_);
    const double measured = before < current_ ? busy / busyBefore : busyBefore / busy;
    const size_t i = static_cast<size_t>(lower);
    const double pixels = pixelRatio(sizes_[i + 1], sizes_[i]);
    stepCost_[i] = std::clamp(measured, 1.0, 2.0 * pixels);
}

int FrameSizeGovernor::frameDone(double busyMs, double intervalMs) {
    clockMs_ += intervalMs;
    if (settle_ > 0) {
        --settle_;
        return size();
    }
    ++frames_;
    busySum_ += busyMs;
    intervalSum_ += intervalMs;
    busyMax_ = std::max(busyMax_, busyMs);
    intervalMax_ = std::max(intervalMax_, intervalMs);
    if (frames_ < kWindowFrames || intervalSum_ < kWindowMs) return size();

    const double n = frames_ - 1;
    const double busy = (busySum_ - busyMax_) / n;
    const double interval = (intervalSum_ - intervalMax_) / n;
    startWindow();
    settle_ = 0;
    learnStepCost(busy);

    const bool missed = interval > targetMs_ * kMissShare || busy > targetMs_;
    if (missed) {
        roomyWindows_ = 0;
        if (current_ == 0) return size();
        const size_t left = static_cast<size_t>(current_);
        retryAt_[left] = clockMs_ + wait_[left];
        wait_[left] = std::min(2.0 * wait_[left], kLongestWaitMs);
        step(current_ - 1);
        return size();
    }
    const int up = current_ + 1;
    if (up > ceilingIndex_ || clockMs_ < retryAt_[static_cast<size_t>(up)] ||
        busy * stepCost_[static_cast<size_t>(current_)] > targetMs_ * kRoomShare) {
        roomyWindows_ = 0;
        return size();
    }
    if (++roomyWindows_ >= 2) step(up);
    return size();
}
