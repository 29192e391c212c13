#include "render/ShaderMatrices.h"

namespace shader {

namespace {

Mat4 gProjection;
Mat4 gModelview;

} // namespace

Mat4& projectionMatrix() { return gProjection; }

Mat4& modelviewMatrix() { return gModelview; }

} // namespace shader
