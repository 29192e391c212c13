// Shadow volumes counted with GL's own culling, front faces and back faces in a pass each.
#include "render/Backend.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

namespace fixed {

namespace {

void sendVolume(const MeshObject& o) {
    const std::size_t quadVertices = 4 * static_cast<std::size_t>(o.sideQuadCount);
    const std::size_t capVertices = 3 * static_cast<std::size_t>(o.capTriangleCount);
    glBegin(GL_QUADS);
    for (std::size_t i = 0; i < quadVertices; ++i) {
        const Vec4& v = o.sideQuads[i];
        glVertex4f(v.x, v.y, v.z, v.w);
    }
    glEnd();
    glBegin(GL_TRIANGLES);
    for (std::size_t i = 0; i < capVertices; ++i) {
        const Vec4& v = o.capVertices[i];
        glVertex4f(v.x, v.y, v.z, v.w);
    }
    glEnd();
}

void blackenShadowed() {
    glPushAttrib(GL_ENABLE_BIT | GL_STENCIL_BUFFER_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, shadowStencilClear, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glColor3f(0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

void drawShadowVolume(Model& model, int mesh) {
    const MeshObject& o = model.mesh(mesh);
    glEnable(GL_STENCIL_TEST);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilMask(0xFF);
    glStencilFunc(GL_ALWAYS, 0, 0xFF);
    glEnable(GL_CULL_FACE);
    // Pushes the near cap behind the caster's own lit faces, which it coincides with.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(0.5f, 2.0f);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();

    // Depth-fail counting: only volume faces behind the visible surface count, which stays
    // right with the camera inside a volume. Wrapping keeps the count exact in 8 bits.
    glCullFace(GL_BACK);
    glStencilOp(GL_KEEP, GL_INCR_WRAP_EXT, GL_KEEP);
    sendVolume(o);
    glCullFace(GL_FRONT);
    glStencilOp(GL_KEEP, GL_DECR_WRAP_EXT, GL_KEEP);
    sendVolume(o);

    glPopMatrix();
    glDisable(GL_POLYGON_OFFSET_FILL);
    glStencilFunc(GL_EQUAL, shadowStencilClear, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glStencilMask(0xFF);
    glCullFace(GL_BACK);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_STENCIL_TEST);
    glEnable(GL_DEPTH_TEST);
}

} // namespace

extern const ShadowOps shadowOps{.drawShadowVolume = drawShadowVolume, .blackenShadowed = blackenShadowed};

} // namespace fixed
