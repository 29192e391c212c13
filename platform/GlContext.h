#pragma once
// The one OpenGL context of the program: a window on the desktop, or an offscreen surface of the
// same kind (Mesa through SDL's offscreen video driver) for tests and captures. Both give 24 depth
// and 8 stencil bits, double buffered, with the API the renderer asks for: a desktop
// compatibility profile for the fixed-function renderer, or OpenGL ES 3.0 for the shader one.

struct SDL_Window;

enum class GlApi {
    Compatibility, // desktop OpenGL with its fixed-function pipeline
    Es3,           // OpenGL ES 3.0 or later and nothing of the desktop (the WebGL 2 class)
};

struct WindowDesc {
    const char* title = "Castrelle Quillmere";
    int width = 800;
    int height = 600;
    bool fullscreen = true; // on the desktop's own mode, no mode switch
    bool offscreen = false; // no window system: render into an invisible surface
    GlApi api = GlApi::Compatibility;
    // With ES 3.0 asked for and none to be had: say nothing, as the caller will ask for a desktop
    // context instead.
    bool quietWithoutEs = false;
};

enum class WindowResult {
    Ok,
    Declined,      // fullscreen refused and the user did not take the window: end quietly
    WindowFailed,  // no window could be created: end with an error
    ContextFailed, // the window exists but has no usable GL context (quit already posted)
    NoEsContext,   // OpenGL ES 3.0 was asked for and the machine offers none (reported)
};

struct GlWindow {
    SDL_Window* window = nullptr;
    void* context = nullptr;
    bool fullscreen = false;
    bool offscreen = false;
    int windowedWidth = 0; // the window's size to come back to from fullscreen
    int windowedHeight = 0;
};

// Opens the window and makes its context current. Reports failures with the start-up messages.
WindowResult openGlWindow(const WindowDesc& desc, GlWindow& out);
void closeGlWindow(GlWindow& w);
void swapGlWindow(const GlWindow& w);
// True once the window system has taken the window away (closed from outside): the program
// then ends as when the viewer closes it.
bool glWindowGone(const GlWindow& w);
// Told by the window system's events that the window was destroyed.
void noteGlWindowGone();
// The size of the drawable in pixels (the display may not give the size asked for).
void glWindowSize(const GlWindow& w, int& width, int& height);
// Fullscreen on the desktop's mode, or back to the window it was; the drawable's new size comes
// as a resize event. False when the window system refused.
bool setGlWindowFullscreen(GlWindow& w, bool fullscreen);
// The refresh rate of the window's display in Hz, or 0 where the system does not say.
int glWindowRefreshRate(const GlWindow& w);

// The one offscreen context (800 x 600) of each API that tests and benchmarks share in a process:
// opened on first use, with message boxes off, and made current on every call. False when none
// can be had.
bool useSharedOffscreenContext(GlApi api = GlApi::Compatibility);

// The context's own name for its version ("OpenGL ES 3.2 Mesa ..."), or "" with none current.
const char* currentGlVersion();

// True when a window system is reachable (an X11 or Wayland display).
bool displayReachable();
