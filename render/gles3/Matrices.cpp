#include "render/gles3/Matrices.h"

namespace gles3 {

namespace {

Mat4 gProjection;
Mat4 gModelview;

} // namespace

Mat4& projectionMatrix() { return gProjection; }

Mat4& modelviewMatrix() { return gModelview; }

} // namespace gles3
