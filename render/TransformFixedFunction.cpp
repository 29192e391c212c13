// The fixed-function back end of transformToWorld: the placement applied on GL's matrix stack.
#include "render/RendererBackends.h"

#include "render/Placement.h"

#include <GL/gl.h>

namespace fixedfn {

Mat4 placedModelview(const MeshObject& o) {
    Mat4 m;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    applyPlacement(o);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.m);
    glPopMatrix();
    return m;
}

} // namespace fixedfn
