#pragma once
// Which renderer draws the show, chosen once when the program starts, before its context exists:
// the fixed-function one over desktop OpenGL, whose pictures are the reference, or the shader one
// over OpenGL ES 3.0 (GLSL ES 3.00, which WebGL 2 runs unchanged). The fronts render/PassState.h
// lists switch on it; each has a file per renderer (X.cpp or XFixedFunction.cpp, XShader.cpp).

#include "platform/GlContext.h"

#include <cstdint>

enum class Renderer : std::uint8_t { Fixed, Shader };

void setRenderer(Renderer renderer);
Renderer renderer();

// The API the chosen renderer's context must have.
GlApi glApiOf(Renderer renderer);

// The name the command line uses: "fixed" or "shader".
const char* nameOf(Renderer renderer);
