#include "mesh/Topology.h"

#include <cstdint>
#include <unordered_map>

EdgeReport inspectEdges(const Mesh& m) {
    struct Use {
        int forward = 0;  // from lower to higher index
        int backward = 0; // from higher to lower index
    };
    std::unordered_map<std::uint64_t, Use> uses;
    uses.reserve(m.faces.size() * 2);
    for (const Face& f : m.faces)
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = f[k];
            const std::uint32_t b = f[(k + 1) % 3];
            const std::uint64_t lo = a < b ? a : b;
            const std::uint64_t hi = a < b ? b : a;
            Use& u = uses[(lo << 32) | hi];
            (a < b ? u.forward : u.backward) += 1;
        }
    EdgeReport r;
    r.edges = uses.size();
    for (const auto& [key, u] : uses) {
        const int n = u.forward + u.backward;
        if (n == 1) ++r.borderEdges;
        if (n >= 3) ++r.crowdedEdges;
        if (n == 2 && u.forward != 1) ++r.flippedEdges;
    }
    return r;
}
