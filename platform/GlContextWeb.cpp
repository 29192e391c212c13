// The browser's side of GlContext.h: a WebGL 2 context (OpenGL ES 3.0) on the page's canvas.
// The canvas fills the page; its drawing buffer follows its size on the screen in device pixels,
// and the frame is laid out in it as in a window, the 4:3 picture between black bars.

#include "platform/GlContext.h"

#include "glext/EsTable.h"
#include "platform/CanvasWeb.h"
#include "platform/MessageBox.h"

#include <emscripten/html5.h>

#include <cstdio>

namespace {

void reportNoWebGl2() {
    showMessage("This browser offers no WebGL 2, which the show needs. A current Firefox, Chrome, Edge or "
                "Safari has it; check that hardware acceleration is on.",
                "WebGL 2", MessageIcon::Error);
}

} // namespace

void fitCanvasToPage(int& width, int& height) {
    double cssWidth = 0.0, cssHeight = 0.0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    width = static_cast<int>(cssWidth * ratio + 0.5);
    height = static_cast<int>(cssHeight * ratio + 0.5);
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    emscripten_set_canvas_element_size(kCanvas, width, height);
}

WindowResult openGlWindow(const WindowDesc&, GlWindow& out) {
    out = GlWindow{};
    int width = 0, height = 0;
    fitCanvasToPage(width, height);

    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    // As the desktop window: no alpha (blending reads a destination alpha of 1), no multisampling,
    // depth and eight stencil bits.
    attributes.alpha = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_TRUE;
    attributes.premultipliedAlpha = EM_FALSE;
    attributes.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
    attributes.majorVersion = 2; // OpenGL ES 3.0: only the shader renderer runs in a browser
    attributes.minorVersion = 0;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(kCanvas, &attributes);
    if (context <= 0) {
        std::fprintf(stderr, "castrelle: no WebGL 2 context (%d)\n", static_cast<int>(context));
        reportNoWebGl2();
        return WindowResult::NoEsContext;
    }
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        showMessage("Can't set active render context.", "Render Context Error", MessageIcon::Error);
        emscripten_webgl_destroy_context(context);
        return WindowResult::ContextFailed;
    }
    out.context = reinterpret_cast<void*>(static_cast<intptr_t>(context));
    listenToPage();
    return WindowResult::Ok;
}

void closeGlWindow(GlWindow& w) {
    if (w.context)
        emscripten_webgl_destroy_context(
            static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(reinterpret_cast<intptr_t>(w.context)));
    w = GlWindow{};
}

// The browser shows the canvas when control returns to it.
void swapGlWindow(const GlWindow&) {}

// The page's canvas is never taken away from under the program.
bool glWindowGone(const GlWindow&) { return false; }

// The page's F key and button ask for fullscreen themselves (a browser grants it only in the
// viewer's own event); a request from the frame loop waits for the viewer's next one.
bool setGlWindowFullscreen(GlWindow& w, bool fullscreen) {
    const EMSCRIPTEN_RESULT r =
        fullscreen ? emscripten_request_fullscreen(kStage, EM_TRUE) : emscripten_exit_fullscreen();
    if (r != EMSCRIPTEN_RESULT_SUCCESS && r != EMSCRIPTEN_RESULT_DEFERRED) return false;
    w.fullscreen = fullscreen;
    return true;
}

// A browser does not say; its animation frames follow the display.
int glWindowRefreshRate(const GlWindow&) { return 0; }

void glWindowSize(const GlWindow&, int& width, int& height) {
    emscripten_get_canvas_element_size(kCanvas, &width, &height);
}

const char* currentGlVersion() {
    if (emscripten_webgl_get_current_context() <= 0) return "";
    const GLubyte* version = es::glGetString(GL_VERSION);
    return version ? reinterpret_cast<const char*>(version) : "";
}
