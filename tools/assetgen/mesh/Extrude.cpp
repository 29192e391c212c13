#include "mesh/Extrude.h"

#include <GL/glu.h>

// GLU callbacks use the platform calling convention; it has no name outside Windows.
#ifndef CALLBACK
#define CALLBACK
#endif

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace {

// State threaded through the GLU callbacks (C callbacks carrying a user pointer).
struct TessState {
    Triangulation* out = nullptr;
    GLenum primitive = 0;
    std::vector<std::uint32_t> pending;
    std::vector<std::vector<GLdouble>> added; // storage for coordinates of combined vertices
};

void emitTriangle(TessState& s, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    if (a == b || b == c || a == c) return;
    s.out->triangles.push_back({a, b, c});
}

void CALLBACK onBegin(GLenum type, void* user) {
    auto& s = *static_cast<TessState*>(user);
    s.primitive = type;
    s.pending.clear();
}

void CALLBACK onVertex(void* vertex, void* user) {
    auto& s = *static_cast<TessState*>(user);
    s.pending.push_back(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(vertex)));
}

void CALLBACK onEnd(void* user) {
    auto& s = *static_cast<TessState*>(user);
    const auto& p = s.pending;
    if (s.primitive == GL_TRIANGLES) {
        for (std::size_t i = 0; i + 2 < p.size(); i += 3) emitTriangle(s, p[i], p[i + 1], p[i + 2]);
    } else if (s.primitive == GL_TRIANGLE_FAN) {
        for (std::size_t i = 1; i + 1 < p.size(); ++i) emitTriangle(s, p[0], p[i], p[i + 1]);
    } else if (s.primitive == GL_TRIANGLE_STRIP) {
        for (std::size_t i = 0; i + 2 < p.size(); ++i)
            if (i % 2 == 0)
                emitTriangle(s, p[i], p[i + 1], p[i + 2]);
            else
                emitTriangle(s, p[i + 1], p[i], p[i + 2]);
    }
}

void CALLBACK onCombine(GLdouble coords[3], void* [4], GLfloat[4], void** outData, void* user) {
    auto& s = *static_cast<TessState*>(user);
    const auto index = static_cast<std::uintptr_t>(s.out->points.size());
    s.out->points.push_back({coords[0], coords[1]});
    *outData = reinterpret_cast<void*>(index);
}

void CALLBACK onError(GLenum, void*) {}

using Callback = void(CALLBACK*)();

std::uint32_t u32(std::size_t v) { return static_cast<std::uint32_t>(v); }

// Splits cap triangles whose longest edge exceeds maxEdge at that edge's midpoint. Every
// triangle holding a split edge is split at the same point, so inner edges stay conforming (no
// cracks); outline edges are never split, as the side walls use them whole.
void refineCaps(Triangulation& t, double maxEdge,
                const std::set<std::pair<std::uint32_t, std::uint32_t>>& outline) {
    using Edge = std::pair<std::uint32_t, std::uint32_t>;
    auto key = [](std::uint32_t a, std::uint32_t b) { return Edge{std::min(a, b), std::max(a, b)}; };
    for (int round = 0; round < 12; ++round) {
        std::map<Edge, std::uint32_t> midpoints;
        for (const Face& f : t.triangles) {
            double best = maxEdge;
            int bestK = -1;
            for (int k = 0; k < 3; ++k) {
                if (outline.count(key(f[k], f[(k + 1) % 3]))) continue;
                const double l = length(t.points[f[k]] - t.points[f[(k + 1) % 3]]);
                if (l > best) best = l, bestK = k;
            }
            if (bestK < 0) continue;
            const Edge e = key(f[bestK], f[(bestK + 1) % 3]);
            if (!midpoints.count(e)) {
                midpoints[e] = u32(t.points.size());
                t.points.push_back((t.points[e.first] + t.points[e.second]) * 0.5);
            }
        }
        if (midpoints.empty()) return;
        // Split until no triangle holds a split edge whole; each pass halves one edge per triangle.
        bool split = true;
        while (split) {
            split = false;
            std::vector<Face> next;
            next.reserve(t.triangles.size() * 2);
            for (const Face& f : t.triangles) {
                int k = -1;
                for (int i = 0; i < 3 && k < 0; ++i)
                    if (midpoints.count(key(f[i], f[(i + 1) % 3]))) k = i;
                if (k < 0) {
                    next.push_back(f);
                    continue;
                }
                const std::uint32_t a = f[k], b = f[(k + 1) % 3], c = f[(k + 2) % 3];
                const std::uint32_t m = midpoints[key(a, b)];
                next.push_back({a, m, c});
                next.push_back({m, b, c});
                split = true;
            }
            t.triangles = std::move(next);
        }
    }
}

} // namespace

