#include "recipes/Recipes.h"
#include "recipes/TextureRecipes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(TextureRecipes, NameThirtyDistinctFilesWithPowerOfTwoSizes) {
    std::set<std::string> names;
    for (const TextureRecipe& r : textureRecipes()) {
        names.insert(r.name);
        EXPECT_TRUE(r.size == 256 || r.size == 512) << r.name;
        EXPECT_NE(r.paint, nullptr) << r.name;
        EXPECT_EQ(texturePath(r), std::string("Images/") + r.name + ".jpg");
    }
    EXPECT_EQ(names.size(), 30u);
    EXPECT_EQ(textureRecipes().size(), 30u);
}

TEST(TextureWriting, UnwritableDataDirectoryIsReported) { EXPECT_FALSE(writeTextures("/dev/null/data")); }

TEST(TextureSheet, MissingTexturesAreReported) {
    EXPECT_FALSE(writeTextureSheet("/nonexistent/data", "/tmp/never_written_sheet.png"));
}

} // namespace
