#pragma once
// Seeded 3D gradient noise for the mesh operators (lumps on caves, rooms and stones). Its own
// generator: the output depends only on the seed, never on global state.

#include "mesh/Vec3d.h"

#include <array>
#include <cstdint>

struct Noise3 {
    std::array<std::uint8_t, 512> perm{};
    std::array<Vec3d, 256> gradients{};

    explicit Noise3(std::uint32_t seed);

    // Gradient noise, roughly in [-1, 1], zero at integer lattice points.
    double at(Vec3d p) const;
    // Sum of octaves, each at twice the frequency and `gain` times the amplitude of the last.
    double fbm(Vec3d p, int octaves, double gain) const;
};
