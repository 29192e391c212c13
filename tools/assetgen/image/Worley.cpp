#include "image/Worley.h"

#include "image/Hash.h"

#include <cmath>

namespace {

int wrap(int i, int n) {
    const int m = i % n;
    return m < 0 ? m + n : m;
}

} // namespace

CellFields worley(int width, int height, const CellParams& p) {
    CellFields out{Field(width, height), Field(width, height), Field(width, height)};
    for (int y = 0; y < height; ++y) {
        const float gy = (float(y) + 0.5f) / float(height) * float(p.cellsY);
        const int cy = int(std::floor(gy));
        for (int x = 0; x < width; ++x) {
            const float gx = (float(x) + 0.5f) / float(width) * float(p.cellsX);
            const int cx = int(std::floor(gx));
            float d1 = 1e9f;
            float d2 = 1e9f;
            uint32_t nearest = 0;
            // Jitter keeps each point inside its own cell, so the 3 x 3 neighbourhood suffices.
            for (int oy = -1; oy <= 1; ++oy) {
                for (int ox = -1; ox <= 1; ++ox) {
                    const int nx = cx + ox;
                    const int ny = cy + oy;
                    const uint32_t h = hash2(wrap(nx, p.cellsX), wrap(ny, p.cellsY), p.seed);
                    const float px = float(nx) + 0.5f + (unitFloat(h) - 0.5f) * p.jitter;
                    const float py =
                        float(ny) + 0.5f + (unitFloat(hash32(h ^ 0x9e3779b9u)) - 0.5f) * p.jitter;
                    const float d = std::sqrt((px - gx) * (px - gx) + (py - gy) * (py - gy));
                    if (d < d1) {
                        d2 = d1;
                        d1 = d;
                        nearest = h;
                    } else if (d < d2) {
                        d2 = d;
                    }
                }
            }
            out.f1.at(x, y) = d1;
            out.f2.at(x, y) = d2;
            out.id.at(x, y) = unitFloat(hash32(nearest ^ 0x51ed270bu));
        }
    }
    return out;
}
