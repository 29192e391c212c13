#pragma once
// The post stack's GLSL ES programs: blur's taps and burn's doubled quad in one pass each, the
// shadowed frame's composition, and the light shafts' chain at half width. Built together on
// first use.

#include "glext/EsTable.h"
#include "post/EffectPasses.h"

namespace gles3 {

struct EffectProgram {
    GLuint id = 0;
    GLint matrix = -1, tap = -1, tint = -1, glowBorder = -1, glowSize = -1, origin = -1, burns = -1;
    GLint rect = -1, alpha = -1, rect2 = -1, alpha2 = -1;
};

enum ProgramKind {
    kBurn,
    kBlur,
    kBlurBordered,
    kBlurToAlpha,
    kBlurBorderedToAlpha,
    kCompose,
    kComposePacked,
    kShaftDownscale,
    kShaftBurn,
    kShaftStreak,
    kShaftStreakPair,
    kShaftLastStreakPair,
    kShaftUpscale,
    kProgramKinds
};

// Builds every program once; false when one does not build (already reported).
bool buildEffectPrograms();

// Makes the program current under the current matrices; null when the programs do not build.
const EffectProgram* useProgram(ProgramKind kind);

// Makes the blur program for the texture current, with pass offset h, the blur's tint and the
// tap weight in eight bits as the blend applies the vertex alpha, and binds the texture; null
// when the programs do not build. toAlpha: the blurred grey goes to alpha alone.
const EffectProgram* useBlurPass(unsigned texture, const TapOffset& h, const BlurDesc& desc, bool toAlpha = false);

} // namespace gles3
