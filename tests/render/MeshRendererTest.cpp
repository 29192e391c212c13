#include "render/MeshRenderer.h"
#include "render/Camera.h"
#include "render/RenderPath.h"
#include "render/fixed/MeshSubmission.h"
#include "render/geometry/MeshArrays.h"

#include "support/GlTestContext.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr GLuint kTextureSlot = 700;
constexpr GLuint kCubeSlot = 701;

struct Rgb {
    int r = 0, g = 0, b = 0;
};

Rgb pixelAt(int x, int y) {
    GLubyte p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

int byteOf(float v) { return static_cast<int>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f)); }

void expectPixelNear(const Rgb& p, float r, float g, float b, int tolerance = 3) {
    EXPECT_NEAR(p.r, byteOf(r), tolerance);
    EXPECT_NEAR(p.g, byteOf(g), tolerance);
    EXPECT_NEAR(p.b, byteOf(b), tolerance);
}

// A width x 1 texture of the given RGB texels, sampled nearest, clamped.
void makeTexture(GLuint slot, const std::vector<std::array<GLubyte, 3>>& texels) {
    glBindTexture(GL_TEXTURE_2D, slot);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, static_cast<GLsizei>(texels.size()), 1, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// A cube map whose six 1 x 1 faces all have one colour.
void makeCube(GLuint slot, std::array<GLubyte, 3> colour) {
    glBindTexture(GL_TEXTURE_CUBE_MAP, slot);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int face = 0; face < 6; ++face)
        glTexImage2D(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), 0, GL_RGB, 1, 1, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, colour.data());
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

// Appends a square in the plane z = centre.z, wound counter-clockwise seen from +z, texture
// running 0..1 left to right and bottom to top. Stored normals point to -z: the renderer
// negates them, so the square faces +z when drawn.
void addSquare(MeshObject& o, Vec3 centre, float half) {
    const int base = o.vertexCount;
    const float xs[4] = {-half, half, half, -half};
    const float ys[4] = {-half, -half, half, half};
    const float us[4] = {0, 1, 1, 0};
    const float vs[4] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        o.positions.emplace_back(centre.x + xs[i], centre.y + ys[i], centre.z);
        o.restNormals.emplace_back(0.0f, 0.0f, -1.0f);
        o.texU.push_back(us[i]);
        o.texV.push_back(vs[i]);
    }
    const int faces[6] = {0, 1, 2, 0, 2, 3};
    for (int i : faces) o.faceIndices.push_back(base + i);
    o.vertexCount += 4;
    o.faceCount += 2;
}

// Makes the per-corner and working arrays a loaded, reset mesh has.
void finishMesh(MeshObject& o) {
    o.cornerFlat.assign(o.faceIndices.size(), 0);
    o.cornerNormals.assign(o.faceIndices.size(), Vec3());
    o.workPositions = o.positions;
    o.vertexNormals = o.restNormals;
    o.workBuffersReady = 1;
}

// A loaded mesh's appearance with everything that would tint the result switched off.
void plainAppearance(MeshObject& o) {
    o.texture = static_cast<int>(kTextureSlot);
    o.cubeTexture = static_cast<int>(kCubeSlot);
    o.colour.set(0, 0, 0, 1);
    o.specular.set(0, 0, 0, 1);
    o.ambient.set(0, 0, 0, 1);
    o.lightW = 0.0f; // a directional light along +z
    o.renderMode = RenderMode::TextureReflect;
    o.layered = 1;
}

class DrawObject : public GlTest {
  protected:
    Model model{10, 800, 600, 256, 128};
    SceneLight light;
    CameraFrame camera;

    void SetUp() override {
        GlTest::SetUp();
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_CUBE_MAP);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glDisable(GL_TEXTURE_GEN_R);
        glDisable(GL_COLOR_MATERIAL);
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        makeTexture(kTextureSlot, {{255, 255, 255}});
        makeCube(kCubeSlot, {255, 255, 255});
        light.position.set(0, 0, 1);
        light.setColour(1, 1, 1);
        // GL eye at (0, 0, 5) looking down -z with +y up: the scene's position is negated.
        camera.position.set(0, 0, -5);
        camera.forward.set(0, 0, 1);
        camera.up.set(0, 1, 0);
        setPerspectiveScreen(model, camera);
        resetDrawnTriangles();
    }

    MeshObject& addMesh() {
        const int index = model.objectCount++;
        model.objects[static_cast<std::size_t>(index)] = std::make_unique<MeshObject>();
        MeshObject& o = model.mesh(index);
        plainAppearance(o);
        return o;
    }

    // A 2 x 2 square at the origin facing the camera; its index.
    int addFacingSquare() {
        MeshObject& o = addMesh();
        addSquare(o, {0, 0, 0}, 1.0f);
        finishMesh(o);
        return model.objectCount - 1;
    }

    void draw(int mesh, int geometry = kRestShape) { drawObject(model, mesh, light, geometry); }

    // Window position of a GL-space point under the current matrices.
    std::array<int, 2> windowOf(Vec3 p) {
        GLdouble mv[16] = {}, pr[16] = {};
        GLint vp[4] = {};
        glGetDoublev(GL_MODELVIEW_MATRIX, mv);
        glGetDoublev(GL_PROJECTION_MATRIX, pr);
        glGetIntegerv(GL_VIEWPORT, vp);
        GLdouble x = 0, y = 0, z = 0;
        gluProject(p.x, p.y, p.z, mv, pr, vp, &x, &y, &z);
        return {static_cast<int>(x), static_cast<int>(y)};
    }
};

