#pragma once
// GLSL ES 3.00 programs of the shader renderer, built from source text with a variant's #defines
// ahead of it. Every stage is "#version 300 es" with high float precision, which WebGL 2 takes
// unchanged. A program that does not compile or link is reported once, with the compiler's log
// and the program's name, as a start-up error (the program ends), and draws nothing.

#include "glext/EsTable.h"

namespace gles3 {

// The attribute locations every program declares with layout(location = N).
enum Attribute : GLuint {
    kPositionAttribute = 0,
    kNormalAttribute = 1,
    kTexCoordAttribute = 2,
    kColourAttribute = 3,
};

struct ProgramSource {
    const char* name = "";
    const char* vertex = "";
    const char* fragment = "";
};

// The linked program, or 0 after reporting why not. `defines` are whole lines ("#define LIT\n").
GLuint buildProgram(const ProgramSource& source, const char* defines = "");

// Points a sampler uniform at a texture unit (a program keeps it); the program is left in use.
void setSamplerUnit(GLuint program, const char* sampler, int unit);

} // namespace gles3
