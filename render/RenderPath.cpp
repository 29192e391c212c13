#include "render/RenderPath.h"

#include "render/Backends.h"

namespace {

RenderPath gPath = RenderPath::Fast;

} // namespace

void setRenderPath(RenderPath path) { gPath = path; }

bool fastRendering() { return gPath == RenderPath::Fast && backend().takesShortcuts(); }

const char* renderPathName() { return fastRendering() ? backend().fastPathName : "reference"; }
