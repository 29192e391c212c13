// A planar stereo signal at the engine's sample rate.
#pragma once

#include <cstddef>
#include <vector>

namespace synth {

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;

    StereoBuffer() = default;
    explicit StereoBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    void clear(size_t begin, size_t end) {
        for (size_t i = begin; i < end && i < frames(); ++i) left[i] = right[i] = 0.0f;
    }
    void resize(size_t frames) {
        left.assign(frames, 0.0f);
        right.assign(frames, 0.0f);
    }
    // Adds other × gain over frames [begin, end) of both.
    void mixIn(const StereoBuffer& other, float gain, size_t begin = 0,
               size_t end = static_cast<size_t>(-1)) {
        mixIn(other, gain, gain, begin, end);
    }
    // The same with a gain per side, for balance.
    void mixIn(const StereoBuffer& other, float gainLeft, float gainRight, size_t begin,
               size_t end = static_cast<size_t>(-1)) {
        const size_t n = other.frames() < frames() ? other.frames() : frames();
        if (end > n) end = n;
        for (size_t i = begin; i < end; ++i) {
            left[i] += other.left[i] * gainLeft;
            right[i] += other.right[i] * gainRight;
        }
    }
};

} // namespace synth
