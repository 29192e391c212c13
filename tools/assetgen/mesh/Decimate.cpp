#include "mesh/Decimate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <queue>
#include <vector>

namespace {

// Symmetric 4x4 quadric stored as its 10 upper-triangle entries.
struct Quadric {
    std::array<double, 10> q{};

    static Quadric plane(Vec3d n, double d, double weight) {
        Quadric r;
        const double a = n.x, b = n.y, c = n.z;
        r.q = {a * a, a * b, a * c, a * d, b * b, b * c, b * d, c * c, c * d, d * d};
        for (double& v : r.q) v *= weight;
        return r;
    }
    void add(const Quadric& o) {
        for (int i = 0; i < 10; ++i) q[i] += o.q[i];
    }
    double error(Vec3d p) const {
        const double x = p.x, y = p.y, z = p.z;
        return q[0] * x * x + 2 * q[1] * x * y + 2 * q[2] * x * z + 2 * q[3] * x + q[4] * y * y +
               2 * q[5] * y * z + 2 * q[6] * y + q[7] * z * z + 2 * q[8] * z + q[9];
    }
    // The point of least error, when the 3x3 system is well conditioned.
    bool optimum(Vec3d& out) const {
        const double a = q[0], b = q[1], c = q[2], d = q[4], e = q[5], f = q[7];
        const double det = a * (d * f - e * e) - b * (b * f - e * c) + c * (b * e - d * c);
        if (std::fabs(det) < 1e-12 * (std::fabs(a * d * f) + 1e-30)) return false;
        const double rx = -q[3], ry = -q[6], rz = -q[8];
        out.x = (rx * (d * f - e * e) - b * (ry * f - e * rz) + c * (ry * e - d * rz)) / det;
        out.y = (a * (ry * f - e * rz) - rx * (b * f - e * c) + c * (b * rz - ry * c)) / det;
        out.z = (a * (d * rz - ry * e) - b * (b * rz - ry * c) + rx * (b * e - d * c)) / det;
        return true;
    }
};

struct Candidate {
    double cost = 0.0;
    std::uint32_t u = 0, v = 0;
    std::uint32_t stampU = 0, stampV = 0;
    Vec3d target{};
    bool operator>(const Candidate& o) const {
        if (cost != o.cost) return cost > o.cost;
        if (u != o.u) return u > o.u;
        return v > o.v;
    }
};

struct Decimator {
    Mesh& m;
    std::vector<bool> faceAlive;
    std::vector<bool> vertexAlive;
    std::vector<std::vector<std::uint32_t>> vertexFaces;
    std::vector<Quadric> quadrics;
    std::vector<std::uint32_t> stamps;
    std::priority_queue<Candidate, std::vector<Candidate>, std::greater<Candidate>> heap;
    std::size_t aliveFaces = 0;

    explicit Decimator(Mesh& mesh) : m(mesh) {}

    // Scratch marks: mark[v] == markStamp means v was seen in the current query. Reused across
    // queries so neighbourhood queries need no sorting or fresh sets.
    std::vector<std::uint32_t> mark;
    std::uint32_t markStamp = 0;
    std::vector<std::uint32_t> scratchU, scratchV;

    void neighboursInto(std::uint32_t v, std::vector<std::uint32_t>& out) {
        out.clear();
        ++markStamp;
        for (std::uint32_t f : vertexFaces[v]) {
            if (!faceAlive[f]) continue;
            for (std::uint32_t w : m.faces[f])
                if (w != v && mark[w] != markStamp) {
                    mark[w] = markStamp;
                    out.push_back(w);
                }
        }
    }

    // On a closed 2-manifold a vertex has as many neighbours as faces.
    std::size_t valence(std::uint32_t v) const {
        std::size_t n = 0;
        for (std::uint32_t f : vertexFaces[v]) n += faceAlive[f] ? 1 : 0;
        return n;
    }