bool enabled(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }

GLint integer(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

std::array<GLfloat, 4> currentColour() {
    std::array<GLfloat, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    return c;
}

// Everything a draw sets or leaves, in one comparable list.
std::vector<float> stateSnapshot() {
    std::vector<float> s;
    for (GLenum cap : {GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_DEPTH_TEST, GL_CULL_FACE,
                       GL_TEXTURE_CUBE_MAP, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R,
                       GL_TEXTURE_2D, GL_BLEND, GL_NORMALIZE, GL_POLYGON_SMOOTH})
        s.push_back(enabled(cap) ? 1.0f : 0.0f);
    for (GLenum what : {GL_MATRIX_MODE, GL_DEPTH_FUNC, GL_BLEND_SRC, GL_BLEND_DST, GL_TEXTURE_BINDING_2D,
                        GL_TEXTURE_BINDING_CUBE_MAP, GL_COLOR_MATERIAL_FACE, GL_COLOR_MATERIAL_PARAMETER})
        s.push_back(static_cast<float>(integer(what)));
    GLint env = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    s.push_back(static_cast<float>(env));
    for (float c : currentColour()) s.push_back(c);
    std::array<GLfloat, 16> mv{};
    glGetFloatv(GL_MODELVIEW_MATRIX, mv.data());
    s.insert(s.end(), mv.begin(), mv.end());
    return s;
}

// --- Passes --------------------------------------------------------------------------------------

TEST_F(DrawObject, FreshMeshIsDrawnInThreePasses) {
    MeshObject& o = addMesh();
    *&o = MeshObject(); // creation defaults, then what the face list sets
    o.renderMode = RenderMode::TextureReflect;
    addSquare(o, {0, 0, 0}, 1.0f);
    finishMesh(o);
    EXPECT_EQ(passCountOf(o), 3);
    draw(0);
    EXPECT_EQ(drawnTriangles(), 3 * 2);
}

TEST_F(DrawObject, PassCountFollowsLayeringAndMode) {
    struct Case {
        int mode, layered, passes;
    };
    const Case cases[] = {{0, 0, 1}, {1, 0, 1}, {4, 0, 1}, {5, 0, 2},
                          {0, 1, 2}, {1, 1, 2}, {4, 1, 2}, {5, 1, 3}};
    const int mesh = addFacingSquare();
    for (const Case& c : cases) {
        model.mesh(mesh).renderMode = static_cast<RenderMode>(c.mode);
        model.mesh(mesh).layered = c.layered;
        resetDrawnTriangles();
        resetDrawnBatches();
        draw(mesh);
        EXPECT_EQ(drawnTriangles(), 2 * c.passes) << "mode " << c.mode << " layered " << c.layered;
        EXPECT_EQ(drawnBatches(), c.passes) << "mode " << c.mode << " layered " << c.layered;
    }
    // An unknown geometry sends no triangles, so it costs no batch either.
    resetDrawnBatches();
    draw(mesh, 2);
    EXPECT_EQ(drawnBatches(), 0);
}

TEST_F(DrawObject, LayeredReflectionPassIsUnlitAndAddedOnTop) {
    // No light reaches the mesh, so the lit passes are black; what shows is the unlit reflection
    // (colour factor 1) added over them.
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.colour.set(0.3f, 0.2f, 0.1f, 1);
    light.setColour(0, 0, 0);
    makeCube(kCubeSlot, {255, 255, 255});
    draw(mesh);
    expectPixelNear(pixelAt(400, 300), 0.3f, 0.2f, 0.1f);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    makeCube(kCubeSlot, {0, 0, 0});
    draw(mesh);
    expectPixelNear(pixelAt(400, 300), 0, 0, 0);
}

TEST_F(DrawObject, UnlayeredMode4IsOneUnlitOpaqueReflectionPass) {
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::Reflect;
    o.layered = 0;
    o.colour.set(0.2f, 0.1f, 0.25f, 1);
    o.envAlpha = 0.5f; // the vertex alpha, but blending is off
    light.setColour(0, 0, 0);
    makeTexture(kTextureSlot, {{255, 0, 0}});
    makeCube(kCubeSlot, {255, 128, 64});
    draw(mesh);
    EXPECT_EQ(drawnTriangles(), 2);
    // Colour times 4 modulates the cube texel; no lighting, no 2D texture, no background.
    expectPixelNear(pixelAt(400, 300), 0.8f * 1.0f, 0.4f * (128 / 255.0f), 1.0f * (64 / 255.0f));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_TRUE(enabled(GL_NORMALIZE));
}

TEST_F(DrawObject, UnlayeredMode0IsLitUntexturedBlendedAndFourTimesTheColour) {
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::Untextured;
    o.layered = 0;
    o.colour.set(0.1f, 0.05f, 0.15f, 1);
    o.alpha = 0.5f;
    makeTexture(kTextureSlot, {{255, 0, 0}});
    draw(mesh);
    // The light falls straight on the square: lit colour = 4 x colour, half over the grey.
    expectPixelNear(pixelAt(400, 300), 0.5f * 0.4f + 0.25f, 0.5f * 0.2f + 0.25f, 0.5f * 0.6f + 0.25f);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    light.setColour(0, 0, 0);
    draw(mesh);
    expectPixelNear(pixelAt(400, 300), 0.25f, 0.25f, 0.25f); // unlit: nothing but the grey
}

TEST_F(DrawObject, UntexturedPassLeavesTheBoundTexturesWrappingAlone) {
    // An effect copy left bound by the post stack clamps; an untextured mesh must not change it.
    constexpr GLuint kEffectCopy = 720;
    makeTexture(kEffectCopy, {{10, 20, 30}});
    glBindTexture(GL_TEXTURE_2D, kEffectCopy);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const int mesh = addFacingSquare();
    model.mesh(mesh).renderMode = RenderMode::Untextured;
    model.mesh(mesh).layered = 0;
    draw(mesh);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(kEffectCopy));
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
}

