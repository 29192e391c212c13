#pragma once
// The seed corpora of the fuzz targets, made by our own writers: 3DS files shaped like the
// show's models (materials, cameras, lights, meshes with mapping, a keyframer) and small JPEGs
// of every colour layout the decoder meets.

#include "tests/assets/JpegWriter.h"
#include "tests/assets/ThreeDsWriter.h"

#include <string>
#include <utility>
#include <vector>

namespace seeds {

using Named = std::pair<std::string, std::vector<unsigned char>>;

inline std::vector<Named> threeDs() {
    using threeds::Writer;
    const std::vector<threeds::Vertex> quad = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    const std::vector<threeds::Face> faces = {{0, 1, 2}, {1, 3, 2}};
    const std::vector<threeds::UV> uvs = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    std::vector<Named> out;
    out.push_back({"quad.3ds", threeds::file([&](Writer& w) { w.meshObject("Box01", quad, faces, uvs); })});
    out.push_back({"scene.3ds", threeds::file([&](Writer& w) {
                       w.material("Stone", "stone.jpg");
                       w.cameraObject("Camera01");
                       w.lightObject("Light01", true);
                       w.lightObject("Omni01", false);
                       w.meshObject("Box01", quad, faces, uvs);
                       w.meshObject("Sphere01", quad, faces);
                   })});
    out.push_back({"matrix.3ds", threeds::file([&](Writer& w) {
                       const std::size_t o = w.open(0x4000);
                       w.name("Tub");
                       const std::size_t t = w.open(0x4100);
                       w.vertexList(quad);
                       w.mapping(uvs);
                       w.meshMatrix({1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7});
                       w.faceList(faces, true);
                       w.close(t);
                       w.close(o);
                   })});
    const threeds::Mesh ball = threeds::sphere(8, 12, 1.0f);
    out.push_back({"ball.3ds", threeds::file([&](Writer& w) {
                       w.meshObject("Ball", ball.vertices, ball.faces, ball.uvs);
                   })});
    out.push_back({"many.3ds", threeds::file([&](Writer& w) {
                       for (int i = 0; i < 30; ++i)
                           w.meshObject(std::to_string(i).insert(0, "Obj"), quad, faces);
                   })});
    return out;
}

inline std::vector<Named> jpeg() {
    using jpegtest::Rgb;
    const auto quads =
        jpegtest::quadrants(16, 16, Rgb{250, 0, 0}, Rgb{0, 250, 0}, Rgb{0, 0, 250}, Rgb{250, 250, 250});
    std::vector<unsigned char> grey(8 * 8);
    for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<unsigned char>(i * 4);
    std::vector<unsigned char> cmyk;
    for (int i = 0; i < 8 * 8; ++i)
        cmyk.insert(cmyk.end(), {255, static_cast<unsigned char>(i * 4), 128, 200});
    std::vector<Named> out;
    out.push_back({"rgb.jpg", jpegtest::encode(quads, 16, 16)});
    out.push_back({"rgb_q50.jpg", jpegtest::encode(quads, 16, 16, 3, 50)});
    out.push_back({"progressive.jpg", jpegtest::encode(quads, 16, 16, 3, 90, true)});
    out.push_back({"odd.jpg", jpegtest::encode(jpegtest::flat(5, 3, Rgb{10, 20, 30}), 5, 3)});
    out.push_back({"grey.jpg", jpegtest::encode(grey, 8, 8, 1)});
    out.push_back({"cmyk.jpg", jpegtest::encode(cmyk, 8, 8, 4)});
    return out;
}

} // namespace seeds
