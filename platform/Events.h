#pragma once
// The window's messages, one at a time, as the main loop takes them.

// Fullscreen is F11 or Alt+Enter.
enum class Key { Other, Escape, Left, Right, Up, Down, F9, PageUp, PageDown, Home, Fullscreen };

struct WindowEvent {
    // Hidden: the window cannot be seen (minimised or unmapped); Shown: it can again.
    enum class Type { None, Quit, KeyDown, Resize, Hidden, Shown };
    Type type = Type::None;
    Key key = Key::Other;
    int width = 0;  // drawable size after a resize
    int height = 0;
};

struct GlWindow;

// Takes at most one message the demo acts on (a quit, a key press including auto-repeats, a
// resize); messages it ignores are dropped on the way. A posted quit message comes first.
// Returns false when there was none.
bool pollWindowEvent(const GlWindow& window, WindowEvent& out);

// The same, waiting up to timeoutMs for one to come: for a window that cannot be seen, which
// draws nothing meanwhile.
bool waitWindowEvent(const GlWindow& window, WindowEvent& out, int timeoutMs);
