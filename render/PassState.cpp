#include "render/PassState.h"

#include "render/Backends.h"

void clear(Buffers buffers) { backend().pass->clear(buffers); }

void applyPassState(const PassState& state) { backend().pass->applyPassState(state); }

void beginShowFrame() { backend().pass->beginShowFrame(); }
