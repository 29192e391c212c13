#include "render/gles3/StreamBuffer.h"

#include "render/gles3/Program.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gles3 {

namespace {

struct Stream {
    GLenum target = GL_ARRAY_BUFFER;
    GLuint name = 0;
    std::size_t capacity = 0;
    std::size_t head = 0;
};

Stream gVertices{GL_ARRAY_BUFFER};
Stream gIndices{GL_ELEMENT_ARRAY_BUFFER};
GLuint gVertexArray = 0;
GLuint gQuadIndexBuffer = 0;
int gQuadIndexCapacity = 0; // quads the pattern covers

// Large enough for the biggest mesh of the show in one piece, so most frames never refill.
constexpr std::size_t kVertexCapacity = std::size_t{8} << 20;
constexpr std::size_t kIndexCapacity = std::size_t{2} << 20;
// Attribute and index offsets must be multiples of their component size; 16 covers all.
constexpr std::size_t kAlignment = 16;

void createStream(Stream& s, std::size_t capacity) {
    es::glGenBuffers(1, &s.name);
    es::glBindBuffer(s.target, s.name);
    es::glBufferData(s.target, static_cast<GLsizeiptr>(capacity), nullptr, GL_STREAM_DRAW);
    s.capacity = capacity;
    s.head = 0;
}

std::size_t append(Stream& s, const void* data, std::size_t bytes) {
    es::glBindBuffer(s.target, s.name);
    const std::size_t at = (s.head + kAlignment - 1) / kAlignment * kAlignment;
    if (at + bytes > s.capacity) {
        // Fresh storage: what earlier draws read stays theirs.
        if (bytes > s.capacity) s.capacity = bytes;
        es::glBufferData(s.target, static_cast<GLsizeiptr>(s.capacity), nullptr, GL_STREAM_DRAW);
        es::glBufferSubData(s.target, 0, static_cast<GLsizeiptr>(bytes), data);
        s.head = bytes;
        return 0;
    }
    es::glBufferSubData(s.target, static_cast<GLintptr>(at), static_cast<GLsizeiptr>(bytes), data);
    s.head = at + bytes;
    return at;
}

const void* offsetPointer(std::size_t offset) { return reinterpret_cast<const void*>(offset); }

void pointAttribute(GLuint location, GLint size, GLsizei stride, std::size_t offset) {
    if (size == 0) {
        es::glDisableVertexAttribArray(location);
        return;
    }
    es::glEnableVertexAttribArray(location);
    es::glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, stride, offsetPointer(offset));
}

} // namespace

void initStreams() {
    es::glGenVertexArrays(1, &gVertexArray);
    es::glBindVertexArray(gVertexArray);
    createStream(gVertices, kVertexCapacity);
    createStream(gIndices, kIndexCapacity);
    es::glGenBuffers(1, &gQuadIndexBuffer);
    gQuadIndexCapacity = 0;
    setConstantColour(1.0f, 1.0f, 1.0f, 1.0f);
}

void streamVertices(const VertexLayout& layout, const void* vertices, int count) {
    const std::size_t bytes = static_cast<std::size_t>(layout.stride) * static_cast<std::size_t>(count);
    const std::size_t base = append(gVertices, vertices, bytes);
    pointAttribute(kPositionAttribute, layout.positionSize, layout.stride, base + layout.positionOffset);
    pointAttribute(kNormalAttribute, layout.normalSize, layout.stride, base + layout.normalOffset);
    pointAttribute(kTexCoordAttribute, layout.texCoordSize, layout.stride, base + layout.texCoordOffset);
    pointAttribute(kColourAttribute, layout.colourSize, layout.stride, base + layout.colourOffset);
}

const void* streamIndices(const GLuint* indices, int count) {
    return offsetPointer(append(gIndices, indices, sizeof(GLuint) * static_cast<std::size_t>(count)));
}

void bindQuadIndices(int quads) {
    es::glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gQuadIndexBuffer);
    if (quads <= gQuadIndexCapacity) return;
    // Doubled each time, so a growing count settles during the warm-up.
    int capacity = gQuadIndexCapacity > 0 ? gQuadIndexCapacity : 64;
    while (capacity < quads) capacity *= 2;
    std::vector<GLuint> pattern(6 * static_cast<std::size_t>(capacity));
    for (int q = 0; q < capacity; ++q) {
        const GLuint v = static_cast<GLuint>(4 * q);
        const GLuint corners[6] = {v, v + 1, v + 2, v, v + 2, v + 3};
        for (int k = 0; k < 6; ++k) pattern[6 * static_cast<std::size_t>(q) + k] = corners[k];
    }
    es::glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(pattern.size() * sizeof(GLuint)),
                     pattern.data(), GL_STATIC_DRAW);
    gQuadIndexCapacity = capacity;
}

void setConstantColour(float r, float g, float b, float a) {
    es::glVertexAttrib4f(kColourAttribute, r, g, b, a);
}

void drawQuads(const QuadVertex* vertices, int quads) {
    if (quads <= 0) return;
    streamVertices(kQuadLayout, vertices, 4 * quads);
    bindQuadIndices(quads);
    es::glDrawElements(GL_TRIANGLES, 6 * quads, GL_UNSIGNED_INT, nullptr);
}

} // namespace gles3
