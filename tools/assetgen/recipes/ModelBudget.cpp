#include "recipes/ModelBudget.h"

#include "mesh/Vec3d.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Stencil volume triangles: every light-facing face gives a near and a far cap triangle, every
// silhouette edge a wall quad (two triangles); all of it is sent in two passes. A room lit from
// inside faces the light almost everywhere; a solid about half; silhouettes are estimated at a
// quarter of a solid's faces (extruded letters have long outlines) and a tenth of a room's.
double volumeTriangles(std::size_t faces, int kind) {
    if (kind == 0) return 0;
    const double facing = kind == 2 ? faces : faces * 0.5;
    const double silhouette = kind == 2 ? faces * 0.1 : faces * 0.25;
    return 2.0 * (2.0 * facing + 2.0 * silhouette);
}

SceneBudget scene(const FaceCounts& faces, const std::string& name, std::vector<BudgetLine> lines) {
    SceneBudget s{name, std::move(lines), 0};
    for (BudgetLine& l : s.lines) {
        const auto it = faces.find(l.model);
        l.faces = it == faces.end() ? 0 : it->second;
        l.triangles = l.copies * l.passes * l.faces + l.copies * volumeTriangles(l.faces, l.volumeKind);
        s.total += l.triangles;
    }
    return s;
}

} // namespace

int swarmStarsVisibleAtMost() {
    // The swarm scene's star orbits and camera, sampled every 100 ms of scene time over both of
    // its stretches (scene time 32.1 s to about 110 s), both camera variants.
    int most = 0;
    for (int variant = 0; variant < 2; ++variant)
        for (double T = 32.1; T < 110.0; T += 0.1) {
            const double y = T < 62.0   ? 0.0
                             : T > 66.0 ? 1.0
                                        : std::pow((1 - std::cos((T - 62.0) / 4.0 * 3.14159)) / 2, 2);
            const double twist = 0.165 - 0.05 * (1 - y) * std::cos(2 * T * 0.0506708064516129) - 0.05 * y;
            std::vector<Vec3d> star(450);
            Vec3d centre{};
            for (int i = 0; i < 450; ++i) {
                // Stars follow the room and the figure (one object each): object index i + 2.
                const double fj = i + 2;
                const double s = 4 * T + fj + 5 * std::sin(0.1 * T);
                const double u = twist * s;
                star[i] = {60 * std::sin(14.4 * std::cos(0.0051 * T + 0.0408 * u) + 0.0028 * u),
                           15.5 * std::sin(5.5 * std::cos(0.125 * T + 0.119 * u)),
                           90 * std::cos(14.6 * std::sin(0.00541 * T + 0.01122 * u) + 0.00567 * u)};
                centre = centre + star[i] * (1.0 / 450);
            }
            const double w = T * 1.3 * 0.25;
            Vec3d orbit{9 * std::sin(w), 6.3 * std::cos(w), 8 * std::cos(T * 1.3 * 0.1625) - 1};
            Vec3d position{}, target{};
            if (T < 36.4 || (variant == 0 && T <= 57)) {
                orbit = orbit * 0.07;
                position = -star[0] + Vec3d{0, 16, 0};
                target = -star[12] + Vec3d{0, 2.5, 0}; // the star object firstStar + 12
            } else {
                orbit = orbit * 0.03;
                position = (star[0] * -2.0 + Vec3d{0, 48, 0}) * 0.54321;
                target = -centre;
            }
            position = position + orbit;
            const Vec3d forward = normalized(target - position);
            const Vec3d eye = -position, view = -forward;
            int visible = 0;
            for (const Vec3d& p : star) {
                const Vec3d d = p - eye;
                if (dot(normalized(d), view) >= 0.55 || length(d) <= 1) ++visible;
            }
            most = std::max(most, visible);
        }
    return most;
}

std::vector<SceneBudget> sceneBudgets(const FaceCounts& faces) {
    const double stars = swarmStarsVisibleAtMost();
    return {
        scene(faces, "title", {{"textr_qm", 1, 4}, {"backball", 1, 4}, {"sirppi2", 50, 4}}),
        scene(faces, "duck",
              {{"duckball", 1, 2},
               {"amme", 1, 3},
               {"siipi1l_low", 1, 2},
               {"siipi1r_low", 1, 2},
               {"ankka", 4, 2},
               {"kvs", 1, 1}}),
        scene(faces, "star-ball", {{"hugecubeball_low", 1, 3}}),
        scene(faces, "swarm (" + std::to_string(static_cast<int>(stars)) + " of 450 stars in view at most)",
              {{"bigballe", 1, 2}, {"tahti3bt", stars, 4}}),
        scene(faces, "closing", {{"backball2", 1, 7, 2}, {"text_castr", 1, 4, 1}, {"ball", 1, 1}}),
        scene(faces, "cave (two greetings)",
              {{"luola2", 1, 5, 2}, {"holeboxsd", 1, 4, 1}, {"bitball", 1, 2}, {"greet2", 2, 5, 1}}),
        scene(faces, "potko", {{"potkoball", 1, 4}, {"potko2", 8, 4}}),
        scene(faces, "hipu", {{"ballbig_s_r", 1, 5}, {"bigballe", 1, 2}, {"hipu", 250, 2}}),
    };
}

std::string describeBudget(const SceneBudget& budget) {
    char head[96];
    std::snprintf(head, sizeof head, "%s: %.0f =", budget.scene.c_str(), budget.total);
    std::string text = head;
    for (const BudgetLine& l : budget.lines) {
        char part[96];
        std::snprintf(part, sizeof part, " %s %zux%gx%d%s", l.model.c_str(), l.faces, l.copies, l.passes,
                      l.volumeKind ? "+vol" : "");
        text += part;
    }
    return text;
}
