// Sprites on GL's matrix stack: the view's rotation dropped, the pitch put back.
#include "render/Backend.h"

#include "anim/Envelope.h"
#include "math/Angles.h"

#include <GL/gl.h>

#include <cmath>

namespace fixed {

namespace {

void drawBillboard(Model& model, const Sprite& sprite) {
    const auto& [x, y, z, slot, halfWidth, halfHeight, r, g, b, a, window] = sprite;
    const Vec3& d = model.eyeDirection;
    const float pitch = angleOf(d.y, std::sqrt(d.x * d.x + d.z * d.z));

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glDepthMask(GL_FALSE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(slot));
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    // Keep the view's translation but drop its rotation, so the quad's axes are the screen's;
    // the centre goes through the dropped rotation by hand to land where (x, y, z) is seen.
    GLfloat view[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    GLfloat facing[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, facing);
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row) facing[4 * column + row] = column == row ? 1.0f : 0.0f;
    glLoadMatrixf(facing);

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    glTranslatef(view[0] * x + view[4] * y + view[8] * z, view[1] * x + view[5] * y + view[9] * z,
                 view[2] * x + view[6] * y + view[10] * z);
    glRotatef(-degreesOf(pitch), 1.0f, 0.0f, 0.0f);

    // Texture coordinate c of the whole sprite lies at -half + 2 half c.
    const float left = halfWidth * (2.0f * window.u0 - 1.0f), right = halfWidth * (2.0f * window.u1 - 1.0f);
    const float bottom = halfHeight * (2.0f * window.v0 - 1.0f), top = halfHeight * (2.0f * window.v1 - 1.0f);
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glTexCoord2f(window.u0, window.v0);
    glVertex3f(left, bottom, 0.0f);
    glTexCoord2f(window.u0, window.v1);
    glVertex3f(left, top, 0.0f);
    glTexCoord2f(window.u1, window.v1);
    glVertex3f(right, top, 0.0f);
    glTexCoord2f(window.u1, window.v0);
    glVertex3f(right, bottom, 0.0f);
    glEnd();

    glPopMatrix();
    glEnable(GL_COLOR_MATERIAL);
    glDepthMask(GL_TRUE);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_ADD));
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace

extern const SpriteOps spriteOps{.drawBillboard = drawBillboard};

} // namespace fixed
