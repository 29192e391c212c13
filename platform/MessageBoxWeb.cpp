// The browser's side of MessageBox.h: a message on the page over the canvas, also written to
// the console. A page cannot hold the program in a modal box, so questions are answered No.

#include "platform/MessageBox.h"

#include <emscripten/emscripten.h>

#include <cstdio>

namespace {

bool gInteractive = true;

EM_JS(void, showOnPage, (const char* caption, const char* text), {
    if (window.castrellePage) window.castrellePage.message(UTF8ToString(caption), UTF8ToString(text));
});

} // namespace

void setMessageBoxesInteractive(bool interactive) { gInteractive = interactive; }

void showMessage(const char* text, const char* caption, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    if (gInteractive) showOnPage(caption, text);
}

bool askYesNo(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n(answering No)\n", caption, text);
    return false;
}
