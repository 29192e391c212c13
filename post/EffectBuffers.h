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

// The four copies of a set, each a full-size and a small texture. Any copy may hold any picture;
// the names say what the scenes keep in them. Only Wrapping's full-size textures repeat past
// their edges, so blurs and smears of it wrap round the frame.
enum class Copy : int {
    Glow = 0,     // the small glow a scene lays over its finished frame
    Work = 1,     // a picture being burnt, blurred or streaked
    Picture = 2,  // a finished picture kept to be laid back
    Wrapping = 3, // a picture set aside, or one whose blur should wrap
};
inline constexpr int kCopyCount = 4;

// How overlay lays a copy over the frame.
enum class Overlay {
    Add, // frame + copy x alpha
    Mix, // frame x (1 - alpha) + copy x alpha
};

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
    float streakFade = 0.0f;  // alpha falloff over the passes: pass k loses sqrt(k / passes) of it
    bool overItsGrab = false; // the frame holds the copy, so the first pass changes nothing
};

// composeHalfMask's settings. The mask is on screen: at full size, grabbed into full copy
// `mask`, or drawn at half size each way in the frame's lower-left quarter, its blur's taps
// wrapping or clamping at the edges as copy `mask` does either way.
struct HalfMaskComposition {
    Copy picture = Copy::Picture;
    Copy mask = Copy::Work;
    bool maskOnScreenAtHalfSize = false;
    BlurDesc maskBlur;
    Copy glow = Copy::Glow;
};

// shaftGlow's settings: the burn's passes (at full gain), the blur, and the zoom streak over the
// blurred picture.
struct ShaftGlowDesc {
    int burnPasses = 1;
    BlurDesc blur;
    ZoomStreakDesc zoom;
    bool pictureAtHalfWidth = false; // drawn into half the small width, where shaftsAtHalfWidth()
};

class TextureResampler;

struct EffectBuffers {
    // Indexed by Copy. Copy::Wrapping's full-size textures wrap (GL_REPEAT); every other texture
    // clamps.
    unsigned copyTex[kCopyCount] = {};      // full size, first grab target of each copy
    unsigned passTex[kCopyCount] = {};      // full size, intermediate result between passes
    unsigned smallCopyTex[kCopyCount] = {}; // small-size counterparts
    unsigned smallPassTex[kCopyCount] = {};
    // Half the full size each way, for the fast path's soft masks: the result clamps to its edge
    // texels, since it is stretched over the frame; the texture between passes clamps as the
    // others do.
    unsigned halfMaskTex = 0;
    unsigned halfPassTex = 0;

    // The shader renderer's own: the shafts' chain at half the small width (three textures the
    // passes render into and copy to by turns), the soft mask's passes at a quarter of the full
    // size each way (rendered into by turns), and the framebuffer that renders into them. None
    // on the fixed-function renderer.
    unsigned streakTex[3] = {};
    unsigned quarterMaskTex[2] = {};
    unsigned passFramebuffer = 0;
    // The shader renderer's shafts stay at half width, in heldShaftsTexture (one of streakTex),
    // until the copy they are for is read: the shadowed frame's composition reads them there, and
    // anything else stretches them into the copy first. -1: nothing held.
    int heldShafts = -1;
    unsigned heldShaftsTexture = 0;

    int fullWidth = 0, fullHeight = 0;
    int fullHalfWidth = 0, fullHalfHeight = 0;
    int fullSourceX = 0, fullSourceY = 0; // lower-left corner of the grabbed region
    int smallWidth = 0, smallHeight = 0;
    int smallHalfWidth = 0, smallHalfHeight = 0;
    int smallSourceX = 0, smallSourceY = 0;

    // The sizes the operations work at; SmallEffects holds both at the small size for a scope.
    int sampleSmall = 0;     // 1: read the small textures and (but for overlay) draw small quads
    int targetSmall = 0;     // 1: grab writes the small textures; overlay draws a small quad
    float pixelScale = 1.0f; // frame pixels per pixel of the show's 512 frame: blur spreads keep their reach

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
