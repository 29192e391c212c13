// The show's models as shapes: shadow casters closed, rooms facing in and objects out, the
// repeated ones lean, the handle wings on their wings, and the title words framed and readable.
#include "mesh/Topology.h"
#include "recipes/ModelCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

const ModelEntry& entry(const std::string& file) {
    for (const ModelEntry& e : modelCatalog())
        if (e.file == file) return e;
    throw std::runtime_error("no model " + file);
}

Mesh build(const std::string& file) { return entry(file).build(); }

} // namespace

TEST(ModelShapes, everyShadowCasterIsClosedAndConsistentlyOriented) {
    const std::set<std::string> casters = {"text_castr", "backball2", "luola2", "holeboxsd", "greet1",
                                           "greet2",     "greet3",    "greet4", "greet5"};
    std::set<std::string> flagged;
    for (const ModelEntry& e : modelCatalog())
        if (e.shadowCaster) flagged.insert(e.file);
    EXPECT_EQ(flagged, casters);
    for (const std::string& file : casters) {
        const EdgeReport r = inspectEdges(build(file));
        EXPECT_TRUE(r.closedAndOriented()) << file << ": " << r.borderEdges << " border edges, "
                                           << r.crowdedEdges << " crowded, " << r.flippedEdges << " flipped";
    }
}

TEST(ModelShapes, roomsFaceInwardsAndSolidsOutwards) {
    const std::set<std::string> rooms = {"backball", "potkoball", "duckball", "backball2",
                                         "bigball",  "bigballe",  "luola2"};
    for (const ModelEntry& e : modelCatalog()) {
        const Mesh m = e.build();
        if (!inspectEdges(m).closedAndOriented()) continue; // the water sheet is open by design
        if (rooms.count(e.file))
            EXPECT_LT(signedVolume(m), 0.0) << e.file;
        else
            EXPECT_GT(signedVolume(m), 0.0) << e.file;
    }
}

TEST(ModelShapes, repeatedObjectsStayLean) {
    EXPECT_LE(build("tahti3bt").faceCount(), 20u); // loaded 1350 times, drawn up to 1800 times a frame
    EXPECT_LE(build("hipu").faceCount(), 24u);     // 50 risers with 5-copy trails, two passes
    EXPECT_LE(build("sirppi2").faceCount(), 120u); // 50 sickles, four passes
    EXPECT_LT(build("siipi2lowlh").vertexCount(), 150u);
    EXPECT_LT(build("siipi2lowrh").vertexCount(), 150u);
}

namespace {

double wendland(double x) {
    if (x > 1.0) return 0.0;
    const double q = std::sqrt(x);
    return std::pow(1 - q, 8) * (32 * q * q * q + 25 * q * q + 8 * q + 1);
}

Vec3d fileToWorld(Vec3d f, double s) { return Vec3d{f.x, -f.z, f.y} * s; }

// The duck scene's flap: handles from the hidden wing (x6.5 x0.723) turned by the flap angle
// about y (and, beyond 5.5 out along the span, by the joint angle about x), applied to the
// visible wing (x3) with strength 1.65 and squared reach 250, then faded in along the span. The
// right wing moves as the mirror image of the left. Returns the largest displacement of a wing
// vertex in world units.
double flapReach(const Mesh& handles, const Mesh& wing, bool left, double flap, double joint) {
    auto turnY = [](Vec3d v, double a) {
        return Vec3d{v.x * std::cos(a) + v.z * std::sin(a), v.y, -v.x * std::sin(a) + v.z * std::cos(a)};
    };
    auto turnX = [](Vec3d v, double a) {
        return Vec3d{v.x, v.y * std::cos(a) - v.z * std::sin(a), v.y * std::sin(a) + v.z * std::cos(a)};
    };
    std::vector<Vec3d> targets, sources;
    for (const Vec3d& p : handles.positions) {
        const Vec3d t = fileToWorld(p, 6.5) * 0.723;
        const double mirror = left ? 1.0 : -1.0;
        Vec3d s{t.x, t.y, t.z * mirror};
        s = turnY(s, -flap);
        if (s.z <= -5.5) {
            s.z += 5.5;
            s = turnX(s, -joint);
            s.z -= 5.5;
        }
        s.z *= mirror;
        targets.push_back(t), sources.push_back(s);
    }
    double most = 0.0;
    for (const Vec3d& f : wing.positions) {
        const Vec3d p = fileToWorld(f, 3.0);
        Vec3d d{};
        for (std::size_t k = 0; k < targets.size(); ++k)
            d = d +
                (targets[k] - sources[k]) * (1.65 * wendland(dot(p - sources[k], p - sources[k]) / 250.0));
        const double ramp = std::clamp(((left ? 0.15 - p.z - 0.752 : p.z - 1.152)) / 3.1, 0.0, 1.0);
        most = std::max(most, length(d) * ramp);
    }
    return most;
}

} // namespace

