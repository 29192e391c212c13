// The shader back end of FrameReadback.h.
#include "render/RendererBackends.h"

#include "glext/EsTable.h"

namespace shader {

void readWindowRgba(int width, int height, std::uint8_t* bottomUpRgba) {
    es::glPixelStorei(GL_PACK_ALIGNMENT, 4);
    es::glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUpRgba);
}

} // namespace shader
