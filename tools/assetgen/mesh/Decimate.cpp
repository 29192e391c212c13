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

    std::vector<std::uint32_t> neighbours(std::uint32_t v) const {
        std::vector<std::uint32_t> out;
        for (std::uint32_t f : vertexFaces[v]) {
            if (!faceAlive[f]) continue;
            for (std::uint32_t w : m.faces[f])
                if (w != v) out.push_back(w);
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
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
        heap.push({std::max(cost, 0.0), u, v, stamps[u], stamps[v], best});
    }

    bool allowed(std::uint32_t u, std::uint32_t v, Vec3d target) const {
        const auto nu = neighbours(u);
        const auto nv = neighbours(v);
        std::vector<std::uint32_t> common;
        std::set_intersection(nu.begin(), nu.end(), nv.begin(), nv.end(), std::back_inserter(common));
        // Faces holding both ends: their third corners must be exactly the common neighbours.
        std::vector<std::uint32_t> opposite;
        for (std::uint32_t f : vertexFaces[u]) {
            if (!faceAlive[f]) continue;
            const Face& fc = m.faces[f];
            if (fc[0] != v && fc[1] != v && fc[2] != v) continue;
            for (std::uint32_t w : fc)
                if (w != u && w != v) opposite.push_back(w);
        }
        std::sort(opposite.begin(), opposite.end());
        if (opposite.size() != 2 || common != opposite) return false;
        if (nu.size() + nv.size() < 4 + 3 + 2) return false; // merged vertex keeps valence >= 3
        for (std::uint32_t w : opposite)
            if (neighbours(w).size() <= 3) return false;
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
        for (std::uint32_t w : neighbours(u)) pushEdge(u, w);
    }

    void run(std::size_t targetFaces) {
        const std::size_t nv = m.positions.size();
        faceAlive.assign(m.faces.size(), true);
        vertexAlive.assign(nv, true);
        vertexFaces.assign(nv, {});
        quadrics.assign(nv, {});
        stamps.assign(nv, 0);
        aliveFaces = m.faces.size();
        for (std::uint32_t f = 0; f < m.faces.size(); ++f) {
            const Vec3d n = faceNormal(m, f);
            const double area2 = length(n);
            if (area2 <= 0.0) continue;
            const Vec3d unit = n * (1.0 / area2);
            const Quadric q = Quadric::plane(unit, -dot(unit, m.positions[m.faces[f][0]]), area2 * 0.5);
            for (std::uint32_t v : m.faces[f]) {
                quadrics[v].add(q);
                vertexFaces[v].push_back(f);
            }
        }
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
