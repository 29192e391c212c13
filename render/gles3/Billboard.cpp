// Sprites with the quad programs: the view's rotation dropped, the pitch put back.
#include "render/Backend.h"

#include "anim/Envelope.h"
#include "glext/EsTable.h"
#include "math/Angles.h"
#include "render/gles3/Matrices.h"
#include "render/gles3/Quads.h"
#include "render/gles3/State.h"

#include <cmath>

namespace gles3 {

namespace {

void drawBillboard(Model& model, const Sprite& sprite) {
    const auto& [x, y, z, slot, halfWidth, halfHeight, r, g, b, a, window] = sprite;
    const Vec3& d = model.eyeDirection;
    const float pitch = angleOf(d.y, std::sqrt(d.x * d.x + d.z * d.z));

    const ModelviewScope kept;
    es::glDepthMask(GL_FALSE);
    es::glEnable(GL_DEPTH_TEST);
    setTexturing(true);
    bindTexture2D(static_cast<GLuint>(slot));
    es::glEnable(GL_BLEND);
    es::glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    // Keep the view's translation but drop its rotation, so the quad's axes are the screen's;
    // the centre goes through the dropped rotation by hand to land where (x, y, z) is seen.
    const Mat4 view = modelviewMatrix();
    Mat4 facing = view;
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row) facing[4 * column + row] = column == row ? 1.0f : 0.0f;
    modelviewMatrix() =
        facing *
        translation(view[0] * x + view[4] * y + view[8] * z, view[1] * x + view[5] * y + view[9] * z,
                    view[2] * x + view[6] * y + view[10] * z) *
        rotation(-degreesOf(pitch), 1.0f, 0.0f, 0.0f);

    // Texture coordinate c of the whole sprite lies at -half + 2 half c.
    const float left = halfWidth * (2.0f * window.u0 - 1.0f), right = halfWidth * (2.0f * window.u1 - 1.0f);
    const float bottom = halfHeight * (2.0f * window.v0 - 1.0f), top = halfHeight * (2.0f * window.v1 - 1.0f);
    const QuadVertex quad[4] = {{left, bottom, 0.0f, window.u0, window.v0},
                                {left, top, 0.0f, window.u0, window.v1},
                                {right, top, 0.0f, window.u1, window.v1},
                                {right, bottom, 0.0f, window.u1, window.v0}};
    drawQuadsWith(Texturing::Modulate, {r, g, b, a}, quad, 1);

    es::glDepthMask(GL_TRUE);
    es::glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace

extern const SpriteOps spriteOps{.drawBillboard = drawBillboard};

} // namespace gles3
