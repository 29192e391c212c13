#include "platform/MessageBox.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool gInteractive = true;

// A box can only be shown where a window system is reachable.
bool displayAvailable() {
    if (!gInteractive) return false;
    const char* driver = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (driver && (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy"))) return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

Uint32 sdlFlags(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error: return SDL_MESSAGEBOX_ERROR;
    case MessageIcon::Exclamation: return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::None: break;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

} // namespace

void setMessageBoxesInteractive(bool interactive) { gInteractive = interactive; }

void showMessage(const char* text, const char* caption, MessageIcon icon) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    if (displayAvailable()) SDL_ShowSimpleMessageBox(sdlFlags(icon), caption, text, nullptr);
}

bool askYesNo(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    if (!displayAvailable()) {
        std::fputs("(no display to ask on: answering No)\n", stderr);
        return false;
    }
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxData box = {SDL_MESSAGEBOX_WARNING, nullptr, caption, text, 2, buttons, nullptr};
    int answer = 0;
    if (SDL_ShowMessageBox(&box, &answer) != 0) return false;
    return answer == 1;
}