    void pushEdge(std::uint32_t u, std::uint32_t v) {
        if (u > v) std::swap(u, v);
        Quadric q = quadrics[u];
        q.add(quadrics[v]);
        Vec3d best{};
        double cost = 0.0;
        if (q.optimum(best) && length(best - (m.positions[u] + m.positions[v]) * 0.5) <
                                   2.0 * length(m.positions[u] - m.positions[v]) + 1e-9) {
            cost = q.error(best);
        } else {
            const Vec3d options[3] = {m.positions[u], m.positions[v],
                                      (m.positions[u] + m.positions[v]) * 0.5};
            cost = 1e300;
            for (const Vec3d& o : options)
                if (q.error(o) < cost) cost = q.error(o), best = o;
        }
        // On flat stretches every collapse costs nothing; preferring short edges there keeps the
        // triangles even instead of letting one vertex swallow its whole neighbourhood.
        const double l2 = dot(m.positions[u] - m.positions[v], m.positions[u] - m.positions[v]);
        heap.push({std::max(cost, 0.0) + 1e-3 * l2 * l2, u, v, stamps[u], stamps[v], best});
    }

    // A vertex where two sheets of surface touch (its faces form more than one fan) cannot be
    // collapsed safely; such vertices stay where they are.
    std::vector<bool> locked;

    bool singleFan(std::uint32_t v) const {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> next; // corner after v -> corner before v
        for (std::uint32_t f : vertexFaces[v]) {
            const Face& fc = m.faces[f];
            for (int k = 0; k < 3; ++k)
                if (fc[k] == v) next.push_back({fc[(k + 1) % 3], fc[(k + 2) % 3]});
        }
        if (next.empty()) return true;
        std::uint32_t at = next.front().first;
        for (std::size_t steps = 0; steps < next.size(); ++steps) {
            auto it = std::find_if(next.begin(), next.end(), [&](const auto& e) { return e.first == at; });
            if (it == next.end()) return false;
            at = it->second;
            if (at == next.front().first) return steps + 1 == next.size();
        }
        return false;
    }

    bool allowed(std::uint32_t u, std::uint32_t v, Vec3d target) {
        if (locked[u] || locked[v]) return false;
        // Faces holding both ends: exactly two, and their third corners must be the only
        // neighbours u and v have in common (the link condition).
        std::uint32_t opposite[2] = {0, 0};
        int shared = 0;
        for (std::uint32_t f : vertexFaces[u]) {
            if (!faceAlive[f]) continue;
            const Face& fc = m.faces[f];
            if (fc[0] != v && fc[1] != v && fc[2] != v) continue;
            if (shared == 2) return false;
            for (std::uint32_t w : fc)
                if (w != u && w != v) opposite[shared] = w;
            ++shared;
        }
        if (shared != 2 || opposite[0] == opposite[1]) return false;
        neighboursInto(v, scratchV);
        neighboursInto(u, scratchU); // marks now flag u's neighbours
        std::size_t common = 0;
        for (std::uint32_t w : scratchV)
            if (mark[w] == markStamp) {
                if (w != opposite[0] && w != opposite[1]) return false;
                ++common;
            }
        if (common != 2) return false;
        if (scratchU.size() + scratchV.size() < 4 + 3 + 2) return false; // merged vertex keeps valence >= 3
        if (valence(opposite[0]) <= 3 || valence(opposite[1]) <= 3) return false;
        // No face around either end may fold over or collapse.
        for (std::uint32_t end : {u, v})
            for (std::uint32_t f : vertexFaces[end]) {
                if (!faceAlive[f]) continue;
                const Face& fc = m.faces[f];
                bool hasU = false, hasV = false;
                for (std::uint32_t w : fc) hasU |= w == u, hasV |= w == v;
                if (hasU && hasV) continue;
                Vec3d p[3];
                for (int k = 0; k < 3; ++k) p[k] = (fc[k] == end) ? target : m.positions[fc[k]];
                const Vec3d before = faceNormal(m, f);
                const Vec3d after = cross(p[1] - p[0], p[2] - p[0]);
                const double la = length(after), lb = length(before);
                if (la <= 1e-12 * (lb + 1e-30) || dot(after, before) < 0.25 * la * lb) return false;
            }
        return true;
    }

