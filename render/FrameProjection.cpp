#include "render/FrameProjection.h"

#include "render/Backends.h"

void initGlState() { backend().frame->initGlState(); }

void setFrameProjection(ScreenSize& screen, int width, int height) {
    if (height == 0) return;
    screen.windowWidth = width;
    screen.windowHeight = height;
    backend().frame->setFrameProjection(screen);
}

void setWindowProjection(const ScreenSize& screen) { backend().frame->setWindowProjection(screen); }
