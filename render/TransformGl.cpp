#include "render/Transform.h"

#include "render/Placement.h"

#include <GL/gl.h>

void transformToWorld(Model& model, int mesh, int source, bool smooth) {
    const MeshObject& o = model.mesh(mesh);
    float m[16] = {};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    applyPlacement(o);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    transformToWorldBy(model, mesh, m, source, smooth);
}
