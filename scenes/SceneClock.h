#pragma once
// The scene clock every module keeps: it sees only frame deltas, never the demo time.

struct SceneClock {
    float time = 0.0f;         // ms
    float moved = 0.0f;        // ms the clock moved this frame: what motion along paths follows
    float frameSeconds = 0.0f; // this frame's delta in seconds, for per-frame motion

    explicit SceneClock(float start = 0.0f) : time(start) {}

    // Deltas of two seconds or more (a seek forward, a stalled frame) leave the clock where it
    // is; negative ones (a seek back) run it back, though never past a day before its start:
    // the scenes turn the clock into whole milliseconds, which must stay inside an int however
    // often a viewer seeks back.
    void advance(int dt) {
        moved = dt < kLongDelta ? static_cast<float>(dt) : 0.0f;
        time += moved;
        if (time < kEarliest) time = kEarliest;
        frameSeconds = static_cast<float>(dt) * 0.001f;
    }

    static constexpr int kLongDelta = 2000;
    static constexpr float kEarliest = -86400000.0f;
};
