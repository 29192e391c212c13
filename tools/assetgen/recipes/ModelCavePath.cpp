#include "recipes/ModelCavePath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

void CurvePath::addPoint(Vec3d p) {
    if (points.size() < capacity) points.push_back(p);
}

void CurvePath::build(double tangentLengthArg, bool normalize) {
    const std::size_t n = points.size();
    tangents.assign(n, {});
    for (std::size_t i = 1; i + 1 < n; ++i) tangents[i] = points[i + 1] - points[i - 1];
    if (closed) {
        tangents[0] = points[1] - points[n - 1];
        tangents[n - 1] = points[0] - points[n - 2];
    } else {
        tangents[0] = points[1] - points[0];
        tangents[n - 1] = points[n - 1] - points[n - 2];
    }
    if (normalize)
        for (Vec3d& t : tangents) t = normalized(t) * tangentLengthArg;
    tangentLength = tangentLengthArg;
    normalizeTangents = normalize;

    // Arc length as a sum of chords no longer than sqrt(0.001); the chord that reaches t = 1 is
    // not counted.
    totalLength = 0.0;
    const double step = 1.0 / (static_cast<double>(n) * 100.0);
    double t = 0.0;
    Vec3d p = evaluate(0.0);
    while (t < 1.0) {
        const Vec3d prev = p;
        double h = 1.0;
        double c = 0.0, d2 = 0.0;
        bool last = false;
        for (;;) {
            c = t + step / h;
            if (c > 1.0) c = 1.0;
            p = evaluate(c);
            d2 = dot(p - prev, p - prev);
            if (c == 1.0) {
                last = true;
                break;
            }
            if (d2 <= 0.001) break;
            h *= 2.0;
        }
        t = c;
        if (!last) totalLength += std::sqrt(d2);
    }
}

Vec3d CurvePath::evaluate(double t) const {
    const auto n = static_cast<double>(points.size());
    const double f = t - std::trunc(t);
    std::size_t s = 0, next = 0;
    double local = 0.0;
    if (closed) {
        const double u = f * n;
        s = static_cast<std::size_t>(std::trunc(u));
        local = u - static_cast<double>(s);
        if (s == points.size()) s = 0;
        next = s + 1 == points.size() ? 0 : s + 1;
    } else {
        const double u = f * (n - 1);
        s = std::min(static_cast<std::size_t>(std::trunc(u)), points.size() - 1);
        local = u - static_cast<double>(s);
        next = std::min(s + 1, points.size() - 1);
    }
    const Vec3d p0 = points[s], p1 = points[s] + tangents[s];
    const Vec3d p3 = points[next], p2 = points[next] - tangents[next];
    const double a = 1.0 - local;
    return p0 * (a * a * a) + p1 * (3 * local * a * a) + p2 * (3 * local * local * a) +
           p3 * (local * local * local);
}

void CurvePath::planResample() {
    if (resampleCount != 0) return;
    const std::size_t n = points.size();
    double minChord = -1.0;
    Vec3d p = evaluate(0.0);
    for (std::size_t i = 1; i < n; ++i) {
        const Vec3d prev = p;
        p = evaluate(static_cast<double>(i) / static_cast<double>(n - 1));
        const double c = length(p - prev);
        if (c < minChord || minChord < 0.0) minChord = c;
    }
    const auto m =
        static_cast<int>(std::trunc(std::cbrt(256.0 * static_cast<double>(n)) * totalLength / minChord));
    resampleCount = m - (m % static_cast<int>(n)) + static_cast<int>(n);
}

CurvePath CurvePath::resampled() const {
    CurvePath dst;
    dst.closed = closed;
    dst.capacity = static_cast<std::size_t>(resampleCount);
    const double spacing = totalLength / resampleCount;
    const double newTangentLength = static_cast<double>(points.size()) * tangentLength / resampleCount;
    double t = 0.0;
    Vec3d p = evaluate(0.0);
    while (t < 1.0) {
        const Vec3d prev = p;
        double step = 1.0 / resampleCount;
        bool changed = true;
        while (changed) {
            changed = false;
            p = evaluate(t + step);
            const double c = length(p - prev);
            if (c > spacing + 0.1) step *= 0.95, changed = true;
            if (c < spacing - 0.1) step *= 1.05, changed = true;
            if (!(t + step < 1.0)) break;
        }
        t += step;
        dst.addPoint(p);
    }
    dst.build(newTangentLength, normalizeTangents);
    return dst;
}

