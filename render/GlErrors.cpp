#include "render/GlErrors.h"

#include "render/Backends.h"

unsigned takeGlError() { return backend().frame->takeGlError(); }

const char* glErrorName(unsigned error) {
    switch (error) {
    case 0x0500:
        return "GL_INVALID_ENUM";
    case 0x0501:
        return "GL_INVALID_VALUE";
    case 0x0502:
        return "GL_INVALID_OPERATION";
    case 0x0503:
        return "GL_STACK_OVERFLOW";
    case 0x0504:
        return "GL_STACK_UNDERFLOW";
    case 0x0505:
        return "GL_OUT_OF_MEMORY";
    case 0x0506:
        return "GL_INVALID_FRAMEBUFFER_OPERATION";
    default:
        return "an unknown GL error";
    }
}
