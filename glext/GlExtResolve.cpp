#include "glext/GlExtResolve.h"

#include <SDL2/SDL_video.h>

namespace glext {

void* lookUp(const char* name) { return SDL_GL_GetProcAddress(name); }

} // namespace glext
