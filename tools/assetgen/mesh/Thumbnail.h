#pragma once
// A small software rasterizer for looking at meshes without a GPU: flat-shaded, depth-buffered
// renders where faces seen from behind show red (so inside-out or open meshes stand out), and a
// PNG writer for the review sheet.

#include "mesh/Mesh.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // RGB, rows top to bottom

    RgbImage(int w, int h, std::uint8_t grey);
    void set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b);
};

struct ThumbnailView {
    Vec3d towardsViewer{0.45, -1.0, 0.4}; // direction from the model to the viewer (file axes)
    Vec3d up{0, 0, 1};                    // file +z is up on screen
    bool cutaway = false;                 // drop the faces on the viewer's half (to look into rooms)
};

// Renders the mesh orthographically, fitted into the rectangle (x0, y0, size, size) of image.
void renderThumbnail(RgbImage& image, int x0, int y0, int size, const Mesh& m, const ThumbnailView& view);

// Draws a line of text (DejaVu Sans) with its baseline at (x, y).
void drawLabel(RgbImage& image, int x, int y, const std::string& text, int pixelSize,
               const std::string& fontFile);

bool writePng(const std::filesystem::path& file, const RgbImage& image);
