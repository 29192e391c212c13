#pragma once
// Screen-copy textures and the full-frame passes that every glow, blur, streak, flash, fade and
// crossfade of the show is built from. Each operation grabs the framebuffer into a texture or
// draws a texture back over the frame as one quad centred on the origin; the caller sets the
// matching orthographic projection (one unit per pixel, depth range [0, 1]).
//
// Resting GL state: texture environment GL_ADD. Every operation that changes it puts it back,
// and zoomStreak depends on it.
//
// The record owns its eighteen texture names for the whole run; nothing deletes them.

#include "post/EffectTypes.h"

class TextureResampler;

// One set of effect buffers: the textures and sizes of EffectTextures and the operations over
// them. Scenes keep them in their state and call the operations; each goes to the back end
// chosen at start-up.
struct EffectBuffers : EffectTextures {
    // An empty record with no textures; the real one is made with a GL context current.
    EffectBuffers() = default;
    // Creates the eighteen textures (power-of-two sizes), all black.
    EffectBuffers(int fullWidth, int fullHeight, int smallWidth, int smallHeight);

    // Takes the sizes of a new frame mid-show: every texture keeps its name and gets its
    // picture resampled to its new size, so feedback drawn from the copies carries on.
    void resize(int fullWidth, int fullHeight, int smallWidth, int smallHeight, TextureResampler& resampler);

    // The full-size copy as a texture a mesh can wear.
    int textureOf(Copy copy) const { return static_cast<int>(copyTex[static_cast<int>(copy)]); }

    // Copies the framebuffer (small region when targetSmall) into the copy.
    void grab(Copy copy);
    // Frame = frame x the full-size copy, whatever the flags.
    void multiply(Copy copy);
    // Clears the frame and draws the copy scaled by alpha.
    void show(Copy copy, float alpha);
    // Blends a flat colour over the frame with the given opacity.
    void fill(float alpha, float r, float g, float b);
    // Lays the copy over the frame, brightened by `brightness`. The quad follows targetSmall, so
    // a small copy can be stretched over the full frame.
    void overlay(Copy copy, float alpha, float brightness, Overlay mode);
    // Adds the copy twice per pass at the given gain, each pass feeding the next.
    void burn(Copy copy, int passes, float gain);
    // Replaces the frame by a progressively blurred copy.
    void blur(Copy copy, const BlurDesc& desc);
    // Blends zoomed copies over the frame, each pass zooming the previous result, which gives
    // streaks radiating from the descriptor's centre.
    void zoomStreak(Copy copy, const ZoomStreakDesc& desc);
    // Light shafts from the picture on screen into the copy: what grabbing it, burning it,
    // grabbing and blurring it, grabbing and streaking it, adding the grab back over the streaks
    // and grabbing the sum leave there. The frame is the caller's to clear afterwards: the shader
    // renderer leaves the picture on it.
    void shaftGlow(Copy copy, const ShaftGlowDesc& desc);
    // Whether shaftGlow runs its chain at half the small width here (the shader renderer, with
    // the post stack held small), so that its picture may be drawn at that width to start with.
    bool shaftsAtHalfWidth() const;
    // Whether the back end draws soft shadow masks at half size where a scene allows it for the
    // back ends that take that shortcut (the shader renderer; the fixed renderer keeps the frames
    // its fast path has always drawn).
    bool halvesMasksWhereAllowed() const;
    // The additive glow: the small copy stretched over the full frame and added at alpha, the
    // sizes as they were before.
    void addGlow(Copy copy, float alpha);

    // Fast path: whether the context runs composeHalfMask (compiling its programs on first call).
    bool canComposeHalfMask();
    // Fast path: the frame becomes full copy `picture` times a mask blurred by maskBlur, plus
    // small copy `glow` stretched over it: what the reference gets by grabbing the mask, blurring
    // it, laying the picture back, multiplying and overlaying the glow. The mask is blurred at
    // half the frame's size each way (a blurred mask shows no difference) and stretched back
    // in the one quad that does the rest.
    void composeHalfMask(const HalfMaskComposition& composition);
};

// Holds the post stack at its small size for the scope's extent: grabs write, and operations read
// and draw, the small textures, in the effect-sized viewport's corner of the frame. The sizes
// return to what they were when the scope ends.
class SmallEffects {
  public:
    explicit SmallEffects(EffectBuffers& effects)
        : effects_(effects), sampleSmall_(effects.sampleSmall), targetSmall_(effects.targetSmall) {
        effects.sampleSmall = effects.targetSmall = 1;
    }
    ~SmallEffects() {
        effects_.sampleSmall = sampleSmall_;
        effects_.targetSmall = targetSmall_;
    }
    SmallEffects(const SmallEffects&) = delete;
    SmallEffects& operator=(const SmallEffects&) = delete;

  private:
    EffectBuffers& effects_;
    int sampleSmall_;
    int targetSmall_;
};

// Quads the effect operations drew since the last reset, in frames' worth of pixels (a full-size
// quad counts 1, a small one its share of the full size): the post stack's pixel work.
double effectQuadFrames();
void resetEffectQuadFrames();
