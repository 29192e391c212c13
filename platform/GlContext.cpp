#include "platform/GlContext.h"

#include "platform/DriverPin.h"

#include "platform/MessageBox.h"
#include "platform/Quit.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

const char* envOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Live play needs the display it is given. Where the one named cannot be reached, SDL would fall
// back on a driver that shows nothing and the show would run unseen: only a driver the user names
// (SDL_VIDEODRIVER) may be one of those.
void reportNoDisplay(const char* why) {
    const std::string x11 = envOrEmpty("DISPLAY"), wayland = envOrEmpty("WAYLAND_DISPLAY");
    std::string named = x11.empty() ? "" : "DISPLAY=" + x11;
    if (!wayland.empty()) named += (named.empty() ? "" : " and ") + ("WAYLAND_DISPLAY=" + wayland);
    std::fprintf(stderr, "castrelle: no display: %s cannot be reached (%s); live play needs one\n",
                 named.empty() ? "none is named, and one" : named.c_str(), why);
}

bool initVideo(bool offscreen) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    const bool driverNamed = *envOrEmpty("SDL_VIDEODRIVER") != 0;
    if (offscreen)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    else if (!driverNamed && *envOrEmpty("DISPLAY") && !*envOrEmpty("WAYLAND_DISPLAY"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        if (offscreen || driverNamed)
            std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        else
            reportNoDisplay(SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (offscreen || driverNamed || !driver ||
        (std::strcmp(driver, "offscreen") && std::strcmp(driver, "dummy")))
        return true;
    reportNoDisplay("SDL found only a driver that shows nothing");
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return false;
}

// A window closed from outside (destroyed by another client, not closed through the window
// manager) is told by its DestroyNotify event (Events.cpp), which ends the main loop in order, or,
// when a call on it comes first, by that call failing with an X error, whose default handler ends
// the process with status 1. Such errors end it as the viewer's quit does instead; any other goes
// on to the handler that was there.
using XErrorHandlerFn = int (*)(Display*, XErrorEvent*);
XErrorHandlerFn gPreviousXHandler = nullptr;
bool gWatching = false;
volatile bool gWindowGone = false;

int onXError(Display* display, XErrorEvent* error) {
    // The GL driver goes on with what the failed call left it and crashes: the program ends here,
    // as the viewer's close would end it, with what it printed on its way.
    if (error->error_code == BadWindow || error->error_code == BadDrawable) {
        gWindowGone = true;
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(0);
    }
    return gPreviousXHandler ? gPreviousXHandler(display, error) : 0;
}

// Xlib is the one SDL's X11 driver (and the GL driver) loaded; nothing is linked for it.
void watchForWindowLoss() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (gWatching || !driver || std::strcmp(driver, "x11") != 0) return;
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    using SetHandler = XErrorHandlerFn (*)(XErrorHandlerFn);
    const auto set = xlib ? reinterpret_cast<SetHandler>(dlsym(xlib, "XSetErrorHandler")) : nullptr;
    if (set) gPreviousXHandler = set(onXError), gWatching = true;
    if (xlib) dlclose(xlib);
    // The window's own DestroyNotify, as the window system's events come, is the earlier word:
    // drawing into a window that is gone can crash the GL driver before its error is seen.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
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
                "The fixed-function renderer (--renderer fixed) runs without it.",
                "OpenGL ES", MessageIcon::Error);
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
        // Without a display there is nothing to show a box on: the line above said why.
        if (desc.offscreen)
            showMessage("Couldn't create window!", "Window Creation Error", MessageIcon::Error);
        return WindowResult::WindowFailed;
    }
    requestPixelFormat(desc.api);

    // Fullscreen covers the display in its own mode (the picture keeps its bars), with a window
    // made at the display's size: without a window manager a window keeps the size it was made
    // at. The size asked for is the window's when the viewer leaves fullscreen.
    bool fullscreen = desc.fullscreen && !desc.offscreen;
    const Uint32 flags =
        SDL_WINDOW_OPENGL | (desc.offscreen ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    SDL_DisplayMode desktop = {};
    if (fullscreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0)
        out.window = SDL_CreateWindow(desc.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, desktop.w,
                                      desktop.h, flags | SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (fullscreen && !out.window) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        if (!askYesNo("The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
                      "Instead?",
                      "OPENGL"))
            return WindowResult::Declined;
        fullscreen = false;
    }
    if (!fullscreen)
        out.window = SDL_CreateWindow(desc.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, desc.width,
                                      desc.height, flags);
    if (!out.window) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        showMessage("Couldn't create window!", "Window Creation Error", MessageIcon::Error);
        return WindowResult::WindowFailed;
    }
    out.fullscreen = fullscreen;
    out.windowedWidth = desc.width;
    out.windowedHeight = desc.height;
    if (fullscreen) SDL_ShowCursor(SDL_DISABLE);

    out.context = SDL_GL_CreateContext(out.window);
    if (!out.context && desc.api == GlApi::Es3) {
        // Falling back quietly, the caller says so in one line of its own.
        if (!desc.quietWithoutEs) {
            std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
            reportNoEsContext();
        }
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
        if (!desc.quietWithoutEs) {
            std::fprintf(stderr, "castrelle: asked for OpenGL ES 3.0, got \"%s\"\n", currentGlVersion());
            reportNoEsContext();
        }
        return WindowResult::NoEsContext;
    }
    pinGlDriverForLeakChecks();
    if (!desc.offscreen) watchForWindowLoss();
    int stencil = 0;
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
    if (stencil < 8) std::fprintf(stderr, "Warning: only %d stencil bits; shadows will be wrong\n", stencil);
    // Frames are paced by the display where there is one; captures run as fast as they can.
    SDL_GL_SetSwapInterval(desc.offscreen ? 0 : 1);
    return WindowResult::Ok;
}

