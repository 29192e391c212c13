#include "platform/Events.h"

#include "platform/GlContext.h"
#include "platform/Quit.h"

#include <SDL2/SDL.h>

namespace {

Key keyOf(SDL_Keycode code) {
    switch (code) {
    case SDLK_ESCAPE: return Key::Escape;
    case SDLK_LEFT: return Key::Left;
    case SDLK_RIGHT: return Key::Right;
    case SDLK_UP: return Key::Up;
    case SDLK_DOWN: return Key::Down;
    case SDLK_F9: return Key::F9;
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
            out.key = keyOf(e.key.keysym.sym);
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
