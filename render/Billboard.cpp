#include "render/Billboard.h"

#include "render/Backends.h"
#include "render/PassProfile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

void drawBillboard(Model& model, float x, float y, float z, int slot, float halfWidth, float halfHeight,
                   float r, float g, float b, float a, const BillboardWindow& window) {
    const PassTimer t("sprites");
    backend().sprite->drawBillboard(model, {.x = x,
                                            .y = y,
                                            .z = z,
                                            .slot = slot,
                                            .halfWidth = halfWidth,
                                            .halfHeight = halfHeight,
                                            .r = r,
                                            .g = g,
                                            .b = b,
                                            .a = a,
                                            .window = window});
}

BillboardWindow inkWindowOf(int slot) {
    BillboardWindow whole;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    if (!backend().texture->readTexture2D(slot, width, height, rgba)) return whole;
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* t = &rgba[static_cast<std::size_t>(4 * (y * width + x))];
            if ((t[0] | t[1] | t[2]) == 0) continue;
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    if (x1 < 0) return whole;
    // Linear filtering reads the texels either side of a sample: two texels of black around the
    // ink keep every left-out fragment black.
    constexpr int kMargin = 2;
    const auto edge = [](int texel, int size) {
        return static_cast<float>(std::clamp(texel, 0, size)) / static_cast<float>(size);
    };
    return {edge(x0 - kMargin, width), edge(y0 - kMargin, height), edge(x1 + 1 + kMargin, width),
            edge(y1 + 1 + kMargin, height)};
}
