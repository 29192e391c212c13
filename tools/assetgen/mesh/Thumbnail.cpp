#include "mesh/Thumbnail.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

RgbImage::RgbImage(int w, int h, std::uint8_t grey)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3, grey) {}

void RgbImage::set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    pixels[i] = r, pixels[i + 1] = g, pixels[i + 2] = b;
}

void renderThumbnail(RgbImage& image, int x0, int y0, int size, const Mesh& m, const ThumbnailView& view) {
    if (m.positions.empty()) return;
    const Vec3d forward = normalized(-view.towardsViewer);
    const Vec3d right = normalized(cross(forward, view.up));
    const Vec3d up = cross(right, forward);
    const Bounds b = boundsOf(m);
    const Vec3d c = b.centre();
    double extent = 1e-9;
    for (const Vec3d& p : m.positions)
        extent = std::max({extent, std::fabs(dot(p - c, right)), std::fabs(dot(p - c, up))});
    const double k = 0.46 * size / extent;
    std::vector<double> depth(static_cast<std::size_t>(size) * size, std::numeric_limits<double>::max());
    const Vec3d light = normalized(Vec3d{-0.4, -0.6, 0.7});
    for (std::size_t f = 0; f < m.faces.size(); ++f) {
        std::array<Vec3d, 3> p{};
        for (int i = 0; i < 3; ++i) p[i] = m.positions[m.faces[f][i]];
        if (view.cutaway && dot((p[0] + p[1] + p[2]) * (1.0 / 3.0) - c, forward) < 0.0) continue;
        const Vec3d n = normalized(cross(p[1] - p[0], p[2] - p[0]));
        const bool front = dot(n, forward) < 0.0;
        const double lit = 0.25 + 0.75 * std::max(0.0, dot(front ? n : -n, light));
        const auto r = static_cast<std::uint8_t>(std::min(255.0, (front ? 200 : 255) * lit));
        const auto g = static_cast<std::uint8_t>(std::min(255.0, (front ? 205 : 60) * lit));
        const auto bl = static_cast<std::uint8_t>(std::min(255.0, (front ? 215 : 50) * lit));
        double sx[3], sy[3], sz[3];
        for (int i = 0; i < 3; ++i) {
            sx[i] = size * 0.5 + dot(p[i] - c, right) * k;
            sy[i] = size * 0.5 - dot(p[i] - c, up) * k;
            sz[i] = dot(p[i] - c, forward);
        }
        const double area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (std::fabs(area) < 1e-12) continue;
        const int minX = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
        const int maxX = std::min(size - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
        const int minY = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
        const int maxY = std::min(size - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
        for (int y = minY; y <= maxY; ++y)
            for (int x = minX; x <= maxX; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double w0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                const double w1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                const double w2 = 1.0 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                const double z = w0 * sz[0] + w1 * sz[1] + w2 * sz[2];
                double& d = depth[static_cast<std::size_t>(y) * size + x];
                if (z >= d) continue;
                d = z;
                image.set(x0 + x, y0 + y, r, g, bl);
            }
    }
}

void drawLabel(RgbImage& image, int x, int y, const std::string& text, int pixelSize,
               const std::string& fontFile) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library)) return;
    if (FT_New_Face(library, fontFile.c_str(), 0, &face) == 0) {
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
        for (char ch : text) {
            if (FT_Load_Char(face, static_cast<FT_ULong>(static_cast<unsigned char>(ch)), FT_LOAD_RENDER))
                continue;
            const FT_Bitmap& bm = face->glyph->bitmap;
            for (unsigned row = 0; row < bm.rows; ++row)
                for (unsigned col = 0; col < bm.width; ++col) {
                    const std::uint8_t a = bm.buffer[row * static_cast<unsigned>(bm.pitch) + col];
                    if (a > 100)
                        image.set(x + face->glyph->bitmap_left + static_cast<int>(col),
                                  y - face->glyph->bitmap_top + static_cast<int>(row), 255, 255, 255);
                }
            x += static_cast<int>(face->glyph->advance.x >> 6);
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
}

namespace {

std::uint32_t crc32(const std::uint8_t* data, std::size_t n, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    put32(out, crc32(body.data(), body.size()));
}

} // namespace

bool writePng(const std::filesystem::path& file, const RgbImage& image) {
    // Uncompressed deflate ("stored" blocks): larger files, but no dependency for a review image.
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        const auto* row = &image.pixels[static_cast<std::size_t>(y) * image.width * 3];
        raw.insert(raw.end(), row, row + image.width * 3);
    }
    std::vector<std::uint8_t> z = {0x78, 0x01};
    for (std::size_t pos = 0; pos < raw.size() || raw.empty();) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        z.push_back(pos + n == raw.size() ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n & 0xFF));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n & 0xFF));
        z.push_back(static_cast<std::uint8_t>((~n >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
        if (raw.empty()) break;
    }
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) a = (a + v) % 65521, b = (b + a) % 65521;
    put32(z, (b << 16) | a);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(image.width));
    put32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}
