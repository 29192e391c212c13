// The fixed-function back end of FrameReadback.h.
#include "render/RendererBackends.h"

#include <GL/gl.h>

namespace fixedfn {

void readWindowRgba(int width, int height, std::uint8_t* bottomUpRgba) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUpRgba);
}

} // namespace fixedfn
