#pragma once
// The finished frame is stretched over the whole window.

#include "render/FrameProjection.h"
#include "render/FrameTarget.h"

// The first GL state of the window: initGlState, identity matrices, and the frame target created
// and bound. False when the context cannot give one.
bool prepareFrame(const ScreenSize& screen, FrameTarget& frame);

// Switches to the window, clears it and draws the frame over all of it.
void blitFrame(const ScreenSize& screen, const FrameTarget& frame);

// Waits until everything asked of the GL is drawn, so the frame's cost can be timed.
void finishFrame();
