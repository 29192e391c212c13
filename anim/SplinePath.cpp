#include "anim/SplinePath.h"

#include <cmath>

namespace {

// Arc length is summed over chords no longer than sqrt(0.001) units.
constexpr float kMaxChordSquared = 0.001f;
// Initial trial steps per segment while measuring.
constexpr int kMeasureStepsPerSegment = 100;
// Resampled points may miss the target spacing by this many units either way.
constexpr float kSpacingTolerance = 0.1f;
constexpr float kStepShrink = 0.95f;
constexpr float kStepGrow = 1.05f;
// Guards for degenerate paths: the step search settles within a few dozen tries on real
// paths, and a near-zero shortest chord must not turn into an absurd sample count.
constexpr int kMaxStepTries = 10000;
constexpr double kMaxResampleEstimate = 1 << 20;

} // namespace

SplinePath::SplinePath(int pathCapacity, bool isClosed)
    : points(pathCapacity > 0 ? pathCapacity : 0), tangents(points.size()), closed(isClosed),
      capacity(static_cast<int>(points.size())), loops(isClosed) {}

void SplinePath::addPoint(float x, float y, float z) {
    if (count >= capacity) return;
    points[count].set(x, y, z);
    ++count;
}

void SplinePath::build(float length, bool normalize) {
    tangentLength = length;
    normalizeTangents = normalize;
    const int n = count;
    const Vec3* P = points.data();
    Vec3* T = tangents.data();

    // Fewer than two points give no direction: the path is a single point (or empty).
    for (int i = 0; i < n; ++i) T[i].set(0.0f, 0.0f, 0.0f);
    if (n >= 2) {
        // Central differences, deliberately not halved.
        for (int i = 1; i <= n - 2; ++i) T[i] = P[i + 1].minus(P[i - 1]);
        if (closed) {
            T[0] = P[1].minus(P[n - 1]);
            T[n - 1] = P[0].minus(P[n - 2]);
        } else {
            T[0] = P[1].minus(P[0]);
            T[n - 1] = P[n - 1].minus(P[n - 2]);
        }
    }
    if (normalize) {
        for (int i = 0; i < n; ++i) {
            // A zero difference (a point whose neighbours coincide) has no direction to scale;
            // it stays zero and the curve passes that point without a handle.
            if (T[i].lengthSquared() == 0.0f) continue;
            T[i].normalize();
            T[i].scale(length);
        }
    }

    // Arc length: from t, try ever halved steps until the chord is short enough. The chord
    // that reaches t = 1 ends the walk uncounted, whatever its length (up to one first trial
    // step), which leaves loops a fraction of a percent short; resample counts depend on it.
    travel = 0.0f;
    totalLength = 0.0f;
    if (n < 2) return;
    const float step = 1.0f / static_cast<float>(n * kMeasureStepsPerSegment);
    float t = 0.0f;
    Vec3 p;
    evaluate(p, 0.0f);
    while (t < 1.0f) {
        const Vec3 prev = p;
        float h = 1.0f;
        float c = 0.0f;
        float d2 = 0.0f;
        bool last = false;
        for (;;) {
            c = t + step / h;
            if (c > 1.0f) c = 1.0f;
            evaluate(p, c);
            d2 = p.minus(prev).lengthSquared();
            if (c == 1.0f) {
                last = true;
                break;
            }
            if (d2 <= kMaxChordSquared) break;
            if (c <= t) break; // only non-finite points get here: no step is short enough
            h *= 2.0f;
        }
        if (c <= t) break;
        t = c;
        if (!last) totalLength += std::sqrt(d2);
    }
}

