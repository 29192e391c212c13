#include "fuzz/FuzzTargets.h"

#include "assets/Model.h"
#include "assets/TextureBank.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"

#include <cstdio>

namespace {

// Sums of the data read back land here, so the reads cannot be optimised away.
volatile float floatSink = 0.0f;
volatile unsigned byteSink = 0;

// The loaders read FILE streams; fmemopen gives one over the input without touching the disk.
std::FILE* openBytes(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return std::tmpfile(); // fmemopen refuses an empty buffer
    return fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
}

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// What the renderer and the deformations rely on after any load, complete or not.
void checkMesh(const MeshObject& o) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t faces = static_cast<std::size_t>(o.faceCount);
    check(o.vertexCount >= 0 && o.faceCount >= 0);
    check(o.positions.size() == vertices && o.restNormals.size() == vertices);
    check(o.texU.size() == vertices && o.texV.size() == vertices);
    check(o.faceIndices.size() == 3 * faces && o.cornerFlat.size() == 3 * faces);
    check(o.cornerNormals.size() == 3 * faces && o.restFaceNormals.size() == faces);
    check(faces == 0 || o.vertexFaces.size() == vertices);
    for (int index : o.faceIndices) check(index >= 0 && static_cast<std::size_t>(index) < vertices);
    float sum = 0.0f;
    for (std::size_t i = 0; i < vertices; ++i) sum += o.texU[i] + o.texV[i] + o.positions[i].x;
    for (const IntList& list : o.vertexFaces) {
        check(list.count <= list.capacity);
        for (int j = 0; j < list.count; ++j) check(list[j] >= 0 && static_cast<std::size_t>(list[j]) < faces);
    }
    floatSink = sum;
}

} // namespace

int fuzzLoad3ds(const std::uint8_t* data, std::size_t size) {
    setMessageBoxesInteractive(false);
    Model model(24, 512, 512, 256, 128);
    for (int pass = 0; pass < 2; ++pass) {
        std::FILE* file = openBytes(data, size);
        if (!file) return 0;
        model.vertexScale = pass == 0 ? 1.0f : 2.5f;
        model.flipFaceNormals = pass;
        model.loadStream(file, "fuzz.3ds");
        std::fclose(file);
    }
    check(model.objectCount >= 0 && model.objectCount <= model.capacity);
    for (int i = 0; i < model.objectCount; ++i) {
        checkMesh(model.mesh(i));
        model.resetWorkPositions(i);
    }
    resetQuitState();
    return 0;
}

namespace {

// A JPEG frame header may claim up to 65500 x 65500 pixels from a few bytes; decoding that is a
// test of the machine's memory, not of the decoder. Inputs claiming more than this are skipped.
constexpr std::uint64_t maxFuzzPixels = 4u << 20;

bool claimsHugeFrame(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i + 8 < size; ++i) {
        if (data[i] != 0xFF) continue;
        const std::uint8_t m = data[i + 1];
        const bool frame = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
        if (!frame) continue;
        const std::uint64_t height = (data[i + 5] << 8) | data[i + 6];
        const std::uint64_t width = (data[i + 7] << 8) | data[i + 8];
        if (width * height > maxFuzzPixels) return true;
    }
    return false;
}

} // namespace

int fuzzDecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (claimsHugeFrame(data, size)) return 0;
    setMessageBoxesInteractive(false);
    std::FILE* file = openBytes(data, size);
    if (!file) return 0;
    TextureBank bank;
    if (bank.decodeJpegStream(file, "fuzz.jpg")) {
        const std::size_t bytes = std::size_t{bank.width} * bank.height * 3;
        check(bank.pixels != nullptr && bank.width > 0 && bank.height > 0);
        unsigned sum = 0;
        for (std::size_t i = 0; i < bytes; ++i) sum += bank.pixels[i];
        byteSink = sum;
    }
    std::fclose(file);
    resetQuitState();
    return 0;
}
