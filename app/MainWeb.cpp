// castrelle in a web page: the show on the page's canvas, its music in the page's <audio>
// element. The page downloads the data, then calls main, which loads everything as the desktop
// program does and waits for the page's start button (browsers start sound only after the
// viewer asked for it). The frames then run on the browser's animation frames.
//
// Page address options: ?start=MS starts the show at MS; ?shot=MS renders from the start at 60
// fixed steps a second, without music, up to the first frame at or after MS, keeps that frame
// on the canvas and prints "shot MS ready" (for tests: the frame the desktop's --shot MS gives).
// ?shot=MS1,MS2,... holds at each in turn until the page's castrelleNextShot() is called.

#include "app/FixedStep.h"
#include "app/Player.h"
#include "platform/Quit.h"
#include "platform/Ticks.h"
#include "render/FrameSize.h"
#include "render/FrameTarget.h"
#include "render/PassState.h"
#include "show/Sections.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>

namespace {

// Everything lives for the life of the page: the frame loop runs after main has returned.
Player gPlayer;
Shell& gShell = gPlayer.shell;
Options gOptions;
bool gStarted = false;
constexpr int kMaxShots = 64;
int gShotTimes[kMaxShots]; // ascending
int gShotCount = 0;        // none: playing
int gNextShot = 0;
int64_t gShotFrame = 0; // the next fixed step

// Fixed steps are drawn in batches of about this long between the browser's own work.
constexpr double kShotBatchMs = 200.0;

EM_JS(int, pageShotOption, (int* times, int capacity), {
    const value = new URLSearchParams(location.search).get('shot');
    if (value === null) return 0;
    const parts = value.split(',').filter(function(p) { return String(parseInt(p, 10)) === p; }).slice(0, capacity);
    parts.forEach(function(p, i) { HEAP32[(times >> 2) + i] = Math.max(0, Math.min(parseInt(p, 10), 2147483647)); });
    return parts.length;
});

EM_JS(int, pageNumberOption, (const char* name), {
    const value = new URLSearchParams(location.search).get(UTF8ToString(name));
    if (value === null || String(parseInt(value, 10)) !== value || parseInt(value, 10) < 0) return -1;
    return Math.min(parseInt(value, 10), 2147483647);
});

// WebGL's object names come from one counter for every kind of object: it starts past the
// names the show binds its texture slots by, so nothing else is ever given one of them.
EM_JS(void, keepTextureNamesFree, (int count), { GL.counter = Math.max(GL.counter, count + 1); });

EM_JS(void, pageLoaded, (), { window.castrellePage.loaded(); });
EM_JS(void, pageFrame, (int demoTime), { window.castrellePage.frame(demoTime); });
// GL runs behind the calls: the frame is on screen by the browser's next animation frame.
EM_JS(void, pageFirstFrameDrawn, (), {
    requestAnimationFrame(function() { window.castrellePage.firstFrameMs = performance.now(); });
});
EM_JS(void, pageEnded, (), { window.castrellePage.ended(); });

void stopShow() {
    emscripten_cancel_main_loop();
    gShell.music.close();
    pageEnded();
}

void playFrame() {
    static bool firstDrawn = false;
    const bool going = gPlayer.step();
    if (!firstDrawn) pageFirstFrameDrawn();
    firstDrawn = true;
    if (!going) stopShow();
}

void shotFrames() {
    const double until = emscripten_get_now() + kShotBatchMs;
    do {
        const int demoTime = fixedStepTime(gShotFrame++, 60, 1, 0);
        gShell.renderFrame(demoTime);
        if (demoTime >= gShotTimes[gNextShot]) {
            emscripten_cancel_main_loop();
            std::printf("shot %d ready\n", gShotTimes[gNextShot]);
            // Later shots in the list that this frame already shows come with the next call.
            ++gNextShot;
            return;
        }
    } while (emscripten_get_now() < until);
}

} // namespace

// The page's start button: music and frames begin.
extern "C" EMSCRIPTEN_KEEPALIVE void castrelleStart() {
    if (gStarted || gShotCount > 0) return;
    gStarted = true;
    gShell.glCheckFrames = 60; // about once a second: each check stalls the browser's GL pipeline
    gShell.startMusic(gOptions);
    gShell.clock.lastTickTime = static_cast<int>(tickCount() - gShell.clock.tickBase);
    gPlayer.lastTime = gOptions.startOffset;
    gPlayer.clockRead = pageFrame; // the page notes the clock as it was read
    emscripten_set_main_loop(playFrame, 0, 0);
}

// The page's call to go on to the next shot of the list once it took the current one.
extern "C" EMSCRIPTEN_KEEPALIVE void castrelleNextShot() {
    if (gNextShot >= gShotCount) return;
    if (fixedStepTime(gShotFrame - 1, 60, 1, 0) >= gShotTimes[gNextShot]) {
        std::printf("shot %d ready\n", gShotTimes[gNextShot++]);
        return;
    }
    emscripten_set_main_loop(shotFrames, 0, 0);
}

int main() {
    gOptions.startOffset = std::max(0, pageNumberOption("start"));
    gShotCount = pageShotOption(gShotTimes, kMaxShots);
    // The show quits at its end, so the last frame is just before it.
    for (int i = 0; i < gShotCount; ++i) gShotTimes[i] = std::min(gShotTimes[i], timetable::kShowEnd - 1);
    std::sort(gShotTimes, gShotTimes + gShotCount);
    // The console is the page's: no status line per frame.
    gShell.printStatus = false;
    gShell.scenes.get<CaveScene>().printCampos = false;
    gShell.screen.frameWidth = gShell.screen.frameHeight = kBaseFrame;

    keepTextureNamesFree(kReservedTextureNames);
    WindowDesc desc;
    desc.fullscreen = false;
    int status = 0;
    if (!gShell.startUp(desc, status)) return status;
    if (startupFailed()) return 1; // the page shows why
    std::printf("Initialization finished in %.2f seconds! \n", (tickCount() - gShell.creationTick) * 0.001);
    if (gShotCount > 0) {
        emscripten_set_main_loop(shotFrames, 0, 0);
        return 0;
    }
    gShell.keepStartState(); // for the section keys
    // The page's start button stands on black, not on the finished loading bar.
    bindWindowTarget();
    clear(Buffers::Colour);
    pageLoaded();
    return 0;
}
