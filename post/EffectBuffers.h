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

// blur's settings: passes, each widening the four taps' offset; the stretch of the offset across
// and up; spread, the offset of the last pass in small-size pixels before stretching; the tint.
struct BlurDesc {
    int passes = 1;
    float stretchX = 1.0f;
    float stretchY = 1.0f;
    float spread = 0.0f;
    float r = 1.0f, g = 1.0f, b = 1.0f;
};

// zoomStreak's settings: passes, each zooming the previous result; the opacity of each pass;
// angle and phase shape the zoom's two axes (angle 0, phase 0 zoom both alike); strength is how
// far the streaks reach; the centre they radiate from is in [-1, 1] texture space.
struct ZoomStreakDesc {
    int passes = 1;
    float alpha = 1.0f;
    float angle = 0.0f;
    float phase = 0.0f;
    float strength = 0.0f;
    float centreX = 0.0f;
    float centreY = 0.0f;
    bool overItsGrab = false; // the frame holds texture i, so the first pass changes nothing
};

// composeHalfMask's settings. The mask is on screen: at full size, grabbed into full copy
// `mask`, or drawn at half size each way in the frame's lower-left quarter, its blur's taps
// wrapping or clamping at the edges as copy `mask` does either way.
struct HalfMaskComposition {
    int picture = 0;
    int mask = 0;
    bool maskOnScreenAtHalfSize = false;
    BlurDesc maskBlur;
    int glow = 0;
};

class TextureResampler;

struct EffectBuffers {
    // Index i (0..3) picks one texture of a set. Index 3's full-size textures wrap (GL_REPEAT);
    // every other texture clamps.
    unsigned copyTex[4] = {};      // full size, first grab target of each index
    unsigned passTex[4] = {};      // full size, intermediate result between passes
    unsigned smallCopyTex[4] = {}; // small-size counterparts
    unsigned smallPassTex[4] = {};
    // Half the full size each way, for the fast path's soft masks: the result clamps to its edge
    // texels, since it is stretched over the frame; the texture between passes clamps as the
    // others do.
    unsigned halfMaskTex = 0;
    unsigned halfPassTex = 0;

    int fullWidth = 0, fullHeight = 0;
    int fullHalfWidth = 0, fullHalfHeight = 0;
    int fullSourceX = 0, fullSourceY = 0; // lower-left corner of the grabbed region
    int smallWidth = 0, smallHeight = 0;
    int smallHalfWidth = 0, smallHalfHeight = 0;
    int smallSourceX = 0, smallSourceY = 0;

    int sampleSmall = 0; // 1: read the small textures and (but for overlay) draw small quads
    int targetSmall = 0; // 1: grab writes the small textures; overlay draws a small quad
    int spare1 = 0;      // cleared with the flags by the scenes; read by no operation
    int spare2 = 0;
    float streakFade = 0.0f; // alpha falloff of zoomStreak over its passes
    float pixelScale = 1.0f; // frame pixels per pixel of the show's 512 frame: blur spreads keep their reach

    // An empty record with no textures; the real one is made with a GL context current.
    EffectBuffers() = default;
    // Creates the eighteen textures (power-of-two sizes), all black.
    EffectBuffers(int fullWidth, int fullHeight, int smallWidth, int smallHeight);

    // Takes the sizes of a new frame mid-show: every texture keeps its name and gets its
    // picture resampled to its new size, so feedback drawn from the copies carries on.
    void resize(int fullWidth, int fullHeight, int smallWidth, int smallHeight, TextureResampler& resampler);

    // Copies the framebuffer (small region when targetSmall) into copy texture i.
    void grab(int i);
    // Frame = frame x full-size copy texture i, whatever the flags.
    void multiply(int i);
    // Clears the frame and draws texture i scaled by alpha.
    void show(int i, float alpha);
    // Blends a flat colour over the frame with the given opacity.
    void fill(float alpha, float r, float g, float b);
    // Lays texture i over the frame: mode 0 adds texture x alpha, mode 1 mixes by alpha. The
    // quad follows targetSmall, so a small texture can be stretched over the full frame.
    void overlay(int i, float alpha, float brightness, int mode);
    // Adds texture i twice per pass at the given gain, each pass feeding the next.
    void burn(int i, int passes, float gain);
    // Replaces the frame by a progressively blurred copy of texture i.
    void blur(int i, const BlurDesc& desc);
    // Blends zoomed copies of texture i over the frame, each pass zooming the previous result,
    // which gives streaks radiating from the descriptor's centre.
    void zoomStreak(int i, const ZoomStreakDesc& desc);

    // Fast path: whether the context runs composeHalfMask (compiling its programs on first call).
    bool canComposeHalfMask();
    // Fast path: the frame becomes full copy `picture` times a mask blurred by maskBlur, plus
    // small copy `glow` stretched over it: what the reference gets by grabbing the mask, blurring
    // it, laying the picture back, multiplying and overlaying the glow. The mask is blurred at
    // half the frame's size each way (a blurred mask shows no difference) and stretched back
    // in the one quad that does the rest.
    void composeHalfMask(const HalfMaskComposition& composition);
};

// Quads the effect operations drew since the last reset, in frames' worth of pixels (a full-size
// quad counts 1, a small one its share of the full size): the post stack's pixel work.
double effectQuadFrames();
void resetEffectQuadFrames();
