#include "EffectTestSupport.h"

#include "glext/GlExt.h"

#include <cstdlib>
#include <sstream>

Image readFrame(int x, int y, int w, int h) {
    Image image(w, h);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    return image;
}

Image readTexture(unsigned name) {
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    Image image(w, h);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    return image;
}

Image makePattern(int w, int h) {
    Image image(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = image.at(x, y);
            p[0] = static_cast<unsigned char>(40 + (x * 160) / w);
            p[1] = static_cast<unsigned char>(40 + (y * 160) / h);
            p[2] = static_cast<unsigned char>(((x / 8 + y / 8) % 2) ? 190 : 60);
        }
    }
    return image;
}

void drawImage(const Image& image) {
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glext::glWindowPos2i(0, 0);
    glDrawPixels(image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    glPopAttrib();
}

void fillRect(int x, int y, int w, int h, int r, int g, int b) {
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glPushAttrib(GL_ENABLE_BIT | GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w, h);
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

void releaseTextures(EffectBuffers& e) {
    glDeleteTextures(4, e.copyTex);
    glDeleteTextures(4, e.passTex);
    glDeleteTextures(4, e.smallCopyTex);
    glDeleteTextures(4, e.smallPassTex);
    glDeleteTextures(1, &e.halfMaskTex);
    glDeleteTextures(1, &e.halfPassTex);
}

testing::AssertionResult imagesNear(const Image& expected, const Image& actual, int tolerance) {
    if (expected.width != actual.width || expected.height != actual.height)
        return testing::AssertionFailure() << "size " << actual.width << "x" << actual.height << ", expected "
                                           << expected.width << "x" << expected.height;
    std::ostringstream misses;
    int count = 0;
    for (size_t n = 0; n < expected.rgb.size(); ++n) {
        if (std::abs(int(expected.rgb[n]) - int(actual.rgb[n])) <= tolerance) continue;
        if (++count <= 5) {
            const size_t pixel = n / 3;
            misses << " (" << pixel % expected.width << ", " << pixel / expected.width << ")[" << n % 3
                   << "] = " << int(actual.rgb[n]) << " not " << int(expected.rgb[n]) << ";";
        }
    }
    if (count == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << count << " channels off by more than " << tolerance << ":" << misses.str();
}

void EffectBuffersTest::SetUp() {
    GlTest::SetUp();
    if (HasFatalFailure()) return;
    initGlState();
    setFrameProjection(screen, 800, 600);
    glLoadIdentity();
    glDepthFunc(GL_ALWAYS);
    fx = EffectBuffers(512, 512, 256, 128);
}

void EffectBuffersTest::TearDown() {
    if (fx.copyTex[0] != 0) releaseTextures(fx);
}

void EffectBuffersTest::useSmallViewport() {
    glViewport(0, 0, fx.smallWidth, fx.smallHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-fx.smallHalfWidth, fx.smallHalfWidth, -fx.smallHalfHeight, fx.smallHalfHeight, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}
