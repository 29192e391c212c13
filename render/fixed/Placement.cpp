#include "render/fixed/Placement.h"

#include "math/Angles.h"

#include <GL/gl.h>

void applyPlacement(const MeshObject& o) {
    if (o.useEuler != 0) {
        glTranslatef(o.translation.x, o.translation.y, o.translation.z);
        glRotatef(degreesOf(o.rotationY), 0.0f, 1.0f, 0.0f);
        glRotatef(degreesOf(o.rotationZ), 0.0f, 0.0f, 1.0f);
        glRotatef(degreesOf(o.rotationX), 1.0f, 0.0f, 0.0f);
    } else {
        glMultMatrixf(o.matrix);
    }
}
