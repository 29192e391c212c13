#include "image/Noise.h"

#include "image/Hash.h"

#include <algorithm>
#include <cmath>

namespace {

// Sixteen gradient directions, half a step off the axes so ridges do not line up with the
// lattice; spelled out so no trigonometry runs at start-up.
constexpr float kGradients[16][2] = {
    {0.98078528f, 0.19509032f},   {0.83146961f, 0.55557023f},   {0.55557023f, 0.83146961f},
    {0.19509032f, 0.98078528f},   {-0.19509032f, 0.98078528f},  {-0.55557023f, 0.83146961f},
    {-0.83146961f, 0.55557023f},  {-0.98078528f, 0.19509032f},  {-0.98078528f, -0.19509032f},
    {-0.83146961f, -0.55557023f}, {-0.55557023f, -0.83146961f}, {-0.19509032f, -0.98078528f},
    {0.19509032f, -0.98078528f},  {0.55557023f, -0.83146961f},  {0.83146961f, -0.55557023f},
    {0.98078528f, -0.19509032f}};

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

int wrap(int i, int n) {
    const int m = i % n;
    return m < 0 ? m + n : m;
}

float corner(int ix, int iy, float dx, float dy, uint32_t seed) {
    const float* g = kGradients[hash2(ix, iy, seed) & 15u];
    return g[0] * dx + g[1] * dy;
}

enum class OctaveShape { signedValue, absolute, ridge };

template <OctaveShape shape>
Field octaveSum(int width, int height, const FbmParams& p) {
    Field f(width, height);
    const int octaves = std::clamp(p.octaves, 1, 32);
    float totalAmplitude = 0.0f;
    float amplitude = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        totalAmplitude += amplitude;
        amplitude *= p.gain;
    }
    const float norm = 1.0f / totalAmplitude;
    // Shift each octave's lattice by a fraction of a cell, so the octaves' lattice points (where
    // gradient noise is always 0) do not pile up on one another.
    float offset[32][2] = {};
    for (int o = 0; o < octaves; ++o) {
        offset[o][0] = unitFloat(hash2(o, 1, p.seed));
        offset[o][1] = unitFloat(hash2(o, 2, p.seed));
    }
    for (int y = 0; y < height; ++y) {
        const float v = (float(y) + 0.5f) / float(height);
        for (int x = 0; x < width; ++x) {
            const float u = (float(x) + 0.5f) / float(width);
            float sum = 0.0f;
            float amp = 1.0f;
            int cx = p.cellsX;
            int cy = p.cellsY;
            for (int o = 0; o < octaves; ++o) {
                const float n = gradientNoise(u * float(cx) + offset[o][0], v * float(cy) + offset[o][1], cx,
                                              cy, p.seed + uint32_t(o) * 101u);
                if constexpr (shape == OctaveShape::signedValue) sum += amp * n;
                if constexpr (shape == OctaveShape::absolute) sum += amp * std::fabs(n);
                if constexpr (shape == OctaveShape::ridge) {
                    const float r = 1.0f - std::fabs(n);
                    sum += amp * r * r;
                }
                amp *= p.gain;
                cx *= 2;
                cy *= 2;
            }
            f.at(x, y) = sum * norm;
        }
    }
    return f;
}

} // namespace

float gradientNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int x0 = wrap(int(fx), periodX);
    const int y0 = wrap(int(fy), periodY);
    const int x1 = wrap(x0 + 1, periodX);
    const int y1 = wrap(y0 + 1, periodY);
    const float dx = x - fx;
    const float dy = y - fy;
    const float n00 = corner(x0, y0, dx, dy, seed);
    const float n10 = corner(x1, y0, dx - 1.0f, dy, seed);
    const float n01 = corner(x0, y1, dx, dy - 1.0f, seed);
    const float n11 = corner(x1, y1, dx - 1.0f, dy - 1.0f, seed);
    const float u = fade(dx);
    const float w = fade(dy);
    const float top = n00 + (n10 - n00) * u;
    const float bottom = n01 + (n11 - n01) * u;
    // 2D gradient noise peaks near 0.7; scale it to about -1..1.
    return (top + (bottom - top) * w) * 1.4142f;
}

Field noise(int width, int height, const FbmParams& p) {
    FbmParams single = p;
    single.octaves = 1;
    return octaveSum<OctaveShape::signedValue>(width, height, single);
}

Field fbm(int width, int height, const FbmParams& p) {
    return octaveSum<OctaveShape::signedValue>(width, height, p);
}

Field turbulence(int width, int height, const FbmParams& p) {
    return octaveSum<OctaveShape::absolute>(width, height, p);
}

Field ridged(int width, int height, const FbmParams& p) {
    return octaveSum<OctaveShape::ridge>(width, height, p);
}
