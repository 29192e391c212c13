#pragma once
// What the shader renderer's files call of one another beyond State.h, Matrices.h, Quads.h and
// StreamBuffer.h.

namespace gles3 {

// Has the context's debug messages name GL errors on standard error, where it offers them and
// CASTRELLE_GL_DEBUG is set.
void enableDebugMessages();

} // namespace gles3
