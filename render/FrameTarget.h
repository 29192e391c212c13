#pragma once
// The frame every scene draws into: an offscreen framebuffer of the frame size with its own
// depth and stencil (FrameTarget in RenderTypes.h). The whole frame exists whatever the size of
// the window or capture it is stretched over (a window smaller than the frame would otherwise
// cut it off), and the blit samples it directly instead of copying it first.

#include "render/RenderTypes.h"

class TextureResampler;

// The largest square frame this context can render into and sample (texture, renderbuffer and
// viewport limits).
int largestFrameSize();

// Creates the target at the screen's frame size (clamped, linear colour; 24-bit depth, 8-bit
// stencil) and leaves it bound. False, with nothing bound, when the context cannot render into it.
bool createFrameTarget(FrameTarget& target, const ScreenSize& screen);
void destroyFrameTarget(FrameTarget& target);
// Gives the target a new size mid-show: the colour keeps its texture name and its picture,
// resampled; depth and stencil start cleared. Leaves the target bound. False when the context
// cannot render into the new size (the target is then unusable).
bool resizeFrameTarget(FrameTarget& target, int width, int height, TextureResampler& resampler);

// Draws and reads go to the frame, or to the window.
void bindFrameTarget(const FrameTarget& target);
void bindWindowTarget();
