#include "image/Projection.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

struct Dir {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// Reflection of the view ray (0, 0, -1) off the ball at picture position (u, v), top-first;
// false outside the ball.
bool ballReflection(float u, float v, Dir& r) {
    const float nx = 2.0f * u - 1.0f;
    const float ny = 1.0f - 2.0f * v;
    const float q = nx * nx + ny * ny;
    if (q >= 1.0f) return false;
    const float nz = std::sqrt(1.0f - q);
    r = {2.0f * nz * nx, 2.0f * nz * ny, 2.0f * nz * nz - 1.0f};
    return true;
}

// Samples a picture file at texture coordinates (s, t) as OpenGL sees it after a bottom-row-
// first upload: t = 0 is the picture's bottom row.
Rgb sampleUploaded(const Image& picture, float s, float t) {
    return picture.sample(s * float(picture.width), (1.0f - t) * float(picture.height));
}

template <class Shade>
Image ball(int size, Shade shade) {
    Image out(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Dir r;
            if (ballReflection((float(x) + 0.5f) / float(size), (float(y) + 0.5f) / float(size), r))
                out.at(x, y) = shade(r);
        }
    return out;
}

} // namespace

Image sphereMapFromPanorama(const Image& panorama, int size) {
    return ball(size, [&](Dir r) {
        // The panorama's centre faces the viewer, where most of a mirror ball's area looks.
        const float u = 0.5f + std::atan2(r.x, r.z) / (2.0f * kPi);
        const float v = std::acos(std::fmax(-1.0f, std::fmin(1.0f, r.y))) / kPi;
        return panorama.sample(u * float(panorama.width), v * float(panorama.height));
    });
}

Image mirrorBallFromCube(const std::array<const Image*, 6>& faces, int size) {
    return ball(size, [&](Dir r) {
        const float ax = std::fabs(r.x), ay = std::fabs(r.y), az = std::fabs(r.z);
        int face = 0;
        float sc = 0.0f, tc = 0.0f, ma = 1.0f;
        // Face selection and per-face axes as the OpenGL cube-map rules define them.
        if (ax >= ay && ax >= az) {
            face = r.x > 0 ? 0 : 1;
            sc = r.x > 0 ? -r.z : r.z;
            tc = -r.y;
            ma = ax;
        } else if (ay >= az) {
            face = r.y > 0 ? 2 : 3;
            sc = r.x;
            tc = r.y > 0 ? r.z : -r.z;
            ma = ay;
        } else {
            face = r.z > 0 ? 4 : 5;
            sc = r.z > 0 ? r.x : -r.x;
            tc = -r.y;
            ma = az;
        }
        const Image* picture = faces[size_t(face)];
        if (!picture) return Rgb{};
        return sampleUploaded(*picture, 0.5f * (sc / ma + 1.0f), 0.5f * (tc / ma + 1.0f));
    });
}

Image sphereMappedBall(const Image& texture, int size) {
    return ball(size, [&](Dir r) {
        const float m = 2.0f * std::sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0f) * (r.z + 1.0f));
        return sampleUploaded(texture, r.x / m + 0.5f, r.y / m + 0.5f);
    });
}
