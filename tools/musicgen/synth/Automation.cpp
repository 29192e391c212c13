#include "synth/Automation.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {
// The breakpoints around a time and how far between them it lies; both indices equal when held.
struct Span {
    size_t from = 0;
    size_t to = 0;
    float share = 0.0f;
};
Span spanAt(const std::vector<Automation::Point>& points, double seconds) {
    const auto later = std::upper_bound(points.begin(), points.end(), seconds,
                                        [](double t, const Automation::Point& p) { return t < p.at; });
    const size_t next = static_cast<size_t>(later - points.begin());
    if (next == 0) return {0, 0, 0.0f};
    if (next == points.size()) return {next - 1, next - 1, 0.0f};
    const Automation::Point& a = points[next - 1];
    const Automation::Point& b = points[next];
    const double length = b.at - a.at;
    return {next - 1, next, length > 0.0 ? static_cast<float>((seconds - a.at) / length) : 1.0f};
}
} // namespace

float Automation::valueAt(double seconds) const {
    if (points.empty()) return 0.0f;
    const Span s = spanAt(points, seconds);
    return points[s.from].value + (points[s.to].value - points[s.from].value) * s.share;
}

float Automation::geometricAt(double seconds) const {
    if (points.empty()) return 0.0f;
    const Span s = spanAt(points, seconds);
    const float a = std::max(points[s.from].value, 1e-6f);
    const float b = std::max(points[s.to].value, 1e-6f);
    return a * std::pow(b / a, s.share);
}

} // namespace synth
