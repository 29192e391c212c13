#include "tests/assets/LoadTestSupport.h"

#include "assets/SceneLight.h"

namespace {

using threeds::Writer;

TEST(ModelRecord, ConstructorSetsSizesAndDefaults) {
    const Model model(10000, 512, 512, 256, 128);
    EXPECT_EQ(model.capacity, 10000);
    EXPECT_EQ(model.objects.size(), 10000u);
    EXPECT_EQ(model.screenWidth, 512);
    EXPECT_EQ(model.screenHeight, 512);
    EXPECT_EQ(model.effectWidth, 256);
    EXPECT_EQ(model.effectHeight, 128);
    EXPECT_EQ(model.objectCount, 0);
    EXPECT_EQ(model.flipFaceNormals, 0);
    EXPECT_EQ(model.texCoordScale, 1.0f);
    EXPECT_EQ(model.vertexScale, 1.0f);
    EXPECT_EQ(model.fieldOfView, 75.0f);
    EXPECT_EQ(model.eyePosition.lengthSquared(), 0.0f);
    EXPECT_EQ(model.eyeDirection.lengthSquared(), 0.0f);
}

using ModelOperations = QuietStartup;

Model loadedModel() {
    Model model(10000, 512, 512, 256, 128);
    const auto bytes = threeds::file([](Writer& w) {
        w.meshObject("Box01", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{0, 1, 2}});
    });
    EXPECT_EQ(loadBytes(model, bytes), 1);
    return model;
}

TEST_F(ModelOperations, SetPositionWritesTranslationAndMatrixTranslation) {
    Model model = loadedModel();
    model.mesh(0).matrix[0] = 7.0f;
    model.setPosition(0, Vec3(1.5f, -2.0f, 3.0f));
    const MeshObject& o = model.mesh(0);
    EXPECT_EQ(o.translation.x, 1.5f);
    EXPECT_EQ(o.translation.y, -2.0f);
    EXPECT_EQ(o.translation.z, 3.0f);
    EXPECT_EQ(o.matrix[12], 1.5f);
    EXPECT_EQ(o.matrix[13], -2.0f);
    EXPECT_EQ(o.matrix[14], 3.0f);
    EXPECT_EQ(o.matrix[0], 7.0f); // the rest of the matrix is untouched
}

TEST_F(ModelOperations, ResetWorkPositionsAllocatesOnceThenCopiesRestPositions) {
    Model model = loadedModel();
    MeshObject& o = model.mesh(0);
    model.resetWorkPositions(0);
    EXPECT_EQ(o.workBuffersReady, 1);
    ASSERT_EQ(o.workPositions.size(), 3u);
    ASSERT_EQ(o.vertexNormals.size(), 3u);
    EXPECT_EQ(o.workPositions[2].x, o.positions[2].x);
    EXPECT_EQ(o.workPositions[2].y, o.positions[2].y);
    EXPECT_EQ(o.vertexNormals[1].lengthSquared(), 0.0f);

    // A second reset restores the positions without reallocating the normals.
    o.workPositions[0].set(100, 100, 100);
    o.vertexNormals[0].set(0, 0, 1);
    const Vec3* buffer = o.workPositions.data();
    model.resetWorkPositions(0);
    EXPECT_EQ(o.workPositions.data(), buffer);
    EXPECT_EQ(o.workPositions[0].x, o.positions[0].x);
    EXPECT_EQ(o.vertexNormals[0].z, 1.0f);
}

TEST_F(ModelOperations, MeshesStayAtTheirAddressAsMoreAreLoaded) {
    Model model = loadedModel();
    const MeshObject* first = &model.mesh(0);
    for (int i = 0; i < 20; ++i)
        loadBytes(model, threeds::file([](Writer& w) {
                      w.meshObject("More", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
                  }));
    EXPECT_EQ(model.objectCount, 21);
    EXPECT_EQ(&model.mesh(0), first);
}

TEST(SceneLightRecord, StartsAtOriginInBlackAndTakesAColour) {
    SceneLight light;
    EXPECT_EQ(light.position.lengthSquared(), 0.0f);
    EXPECT_EQ(light.colour.lengthSquared(), 0.0f);
    EXPECT_EQ(light.camera, nullptr);
    light.setColour(1.51f, 1.45f, 1.01f);
    light.setColour(1.0f, 1.1f, 1.0f);
    EXPECT_EQ(light.colour.x, 1.0f);
    EXPECT_EQ(light.colour.y, 1.1f);
    EXPECT_EQ(light.colour.z, 1.0f);
}

TEST(IntListGrowth, StartsWithSixSlotsAndGrowsBySix) {
    IntList list;
    EXPECT_EQ(list.capacity, 6);
    EXPECT_EQ(list.count, 0);
    for (int i = 0; i < 6; ++i) list.push(i * 10);
    EXPECT_EQ(list.capacity, 6);
    list.push(60);
    EXPECT_EQ(list.capacity, 12);
    EXPECT_EQ(list.count, 7);
    for (int i = 7; i < 13; ++i) list.push(i * 10);
    EXPECT_EQ(list.capacity, 18);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(list[i], i * 10);
}

} // namespace
