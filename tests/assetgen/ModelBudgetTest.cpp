// The per-frame triangle budget: with this machine's software renderer (about 2.7 million lit
// textured triangles a second) a 60 fps show allows about 45 000 triangles a frame; every scene
// keeps to about 40 000, counting every pass, its glow pass and its shadow volumes.
#include "recipes/ModelBudget.h"
#include "recipes/ModelCatalog.h"

#include <gtest/gtest.h>

namespace {

const FaceCounts& faceCounts() {
    static const FaceCounts counts = [] {
        FaceCounts c;
        for (const ModelEntry& e : modelCatalog()) c[e.file] = e.build().faceCount();
        return c;
    }();
    return counts;
}

} // namespace

TEST(ModelBudget, everySceneSendsAtMostAboutFortyThousandTrianglesPerFrame) {
    const auto budgets = sceneBudgets(faceCounts());
    ASSERT_EQ(budgets.size(), 8u);
    for (const SceneBudget& b : budgets) {
        EXPECT_LE(b.total, 41000.0) << b.scene;
        for (const BudgetLine& l : b.lines)
            EXPECT_GT(l.faces, 0u) << b.scene << " counts a model it cannot find: " << l.model;
    }
}

TEST(ModelBudget, aLineCountsCopiesTimesPassesPlusTheShadowVolume) {
    const FaceCounts counts = {{"backball", 100}, {"backball2", 100}, {"text_castr", 40},
                               {"ball", 10},      {"textr_qm", 1},    {"sirppi2", 1}};
    const auto budgets = sceneBudgets(counts);
    const SceneBudget& closing = budgets[4];
    ASSERT_EQ(closing.scene, "closing");
    // Room lit from inside: 7 passes + 2 x (2 x 100 caps + 2 x 10 walls); title: 4 passes +
    // 2 x (2 x 20 + 2 x 10); bulb: 1 pass.
    EXPECT_DOUBLE_EQ(closing.lines[0].triangles, 700.0 + 440.0);
    EXPECT_DOUBLE_EQ(closing.lines[1].triangles, 160.0 + 120.0);
    EXPECT_DOUBLE_EQ(closing.total, 1140.0 + 280.0 + 10.0);
}

TEST(ModelBudget, theSwarmCameraCanSeeTheWholeSwarm) {
    // The wide view looks from the swarm's edge at its centre: all stars fit the view cone at
    // times, which is why the swarm star is kept to 20 faces.
    EXPECT_EQ(swarmStarsVisibleAtMost(), 450);
}