    void collapse(std::uint32_t u, std::uint32_t v, Vec3d target) {
        m.positions[u] = target;
        quadrics[u].add(quadrics[v]);
        for (std::uint32_t f : vertexFaces[v]) {
            if (!faceAlive[f]) continue;
            Face& fc = m.faces[f];
            if (fc[0] == u || fc[1] == u || fc[2] == u) {
                faceAlive[f] = false;
                --aliveFaces;
                continue;
            }
            for (std::uint32_t& w : fc)
                if (w == v) w = u;
            vertexFaces[u].push_back(f);
        }
        vertexFaces[v].clear();
        vertexAlive[v] = false;
        std::vector<std::uint32_t> kept;
        for (std::uint32_t f : vertexFaces[u])
            if (faceAlive[f]) kept.push_back(f);
        std::sort(kept.begin(), kept.end());
        kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
        vertexFaces[u] = std::move(kept);
        ++stamps[u];
        ++stamps[v];
        neighboursInto(u, scratchU);
        const std::vector<std::uint32_t> ring = scratchU;
        for (std::uint32_t w : ring) pushEdge(u, w);
    }

    void run(std::size_t targetFaces) {
        const std::size_t nv = m.positions.size();
        faceAlive.assign(m.faces.size(), true);
        vertexAlive.assign(nv, true);
        vertexFaces.assign(nv, {});
        quadrics.assign(nv, {});
        stamps.assign(nv, 0);
        mark.assign(nv, 0);
        aliveFaces = m.faces.size();
        for (std::uint32_t f = 0; f < m.faces.size(); ++f) {
            for (std::uint32_t v : m.faces[f]) vertexFaces[v].push_back(f);
            const Vec3d n = faceNormal(m, f);
            const double area2 = length(n);
            if (area2 <= 0.0) continue; // a sliver adds no plane, but stays in the topology
            const Vec3d unit = n * (1.0 / area2);
            const Quadric q = Quadric::plane(unit, -dot(unit, m.positions[m.faces[f][0]]), area2 * 0.5);
            for (std::uint32_t v : m.faces[f]) quadrics[v].add(q);
        }
        locked.assign(nv, false);
        for (std::uint32_t v = 0; v < nv; ++v) locked[v] = !singleFan(v);
        for (std::uint32_t f = 0; f < m.faces.size(); ++f)
            for (int k = 0; k < 3; ++k) {
                const std::uint32_t a = m.faces[f][k], b = m.faces[f][(k + 1) % 3];
                if (a < b) pushEdge(a, b);
            }
        while (aliveFaces > targetFaces && !heap.empty()) {
            const Candidate c = heap.top();
            heap.pop();
            if (!vertexAlive[c.u] || !vertexAlive[c.v] || stamps[c.u] != c.stampU || stamps[c.v] != c.stampV)
                continue;
            if (!allowed(c.u, c.v, c.target)) continue;
            collapse(c.u, c.v, c.target);
        }
        Mesh out;
        std::vector<std::uint32_t> remap(nv, 0xFFFFFFFFu);
        for (std::uint32_t f = 0; f < m.faces.size(); ++f) {
            if (!faceAlive[f]) continue;
            Face nf{};
            for (int k = 0; k < 3; ++k) {
                const std::uint32_t v = m.faces[f][k];
                if (remap[v] == 0xFFFFFFFFu) {
                    remap[v] = static_cast<std::uint32_t>(out.positions.size());
                    out.positions.push_back(m.positions[v]);
                }
                nf[k] = remap[v];
            }
            out.faces.push_back(nf);
        }
        out.uvs.assign(out.positions.size(), {});
        m = std::move(out);
    }
};

} // namespace

void decimate(Mesh& m, std::size_t targetFaces) {
    Decimator d(m);
    d.run(targetFaces);
}