TEST_F(DrawObject, ColourAlphaNeverReachesGl) {
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::Untextured;
    o.layered = 0;
    o.colour.set(0.2f, 0.1f, 0.05f, 0.0f);
    o.alpha = 1.0f;
    draw(mesh);
    expectPixelNear(pixelAt(400, 300), 0.8f, 0.4f, 0.2f);
    EXPECT_EQ(currentColour()[3], 1.0f);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    o.colour.w = 1.0f;
    o.alpha = 0.0f;
    draw(mesh);
    expectPixelNear(pixelAt(400, 300), 0, 0, 0);
    EXPECT_EQ(currentColour()[3], 0.0f);
}

TEST_F(DrawObject, EqualDepthLayersLandOnlyWhereTheBasePassWroteDepth) {
    // A black base texture leaves only the reflection layer to see. With depth writes masked
    // the base pass stores no depth, so the layer, which needs equal depth, finds none; the fast
    // path, which draws both layers at once, must keep to that.
    makeTexture(kTextureSlot, {{0, 0, 0}});
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::TextureReflect;
    o.layered = 0;
    o.colour.set(0.2f, 0.1f, 0.3f, 1);
    for (const RenderPath path : {RenderPath::Reference, RenderPath::Fast}) {
        setRenderPath(path);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthMask(GL_FALSE);
        draw(mesh);
        expectPixelNear(pixelAt(400, 300), 0, 0, 0);

        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw(mesh);
        expectPixelNear(pixelAt(400, 300), 0.4f, 0.2f, 0.6f); // twice the colour, from the cube
    }
    setRenderPath(RenderPath::Reference);
}

TEST_F(DrawObject, LastPassLeavesItsColourFactorAndVertexAlpha) {
    struct Case {
        int mode, layered;
        float factor;
        bool envAlphaLast;
    };
    // The last pass of each scheme: layered mode 5 ends on its texture layer (factor 1, envAlpha),
    // unlayered mode 5 on the reflection (2, envAlpha), layered others on pass 1 (2, alpha, or
    // envAlpha in mode 4), unlayered others on pass 0 (4).
    const Case cases[] = {{5, 1, 1, true}, {5, 0, 2, true},  {1, 1, 2, false}, {0, 1, 2, false},
                          {4, 1, 2, true}, {1, 0, 4, false}, {0, 0, 4, false}, {4, 0, 4, true}};
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.colour.set(0.1f, 0.2f, 0.05f, 0.9f);
    o.alpha = 0.25f;
    o.envAlpha = 0.75f;
    for (const Case& c : cases) {
        o.renderMode = static_cast<RenderMode>(c.mode);
        o.layered = c.layered;
        draw(mesh);
        const auto colour = currentColour();
        EXPECT_FLOAT_EQ(colour[0], 0.1f * c.factor) << "mode " << c.mode << " layered " << c.layered;
        EXPECT_FLOAT_EQ(colour[1], 0.2f * c.factor) << "mode " << c.mode << " layered " << c.layered;
        EXPECT_FLOAT_EQ(colour[3], c.envAlphaLast ? 0.75f : 0.25f)
            << "mode " << c.mode << " layered " << c.layered;
    }
}

