// The shader back end of transformToWorld: the placement applied to the kept modelview.
#include "render/RendererBackends.h"

#include "render/ShaderMatrices.h"
#include "render/Transform.h"

namespace shader {

Mat4 placedModelview(const MeshObject& mesh) { return modelviewMatrix() * placementOf(mesh); }

} // namespace shader