TEST(ModelShapes, handleWingsFlapTheWingsByAFewUnitsAtMost) {
    for (bool left : {true, false}) {
        const Mesh handles = build(left ? "siipi2lowlh" : "siipi2lowrh");
        const Mesh wing = build(left ? "siipi1l_low" : "siipi1r_low");
        // Flap angles swing between -0.085 and 0.065 rad, the joint between -0.015 and 0.135.
        const double widest = std::max(flapReach(handles, wing, left, -0.085, 0.135),
                                       flapReach(handles, wing, left, 0.065, 0.135));
        EXPECT_GT(widest, 1.0) << (left ? "left" : "right") << " wing hardly moves";
        EXPECT_LT(widest, 4.0) << (left ? "left" : "right") << " wing flaps wider than its half span";
    }
}

TEST(ModelShapes, wingsSpreadAwayFromTheBodyOnTheirOwnSide) {
    const Bounds left = boundsOf(build("siipi1l_low")), right = boundsOf(build("siipi1r_low"));
    EXPECT_LT(left.min.y, -2.5); // the left wing reaches towards world -z (file -y)
    EXPECT_GT(right.max.y, 2.5);
    // Hung 4 world units (x3: 1.33 file units) out from the tub's middle, the shoulder reaches
    // back into the tub's side wall (2.55 out) but not through it into the basin (2.1 out).
    for (const double back : {left.max.y, -right.min.y}) {
        EXPECT_GT(back, (4.0 - 2.55) / 3.0);
        EXPECT_LT(back, (4.0 - 2.1) / 3.0);
    }
    EXPECT_LT(left.size().x, 0.6); // a thin blade across x, the flap direction, arched and drooping
}

TEST(ModelShapes, titleWordsAreFramedUprightAndFaceTheCamera) {
    const Bounds castr = boundsOf(build("text_castr"));
    EXPECT_NEAR(castr.size().x, 1.1, 0.05); // x2.5: 2.75 world units at 1.6 to 3 from the camera
    EXPECT_NEAR(castr.centre().x, 0.0, 0.01);
    EXPECT_NEAR(castr.centre().z, 0.0, 0.05);
    EXPECT_LT(castr.size().z, castr.size().x / 4); // reads along x, letters up along z
    const struct {
        const char* file;
        double width;
    } words[] = {{"text_demo", 0.9},  {"text_called", 1.3},  {"text_qm", 2.0}, {"textr_castr", 1.1},
                 {"textr_demo", 0.9}, {"textr_called", 1.3}, {"textr_qm", 2.0}};
    for (const auto& w : words) {
        const Bounds b = boundsOf(build(w.file));
        EXPECT_NEAR(b.size().x, w.width, 0.06) << w.file;
        EXPECT_LT(b.size().z, b.size().x / 2) << w.file;
        EXPECT_NEAR(b.centre().x, 0.0, 0.02) << w.file;
    }
}

