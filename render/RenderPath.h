#pragma once
// Which way the renderer draws. Reference draws every pass as the look was built: each layer of
// a mesh, each tap of a blur and each feedback pass a blended pass of its own. Fast draws the
// same pictures with less pixel work where the context allows it: layered meshes in one
// multi-texture pass, blurs and burns with their taps in one quad, copies shown texel for texel
// read unfiltered, zoom passes that cannot move anything skipped, shadow masks blurred (the
// softest also drawn) at half size. Fast is the default; it falls back to the reference by itself
// on a context without fragment programs and two texture units.

enum class RenderPath { Fast, Reference };

void setRenderPath(RenderPath path);

// True when the fast path is chosen and the back end takes its shortcuts on the current context.
// The fixed-function renderer asks the context once, on the first call with one current; the
// shader renderer always takes the shortcuts the scenes ask about (its own programs run them).
bool fastRendering();

// What the statistics call the way the frames are drawn: "reference", "fast" (the fixed-function
// renderer's shortcuts) or "shader".
const char* renderPathName();