Vec3& SplinePath::evaluate(Vec3& out, float t) {
    const int n = count;
    if (n == 0) {
        out.set(0.0f, 0.0f, 0.0f);
        return out;
    }
    int s = 0;
    int next = 0;
    float local = 0.0f;
    if (closed) {
        // Floor rather than truncation, so a parameter run backwards (a negative frame delta)
        // still wraps onto the loop instead of indexing before the first point.
        float f = t - std::floor(t);
        if (!(f >= 0.0f && f < 1.0f)) f = 0.0f; // 1.0 from rounding, or a non-finite t
        const float u = f * static_cast<float>(n);
        s = static_cast<int>(u);
        local = u - static_cast<float>(s);
        if (s >= n) s = 0;
        next = s + 1 == n ? 0 : s + 1;
    } else {
        // Open paths clamp instead of wrapping, so t = 1 (where a non-looping advance stops)
        // is the last point rather than the first.
        float f = t;
        if (!(f > 0.0f)) f = 0.0f;
        if (f > 1.0f) f = 1.0f;
        const float u = f * static_cast<float>(n - 1);
        s = static_cast<int>(u);
        if (s > n - 1) s = n - 1;
        local = u - static_cast<float>(s);
        next = s + 1 > n - 1 ? n - 1 : s + 1;
    }

    const Vec3& P0 = points[s];
    const Vec3& P3 = points[next];
    const Vec3& Ts = tangents[s];
    const Vec3& Tn = tangents[next];
    segP0.set(P0.x, P0.y, P0.z);
    segP1.set(P0.x + Ts.x, P0.y + Ts.y, P0.z + Ts.z);
    segP2.set(P3.x - Tn.x, P3.y - Tn.y, P3.z - Tn.z);
    segP3.set(P3.x, P3.y, P3.z);

    const float a = 1.0f - local;
    const float b0 = a * a * a;
    const float b1 = 3.0f * local * a * a;
    const float b2 = 3.0f * local * local * a;
    const float b3 = local * local * local;
    out.set(b0 * segP0.x + b1 * segP1.x + b2 * segP2.x + b3 * segP3.x,
            b0 * segP0.y + b1 * segP1.y + b2 * segP2.y + b3 * segP3.y,
            b0 * segP0.z + b1 * segP1.z + b2 * segP2.z + b3 * segP3.z);
    return out;
}

float SplinePath::peek(float speed, float dt) const {
    // A path of zero length has nowhere to go (and must not divide by its length).
    if (!(totalLength > 0.0f)) return travel;
    float t = travel + speed * dt * 0.001f / totalLength;
    if (!loops) {
        // Clamped at both ends, so running a non-looping path backwards stops at its start.
        if (t > 1.0f) t = 1.0f;
        if (t < 0.0f) t = 0.0f;
    }
    return t;
}

Vec3& SplinePath::advance(Vec3& out, float speed, float dt) {
    travel = peek(speed, dt);
    return evaluate(out, travel);
}

int resampleCountFor(int m, int pathCount) {
    if (pathCount <= 0) return 0;
    return m - m % pathCount + pathCount;
}

void SplinePath::planResample() {
    if (resampleCount != 0) return;
    const int n = count;
    // Shortest chord between the points at i / (n - 1), on open and closed paths alike.
    float minChord = -1.0f;
    Vec3 p;
    evaluate(p, 0.0f);
    for (int i = 1; i <= n - 1; ++i) {
        const Vec3 prev = p;
        evaluate(p, static_cast<float>(i) / static_cast<float>(n - 1));
        const float c = p.minus(prev).length();
        if (c < minChord || minChord < 0.0f) minChord = c;
    }
    // Coinciding samples (or a single point) would divide by zero: fall back to one sample
    // per control point.
    double estimate = 0.0;
    if (minChord > 0.0f)
        estimate = std::pow(256.0 * n, 1.0 / 3.0) * static_cast<double>(totalLength) / minChord;
    if (!(estimate < kMaxResampleEstimate)) estimate = kMaxResampleEstimate;
    resampleCount = resampleCountFor(static_cast<int>(estimate), n);
}

void SplinePath::resampleInto(SplinePath& dst) {
    planResample(); // keeps an earlier plan
    const int n = count;
    const float newTangentLength =
        resampleCount > 0 ? static_cast<float>(n) * tangentLength / static_cast<float>(resampleCount) : 0.0f;
    if (n < 2) {
        dst.build(newTangentLength, normalizeTangents);
        return;
    }
    const float spacing = totalLength / static_cast<float>(resampleCount);
    const float tooLong = spacing + kSpacingTolerance;
    const float tooShort = spacing - kSpacingTolerance;

    // From the previous point, shrink or grow the trial step by 5 % until the chord lands in the
    // window; the start point itself is not added, and the last point is taken at t >= 1.
    float t = 0.0f;
    Vec3 p;
    evaluate(p, 0.0f);
    while (t < 1.0f) {
        const Vec3 prev = p;
        float step = 1.0f / static_cast<float>(resampleCount);
        bool changed = false;
        int tries = 0;
        do {
            evaluate(p, t + step);
            const float c = p.minus(prev).length();
            changed = false;
            if (c > tooLong) {
                step *= kStepShrink;
                changed = true;
            }
            if (c < tooShort) {
                step *= kStepGrow;
                changed = true;
            }
        } while (changed && t + step < 1.0f && ++tries < kMaxStepTries);
        if (!(t + step > t)) break; // a step too small to move on: nothing more can be placed
        t += step;
        dst.addPoint(p.x, p.y, p.z);
    }
    dst.build(newTangentLength, normalizeTangents);
}
