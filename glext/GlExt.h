#pragma once
// Every OpenGL entry point past 1.1 that the program calls goes through the generated table in
// namespace glext: glext::glGenFramebuffers(...). Each entry resolves itself at its first call;
// there is no loading step. The table is generated at build time from the Khronos registry by
// tools/glextgen, which lists its families; a new entry point newer than OpenGL 1.5 is added there.

#include "glext/GlExtTable.h"