TEST(ModelShapes, cubeBallStandsBeyondTheStarBallLightAsACube) {
    // The scene scales positions by 0.01 and stretches them by (2.5, 1.2, 1.2) along file x, z, y;
    // its camera sways about x = -0.4 looking at the origin, its light hangs at x = 0.15.
    const Bounds b = boundsOf(build("hugecubeball_low"));
    const Vec3d low{b.min.x * 0.025, b.min.y * 0.012, b.min.z * 0.012};
    const Vec3d high{b.max.x * 0.025, b.max.y * 0.012, b.max.z * 0.012};
    EXPECT_GT(low.x, 0.15 + 0.3) << "the nearest corner must stand clear beyond the light";
    EXPECT_LT(low.x, 0.15 + 0.6) << "and close enough for its falloff to light it";
    // Centred on the line of sight, and a cube once stretched: its skin lies between its face
    // distance and its rounded corners' (a sphere would give 1, an unstretched box much less).
    EXPECT_NEAR(high.y + low.y, 0.0, 0.05);
    EXPECT_NEAR(high.z + low.z, 0.0, 0.05);
    const Vec3d centre = (low + high) * 0.5;
    double nearest = 1e300, farthest = 0.0;
    for (const Vec3d& p : build("hugecubeball_low").positions) {
        const double d = length(Vec3d{p.x * 0.025, p.y * 0.012, p.z * 0.012} - centre);
        nearest = std::min(nearest, d), farthest = std::max(farthest, d);
    }
    EXPECT_GT(nearest / farthest, 0.6);
    EXPECT_LT(nearest / farthest, 0.8);
}

TEST(ModelShapes, closingRoomHoldsTheLightAndTheCameraAfterItsLumps) {
    // x1.5; the lumps push the wall in by up to about 39 world units; the light reaches 13.5 out
    // in front of the word (file +y), the camera 12.3 behind it.
    const Bounds b = boundsOf(build("backball2"));
    EXPECT_GT(b.max.y * 1.5 - 39.0, 13.5);
    EXPECT_GT(-b.min.y * 1.5 - 39.0, 12.3);
}

TEST(ModelShapes, textureCoordinatesSpanAFewRepeatsAtEachScenesScale) {
    // (model, texCoordScale of a scene that draws it textured). Scales as small as 0.001 need
    // file coordinates in the hundreds.
    const std::vector<std::pair<std::string, double>> uses = {
        {"hipu", 0.001},           {"amme", 0.01},       {"text_castr", 0.06},
        {"textr_qm", 0.06},        {"luola2", 2.0},      {"backball", 0.0025},     {"potkoball", 6.0},
        {"bigballe", 0.15},        {"bigballe", 3.0},    {"ballbig_s_r", 0.2},
        {"hugecubeball_low", 1.5}, {"sirppi2", 2.0},     {"tahti3bt", 1.0},
        {"greet3", 1.0},           {"siipi1l_low", 1.0}, {"ankka", 1.0},
        {"potko2", 2.0},           {"holeboxsd", 1.0},   {"backball2", 1.0},
    };
    for (const auto& [file, scale] : uses) {
        const Mesh m = build(file);
        double lowU = 1e300, highU = -1e300, lowV = 1e300, highV = -1e300;
        for (const Vec2d& uv : m.uvs) {
            ASSERT_TRUE(std::isfinite(uv.x) && std::isfinite(uv.y)) << file;
            lowU = std::min(lowU, uv.x), highU = std::max(highU, uv.x);
            lowV = std::min(lowV, uv.y), highV = std::max(highV, uv.y);
        }
        const double repeats = std::max(highU - lowU, highV - lowV) * scale;
        EXPECT_GT(repeats, 0.3) << file << " at x" << scale << " shows a magnified speck of its texture";
        EXPECT_LT(repeats, 60.0) << file << " at x" << scale << " repeats its texture into noise";
    }
}
