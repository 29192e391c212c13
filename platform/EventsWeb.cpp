// The browser's side of Events.h: the page's key presses and size changes, queued by the page's
// event handlers and taken one at a time by the frame loop as the desktop's messages are.

#include "platform/Events.h"

#include "platform/CanvasWeb.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"

#include <emscripten/html5.h>
#include <emscripten/html5_webgl.h>

#include <cstring>

namespace {

constexpr const char* kFullscreenButton = "#fullscreen";

// Events waiting for the frame loop; when it falls behind, the newest are dropped.
constexpr int kQueued = 64;
WindowEvent gQueue[kQueued];
int gFirst = 0;
int gCount = 0;

void push(const WindowEvent& event) {
    if (gCount == kQueued) return;
    gQueue[(gFirst + gCount) % kQueued] = event;
    ++gCount;
}

Key keyOf(const char* name) {
    if (!std::strcmp(name, "Escape")) return Key::Escape;
    if (!std::strcmp(name, "ArrowLeft")) return Key::Left;
    if (!std::strcmp(name, "ArrowRight")) return Key::Right;
    if (!std::strcmp(name, "ArrowUp")) return Key::Up;
    if (!std::strcmp(name, "ArrowDown")) return Key::Down;
    if (!std::strcmp(name, "F9")) return Key::F9;
    if (!std::strcmp(name, "PageUp")) return Key::PageUp;
    if (!std::strcmp(name, "PageDown")) return Key::PageDown;
    if (!std::strcmp(name, "Home")) return Key::Home;
    return Key::Other;
}

void requestFullscreen() {
    // Called from the page's own key or click handler, so the browser lets it happen.
    emscripten_request_fullscreen(kStage, EM_TRUE);
}

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* e, void*) {
    if (e->ctrlKey || e->altKey || e->metaKey) return EM_FALSE; // the browser's own shortcuts
    if (!std::strcmp(e->key, "f") || !std::strcmp(e->key, "F")) {
        requestFullscreen();
        return EM_TRUE;
    }
    WindowEvent event;
    event.type = WindowEvent::Type::KeyDown;
    event.key = keyOf(e->key);
    if (event.key == Key::Other) return EM_FALSE;
    push(event);
    return EM_TRUE; // arrows would scroll the page, F9 is the browser's
}

void pushResize() {
    WindowEvent event;
    event.type = WindowEvent::Type::Resize;
    fitCanvasToPage(event.width, event.height);
    // A window being dragged larger sends a stream of sizes: only the last one counts.
    WindowEvent* last = gCount > 0 ? &gQueue[(gFirst + gCount - 1) % kQueued] : nullptr;
    if (last && last->type == WindowEvent::Type::Resize)
        *last = event;
    else
        push(event);
}

EM_BOOL onResize(int, const EmscriptenUiEvent*, void*) {
    pushResize();
    return EM_FALSE;
}

EM_BOOL onFullscreenChange(int, const EmscriptenFullscreenChangeEvent*, void*) {
    pushResize();
    return EM_FALSE;
}

EM_BOOL onFullscreenButton(int, const EmscriptenMouseEvent*, void*) {
    requestFullscreen();
    return EM_TRUE;
}

// The browser may take the GL context away (a driver reset, too many pages using GL): the canvas
// would stay blank, so the page says what happened and the show ends.
EM_BOOL onContextLost(int, const void*, void*) {
    showMessage("The browser took the show's WebGL context away. Reload the page to play again.", "WebGL",
                MessageIcon::Error);
    postQuitMessage();
    return EM_TRUE;
}

} // namespace

void listenToPage() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKeyDown);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onResize);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                             onFullscreenChange);
    emscripten_set_click_callback(kFullscreenButton, nullptr, EM_FALSE, onFullscreenButton);
    emscripten_set_webglcontextlost_callback(kCanvas, nullptr, EM_FALSE, onContextLost);
}

// The page stops the frames of a tab that cannot be seen by itself: there is nothing to wait for.
bool waitWindowEvent(const GlWindow& window, WindowEvent& out, int) { return pollWindowEvent(window, out); }

bool pollWindowEvent(const GlWindow&, WindowEvent& out) {
    out = WindowEvent{};
    if (takeQuitMessage()) {
        out.type = WindowEvent::Type::Quit;
        return true;
    }
    if (gCount == 0) return false;
    out = gQueue[gFirst];
    gFirst = (gFirst + 1) % kQueued;
    --gCount;
    return true;
}
