#include "platform/GlContext.h"

#include "platform/DriverPin.h"

#include "platform/MessageBox.h"
#include "platform/Quit.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

void requestPixelFormat(GlApi api) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    // The shadow volumes count up and down around 127, which needs eight bits.
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (api == GlApi::Es3) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    } else {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2); // SDL's defaults, should ES have been asked
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    }
}

// A driver may hand out a desktop context that merely accepts ES shaders, or an ES 2 one: only
// "OpenGL ES 3" or later is the API the shader renderer is written against.
bool isEs3Context() {
    const char* version = currentGlVersion();
    return std::strncmp(version, "OpenGL ES ", 10) == 0 && version[10] >= '3' && version[10] <= '9';
}

void reportNoEsContext() {
    showMessage("This machine offers no OpenGL ES 3.0 context, which the shader renderer needs.\n"
                "The fixed-function renderer (--renderer fixed, the default) runs without it.",
                "OpenGL ES", MessageIcon::Error);
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
    requestPixelFormat(desc.api);

    bool fullscreen = desc.fullscreen && !desc.offscreen;
    if (fullscreen && !fullscreenModeAvailable(desc.width, desc.height)) {
        if (!askYesNo("The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
                      "Instead?",
                      "OPENGL"))
            return WindowResult::Declined;
        fullscreen = false;
    }

    Uint32 flags = SDL_WINDOW_OPENGL | (desc.offscreen ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    if (fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN;
    else if (!desc.offscreen)
        flags |= SDL_WINDOW_RESIZABLE;
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
    if (!out.context && desc.api == GlApi::Es3) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        reportNoEsContext();
        return WindowResult::NoEsContext;
    }
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
    if (desc.api == GlApi::Es3 && !isEs3Context()) {
        std::fprintf(stderr, "castrelle: asked for OpenGL ES 3.0, got \"%s\"\n", currentGlVersion());
        reportNoEsContext();
        return WindowResult::NoEsContext;
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

bool useSharedOffscreenContext(GlApi api) {
    struct Shared {
        GlWindow window;
        bool ready = false;
    };
    const auto open = [](GlApi which) {
        Shared s;
        setMessageBoxesInteractive(false);
        WindowDesc desc;
        desc.offscreen = true;
        desc.fullscreen = false;
        desc.api = which;
        s.ready = openGlWindow(desc, s.window) == WindowResult::Ok;
        return s;
    };
    if (api == GlApi::Es3) {
        static const Shared es = open(GlApi::Es3);
        return es.ready && SDL_GL_MakeCurrent(es.window.window, es.window.context) == 0;
    }
    static const Shared desktop = open(GlApi::Compatibility);
    return desktop.ready && SDL_GL_MakeCurrent(desktop.window.window, desktop.window.context) == 0;
}

const char* currentGlVersion() {
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned kVersion = 0x1F02; // GL_VERSION, the same in every API
    if (!SDL_GL_GetCurrentContext()) return "";
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* version = getString ? getString(kVersion) : nullptr;
    return version ? reinterpret_cast<const char*>(version) : "";
}
