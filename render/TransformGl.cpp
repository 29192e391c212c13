#include "render/Transform.h"

#include <GL/gl.h>

namespace {

// Radians to the degrees glRotatef wants, with the show's value of pi.
float degrees(float radians) { return radians * 180.0f / 3.14159f; }

} // namespace

void transformToWorld(Model& model, int mesh, int source, bool smooth) {
    const MeshObject& o = model.mesh(mesh);
    float m[16] = {};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (o.useEuler != 0) {
        glTranslatef(o.translation.x, o.translation.y, o.translation.z);
        glRotatef(degrees(o.rotationY), 0.0f, 1.0f, 0.0f);
        glRotatef(degrees(o.rotationZ), 0.0f, 0.0f, 1.0f);
        glRotatef(degrees(o.rotationX), 1.0f, 0.0f, 0.0f);
    } else {
        glMultMatrixf(o.matrix);
    }
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    transformToWorldBy(model, mesh, m, source, smooth);
}