void closeGlWindow(GlWindow& w) {
    // The GL driver frees a context's drawable through the window it was made for, and crashes on
    // one that is gone: the program is ending, and leaves both to the process's end.
    if (!gWindowGone) {
        if (w.context) SDL_GL_DeleteContext(w.context);
        if (w.window) SDL_DestroyWindow(w.window);
    }
    w = GlWindow{};
}

void swapGlWindow(const GlWindow& w) { SDL_GL_SwapWindow(w.window); }

bool glWindowGone(const GlWindow& w) { return w.window && gWindowGone; }

void noteGlWindowGone() { gWindowGone = true; }

void glWindowSize(const GlWindow& w, int& width, int& height) {
    SDL_GL_GetDrawableSize(w.window, &width, &height);
}

bool setGlWindowFullscreen(GlWindow& w, bool fullscreen) {
    if (w.offscreen || fullscreen == w.fullscreen) return fullscreen == w.fullscreen;
    // Without a window manager nothing moves or sizes the window for its new state: it is given
    // the display's bounds before it goes fullscreen, and its old size and place after.
    SDL_Rect bounds = {};
    const int display = SDL_GetWindowDisplayIndex(w.window);
    if (fullscreen) {
        SDL_GetWindowSize(w.window, &w.windowedWidth, &w.windowedHeight);
        if (display >= 0 && SDL_GetDisplayBounds(display, &bounds) == 0) {
            SDL_SetWindowPosition(w.window, bounds.x, bounds.y);
            SDL_SetWindowSize(w.window, bounds.w, bounds.h);
        }
    }
    if (SDL_SetWindowFullscreen(w.window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    if (!fullscreen) {
        SDL_SetWindowSize(w.window, w.windowedWidth, w.windowedHeight);
        const int centred = SDL_WINDOWPOS_CENTERED_DISPLAY(display);
        SDL_SetWindowPosition(w.window, centred, centred);
    }
    w.fullscreen = fullscreen;
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
    return true;
}

int glWindowRefreshRate(const GlWindow& w) {
    SDL_DisplayMode mode = {};
    const int display = SDL_GetWindowDisplayIndex(w.window);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
    return mode.refresh_rate;
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
