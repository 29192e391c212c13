#include "platform/Quit.h"

#include "platform/MessageBox.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
bool gPending = false;
bool gStartupFailed = false;
std::vector<std::string> gUnreadableFiles; // reported already
} // namespace

void postQuitMessage() { gPending = true; }

bool takeQuitMessage() {
    const bool was = gPending;
    gPending = false;
    return was;
}

void reportStartupError(const char* text, const char* caption) {
    showMessage(text, caption, MessageIcon::None);
    postQuitMessage();
    gStartupFailed = true;
}

void reportUnreadableFile(const char* path, const char* reason) {
    if (std::find(gUnreadableFiles.begin(), gUnreadableFiles.end(), path) != gUnreadableFiles.end()) return;
    gUnreadableFiles.emplace_back(path);
    char text[512] = {};
    if (reason)
        std::snprintf(text, sizeof text, "Can't load file %s (%s)", path, reason);
    else
        std::snprintf(text, sizeof text, "Can't load file %s", path);
    reportStartupError(text, "File read error");
}

void reportUnreadableAsset(const char* path, const char* reason) {
    const bool reported =
        std::find(gUnreadableFiles.begin(), gUnreadableFiles.end(), path) != gUnreadableFiles.end();
    reportUnreadableFile(path);
    if (!reported && reason && *reason) std::fprintf(stderr, "castrelle: cannot read %s: %s\n", path, reason);
}

bool startupFailed() { return gStartupFailed; }

void resetQuitState() {
    gPending = gStartupFailed = false;
    gUnreadableFiles.clear();
}
