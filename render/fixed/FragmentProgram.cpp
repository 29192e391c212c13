#include "render/fixed/FragmentProgram.h"

#include "glext/GlExt.h"

#include <cstdio>
#include <cstring>

bool useFragmentProgram(FragmentProgram& program) {
    if (program.failed) return false;
    if (program.id == 0) {
        GLuint id = 0;
        glext::glGenProgramsARB(1, &id);
        glext::glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, id);
        glext::glProgramStringARB(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB,
                                  static_cast<GLsizei>(std::strlen(program.source)), program.source);
        GLint errorAt = -1;
        glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &errorAt);
        if (errorAt != -1) {
            std::fprintf(stderr, "castrelle: fragment program refused at %d: %s\n", errorAt,
                         reinterpret_cast<const char*>(glGetString(GL_PROGRAM_ERROR_STRING_ARB)));
            glext::glDeleteProgramsARB(1, &id);
            program.failed = true;
            return false;
        }
        program.id = id;
    } else {
        glext::glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, program.id);
    }
    glEnable(GL_FRAGMENT_PROGRAM_ARB);
    return true;
}

void endFragmentProgram() { glDisable(GL_FRAGMENT_PROGRAM_ARB); }

void setProgramLocal(int index, float x, float y, float z, float w) {
    glext::glProgramLocalParameter4fARB(GL_FRAGMENT_PROGRAM_ARB, static_cast<GLuint>(index), x, y, z, w);
}
