#pragma once
// Shared by the effect-buffer tests: a fixture in the program's frame state with one record of
// the director's sizes, and pixel helpers that read the frame and textures back, draw known
// pictures into the frame and compare pictures channel by channel within a tolerance.

#include "post/EffectBuffers.h"
#include "render/FrameProjection.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // rows bottom-up, as GL stores them

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}
    unsigned char* at(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    const unsigned char* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// The framebuffer region (x, y, w, h) from the lower-left corner.
Image readFrame(int x, int y, int w, int h);
// Level 0 of a 2D texture at its own size.
Image readTexture(unsigned name);
// A picture with no two neighbouring pixels alike: gradients in red and green, a checker in
// blue. Channels stay within 40..200 so sums and scalings neither clamp nor vanish.
Image makePattern(int w, int h);
// Writes the picture into the framebuffer at the lower-left corner, untextured and unblended;
// leaves every enable and the blend function as it found them.
void drawImage(const Image& image);
// Fills a framebuffer rectangle with one colour (0..255 per channel).
void fillRect(int x, int y, int w, int h, int r, int g, int b);
// Releases the eighteen textures of a record made by a test.
void releaseTextures(EffectBuffers& e);

// Every channel of every pixel within `tolerance`; reports the first misses.
testing::AssertionResult imagesNear(const Image& expected, const Image& actual, int tolerance);

// The picture whose channel c at each pixel is f(a, b, c) clamped to 0..255.
template <typename F>
Image combine(const Image& a, const Image& b, F f) {
    Image out(a.width, a.height);
    for (size_t n = 0; n < out.rgb.size(); ++n) {
        const double v =
            f(static_cast<double>(a.rgb[n]), static_cast<double>(b.rgb[n]), static_cast<int>(n % 3));
        out.rgb[n] = static_cast<unsigned char>(v < 0.0 ? 0.0 : v > 255.0 ? 255.0 : v + 0.5);
    }
    return out;
}

// The frame as the main loop and the director leave it before any post operation: the resting
// GL state, the 512 x 512 frame projection, identity modelview, depth function GL_ALWAYS, and
// a 512 x 512 record with a 256 x 128 small set.
class EffectBuffersTest : public GlTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Viewport and projection of the small set, as the scenes' effect-sized passes use.
    void useSmallViewport();

    ScreenSize screen;
    EffectBuffers fx;
};
