#pragma once
// GL errors, for the frame-end check of the shell: a GL error is a fault of the program (an
// entry or value the context does not take), never something to carry on from silently.

// The first error the context recorded since the last call (GL's enum; 0 for none); the rest
// are taken with it.
unsigned takeGlError();

// "GL_INVALID_ENUM" and the like.
const char* glErrorName(unsigned error);
