#include "platform/GlContext.h"

#include "platform/DriverPin.h"

#include "platform/MessageBox.h"
#include "platform/Quit.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool initVideo(bool offscreen) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (offscreen) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

void requestPixelFormat() {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    // The shadow volumes count up and down around 127, which needs eight bits.
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

// The display must offer exactly the asked size; otherwise the fullscreen mode is refused.
bool fullscreenModeAvailable(int width, int height) {
    SDL_DisplayMode want = {SDL_PIXELFORMAT_UNKNOWN, width, height, 0, nullptr};
    SDL_DisplayMode got = {};
    if (!SDL_GetClosestDisplayMode(0, &want, &got)) return false;
    return got.w == width && got.h == height;
}

} // namespace

bool displayReachable() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

WindowResult openGlWindow(const WindowDesc& desc, GlWindow& out) {
    out = GlWindow{};
    out.offscreen = desc.offscreen;
    if (!initVideo(desc.offscreen)) {
        showMessage("Couldn't create window!", "Window Creation Error", MessageIcon::Error);
        return WindowResult::WindowFailed;
    }
    requestPixelFormat();

    bool fullscreen = desc.fullscreen && !desc.offscreen;
    if (fullscreen && !fullscreenModeAvailable(desc.width, desc.height)) {
        if (!askYesNo("The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
                      "Instead?",
                      "OPENGL"))
            return WindowResult::Declined;
        fullscreen = false;
    }

    Uint32 flags = SDL_WINDOW_OPENGL | (desc.offscreen ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    if (fullscreen) flags |= SDL_WINDOW_FULLSCREEN;
    else if (!desc.offscreen) flags |= SDL_WINDOW_RESIZABLE;
    out.window = SDL_CreateWindow(desc.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, desc.width,
                                  desc.height, flags);
    if (!out.window) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        showMessage("Couldn't create window!", "Window Creation Error", MessageIcon::Error);
        return WindowResult::WindowFailed;
    }
    out.fullscreen = fullscreen;
    if (fullscreen) SDL_ShowCursor(SDL_DISABLE);

    out.context = SDL_GL_CreateContext(out.window);
    if (!out.context) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        reportStartupError("Can't create render context.", "Render Context Error");
        return WindowResult::ContextFailed;
    }
    if (SDL_GL_MakeCurrent(out.window, out.context) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        reportStartupError("Can't set active render context.", "Render Context Error");
        return WindowResult::ContextFailed;
    }
    pinGlDriverForLeakChecks();
    int stencil = 0;
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
    if (stencil < 8) std::fprintf(stderr, "Warning: only %d stencil bits; shadows will be wrong\n", stencil);
    // Frames are paced by the display where there is one; captures run as fast as they can.
    SDL_GL_SetSwapInterval(desc.offscreen ? 0 : 1);
    return WindowResult::Ok;
}

void closeGlWindow(GlWindow& w) {
    if (w.context) SDL_GL_DeleteContext(w.context);
    if (w.window) SDL_DestroyWindow(w.window);
    w = GlWindow{};
}

void swapGlWindow(const GlWindow& w) { SDL_GL_SwapWindow(w.window); }

void glWindowSize(const GlWindow& w, int& width, int& height) {
    SDL_GL_GetDrawableSize(w.window, &width, &height);
}

bool useSharedOffscreenContext() {
    static GlWindow shared;
    static const bool ready = [] {
        setMessageBoxesInteractive(false);
        WindowDesc desc;
        desc.offscreen = true;
        desc.fullscreen = false;
        return openGlWindow(desc, shared) == WindowResult::Ok;
    }();
    return ready && SDL_GL_MakeCurrent(shared.window, shared.context) == 0;
}