namespace {

// The demo's pseudo-random generator (linear congruential, 15-bit draws).
struct DemoRandom {
    std::uint32_t state = 0;
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

// The cave's centre line, (x, z) in the designer's table units.
constexpr double kCaveTable[44][2] = {
    {0.84422, 8.3402},   {1.2531, 6.7326},   {0.84422, 4.3213},    {0.45996, 1.7583},   {-1.4821, 1.9592},
    {-3.9729, 1.599},    {-5.8317, 2.3244},  {-7.2626, 2.1234},    {-3.9308, 1.2216},   {-4.6884, -1.2878},
    {-5.5061, -2.9958},  {-4.8929, -3.2972}, {-4.0752, -0.082101}, {-1.9931, 1.3564},   {0.97101, 1.3564},
    {3.2197, 1.5573},    {5.0595, 0.75354},  {6.3883, -0.75354},   {6.8993, -0.55016},  {4.344, 1.2559},
    {1.2777, 1.5573},    {0.50868, 0.95449}, {0.58813, -1.3564},   {-0.15332, -3.1649}, {0.45996, -4.471},
    {1.3799, -4.0691},   {0.76659, -2.763},  {-1.3799, -3.8682},   {0.051106, -4.1696}, {-0.21775, -6.2795},
    {-0.52438, -8.289},  {0.59995, -7.7866}, {-0.013323, -5.2748}, {0.56217, -3.6672},  {2.5042, -3.8682},
    {5.3056, -4.2848},   {5.7144, -5.39},    {3.7724, -4.4857},    {0.35774, -3.2654},  {0.50868, -0.5526},
    {-0.051106, 1.5573}, {1.0486, 3.7184},   {0.6398, 6.3307},     {0.74201, 7.4359},
};

} // namespace

CaveFlight buildCaveFlight() {
    CaveFlight f;
    DemoRandom random;
    random.state = 123;
    const Vec3d sway[6] = {{-17, 0, -5}, {-14, 3, 4}, {0, -3, 6}, {15, 2, 4}, {16, 0, -6}, {0, 3, -7}};
    CurvePath swaySource;
    for (const Vec3d& p : sway) swaySource.addPoint(p);
    swaySource.build(5.0, true);
    swaySource.planResample();
    f.swayPath = swaySource.resampled();

    CurvePath jittered;
    for (const auto& row : kCaveTable) {
        const double x = -15.0 * (row[0] - 0.689204);
        const double y = -15.0 * (0.0 - 0.001438);
        const double z = 15.0 * (row[1] - 1.668403);
        f.cavePath.addPoint({x, y, z});
        jittered.addPoint({x, random.next() / 32768.0 * 6.0 + y - 3.0, z});
    }
    f.cavePath.build(8.0, true);
    f.cavePath.planResample();
    f.cameraPath = f.cavePath.resampled();
    jittered.build(8.0, true);
    jittered.planResample();
    f.lanternPath = jittered.resampled();
    return f;
}

Vec3d caveEyeInFile(const CaveFlight& flight, double travel) {
    Vec3d position = flight.cameraPath.evaluate(travel);
    const double ahead = travel + kCaveCameraSpeed / flight.cameraPath.totalLength; // one second ahead
    position.y += 1.7 * flight.lanternPath.evaluate(ahead + 15.0).y;
    return worldToFile(-position, kCaveVertexScale); // the eye is the negated camera position
}

Vec3d caveLanternInFile(const CaveFlight& flight, double travel) {
    const double ahead = travel + kCaveCameraSpeed / flight.cameraPath.totalLength;
    return worldToFile(-flight.lanternPath.evaluate(ahead), kCaveVertexScale);
}

double caveSwayReachInFile(const CaveFlight& flight) {
    double reach = 0.0;
    for (int i = 0; i < 2000; ++i) reach = std::fmax(reach, length(flight.swayPath.evaluate(i / 2000.0)));
    return 0.12 * reach / kCaveVertexScale;
}

Vec3d caveGreetingAnchor(const CaveFlight& flight, int k) {
    const CaveGreetingPlacement& g = kCaveGreetingPlacements[k];
    return -flight.cameraPath.evaluate(g.start + g.lead) + g.offset;
}

Vec3d caveGreetingToWorld(int k, Vec3d p, Vec3d anchor) {
    const CaveGreetingPlacement& g = kCaveGreetingPlacements[k];
    // The loader's (x, -z, y) * scale, then OpenGL's rotations about x, z and y.
    Vec3d v = Vec3d{p.x, -p.z, p.y} * g.vertexScale;
    const double cx = std::cos(g.rotation.x), sx = std::sin(g.rotation.x);
    v = {v.x, v.y * cx - v.z * sx, v.y * sx + v.z * cx};
    const double cz = std::cos(g.rotation.z), sz = std::sin(g.rotation.z);
    v = {v.x * cz - v.y * sz, v.x * sz + v.y * cz, v.z};
    const double cy = std::cos(g.rotation.y), sy = std::sin(g.rotation.y);
    v = {v.x * cy + v.z * sy, v.y, -v.x * sy + v.z * cy};
    return v + anchor;
}