TEST_F(DrawObject, LayeredMeshesGetAThirdOfTheirAmbient) {
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.ambient.set(0.6f, 0.3f, 0.9f, 0.5f);
    o.layered = 1;
    draw(mesh);
    std::array<GLfloat, 4> ambient{};
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient.data());
    EXPECT_FLOAT_EQ(ambient[0], 0.6f * 0.33f);
    EXPECT_FLOAT_EQ(ambient[1], 0.3f * 0.33f);
    EXPECT_FLOAT_EQ(ambient[2], 0.9f * 0.33f);
    EXPECT_FLOAT_EQ(ambient[3], 0.5f);

    o.layered = 0;
    draw(mesh);
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient.data());
    EXPECT_FLOAT_EQ(ambient[0], 0.6f);
}

// --- Geometry and state --------------------------------------------------------------------------

TEST_F(DrawObject, UnknownGeometryDrawsNothingYetLeavesTheSameState) {
    const int mesh = addFacingSquare();
    model.mesh(mesh).colour.set(0.2f, 0.2f, 0.2f, 1);
    draw(mesh, kRestShape);
    const auto afterDraw = stateSnapshot();
    EXPECT_EQ(drawnTriangles(), 6);

    resetGlState();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setPerspectiveScreen(model, camera);
    resetDrawnTriangles();
    draw(mesh, 2);
    EXPECT_EQ(drawnTriangles(), 0);
    expectPixelNear(pixelAt(400, 300), 0, 0, 0);
    EXPECT_EQ(stateSnapshot(), afterDraw);
}

TEST_F(DrawObject, LeavesTheDocumentedStateBehind) {
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::Textured;
    o.layered = 0;
    o.sphereMap = 1;
    o.cullFaces = 1;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    std::array<GLfloat, 16> before{}, after{};
    glGetFloatv(GL_MODELVIEW_MATRIX, before.data());
    draw(mesh);
    glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_EQ(before, after);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    for (GLenum off : {GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_DEPTH_TEST, GL_CULL_FACE,
                       GL_TEXTURE_CUBE_MAP, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R})
        EXPECT_FALSE(enabled(off)) << "capability 0x" << std::hex << off;
    EXPECT_TRUE(enabled(GL_TEXTURE_2D));
    GLint env = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    EXPECT_EQ(env, GL_ADD);
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(kTextureSlot));
}

TEST_F(DrawObject, WorkingShapeDrawsTheWorkPositions) {
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::Untextured;
    o.layered = 0;
    o.ambient.set(1, 1, 1, 1);
    for (Vec3& p : o.workPositions) p.x += 3.0f; // moved right, off the centre
    draw(mesh, kWorkingShape);
    const auto moved = windowOf({3, 0, 0});
    expectPixelNear(pixelAt(moved[0], moved[1]), 1, 1, 1);
    expectPixelNear(pixelAt(400, 300), 0, 0, 0);
}

TEST_F(DrawObject, FlatCornersUseTheirCornerNormals) {
    // With the vertex normals turned away from the light only corners marked flat get lit.
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::Untextured;
    o.layered = 0;
    o.colour.set(0.25f, 0.25f, 0.25f, 1);
    for (Vec3& n : o.vertexNormals) n.set(0, 0, 1);
    draw(mesh, kWorkingShape);
    expectPixelNear(pixelAt(400, 300), 0, 0, 0);

    for (std::size_t c = 0; c < o.cornerFlat.size(); ++c) {
        o.cornerFlat[c] = 1;
        o.cornerNormals[c].set(0, 0, -1);
    }
    draw(mesh, kWorkingShape);
    expectPixelNear(pixelAt(400, 300), 1, 1, 1);
}

TEST_F(DrawObject, MeshIndexOutsideTheModelDrawsNothingAndChangesNoState) {
    addFacingSquare();
    const auto before = stateSnapshot();
    draw(1);
    draw(-1);
    draw(10);
    EXPECT_EQ(drawnTriangles(), 0);
    EXPECT_EQ(stateSnapshot(), before);
}

TEST_F(DrawObject, WorkingShapeThatWasNeverMadeDrawsNothing) {
    MeshObject& o = addMesh();
    addSquare(o, {0, 0, 0}, 1.0f); // rest shape only: no working or per-corner arrays
    draw(0, kWorkingShape);
    EXPECT_EQ(drawnTriangles(), 0);
    draw(0, kRestShape);
    EXPECT_EQ(drawnTriangles(), 6);
    o.coneCull = 1;
    draw(0, kRestShape); // no per-corner arrays: vertex normals serve
    EXPECT_EQ(drawnTriangles(), 12);
}

