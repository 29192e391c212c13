#pragma once
// The renderers by the names the command line gives them, for tests that run on one or on each.

#include "render/Backends.h"

inline const RenderBackend& fixedRenderer() { return *backendNamed("fixed"); }
inline const RenderBackend& shaderRenderer() { return *backendNamed("shader"); }
