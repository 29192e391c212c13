#include "platform/Events.h"

#include "platform/GlContext.h"
#include "platform/Quit.h"

#include <SDL2/SDL.h>

namespace {

Key keyOf(const SDL_Keysym& key) {
    switch (key.sym) {
    case SDLK_ESCAPE: return Key::Escape;
    case SDLK_LEFT: return Key::Left;
    case SDLK_RIGHT: return Key::Right;
    case SDLK_UP: return Key::Up;
    case SDLK_DOWN: return Key::Down;
    case SDLK_F9: return Key::F9;
    case SDLK_PAGEUP: return Key::PageUp;
    case SDLK_PAGEDOWN: return Key::PageDown;
    case SDLK_HOME: return Key::Home;
    case SDLK_F11: return Key::Fullscreen;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return (key.mod & KMOD_ALT) ? Key::Fullscreen : Key::Other;
    default: return Key::Other;
    }
}

} // namespace

bool pollWindowEvent(const GlWindow& window, WindowEvent& out) {
    out = WindowEvent{};
    if (takeQuitMessage()) {
        out.type = WindowEvent::Type::Quit;
        return true;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            out.type = WindowEvent::Type::Quit;
            return true;
        case SDL_KEYDOWN:
            out.type = WindowEvent::Type::KeyDown;
            out.key = keyOf(e.key.keysym);
            // Holding the fullscreen key would flip the window back and forth.
            if (e.key.repeat && out.key == Key::Fullscreen) out.key = Key::Other;
            return true;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                out.type = WindowEvent::Type::Quit;
                return true;
            }
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                out.type = WindowEvent::Type::Resize;
                glWindowSize(window, out.width, out.height);
                return true;
            }
            break;
        default: break;
        }
    }
    return false;
}
