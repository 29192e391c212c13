#include "image/Image.h"

#include <algorithm>
#include <cmath>

namespace {

int wrapIndex(int i, int n) {
    const int m = i % n;
    return m < 0 ? m + n : m;
}

// Shared bilinear weights for Field and Image sampling.
struct Bilinear {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float fx = 0.0f, fy = 0.0f;
};

Bilinear bilinear(float x, float y, int width, int height) {
    const float sx = x - 0.5f;
    const float sy = y - 0.5f;
    const float flx = std::floor(sx);
    const float fly = std::floor(sy);
    Bilinear b;
    b.x0 = wrapIndex(int(flx), width);
    b.y0 = wrapIndex(int(fly), height);
    b.x1 = wrapIndex(b.x0 + 1, width);
    b.y1 = wrapIndex(b.y0 + 1, height);
    b.fx = sx - flx;
    b.fy = sy - fly;
    return b;
}

} // namespace

float Field::wrapped(int x, int y) const { return at(wrapIndex(x, width), wrapIndex(y, height)); }

float Field::sample(float x, float y) const {
    const Bilinear b = bilinear(x, y, width, height);
    const float top = at(b.x0, b.y0) + (at(b.x1, b.y0) - at(b.x0, b.y0)) * b.fx;
    const float bottom = at(b.x0, b.y1) + (at(b.x1, b.y1) - at(b.x0, b.y1)) * b.fx;
    return top + (bottom - top) * b.fy;
}

Rgb Image::wrapped(int x, int y) const { return at(wrapIndex(x, width), wrapIndex(y, height)); }

Rgb Image::sample(float x, float y) const {
    const Bilinear b = bilinear(x, y, width, height);
    const Rgb top = mixRgb(at(b.x0, b.y0), at(b.x1, b.y0), b.fx);
    const Rgb bottom = mixRgb(at(b.x0, b.y1), at(b.x1, b.y1), b.fx);
    return mixRgb(top, bottom, b.fy);
}

Image toImage(const Field& f) {
    Image img(f.width, f.height);
    for (size_t i = 0; i < f.v.size(); ++i) img.px[i] = {f.v[i], f.v[i], f.v[i]};
    return img;
}

Field toField(const Image& img) {
    Field f(img.width, img.height);
    for (size_t i = 0; i < img.px.size(); ++i) f.v[i] = luminance(img.px[i]);
    return f;
}

Image flipVertical(const Image& img) {
    Image out(img.width, img.height);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) out.at(x, y) = img.at(x, img.height - 1 - y);
    return out;
}

Field mirrorBelow(const Field& f, float line) {
    Field out(f.width, f.height);
    const int first = int(line * float(f.height));
    for (int y = first; y < f.height; ++y) {
        const int mirrored = 2 * first - 1 - y;
        if (mirrored < 0) break;
        for (int x = 0; x < f.width; ++x) out.at(x, y) = f.at(x, mirrored);
    }
    return out;
}

Image downscale(const Image& img, int width, int height) {
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const int sy0 = y * img.height / height;
        const int sy1 = std::max(sy0 + 1, (y + 1) * img.height / height);
        for (int x = 0; x < width; ++x) {
            const int sx0 = x * img.width / width;
            const int sx1 = std::max(sx0 + 1, (x + 1) * img.width / width);
            Rgb sum;
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0; sx < sx1; ++sx) sum = sum + img.at(sx, sy);
            out.at(x, y) = sum * (1.0f / float((sy1 - sy0) * (sx1 - sx0)));
        }
    }
    return out;
}

void paste(Image& dst, const Image& src, int x, int y) {
    for (int sy = 0; sy < src.height; ++sy) {
        const int dy = y + sy;
        if (dy < 0 || dy >= dst.height) continue;
        for (int sx = 0; sx < src.width; ++sx) {
            const int dx = x + sx;
            if (dx >= 0 && dx < dst.width) dst.at(dx, dy) = src.at(sx, sy);
        }
    }
}

Image tiled(const Image& img, int count) {
    Image big(img.width * count, img.height * count);
    for (int ty = 0; ty < count; ++ty)
        for (int tx = 0; tx < count; ++tx) paste(big, img, tx * img.width, ty * img.height);
    return downscale(big, img.width, img.height);
}
