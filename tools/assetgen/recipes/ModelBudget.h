#pragma once
// Triangles each scene sends per frame, from the models' face counts and how the scenes draw
// them: copies, passes per draw (a mode-5 draw is two passes, layered adds one) and, for shadow
// casters, the stencil volume (near and far caps plus silhouette walls, each sent twice).

#include <map>
#include <string>
#include <vector>

// Face count of each model file, by base name.
using FaceCounts = std::map<std::string, std::size_t>;

struct BudgetLine {
    std::string model;
    double copies = 1;  // draws per frame
    int passes = 1;     // passes per draw
    int volumeKind = 0; // 0 none, 1 solid lit from outside, 2 room lit from inside
    std::size_t faces = 0;
    double triangles = 0;
};

struct SceneBudget {
    std::string scene;
    std::vector<BudgetLine> lines;
    double total = 0;
};

// Budgets with the worst case of every repeated object drawn; the star swarm also gets a line
// with the visible-star count its camera actually sees (simulated over its scene time).
std::vector<SceneBudget> sceneBudgets(const FaceCounts& faces);

// One line per scene: its total, then each model as faces x copies x passes (+ shadow volume).
std::string describeBudget(const SceneBudget& budget);

// The largest number of swarm stars inside the scene's view cone over its run.
int swarmStarsVisibleAtMost();
