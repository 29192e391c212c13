#include "mesh/Noise3.h"

#include <cmath>

namespace {

// xorshift32: small, fast and reproducible everywhere.
std::uint32_t nextRandom(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

} // namespace

Noise3::Noise3(std::uint32_t seed) {
    std::uint32_t state = seed * 2654435761u + 1u;
    std::array<std::uint8_t, 256> p{};
    for (int i = 0; i < 256; ++i) p[i] = static_cast<std::uint8_t>(i);
    for (int i = 255; i > 0; --i) {
        const auto j = static_cast<int>(nextRandom(state) % static_cast<std::uint32_t>(i + 1));
        std::swap(p[i], p[j]);
    }
    for (int i = 0; i < 512; ++i) perm[i] = p[i & 255];
    for (Vec3d& g : gradients) {
        // Uniform directions by rejection from the cube.
        Vec3d v{};
        double l2 = 0.0;
        do {
            v = {nextRandom(state) / 2147483648.0 - 1.0, nextRandom(state) / 2147483648.0 - 1.0,
                 nextRandom(state) / 2147483648.0 - 1.0};
            l2 = dot(v, v);
        } while (l2 > 1.0 || l2 < 1e-4);
        g = v * (1.0 / std::sqrt(l2));
    }
}

double Noise3::at(Vec3d p) const {
    const double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const int ix = static_cast<int>(fx) & 255, iy = static_cast<int>(fy) & 255,
              iz = static_cast<int>(fz) & 255;
    const Vec3d f{p.x - fx, p.y - fy, p.z - fz};
    auto corner = [&](int dx, int dy, int dz) {
        const int h = perm[perm[perm[ix + dx] + iy + dy] + iz + dz];
        return dot(gradients[h], {f.x - dx, f.y - dy, f.z - dz});
    };
    const double u = fade(f.x), v = fade(f.y), w = fade(f.z);
    auto mix = [](double a, double b, double t) { return a + (b - a) * t; };
    const double x00 = mix(corner(0, 0, 0), corner(1, 0, 0), u);
    const double x10 = mix(corner(0, 1, 0), corner(1, 1, 0), u);
    const double x01 = mix(corner(0, 0, 1), corner(1, 0, 1), u);
    const double x11 = mix(corner(0, 1, 1), corner(1, 1, 1), u);
    return 1.6 * mix(mix(x00, x10, v), mix(x01, x11, v), w);
}

double Noise3::fbm(Vec3d p, int octaves, double gain) const {
    double sum = 0.0, amplitude = 1.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * at(p);
        p = p * 2.0 + Vec3d{17.3, 5.1, 11.7};
        amplitude *= gain;
    }
    return sum;
}
