#include "support/OffscreenShow.h"

#include "glext/EsTable.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "render/RenderPath.h"
#include "support/RunProgram.h"

#include <GL/gl.h>

OffscreenShowTest::OffscreenShowTest(int frameSize, const RenderBackend& renderer) : renderer_(renderer) {
    shell.screen.frameWidth = shell.screen.frameHeight = frameSize;
    shell.printStatus = false;
    shell.scenes.get<CaveScene>().printCampos = false;
}

void OffscreenShowTest::SetUp() {
    setMessageBoxesInteractive(false);
    setRenderPath(RenderPath::Fast);
    useBackend(renderer_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dataDir());
    WindowDesc desc;
    desc.offscreen = true;
    desc.fullscreen = false;
    int status = 0;
    ASSERT_TRUE(shell.startUp(desc, status));
    ASSERT_FALSE(startupFailed());
}

void OffscreenShowTest::TearDown() {
    shell.shutDown();
    std::filesystem::current_path(previous_);
    resetQuitState();
    useBackend(fixedRenderer());
}

const std::vector<unsigned char>& OffscreenShowTest::readFrame() {
    const size_t count = static_cast<size_t>(shell.frame.width) * shell.frame.height;
    pixels_.resize(count * 3);
    if (renderer_.api == GlApi::Es3) { // ES reads a framebuffer, as RGBA only
        std::vector<unsigned char> rgba(count * 4);
        es::glBindFramebuffer(GL_FRAMEBUFFER, shell.frame.framebuffer);
        es::glPixelStorei(GL_PACK_ALIGNMENT, 1);
        es::glReadPixels(0, 0, shell.frame.width, shell.frame.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        for (size_t i = 0; i < count; ++i)
            for (size_t c = 0; c < 3; ++c) pixels_[i * 3 + c] = rgba[i * 4 + c];
        return pixels_;
    }
    glBindTexture(GL_TEXTURE_2D, shell.frame.colour);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    return pixels_;
}
