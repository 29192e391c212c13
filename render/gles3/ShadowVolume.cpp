// Shadow volumes counted in the ES context. The volume's front and back
// faces are counted in one pass with two-sided stencil: each face changes the count exactly as
// in its own culled pass, and wrapping arithmetic makes the order of the changes irrelevant, so
// the vertices are sent and transformed once instead of twice.
#include "render/Backend.h"

#include "glext/EsTable.h"
#include "render/gles3/Matrices.h"
#include "render/gles3/Program.h"
#include "render/gles3/Quads.h"
#include "render/gles3/State.h"
#include "render/gles3/StreamBuffer.h"

namespace gles3 {

namespace {

constexpr const char* kVertex = R"(
layout(location = 0) in vec4 aPosition;
uniform mat4 uMatrix;
void main() { gl_Position = uMatrix * aPosition; }
)";

constexpr const char* kFragment = R"(
out vec4 fragColour;
void main() { fragColour = vec4(0.0); }
)";

struct VolumeProgram {
    GLuint id = 0;
    GLint matrix = -1;
    bool failed = false;
};
VolumeProgram gVolume;

bool useVolumeProgram() {
    if (gVolume.failed) return false;
    if (!gVolume.id) {
        gVolume.id = buildProgram({"shadow volume", kVertex, kFragment});
        gVolume.failed = gVolume.id == 0;
        if (gVolume.failed) return false;
        gVolume.matrix = es::glGetUniformLocation(gVolume.id, "uMatrix");
    }
    es::glUseProgram(gVolume.id);
    const Mat4 matrix = projectionMatrix() * modelviewMatrix();
    es::glUniformMatrix4fv(gVolume.matrix, 1, GL_FALSE, matrix.m);
    return true;
}

constexpr VertexLayout kHomogeneous{.stride = sizeof(Vec4), .positionSize = 4};

// The stencil state of one face, as glPushAttrib keeps it.
struct StencilFace {
    GLint func = GL_ALWAYS, ref = 0, valueMask = 0xFF;
    GLint fail = GL_KEEP, depthFail = GL_KEEP, depthPass = GL_KEEP;
};

StencilFace stencilFace(bool back) {
    StencilFace f;
    es::glGetIntegerv(back ? GL_STENCIL_BACK_FUNC : GL_STENCIL_FUNC, &f.func);
    es::glGetIntegerv(back ? GL_STENCIL_BACK_REF : GL_STENCIL_REF, &f.ref);
    es::glGetIntegerv(back ? GL_STENCIL_BACK_VALUE_MASK : GL_STENCIL_VALUE_MASK, &f.valueMask);
    es::glGetIntegerv(back ? GL_STENCIL_BACK_FAIL : GL_STENCIL_FAIL, &f.fail);
    es::glGetIntegerv(back ? GL_STENCIL_BACK_PASS_DEPTH_FAIL : GL_STENCIL_PASS_DEPTH_FAIL, &f.depthFail);
    es::glGetIntegerv(back ? GL_STENCIL_BACK_PASS_DEPTH_PASS : GL_STENCIL_PASS_DEPTH_PASS, &f.depthPass);
    return f;
}

void restoreStencilFace(GLenum face, const StencilFace& f) {
    es::glStencilFuncSeparate(face, static_cast<GLenum>(f.func), f.ref, static_cast<GLuint>(f.valueMask));
    es::glStencilOpSeparate(face, static_cast<GLenum>(f.fail), static_cast<GLenum>(f.depthFail),
                            static_cast<GLenum>(f.depthPass));
}

void blackenShadowed() {
    const SwitchesScope kept;
    const StencilFace front = stencilFace(false), back = stencilFace(true);

    es::glEnable(GL_STENCIL_TEST);
    es::glStencilFunc(GL_NOTEQUAL, shadowStencilClear, 0xFF);
    es::glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    es::glDisable(GL_DEPTH_TEST);
    es::glDisable(GL_BLEND);
    es::glDisable(GL_CULL_FACE);
    setTexturing(false);
    {
        const ProjectionScope keptProjection;
        const ModelviewScope keptModelview;
        projectionMatrix() = Mat4{};
        modelviewMatrix() = Mat4{};
        drawRectangle(Texturing::None, {0.0f, 0.0f, 0.0f, 1.0f}, -1.0f, -1.0f, 1.0f, 1.0f, 0.0f);
    }

    restoreStencilFace(GL_FRONT, front);
    restoreStencilFace(GL_BACK, back);
}

void drawShadowVolume(Model& model, int mesh) {
    const MeshObject& o = model.mesh(mesh);
    es::glEnable(GL_STENCIL_TEST);
    es::glEnable(GL_DEPTH_TEST);
    es::glDepthFunc(GL_LEQUAL);
    es::glDepthMask(GL_FALSE);
    es::glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    es::glStencilMask(0xFF);
    es::glStencilFunc(GL_ALWAYS, 0, 0xFF);
    // Pushes the near cap behind the caster's own lit faces, which it coincides with.
    es::glEnable(GL_POLYGON_OFFSET_FILL);
    es::glPolygonOffset(0.5f, 2.0f);
    es::glDisable(GL_BLEND);
    es::glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // Depth-fail counting: only volume faces behind the visible surface count, which stays
    // right with the camera inside a volume.
    es::glDisable(GL_CULL_FACE);
    es::glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_INCR_WRAP, GL_KEEP);
    es::glStencilOpSeparate(GL_BACK, GL_KEEP, GL_DECR_WRAP, GL_KEEP);
    if (useVolumeProgram()) {
        if (o.sideQuadCount > 0) {
            streamVertices(kHomogeneous, o.sideQuads.data(), 4 * o.sideQuadCount);
            bindQuadIndices(o.sideQuadCount);
            es::glDrawElements(GL_TRIANGLES, 6 * o.sideQuadCount, GL_UNSIGNED_INT, nullptr);
        }
        if (o.capTriangleCount > 0) {
            streamVertices(kHomogeneous, o.capVertices.data(), 3 * o.capTriangleCount);
            es::glDrawArrays(GL_TRIANGLES, 0, 3 * o.capTriangleCount);
        }
    }

    es::glDisable(GL_POLYGON_OFFSET_FILL);
    es::glStencilFunc(GL_EQUAL, shadowStencilClear, 0xFF);
    es::glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    es::glStencilMask(0xFF);
    es::glEnable(GL_CULL_FACE); // as the two culled passes leave it
    es::glCullFace(GL_BACK);
    es::glDepthMask(GL_TRUE);
    es::glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    es::glDisable(GL_STENCIL_TEST);
    es::glEnable(GL_DEPTH_TEST);
}

} // namespace

extern const ShadowOps shadowOps{.drawShadowVolume = drawShadowVolume, .blackenShadowed = blackenShadowed};

} // namespace gles3
