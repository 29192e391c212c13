#include "platform/Events.h"

#include "platform/GlContext.h"
#include "platform/Quit.h"

#include <SDL2/SDL.h>
// Xlib's macros come after every header that might use their names.
#include <SDL2/SDL_syswm.h>

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

namespace {

// What the demo makes of an SDL event; false for one it ignores.
bool translate(const SDL_Event& e, const GlWindow& window, WindowEvent& out) {
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
    case SDL_SYSWMEVENT:
        // The window destroyed by another client: quit before anything is drawn into it again.
        if (e.syswm.msg->subsystem != SDL_SYSWM_X11 || e.syswm.msg->msg.x11.event.type != DestroyNotify)
            return false;
        noteGlWindowGone();
        out.type = WindowEvent::Type::Quit;
        return true;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            out.type = WindowEvent::Type::Quit;
            return true;
        case SDL_WINDOWEVENT_HIDDEN:
        case SDL_WINDOWEVENT_MINIMIZED:
            out.type = WindowEvent::Type::Hidden;
            return true;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
            out.type = WindowEvent::Type::Shown;
            return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            out.type = WindowEvent::Type::Resize;
            glWindowSize(window, out.width, out.height);
            return true;
        default:
            return false;
        }
    default:
        return false;
    }
}

// A posted quit message, or a window the window system has taken away, comes first.
bool quitFirst(const GlWindow& window, WindowEvent& out) {
    out = WindowEvent{};
    if (!takeQuitMessage() && !glWindowGone(window)) return false;
    out.type = WindowEvent::Type::Quit;
    return true;
}

} // namespace

bool pollWindowEvent(const GlWindow& window, WindowEvent& out) {
    if (quitFirst(window, out)) return true;
    SDL_Event e;
    while (SDL_PollEvent(&e))
        if (translate(e, window, out)) return true;
    return false;
}

bool waitWindowEvent(const GlWindow& window, WindowEvent& out, int timeoutMs) {
    if (quitFirst(window, out)) return true;
    SDL_Event e;
    const Uint32 until = SDL_GetTicks() + static_cast<Uint32>(timeoutMs);
    for (int left = timeoutMs; left > 0; left = static_cast<int>(until - SDL_GetTicks())) {
        if (!SDL_WaitEventTimeout(&e, left)) return quitFirst(window, out);
        if (translate(e, window, out)) return true;
    }
    return false;
}
