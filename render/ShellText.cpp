#include "render/ShellText.h"

#include "render/Backends.h"

void setTextState() { backend().shell->setTextState(); }

void printText(const ScreenSize& screen, float x, float y, float scale, float centring, const char* text) {
    backend().shell->placeText(screen, x, y, scale, centring, text);
}

void placeStatusText(const ScreenSize& screen, const char* timeText, const char* fpsText) {
    backend().shell->placeStatusText(screen, timeText, fpsText);
}

void LoadingBar::drawStep(int width, int height) {
    backend().shell->drawLoadingBar(progress, width, height);
    progress += kStep;
}
