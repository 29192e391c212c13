#pragma once
// The shader renderer's matrices: what the fixed-function renderer keeps in GL's projection and
// modelview stacks. The set-ups write them (Camera, FrameProjection), the draws read them into
// their programs' uniforms, and an operation that draws in its own space keeps the caller's with
// a ModelviewScope, as glPushMatrix and glPopMatrix would.

#include "math/Mat4.h"

namespace gles3 {

Mat4& projectionMatrix();
Mat4& modelviewMatrix();

// Holds the modelview for the scope's extent and puts it back at its end.
class ModelviewScope {
  public:
    ModelviewScope() : saved_(modelviewMatrix()) {}
    ~ModelviewScope() { modelviewMatrix() = saved_; }
    ModelviewScope(const ModelviewScope&) = delete;
    ModelviewScope& operator=(const ModelviewScope&) = delete;

  private:
    Mat4 saved_;
};

// The same for the projection.
class ProjectionScope {
  public:
    ProjectionScope() : saved_(projectionMatrix()) {}
    ~ProjectionScope() { projectionMatrix() = saved_; }
    ProjectionScope(const ProjectionScope&) = delete;
    ProjectionScope& operator=(const ProjectionScope&) = delete;

  private:
    Mat4 saved_;
};

} // namespace gles3
