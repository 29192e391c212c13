// The front of ShellText.h.
#include "render/ShellText.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

void setTextState() {
    if (renderer() == Renderer::Shader) return shader::setTextState();
    fixedfn::setTextState();
}

void printText(const ScreenSize& screen, float x, float y, float scale, float centring, const char* text) {
    if (renderer() == Renderer::Shader) return shader::placeText(screen, x, y, scale, centring, text);
    fixedfn::placeText(screen, x, y, scale, centring, text);
}

void placeStatusText(const ScreenSize& screen, const char* timeText, const char* fpsText) {
    if (renderer() == Renderer::Shader) return shader::placeStatusText(screen, timeText, fpsText);
    fixedfn::placeStatusText(screen, timeText, fpsText);
}

void LoadingBar::drawStep(int width, int height) {
    if (renderer() == Renderer::Shader)
        shader::drawLoadingBar(progress, width, height);
    else
        fixedfn::drawLoadingBar(progress, width, height);
    progress += kStep;
}
