#pragma once
// The finished frame is stretched over the whole window.

#include "render/RenderTypes.h"

// The first GL state of the window: the back end brought up, initGlState, identity matrices, and
// the frame target created and bound. False when the context cannot give one.
bool prepareFrame(const ScreenSize& screen, FrameTarget& frame);

// Where the frame lands in a window of the screen's size: the centred 4:3 picture, black bars
// around it on other shapes.
FrameQuad frameQuadIn(const ScreenSize& screen);

// Switches to the window, clears it and draws the frame over its picture.
void blitFrame(const ScreenSize& screen, const FrameTarget& frame);

// Waits until everything asked of the GL is drawn, so the frame's cost can be timed.
void finishFrame();