TEST_F(DrawObject, NormalOverlayDrawsLinesFromTheRestCorners) {
    // Normals along +x: the top-left corner (a third corner) gets a line out to x = -3.
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::Textured;
    o.layered = 0;
    o.ambient.set(1, 1, 1, 1);
    for (Vec3& n : o.restNormals) n.set(2, 0, 0);
    const auto onLine = windowOf({-2, 1, 0});
    const auto outside = windowOf({-2, 0, 0});
    draw(mesh);
    EXPECT_EQ(pixelAt(onLine[0], onLine[1]).r + pixelAt(onLine[0], onLine[1] - 1).r, 0);
    drawObject(model, mesh, light, kRestShape, NormalLines::Shown);
    EXPECT_GT(pixelAt(onLine[0], onLine[1]).r + pixelAt(onLine[0], onLine[1] - 1).r, 0);
    EXPECT_EQ(pixelAt(outside[0], outside[1]).r, 0);
    EXPECT_EQ(drawnTriangles(), 4);
    EXPECT_TRUE(enabled(GL_TEXTURE_2D));
}

// --- Cone test -----------------------------------------------------------------------------------

TEST_F(DrawObject, ConeTestDropsFacesBehindTheEye) {
    // The GL eye sits at (0, 0, 5) looking down -z; each square's first corner decides.
    MeshObject& o = addMesh();
    addSquare(o, {0, 0, 0}, 1.0f);              // ahead
    addSquare(o, {0, 0, 10}, 1.0f);             // behind
    addSquare(o, {30, 0, 4}, 1.0f);             // far to the side
    addSquare(o, {0.01f, 0.01f, 5.05f}, 0.01f); // just behind, but within 0.1 of the eye
    addSquare(o, {1.3f, 0.1f, 4}, 0.1f);        // first corner at cosine 0.64 off the view axis
    addSquare(o, {2.0f, 0.1f, 4}, 0.1f);        // first corner at cosine 0.47
    finishMesh(o);
    o.renderMode = RenderMode::Textured;
    o.layered = 0;
    o.coneCull = 1;
    draw(0, kWorkingShape);
    EXPECT_EQ(drawnTriangles(), 2 * 3);

    resetDrawnTriangles();
    o.coneCull = 0;
    draw(0, kWorkingShape);
    EXPECT_EQ(drawnTriangles(), 2 * 6);

    resetDrawnTriangles(); // the rest shape is never cone tested
    o.coneCull = 1;
    draw(0, kRestShape);
    EXPECT_EQ(drawnTriangles(), 2 * 6);
}

TEST_F(DrawObject, ConeTestReadsTheRecordedEyeAndScale) {
    MeshObject& o = addMesh();
    addSquare(o, {0, 0, 0}, 1.0f);
    finishMesh(o);
    o.coneCull = 1;
    o.layered = 0;
    o.renderMode = RenderMode::Textured;
    draw(0, kWorkingShape);
    EXPECT_EQ(drawnTriangles(), 2);

    // Scaled, the first corners land at z = 10, behind the eye at z = 5.
    resetDrawnTriangles();
    for (Vec3& p : o.workPositions) p.z = -1.0f;
    o.scale.set(1, 1, -10);
    draw(0, kWorkingShape);
    EXPECT_EQ(drawnTriangles(), 0);

    // The same faces are ahead once the recorded eye turns round.
    resetDrawnTriangles();
    camera.position.set(0, 0, -20);
    setPerspectiveScreen(model, camera);
    draw(0, kWorkingShape);
    EXPECT_EQ(drawnTriangles(), 2);
}

// --- Placement, light, texture -------------------------------------------------------------------

TEST_F(DrawObject, PlacementTranslatesThenTurnsAboutYThenZThenX) {
    // A small square at (0, 1, 0) turned a quarter about x, then z, then y ends at (1, 0, 0);
    // then the translation moves it down by one.
    MeshObject& o = addMesh();
    addSquare(o, {0, 1, 0}, 0.2f);
    finishMesh(o);
    o.renderMode = RenderMode::Untextured;
    o.layered = 0;
    o.cullFaces = 0;
    o.ambient.set(1, 1, 1, 1);
    o.rotationX = o.rotationY = o.rotationZ = 1.570795f;
    o.translation.set(0, -1, 0);
    draw(0);
    const auto expected = windowOf({1, -1, 0});
    const auto otherOrder = windowOf({-1, -1, 0});
    expectPixelNear(pixelAt(expected[0], expected[1]), 1, 1, 1);
    expectPixelNear(pixelAt(otherOrder[0], otherOrder[1]), 0, 0, 0);
    expectPixelNear(pixelAt(400, 300), 0, 0, 0);
}

