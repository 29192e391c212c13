#include "image/Shapes.h"

#include "image/Noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.28318531f;

// Horizontal distance on a circle of circumference 1.
float wrappedDx(float u, float centre) {
    float d = std::fabs(u - centre);
    return std::min(d, 1.0f - d);
}

} // namespace

Field softBox(int width, int height, Box box, float cornerRadius, float feather) {
    const float aspect = float(height) / float(width);
    const float cx = 0.5f * (box.x0 + box.x1);
    const float cy = 0.5f * (box.y0 + box.y1);
    const float hx = 0.5f * (box.x1 - box.x0) - cornerRadius;
    const float hy = 0.5f * (box.y1 - box.y0) - cornerRadius;
    return generateField(width, height, [&](float u, float v) {
        // Distances measured in height units so corners stay round on wide pictures.
        const float qx = std::max(wrappedDx(u, cx) - hx, 0.0f) / aspect;
        const float qy = std::max(std::fabs(v - cy) - hy, 0.0f);
        const float d = std::sqrt(qx * qx + qy * qy) - cornerRadius;
        if (d <= 0.0f) return 1.0f;
        const float t = std::clamp(1.0f - d / feather, 0.0f, 1.0f);
        return t * t * (3.0f - 2.0f * t);
    });
}

Field radialGlow(int width, int height, float cx, float cy, float radius, float exponent) {
    return generateField(width, height, [&](float u, float v) {
        const float dx = wrappedDx(u, cx);
        const float dy = v - cy;
        const float t = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy) / radius);
        return std::pow(t, exponent);
    });
}

Field verticalRamp(int width, int height) {
    return generateField(width, height, [](float, float v) { return v; });
}

Field bands(int width, int height, float count, float phase) {
    return generateField(
        width, height, [&](float, float v) { return 0.5f + 0.5f * std::sin(kTwoPi * (v * count + phase)); });
}

Field starburst(int width, int height, int rays, float sharpness, float radius) {
    return generateField(width, height, [&](float u, float v) {
        const float dx = u - 0.5f;
        const float dy = v - 0.5f;
        const float fall = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy) / radius);
        const float spoke = std::pow(std::fabs(std::cos(0.5f * float(rays) * std::atan2(dy, dx))), sharpness);
        return spoke * fall * fall;
    });
}

Field ring(int width, int height, float cx, float cy, float radius, float thickness) {
    const float aspect = float(height) / float(width);
    return generateField(width, height, [&](float u, float v) {
        const float dx = wrappedDx(u, cx) / aspect;
        const float dy = v - cy;
        const float d = (std::sqrt(dx * dx + dy * dy) - radius) / thickness;
        return std::exp(-d * d);
    });
}

Field skyline(int width, int height, float base, float amplitude, int period, float roughness,
              uint32_t seed) {
    return generateField(width, height, [&](float u, float v) {
        const float a = gradientNoise(u * float(period), 0.5f, period, 1, seed);
        const float b = gradientNoise(u * float(period * 3), 0.5f, period * 3, 1, seed + 1u);
        const float edge = base - amplitude * (0.5f + 0.35f * a + roughness * b);
        return std::clamp((v - edge) * float(height) * 0.5f, 0.0f, 1.0f);
    });
}
