#include "glext/GlExtResolve.h"

#include <GLES3/gl3.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5_webgl.h>

#include <cstring>

namespace {

// OpenGL ES makes a texture when an unused name is first bound, and the show binds its texture
// slots by number; WebGL makes textures only through createTexture. Binding gives the name its
// texture first.
EM_JS(void, makeTextureNamed, (GLuint name), {
    if (name === 0 || GL.textures[name]) return;
    const texture = GLctx.createTexture();
    texture.name = name;
    GL.textures[name] = texture;
});

void GL_APIENTRY bindTextureMakingIt(GLenum target, GLuint name) {
    makeTextureNamed(name);
    glBindTexture(target, name);
}

} // namespace

namespace glext {

// The browser's WebGL 1 and 2 functions (what OpenGL ES 3.0 offers there).
void* lookUp(const char* name) {
    if (!std::strcmp(name, "glBindTexture")) return reinterpret_cast<void*>(&bindTextureMakingIt);
    return emscripten_webgl_get_proc_address(name);
}

} // namespace glext
