#pragma once
// The post stack's operations as a back end provides them (post/fixed, post/gles3), reached
// through RenderBackend::effects (render/Backend.h). EffectBuffers.cpp calls them and adds what
// every back end shares; nothing else does.

#include "post/EffectTypes.h"

struct EffectOps {
    // Makes the textures of the set, all black, and the back end's own state.
    void (*createTextures)(EffectTextures& e);
    void (*grab)(EffectTextures& e, Copy copy);
    void (*multiply)(EffectTextures& e, Copy copy);
    void (*show)(EffectTextures& e, Copy copy, float alpha);
    void (*fill)(EffectTextures& e, float alpha, float r, float g, float b);
    void (*overlay)(EffectTextures& e, Copy copy, float alpha, float brightness, Overlay mode);
    void (*burn)(EffectTextures& e, Copy copy, int passes, float gain);
    void (*blur)(EffectTextures& e, Copy copy, const BlurDesc& desc);
    void (*zoomStreak)(EffectTextures& e, Copy copy, const ZoomStreakDesc& desc);
    bool (*canComposeHalfMask)(EffectTextures& e);
    void (*composeHalfMask)(EffectTextures& e, const HalfMaskComposition& composition);

    // What a back end may add; null where it does not.
    // The whole of shaftGlow in one chain; false where it does not run that way here (the front
    // then takes the steps one by one).
    bool (*shaftGlow)(EffectTextures& e, Copy copy, const ShaftGlowDesc& desc) = nullptr;
    bool (*shaftsAtHalfWidth)(const EffectTextures& e) = nullptr;
    // Puts into their copies the pictures the back end holds elsewhere, before the copies are
    // resampled to a new size; then gives its own state the new sizes.
    void (*settle)(EffectTextures& e) = nullptr;
    void (*resizeOwn)(EffectTextures& e) = nullptr;

    // Whether it draws soft masks at half size where a scene allows it (halvesMasksWhereAllowed).
    bool halvesMasksWhereAllowed = false;
};
