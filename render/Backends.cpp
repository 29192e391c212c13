#include "render/Backends.h"

// Each back end's table is defined in its own folder.
extern const RenderBackend gles3Backend;
extern const RenderBackend fixedBackend;

namespace {

// The default first: the OpenGL ES 3.0 renderer, the faster here and the one browsers run.
// Where a machine offers no ES context the shell falls back along the list.
constexpr const RenderBackend* kBackends[] = {
    &gles3Backend,
#ifndef CASTRELLE_SHADER_ONLY
    &fixedBackend,
#endif
};

const RenderBackend* gChosen = kBackends[0];

} // namespace

std::span<const RenderBackend* const> renderBackends() { return kBackends; }

const RenderBackend* backendNamed(std::string_view name) {
    for (const RenderBackend* b : kBackends)
        if (name == b->name) return b;
    return nullptr;
}

const RenderBackend* referenceBackend() { return backendNamed("fixed"); }

void useBackend(const RenderBackend& chosen) { gChosen = &chosen; }

const RenderBackend& backend() { return *gChosen; }
