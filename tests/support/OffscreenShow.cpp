#include "support/OffscreenShow.h"

#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "render/FrameTarget.h"
#include "render/RenderPath.h"
#include "support/RunProgram.h"

#include <GL/gl.h>

OffscreenShowTest::OffscreenShowTest(int frameSize, Renderer renderer) : renderer_(renderer) {
    shell.screen.frameWidth = shell.screen.frameHeight = frameSize;
    shell.printStatus = false;
    shell.scenes.get<CaveScene>().printCampos = false;
}

void OffscreenShowTest::SetUp() {
    setMessageBoxesInteractive(false);
    setRenderPath(RenderPath::Fast);
    setRenderer(renderer_);
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
    setRenderer(Renderer::Fixed);
}

const std::vector<unsigned char>& OffscreenShowTest::readFrame() {
    if (renderer_ == Renderer::Shader) { // ES reads only what a framebuffer holds, top row last
        bindFrameTarget(shell.frame);
        const uint8_t* rows = reader_.read(shell.frame.width, shell.frame.height);
        pixels_.assign(rows, rows + static_cast<size_t>(shell.frame.width) * shell.frame.height * 3);
        return pixels_;
    }
    pixels_.resize(static_cast<size_t>(shell.frame.width) * shell.frame.height * 3);
    glBindTexture(GL_TEXTURE_2D, shell.frame.colour);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    return pixels_;
}