TEST_F(DrawObject, LightIsPlacedByTheViewNotByTheMesh) {
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.lightW = 1.0f;
    o.translation.set(3, 2, 1);
    o.rotationY = 1.0f;
    light.position.set(1, 2, 3);
    draw(mesh);
    std::array<GLfloat, 16> view{};
    glGetFloatv(GL_MODELVIEW_MATRIX, view.data());
    std::array<GLfloat, 4> sent{};
    glGetLightfv(GL_LIGHT0, GL_POSITION, sent.data());
    for (int row = 0; row < 3; ++row)
        EXPECT_NEAR(sent[row], view[row] * 1 + view[4 + row] * 2 + view[8 + row] * 3 + view[12 + row], 1e-5f);
    EXPECT_EQ(sent[3], 1.0f);
}

TEST_F(DrawObject, TextureOffsetShiftsUnmappedTexturesOnly) {
    makeTexture(kTextureSlot, {{255, 0, 0}, {0, 255, 0}});
    const int mesh = addFacingSquare();
    MeshObject& o = model.mesh(mesh);
    o.renderMode = RenderMode::Textured;
    o.layered = 0;
    o.ambient.set(1, 1, 1, 1); // lit colour saturates: the texel shows as it is
    const auto left = windowOf({-0.5f, 0, 0});
    draw(mesh);
    expectPixelNear(pixelAt(left[0], left[1]), 1, 0, 0);

    o.texOffsetU = 0.5f;
    draw(mesh);
    expectPixelNear(pixelAt(left[0], left[1]), 0, 1, 0);
    const auto right = windowOf({0.5f, 0, 0});
    expectPixelNear(pixelAt(right[0], right[1]), 1, 0, 0); // the textured pass makes it repeat

    o.sphereMap = 1; // generated coordinates replace the sent ones, offset and all
    draw(mesh);
    const Rgb withOffset = pixelAt(left[0], left[1]);
    o.texOffsetU = 0.0f;
    draw(mesh);
    const Rgb withoutOffset = pixelAt(left[0], left[1]);
    EXPECT_EQ(withOffset.r, withoutOffset.r);
    EXPECT_EQ(withOffset.g, withoutOffset.g);
}

TEST_F(DrawObject, BackFacesAreCulledOnlyWhenAsked) {
    MeshObject& o = addMesh();
    addSquare(o, {0, 0, 0}, 1.0f);
    for (std::size_t f = 0; f < o.faceIndices.size(); f += 3)
        std::swap(o.faceIndices[f + 1], o.faceIndices[f + 2]);
    finishMesh(o);
    o.renderMode = RenderMode::Untextured;
    o.layered = 0;
    o.ambient.set(1, 1, 1, 1);
    draw(0);
    expectPixelNear(pixelAt(400, 300), 0, 0, 0);
    o.cullFaces = 0;
    draw(0);
    expectPixelNear(pixelAt(400, 300), 1, 1, 1);
}

// --- Submission ----------------------------------------------------------------------------------

// A bumpy grid of shared vertices, wound to face +z like addSquare's squares.
void addSheet(MeshObject& o, int cells, float size) {
    const int row = cells + 1;
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) {
            const float x = size * (static_cast<float>(i) / static_cast<float>(cells) - 0.5f);
            const float y = size * (static_cast<float>(j) / static_cast<float>(cells) - 0.5f);
            o.positions.emplace_back(x, y, 0.1f * std::sin(3.0f * x * y));
            Vec3 n(0.2f * std::sin(7.0f * x), 0.2f * std::cos(5.0f * y), -1.0f);
            n.normalize();
            o.restNormals.push_back(n);
            o.texU.push_back(static_cast<float>(i) / static_cast<float>(cells));
            o.texV.push_back(static_cast<float>(j) / static_cast<float>(cells));
        }
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            const int a = j * row + i, b = a + 1, c = a + row, d = c + 1;
            for (int v : {a, b, d, a, d, c}) o.faceIndices.push_back(v);
        }
    o.vertexCount = row * row;
    o.faceCount = 2 * cells * cells;
}

