#pragma once
// What the two GL back ends do alike: the calls desktop OpenGL 3.0 and OpenGL ES 3.0 share, made
// once through the ES entry-point table, which resolves them by name on either kind of context.
// The back ends' tables point at these where their own would say the same.

#include "render/Backend.h"

namespace gl {

// PassState.h: clears, the raster state of a pass and the start of a show frame.
extern const PassOps passOps;

// FrameOps.
void finishFrame();
void readWindowRgba(int width, int height, std::uint8_t* bottomUpRgba);
unsigned takeGlError();

// TargetOps: framebuffer objects with a colour texture and a depth-stencil renderbuffer.
int largestFrameSize();
unsigned createDepthStencil(int width, int height);
bool createFramebuffer(unsigned colour, unsigned depthStencil, unsigned& framebuffer);
void deleteTarget(unsigned framebuffer, unsigned depthStencil, unsigned colour);
void bindFramebuffer(unsigned framebuffer);
bool resizeDepthStencil(unsigned framebuffer, unsigned depthStencil, int width, int height);
void clearBound(bool colour);

// TextureOps.
void reserveTextureNames(int n);
std::uint32_t largestTextureSide(bool cubeFace);

} // namespace gl
