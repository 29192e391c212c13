// Primitive shapes, extrusion and text outlines: closed, outward-facing, the right size, and text
// that reads left to right, upright, from the -y side.
#include "mesh/Extrude.h"
#include "mesh/GlyphOutline.h"
#include "mesh/Primitives.h"
#include "mesh/Topology.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

const std::string kFont = std::string(ASSETGEN_FONT_DIR) + "/DejaVuSans-Bold.ttf";

Contour square(double x, double z, double h, bool counterClockwise) {
    Contour c = {{x - h, z - h}, {x + h, z - h}, {x + h, z + h}, {x - h, z + h}};
    if (!counterClockwise) std::reverse(c.begin(), c.end());
    return c;
}

} // namespace

TEST(MeshPrimitives, uvSphereIsClosedOutwardAndEnclosesItsVolume) {
    const Mesh m = uvSphere(2.0, 32, 16);
    EXPECT_TRUE(inspectEdges(m).closedAndOriented());
    EXPECT_EQ(m.vertexCount(), 32u * 15u + 2u);
    EXPECT_EQ(m.faceCount(), 2u * 32u * 15u);
    const double exact = 4.0 / 3.0 * std::numbers::pi * 8.0;
    EXPECT_GT(signedVolume(m), 0.95 * exact);
    EXPECT_LT(signedVolume(m), exact);
}

TEST(MeshPrimitives, roundedCubeKeepsItsHalfExtentsAndIsClosed) {
    const Mesh m = roundedCube({3, 2, 1}, 0.5, 8);
    EXPECT_TRUE(inspectEdges(m).closedAndOriented());
    EXPECT_GT(signedVolume(m), 0.0);
    const Bounds b = boundsOf(m);
    EXPECT_NEAR(b.max.x, 3.0, 1e-9);
    EXPECT_NEAR(b.min.y, -2.0, 1e-9);
    EXPECT_NEAR(b.max.z, 1.0, 1e-9);
    EXPECT_EQ(m.faceCount(), 6u * 8u * 8u * 2u);
}

TEST(MeshPrimitives, latheWithPolesIsClosedAndOpenEndsAreNot) {
    const Mesh closed = lathe({{0, 0}, {1, 0.5}, {1, 1.5}, {0, 2}}, 10);
    EXPECT_TRUE(inspectEdges(closed).closedAndOriented());
    EXPECT_GT(signedVolume(closed), 0.0);
    const Mesh tube = lathe({{1, 0}, {1, 1}}, 10);
    EXPECT_EQ(inspectEdges(tube).borderEdges, 20u);
}

TEST(MeshPrimitives, loftWithCapsIsClosed) {
    std::vector<std::vector<Vec3d>> rings;
    for (int i = 0; i < 3; ++i) {
        std::vector<Vec3d> r;
        for (int k = 0; k < 6; ++k)
            r.push_back({std::cos(k * 1.0471975), std::sin(k * 1.0471975), double(i)});
        rings.push_back(r);
    }
    Mesh m = loft(rings, true, {0, 0, -0.5}, true, {0, 0, 2.5});
    EXPECT_TRUE(inspectEdges(m).closedAndOriented());
    orientOutward(m);
    EXPECT_GT(signedVolume(m), 0.0);
}

TEST(MeshExtrusion, squareWithHoleBecomesAClosedFrame) {
    for (bool holeCounterClockwise : {false, true}) {
        const ExtrudeResult r =
            extrudeContours({square(0, 0, 1, true), square(0, 0, 0.5, holeCounterClockwise)}, 0.2, 0);
        EXPECT_EQ(r.unmatchedEdges, 0u);
        EXPECT_TRUE(inspectEdges(r.mesh).closedAndOriented());
        EXPECT_NEAR(signedVolume(r.mesh), (4.0 - 1.0) * 0.2, 1e-9);
    }
}

TEST(MeshExtrusion, frontCapFacesMinusYAndBackCapPlusY) {
    const Mesh m = extrudeContours({square(0, 0, 1, true)}, 0.4, 0).mesh;
    int front = 0, back = 0;
    for (std::size_t f = 0; f < m.faceCount(); ++f) {
        const Vec3d n = normalized(faceNormal(m, f));
        const double y = m.positions[m.faces[f][0]].y;
        if (n.y < -0.99) front += y == -0.2 ? 1 : -100;
        if (n.y > 0.99) back += y == 0.2 ? 1 : -100;
    }
    EXPECT_EQ(front, 2);
    EXPECT_EQ(back, 2);
}

TEST(MeshExtrusion, capRefinementSplitsLongInnerEdgesAndStaysClosed) {
    const ExtrudeResult coarse = extrudeContours({square(0, 0, 1, true)}, 0.2, 0);
    const ExtrudeResult fine = extrudeContours({square(0, 0, 1, true)}, 0.2, 0.3);
    EXPECT_GT(fine.mesh.faceCount(), coarse.mesh.faceCount());
    EXPECT_TRUE(inspectEdges(fine.mesh).closedAndOriented());
    EXPECT_NEAR(signedVolume(fine.mesh), 0.8, 1e-9);
}

TEST(MeshText, lettersAreLaidOutLeftToRightAboveTheBaseline) {
    std::string error;
    const TextOutline one = layoutText(kFont, "I", 4, 0.0, error);
    const TextOutline two = layoutText(kFont, "II", 4, 0.0, error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_EQ(two.contours.size(), 2 * one.contours.size());
    EXPECT_GT(two.contours.back()[0].x, one.contours[0][0].x + 0.2);
    EXPECT_NEAR(two.width, 2 * one.width, 1e-9);
    EXPECT_GT(one.ascent, 0.6);
    EXPECT_LT(one.ascent, 0.8);
}

TEST(MeshText, extrudedLetterIsUnmirroredSeenFromMinusY) {
    // "L": its foot points right. Seen from -y with +z up, +x is to the right; the foot's tip must
    // be at larger x than the stem, and low in z.
    std::string error;
    const TextOutline l = layoutText(kFont, "L", 4, 0.0, error);
    const ExtrudeResult r = extrudeContours(l.contours, 0.1, 0);
    EXPECT_TRUE(inspectEdges(r.mesh).closedAndOriented());
    const Bounds b = boundsOf(r.mesh);
    double topRightX = -1e9;
    for (const Vec3d& p : r.mesh.positions)
        if (p.z > b.max.z - 0.05) topRightX = std::max(topRightX, p.x);
    EXPECT_LT(topRightX, b.min.x + 0.5 * (b.max.x - b.min.x)); // the stem's top is on the left
}

TEST(MeshText, unreadableFontIsReported) {
    std::string error;
    const TextOutline t = layoutText("/nonexistent/font.ttf", "A", 4, 0.0, error);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(t.contours.empty());
}
