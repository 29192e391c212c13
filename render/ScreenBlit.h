#pragma once
// The finished frame is copied into the screen texture and stretched over the whole window.

#include "render/FrameProjection.h"

// Creates the frame-sized RGB screen texture (clamped, linear) and returns its name. Runs
// initGlState first and leaves identity matrices, as window creation does.
unsigned createScreenTexture(const ScreenSize& screen);

// Copies the lower-left frame into the texture, clears, and draws it over the whole window.
void blitFrame(const ScreenSize& screen, unsigned screenTexture);
