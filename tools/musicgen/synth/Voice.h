// Renders one note of a SynthPatch into a stereo buffer, additively. Each note is rendered on its
// own from its start to the end of its release, which keeps the output independent of note order.
#pragma once

#include "synth/Note.h"
#include "synth/Patch.h"
#include "synth/StereoBuffer.h"

#include <cstdint>

namespace synth {

// seed varies the free-running phases and the noise from note to note, deterministically.
void renderNote(const SynthPatch& patch, const Note& note, uint32_t seed, StereoBuffer& out);

} // namespace synth
