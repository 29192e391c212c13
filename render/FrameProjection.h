#pragma once
// The two projections of every frame: the fixed-size frame that scenes draw into (lower-left
// corner of the framebuffer, one unit per pixel, origin at its centre) and the whole window
// that the finished frame is stretched over.

#include "render/RenderTypes.h"

// First GL state of the program: lighting off, blend (SRC_ALPHA, DST_ALPHA) on, GL_ADD, 2D
// texturing on, depth test off, clear colour black, colour buffer cleared.
void initGlState();

// Viewport of the frame size at the lower-left corner and its orthographic projection; stores
// width and height as the window size. A zero height (minimised window) changes nothing.
void setFrameProjection(ScreenSize& screen, int width, int height);

// Viewport and orthographic projection of the whole window.
void setWindowProjection(const ScreenSize& screen);
