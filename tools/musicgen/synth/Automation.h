// A value that moves over a piece: breakpoints in seconds, straight lines between them, held
// before the first and after the last. Scores draw level arcs and filter sweeps with it.
#pragma once

#include <vector>

namespace synth {

struct Automation {
    struct Point {
        double at = 0.0; // seconds
        float value = 0.0f;
    };
    std::vector<Point> points; // in time order

    bool empty() const { return points.empty(); }
    // Linear between breakpoints.
    float valueAt(double seconds) const;
    // Between breakpoints by equal ratios, for frequencies (values must be > 0).
    float geometricAt(double seconds) const;
    // Appends a breakpoint; times must not go backwards.
    Automation& to(double seconds, float value) {
        points.push_back({seconds, value});
        return *this;
    }
};

} // namespace synth