std::vector<GLubyte> readFrame() {
    std::vector<GLubyte> pixels(800 * 600 * 4);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST_F(DrawObject, VertexArraysGiveTheSamePixelsAsImmediateMode) {
    makeTexture(kTextureSlot, {{255, 40, 0}, {20, 200, 90}, {0, 60, 255}});
    makeCube(kCubeSlot, {90, 120, 200});
    MeshObject& o = addMesh();
    addSheet(o, 12, 3.5f);
    finishMesh(o);
    for (std::size_t c = 5; c < o.cornerFlat.size(); c += 17) {
        o.cornerFlat[c] = 1;
        o.cornerNormals[c].set(0.6f, 0, -0.8f);
    }
    o.colour.set(0.4f, 0.35f, 0.3f, 1);
    o.ambient.set(0.2f, 0.2f, 0.2f, 1);
    o.specular.set(0.3f, 0.3f, 0.3f, 1);
    o.shininess = 8.0f;
    o.alpha = 0.8f;
    o.envAlpha = 0.6f;
    o.texOffsetU = 0.2f;
    o.scale.set(1.2f, 0.9f, 1.0f);
    o.rotationY = 0.3f;
    o.lightW = 1.0f;
    light.position.set(1, 2, 4);
    // Close enough that the cone test drops the sheet's outer corners.
    camera.position.set(0, 0, -1.5f);
    setPerspectiveScreen(model, camera);

    struct Look {
        int mode, layered, sphereMap, coneCull, geometry;
    };
    const Look looks[] = {{5, 1, 0, 1, kWorkingShape},
                          {1, 0, 1, 0, kRestShape},
                          {0, 1, 0, 1, kRestShape},
                          {4, 0, 0, 0, kWorkingShape},
                          {5, 0, 1, 1, kWorkingShape}};
    bool someCulled = false;
    for (const Look& look : looks) {
        o.renderMode = static_cast<RenderMode>(look.mode);
        o.layered = look.layered;
        o.sphereMap = look.sphereMap;
        o.coneCull = look.coneCull;
        std::vector<GLubyte> frames[2];
        std::int64_t triangles[2] = {};
        const fixed::MeshSubmission styles[2] = {fixed::MeshSubmission::Immediate,
                                                 fixed::MeshSubmission::VertexArrays};
        for (int k = 0; k < 2; ++k) {
            fixed::setMeshSubmission(styles[k]);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            resetDrawnTriangles();
            drawObject(model, 0, light, look.geometry);
            triangles[k] = drawnTriangles();
            frames[k] = readFrame();
        }
        const std::string name =
            "mode " + std::to_string(look.mode) + " layered " + std::to_string(look.layered);
        EXPECT_GT(std::count_if(frames[0].begin(), frames[0].end(), [](GLubyte b) { return b != 0; }), 10000)
            << name;
        EXPECT_EQ(triangles[1], triangles[0]) << name;
        int differing = 0, worst = 0;
        for (size_t i = 0; i < frames[0].size(); ++i) {
            const int d = std::abs(int(frames[0][i]) - int(frames[1][i]));
            differing += d != 0;
            worst = std::max(worst, d);
        }
        // Shared vertices are lit once instead of once per corner, which may round a handful of
        // channels the other way; nothing more may change.
        EXPECT_LE(worst, 1) << name << ": vertex arrays changed the image";
        EXPECT_LE(differing, static_cast<int>(frames[0].size() / 10000))
            << name << ": vertex arrays changed the image";
        someCulled = someCulled || triangles[0] < passCountOf(o) * o.faceCount;
    }
    fixed::setMeshSubmission(fixed::MeshSubmission::VertexArrays);
    EXPECT_TRUE(someCulled);
    EXPECT_FALSE(enabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(enabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(enabled(GL_TEXTURE_COORD_ARRAY));
}

// --- Fast path -----------------------------------------------------------------------------------

TEST_F(DrawObject, FastPathDrawsTextureAndReflectionInOnePassWithTheReferencePixelsAndState) {
    makeTexture(kTextureSlot, {{255, 40, 0}, {20, 200, 90}, {0, 60, 255}});
    makeCube(kCubeSlot, {90, 120, 200});
    MeshObject& o = addMesh();
    addSheet(o, 12, 3.5f);
    finishMesh(o);
    o.ambient.set(0.2f, 0.2f, 0.2f, 1);
    o.specular.set(0.3f, 0.3f, 0.3f, 1);
    o.shininess = 8.0f;
    o.lightW = 1.0f;
    light.position.set(1, 2, 4);
    camera.position.set(0, 0, -2.5f);
    setPerspectiveScreen(model, camera);

    struct Look {
        int layered, modulateBase, sphereMap;
        float colour, alpha, envAlpha; // a colour past 1 is clamped by GL in the unlit pass only
    };
    const Look looks[] = {{1, 0, 0, 0.7f, 1.0f, 1.0f},
                          {1, 1, 1, 1.6f, 0.8f, 0.5f},
                          {0, 0, 1, 0.45f, 1.0f, 0.7f},
                          {0, 1, 0, 0.9f, 0.6f, 1.0f}};
    for (const Look& look : looks) {
        o.renderMode = RenderMode::TextureReflect;
        o.layered = look.layered;
        o.modulateBase = look.modulateBase;
        o.sphereMap = look.sphereMap;
        o.colour.set(look.colour, 0.8f * look.colour, 0.6f * look.colour, 1);
        o.alpha = look.alpha;
        o.envAlpha = look.envAlpha;
        std::vector<GLubyte> frames[2];
        std::vector<float> states[2];
        std::int64_t batches[2] = {};
        const RenderPath paths[2] = {RenderPath::Reference, RenderPath::Fast};
        for (int k = 0; k < 2; ++k) {
            setRenderPath(paths[k]);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            resetDrawnBatches();
            draw(0);
            batches[k] = drawnBatches();
            frames[k] = readFrame();
            states[k] = stateSnapshot();
        }
        setRenderPath(RenderPath::Reference);
        const std::string name = "layered " + std::to_string(look.layered) + " modulate " +
                                 std::to_string(look.modulateBase) + " colour " + std::to_string(look.colour);
        EXPECT_EQ(batches[0], passCountOf(o)) << name;
        EXPECT_EQ(batches[1], 1) << name;
        EXPECT_GT(std::count_if(frames[0].begin(), frames[0].end(), [](GLubyte b) { return b != 0; }), 10000)
            << name;
        int worst = 0;
        for (size_t i = 0; i < frames[0].size(); ++i)
            worst = std::max(worst, std::abs(int(frames[0][i]) - int(frames[1][i])));
        EXPECT_LE(worst, 2) << name << ": the one pass changed the image";
        EXPECT_EQ(states[1], states[0]) << name << ": the one pass left other state behind";
    }
}

TEST_F(DrawObject, ABatchGivesThePixelsOfDrawingEachMeshAlone) {
    makeTexture(kTextureSlot, {{255, 40, 0}, {20, 200, 90}, {0, 60, 255}});
    makeCube(kCubeSlot, {90, 120, 200});
    light.position.set(1, 2, 4);
    // Overlapping, turned, scaled sheets in different colours, one of them placed by its matrix
    // and one with flat corners; the last index lies outside the model.
    int meshes[6] = {};
    for (int k = 0; k < 5; ++k) {
        MeshObject& o = addMesh();
        addSheet(o, 6, 1.2f);
        finishMesh(o);
        const float f = static_cast<float>(k);
        o.colour.set(0.3f + 0.1f * f, 0.5f - 0.08f * f, 0.2f + 0.05f * f, 1);
        o.specular.set(0.3f, 0.3f, 0.3f, 1);
        o.shininess = 8.0f;
        o.envAlpha = 0.6f;
        o.scale.set(1.0f + 0.1f * f, 0.8f, 1.0f);
        o.texOffsetU = 0.1f * f;
        o.translation.set(0.7f * f - 1.4f, 0.3f * std::sin(f), -0.2f * f);
        o.rotationX = 0.2f * f, o.rotationY = 0.5f - 0.3f * f, o.rotationZ = 0.4f * f;
        meshes[k] = model.objectCount - 1;
    }
    MeshObject& byMatrix = model.mesh(meshes[3]);
    byMatrix.useEuler = 0;
    const float turned[16] = {0.8f, 0.6f, 0, 0, -0.6f, 0.8f, 0, 0, 0, 0, 1, 0, 0.5f, -0.4f, 0.3f, 1};
    std::copy(turned, turned + 16, byMatrix.matrix);
    MeshObject& flat = model.mesh(meshes[1]);
    for (std::size_t c = 2; c < flat.cornerFlat.size(); c += 7) {
        flat.cornerFlat[c] = 1;
        flat.cornerNormals[c].set(0.6f, 0, -0.8f);
    }
    meshes[5] = 99;

    for (const int layered : {0, 1}) {
        for (const int mesh : meshes)
            if (mesh < model.objectCount) model.mesh(mesh).layered = layered;
        std::vector<GLubyte> frames[2];
        std::int64_t triangles[2] = {}, batches[2] = {};
        for (int k = 0; k < 2; ++k) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            resetDrawnTriangles();
            resetDrawnBatches();
            if (k == 0)
                for (const int mesh : meshes) draw(mesh, kWorkingShape);
            else
                drawObjects(model, meshes, 6, light, kWorkingShape);
            triangles[k] = drawnTriangles();
            batches[k] = drawnBatches();
            frames[k] = readFrame();
        }
        EXPECT_EQ(triangles[1], triangles[0]);
        EXPECT_EQ(batches[1], passCountOf(model.mesh(0)));
        EXPECT_EQ(batches[0], 5 * batches[1]);
        EXPECT_GT(std::count_if(frames[0].begin(), frames[0].end(), [](GLubyte b) { return b != 0; }), 10000);
        int differing = 0, worst = 0;
        for (size_t i = 0; i < frames[0].size(); ++i) {
            const int d = std::abs(int(frames[0][i]) - int(frames[1][i]));
            differing += d > 1;
            worst = std::max(worst, d);
        }
        // Placing on the CPU rounds differently from GL's matrices: a few edge pixels may flip.
        EXPECT_LE(differing, static_cast<int>(frames[0].size() / 20000)) << "layered " << layered;
        EXPECT_FALSE(enabled(GL_COLOR_ARRAY));
        EXPECT_FALSE(enabled(GL_VERTEX_ARRAY));
    }
    const std::vector<float> before = stateSnapshot();
    const int none[1] = {99};
    drawObjects(model, none, 1, light, kRestShape);
    EXPECT_EQ(stateSnapshot(), before);
}

} // namespace
