#include "platform/Quit.h"

#include "platform/MessageBox.h"

#include <cstdio>

namespace {
bool gPending = false;
bool gStartupFailed = false;
} // namespace

void postQuitMessage() { gPending = true; }

bool takeQuitMessage() {
    const bool was = gPending;
    gPending = false;
    return was;
}

bool quitMessagePending() { return gPending; }

void reportStartupError(const char* text, const char* caption) {
    showMessage(text, caption, MessageIcon::None);
    postQuitMessage();
    gStartupFailed = true;
}

void reportUnreadableFile(const char* path) {
    char text[256] = {};
    std::snprintf(text, sizeof text, "Can't load file %s", path);
    reportStartupError(text, "File read error");
}

bool startupFailed() { return gStartupFailed; }

void resetQuitState() { gPending = gStartupFailed = false; }
