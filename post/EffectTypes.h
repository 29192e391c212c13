#pragma once
// The post stack's records: which copy an operation works on, the settings of its passes, and
// the textures and sizes of one set of effect buffers, which the front (EffectBuffers.h) and the
// back ends (EffectBackend.h) share. Plain data, no GL.

#include <memory>

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

struct EffectTextures {
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

    // What the back end keeps of its own for these buffers (scratch textures, a framebuffer, the
    // state of its chains); made by its createTextures.
    std::shared_ptr<void> own;
};
