#pragma once
// The rendering back ends this build has, and the one that draws. It is chosen once, when the
// program starts and before its context exists (the context must be of the back end's API); the
// fronts of render/ and post/ then call through it and never ask which one it is.

#include "render/Backend.h"

#include <span>
#include <string_view>

// Every back end of this build, the default first.
std::span<const RenderBackend* const> renderBackends();

// The back end of that name, or null.
const RenderBackend* backendNamed(std::string_view name);

// The back end whose pictures are the reference the others are held to (the fixed-function
// one); null in a build without it.
const RenderBackend* referenceBackend();

void useBackend(const RenderBackend& chosen);

// The back end that draws: the default until one is chosen.
const RenderBackend& backend();