double contourArea(const Contour& c) {
    double a = 0.0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Vec2d p = c[i];
        const Vec2d q = c[(i + 1) % c.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return 0.5 * a;
}

Triangulation triangulateContours(const std::vector<Contour>& contours) {
    Triangulation out;
    for (const Contour& c : contours) out.points.insert(out.points.end(), c.begin(), c.end());
    TessState state;
    state.out = &out;
    GLUtesselator* tess = gluNewTess();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(onBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(onVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<Callback>(onEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(onCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(onError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    std::vector<std::vector<GLdouble>> coords(out.points.size(), std::vector<GLdouble>(3, 0.0));
    gluTessBeginPolygon(tess, &state);
    std::size_t index = 0;
    for (const Contour& c : contours) {
        gluTessBeginContour(tess);
        for (std::size_t i = 0; i < c.size(); ++i, ++index) {
            coords[index] = {c[i].x, c[i].y, 0.0};
            gluTessVertex(tess, coords[index].data(),
                          reinterpret_cast<void*>(static_cast<std::uintptr_t>(index)));
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    // The tessellator's triangles are counter-clockwise about the normal given; make sure.
    for (Face& f : out.triangles) {
        const Vec2d a = out.points[f[0]], b = out.points[f[1]], c = out.points[f[2]];
        if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0.0) std::swap(f[1], f[2]);
    }
    return out;
}

ExtrudeResult extrudeContours(const std::vector<Contour>& contours, double depth, double maxCapEdge) {
    Triangulation t = triangulateContours(contours);
    // Outline edges (lower index first): the side walls use them, so cap refinement keeps them.
    std::set<std::pair<std::uint32_t, std::uint32_t>> outline;
    {
        std::size_t base = 0;
        for (const Contour& c : contours) {
            for (std::size_t i = 0; i < c.size(); ++i) {
                const auto a = u32(base + i), b = u32(base + (i + 1) % c.size());
                outline.insert({std::min(a, b), std::max(a, b)});
            }
            base += c.size();
        }
    }
    if (maxCapEdge > 0.0) refineCaps(t, maxCapEdge, outline);

    ExtrudeResult result;
    Mesh& m = result.mesh;
    const std::size_t n = t.points.size();
    const double half = depth * 0.5;
    // Front copy (y = -half) then back copy (y = +half) of every point.
    for (const Vec2d& p : t.points) m.positions.push_back({p.x, -half, p.y});
    for (const Vec2d& p : t.points) m.positions.push_back({p.x, half, p.y});
    m.uvs.assign(m.positions.size(), {});
    // (u, v) counter-clockwise maps to x-z counter-clockwise seen from -y: the front cap faces -y
    // as is; the back cap is reversed to face +y.
    std::map<std::pair<std::uint32_t, std::uint32_t>, bool> directed; // front-cap directed edges
    for (const Face& f : t.triangles) {
        m.faces.push_back({f[0], f[1], f[2]});
        m.faces.push_back({u32(f[0] + n), u32(f[2] + n), u32(f[1] + n)});
        for (int k = 0; k < 3; ++k) directed[{f[k], f[(k + 1) % 3]}] = true;
    }
    std::size_t base = 0;
    for (const Contour& c : contours) {
        for (std::size_t i = 0; i < c.size(); ++i) {
            std::uint32_t a = u32(base + i), b = u32(base + (i + 1) % c.size());
            // The wall must use the edge opposite to the front cap's direction.
            if (directed.count({b, a}) && !directed.count({a, b}))
                std::swap(a, b);
            else if (!directed.count({a, b}))
                ++result.unmatchedEdges;
            const auto ab = u32(a + n), bb = u32(b + n);
            m.faces.push_back({b, a, ab});
            m.faces.push_back({b, ab, bb});
        }
        base += c.size();
    }
    return result;
}
