#include "render/TextureNames.h"

#include <GL/gl.h>

#include <cstddef>
#include <vector>

void reserveTextureNames(int n) {
    std::vector<GLuint> names(static_cast<size_t>(n));
    glGenTextures(n, names.data());
}
